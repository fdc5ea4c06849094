#include <windows.h>

#include <filesystem>
#include <fstream>
#include <shellapi.h>

#include "mainwindow/ControlIds.h"
#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

// A plain file stands in for MAME: the fake services record the launch and start nothing.
class LaunchTest : public MainWindowTest {
protected:
    void WriteThreeGames() {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                       {.zip = "puckman", .description = "Puck Man (Japan)", .cloneOf = "pacman"},
                       {.zip = "galaga", .description = "Galaga"}});
    }

    std::filesystem::path MakeExecutable(const std::wstring& subfolder,
                                         const std::wstring& name = L"mame.exe") {
        const auto dir = folder.Path() / subfolder;
        std::filesystem::create_directories(dir);
        std::ofstream(dir / name, std::ios::binary) << "MZ";
        return dir / name;
    }
    void WriteSettingsNaming(const std::filesystem::path& executable) {
        folder.Write("kanaroll.ini", "MAMEPath:=" + FromWide(executable.wstring(), 932) + "\r\n");
    }

    // Two clicks on a row, as the mouse sends them: the first makes the row current.
    void DoubleClickRow(HWND list, int row) {
        RECT bounds{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
        DoubleClickAt(list, bounds.left + 8, (bounds.top + bounds.bottom) / 2);
    }
    void DoubleClickAt(HWND list, int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        Pump();
    }

    std::wstring LaunchCaption() const {
        wchar_t text[256] = {};
        GetMenuStringW(Ui().PopupMenu1, ids::kPopExecute, text, 256, MF_BYCOMMAND);
        return text;
    }
    bool LaunchEnabled() const {
        return !(GetMenuState(Ui().PopupMenu1, ids::kPopExecute, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }
};

TEST_F(LaunchTest, WithoutAnExecutableTheEntryIsDisabledAndNothingStarts) {
    WriteThreeGames();
    Start();
    EXPECT_FALSE(LaunchEnabled());
    EXPECT_EQ(LaunchCaption(), L"「pacman」を起動(&R)\tF5");
    Focus(Ui().ListView1);
    PressKey(VK_F5);
    DoubleClickRow(Ui().ListView1, 1);
    EXPECT_EQ(State().currentIndex, 1);
    EXPECT_TRUE(services.launches.empty());
    EXPECT_TRUE(services.messageBoxes.empty());
}

// The names hold "ソ", whose second Shift-JIS byte is a backslash: the working directory must still
// be the executable's whole folder.
TEST_F(LaunchTest, AChosenExecutableIsSavedAtOnceAndStartsTheCurrentGameInItsFolder) {
    WriteThreeGames();
    const auto executable = MakeExecutable(L"MAME ソフト", L"ソmame.exe");
    Start();
    services.fileDialogAnswers.push_back(executable.wstring());
    Choose(ids::kMAME1);

    ASSERT_EQ(services.fileDialogs.size(), 1u);
    const FileDialogRequest& dialog = services.fileDialogs[0];
    EXPECT_EQ(dialog.title, L"MAME実行ファイルはどこですか?");
    EXPECT_EQ(dialog.defaultName, L"");
    ASSERT_EQ(dialog.filters.size(), 1u);
    EXPECT_EQ(dialog.filters[0].label, L"MAME実行ファイル(*.exe)");
    EXPECT_EQ(dialog.filters[0].pattern, L"*.exe");
    EXPECT_FALSE(dialog.forSaving);
    const std::string stored = FromWide(executable.wstring(), 932);
    EXPECT_EQ(State().mamePath, stored);
    EXPECT_EQ(folder.Read("kanaroll.ini").substr(0, stored.size() + 12), "MAMEPath:=" + stored + "\r\n");
    EXPECT_TRUE(LaunchEnabled());
    EXPECT_EQ(LaunchCaption(), L"「pacman」を起動(&R)\tF5");

    Focus(Ui().ListView1);
    PressKey(VK_DOWN);
    EXPECT_TRUE(LaunchEnabled());
    EXPECT_EQ(LaunchCaption(), L"「puckman」を起動(&R)\tF5");
    PressKey(VK_F5);
    DoubleClickRow(Ui().ListView2, 0);  // the family list: pacman, then its clone puckman
    DoubleClickRow(Ui().ListView1, 2);

    ASSERT_EQ(services.launches.size(), 3u);
    const std::wstring expectedFolder = executable.parent_path().wstring() + L"\\";
    EXPECT_EQ(services.launches[0].owner, form->Handle());
    EXPECT_EQ(services.launches[0].file, executable.wstring());
    EXPECT_EQ(services.launches[0].parameters, L"puckman");
    EXPECT_EQ(services.launches[0].directory, expectedFolder);
    EXPECT_EQ(services.launches[1].parameters, L"pacman");
    EXPECT_EQ(services.launches[2].parameters, L"galaga");
    EXPECT_EQ(services.launches[2].directory, expectedFolder);
    EXPECT_TRUE(services.messageBoxes.empty());
}

// The executable is chosen from the popup menu of either list, and the user goes on there: the focus
// is back in that list once the dialog closes, whatever its answer, and the launch entry names the
// current game and is enabled at once, as a new selection would make it.
TEST_F(LaunchTest, AfterChoosingTheExecutableTheFocusIsBackAndTheEntryFollowsAtOnce) {
    WriteThreeGames();
    const auto executable = MakeExecutable(L"mame");
    Start();
    services.modalFileDialogs = true;
    Focus(Ui().ListView1);
    PressKey(VK_DOWN);
    services.fileDialogAnswers = {std::nullopt, executable.wstring()};
    for (HWND list : {Ui().ListView2, Ui().ListView1}) {
        SCOPED_TRACE(list == Ui().ListView1 ? "game list" : "family list");
        Focus(list);
        Choose(ids::kMAME1);
        EXPECT_EQ(GetFocus(), list);
        EXPECT_EQ(State().currentIndex, 1);
    }
    EXPECT_TRUE(LaunchEnabled());
    EXPECT_EQ(LaunchCaption(), L"「puckman」を起動(&R)\tF5");
    PressKey(VK_F5);
    ASSERT_EQ(services.launches.size(), 1u);
    EXPECT_EQ(services.launches[0].parameters, L"puckman");
}

// Cancelling, a missing file or a folder changes nothing. kanaroll.ini is Shift-JIS: a path with a
// character it cannot hold would come back as another path, so it is refused with a message.
TEST_F(LaunchTest, TheExecutableIsKeptUnlessAnotherStorableFileIsChosen) {
    WriteThreeGames();
    const auto executable = MakeExecutable(L"mame");
    WriteSettingsNaming(executable);
    const std::string settings = folder.Read("kanaroll.ini");
    Start();
    services.fileDialogAnswers = {std::nullopt, (folder / "missing.exe").wstring(),
                                  executable.parent_path().wstring(),
                                  MakeExecutable(L"\uD55C\uAD6D").wstring()};
    for (int i = 0; i < 4; ++i) Choose(ids::kMAME1);
    EXPECT_EQ(services.fileDialogs.size(), 4u);
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(State().mamePath, FromWide(executable.wstring(), 932));
    EXPECT_EQ(folder.Read("kanaroll.ini"), settings);
}

// F5 starts MAME from the three fields as from the lists, on the game they show, and only once an
// executable is known.
TEST_F(LaunchTest, F5InEachFieldStartsTheCurrentGame) {
    WriteThreeGames();
    Start();
    for (HWND field : {Ui().Edit1, Ui().Edit2, Ui().Edit3}) {
        Focus(field);
        PressKey(VK_F5);
    }
    EXPECT_TRUE(services.launches.empty());

    Destroy();  // which writes kanaroll.ini
    WriteSettingsNaming(MakeExecutable(L"mame"));
    Start();
    Focus(Ui().ListView1);
    PressKey(VK_DOWN);
    for (HWND field : {Ui().Edit1, Ui().Edit2, Ui().Edit3}) {
        Focus(field);
        PressKey(VK_F5);
        EXPECT_EQ(GetFocus(), field);
    }
    ASSERT_EQ(services.launches.size(), 3u);
    for (const auto& launch : services.launches) EXPECT_EQ(launch.parameters, L"puckman");
    EXPECT_TRUE(services.messageBoxes.empty());
}

// Ordinary ZIP names go through unchanged; any other is quoted so that the program's command line
// splits back into exactly one argument equal to the ZIP name.
TEST_F(LaunchTest, TheZipNameIsAlwaysExactlyOneArgument) {
    const std::vector<std::string> zips = {"pacman",    "two words", "say\"hi\"",
                                           "tab\there", "dir\\ x\\", "a\\\"b"};
    std::vector<ListInfoGame> games;
    for (const auto& zip : zips) games.push_back({.zip = zip, .description = "Game " + zip});
    WriteListInfo(games);
    const auto executable = MakeExecutable(L"mame");
    WriteSettingsNaming(executable);
    Start();
    Focus(Ui().ListView1);
    for (std::size_t i = 0; i < zips.size(); ++i) {
        PressKey(VK_F5);
        PressKey(VK_DOWN);
    }
    ASSERT_EQ(services.launches.size(), zips.size());
    EXPECT_EQ(services.launches[0].parameters, L"pacman");
    EXPECT_EQ(services.launches[1].parameters, L"\"two words\"");
    for (std::size_t i = 0; i < zips.size(); ++i) {
        const std::wstring commandLine = L"mame.exe " + services.launches[i].parameters;
        int count = 0;
        wchar_t** arguments = CommandLineToArgvW(commandLine.c_str(), &count);
        ASSERT_NE(arguments, nullptr);
        EXPECT_EQ(count, 2) << zips[i];
        if (count == 2) {
            EXPECT_EQ(arguments[1], Utf8ToWide(zips[i]));
        }
        LocalFree(arguments);
    }
}

TEST_F(LaunchTest, AVanishedExecutableStartsNothingAndIsForgotten) {
    WriteThreeGames();
    const auto executable = MakeExecutable(L"mame");
    WriteSettingsNaming(executable);
    Start();
    EXPECT_TRUE(LaunchEnabled());
    std::filesystem::remove(executable);
    Focus(Ui().ListView1);
    PressKey(VK_F5);
    EXPECT_TRUE(services.launches.empty());
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_EQ(State().mamePath, "");
    PressKey(VK_DOWN);
    EXPECT_FALSE(LaunchEnabled());
    Destroy();
    EXPECT_EQ(folder.Read("kanaroll.ini").substr(0, 12), "MAMEPath:=\r\n");
}

TEST_F(LaunchTest, AnEmptyCatalogueLaunchesNothing) {
    WriteListInfo({});
    WriteSettingsNaming(MakeExecutable(L"mame"));
    Start();
    ASSERT_EQ(State().currentIndex, -1);
    Focus(Ui().ListView1);
    PressKey(VK_F5);
    DoubleClickAt(Ui().ListView1, 20, 40);
    DoubleClickAt(Ui().ListView2, 20, 40);
    Choose(ids::kPopExecute);
    EXPECT_TRUE(services.launches.empty());
    EXPECT_TRUE(services.messageBoxes.empty());
}

}  // namespace
}  // namespace kanaroll::testing
