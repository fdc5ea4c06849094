#include <filesystem>

#include "tests/gui/StartupSteps.h"

namespace kanaroll::testing {
namespace {

constexpr wchar_t kListInfoMissing[] =
    L"listinfo.txtが見つかりません。\r\n\r\n\"MAME -listinfo > listinfo.txt\"で作成して下さい。  ";
constexpr wchar_t kListInfoUnreadable[] = L"listinfo.txtからの読み込みに失敗しました";

class StartupTest : public SteppedStartTest {
protected:
    // The controls that wait for the catalogue.
    std::vector<HWND> LoadedControls() const {
        return {Ui().ListView1,    Ui().ListView2,    Ui().Edit1,        Ui().Edit2,
                Ui().Edit3,        Ui().Button1,      Ui().Button2,      Ui().Button3,
                Ui().RadioButton1, Ui().RadioButton2, Ui().RadioButton3, Ui().BitBtn1};
    }
    void ExpectControlsEnabled(bool enabled) const {
        for (HWND control : LoadedControls()) {
            EXPECT_EQ(IsWindowEnabled(control) != FALSE, enabled)
                << WideToUtf8(window::Text(control)) << " id " << GetDlgCtrlID(control);
        }
    }
    void ExpectNormalCursor() const {
        EXPECT_FALSE(WaitCursor::IsShown());
        EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    }
    // The one box of a failed start, the end of the program, and kanaroll.ini written on the way out.
    void ExpectStartFailure(const std::wstring& text) {
        ASSERT_EQ(services.messageBoxes.size(), 1u);
        EXPECT_EQ(services.messageBoxes[0].caption, L"エラー");
        EXPECT_EQ(services.messageBoxes[0].text, text);
        EXPECT_EQ(services.messageBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(services.messageBoxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
        EXPECT_TRUE(app->Terminated());
        ExpectNormalCursor();
        Destroy();
        EXPECT_EQ(services.messageBoxes.size(), 1u);
        EXPECT_EQ(folder.Read("kanaroll.ini").substr(0, 12), "MAMEPath:=\r\n");
    }
    void Start() {
        CreateWindows();
        ShowAndLoad();
    }
};

TEST_F(StartupTest, WithoutListInfoShowsOneBoxEndsAndStillWritesTheSettings) {
    Start();
    ExpectStartFailure(kListInfoMissing);
}

TEST_F(StartupTest, AFolderNamedListInfoCountsAsMissing) {
    std::filesystem::create_directory(folder / "listinfo.txt");
    Start();
    ExpectStartFailure(kListInfoMissing);
}

TEST_F(StartupTest, ABadNumberInListInfoShowsTheReadFailureAndEnds) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                   {.zip = "galaga",
                    .description = "Galaga",
                    .extraLines = {"\tdriver ( status good palettesize 2x6 )"}}});
    Start();
    ExpectStartFailure(kListInfoUnreadable);
}

TEST_F(StartupTest, ControlsWaitDisabledForTheCatalogue) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"}});
    CreateWindows();
    ExpectControlsEnabled(false);
    EXPECT_EQ(listview::ItemCount(Ui().ListView1), 0);
    ShowAndLoad();
    ExpectControlsEnabled(true);
}

TEST_F(StartupTest, LoadsTheCatalogueMergesTheNamesAndSelectsTheFirstGame) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                   {.zip = "puckman", .description = "Puck Man (Japan)", .cloneOf = "pacman"},
                   {.zip = "galaga", .description = "Galaga"}});
    WriteFile("mame32j.lst", "puckman\tパックマン\tぱっくまん\tNamco\r\n");
    Start();
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_EQ(Status(0), L"合計：3件   未訳：2件");
    EXPECT_EQ(listview::ItemCount(Ui().ListView1), 3);
    EXPECT_EQ(Cell(Ui().ListView1, 1, 2), L"パックマン");
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), 0);
    EXPECT_EQ(listview::FocusedItem(Ui().ListView1), 0);
    EXPECT_EQ(State().currentIndex, 0);
    EXPECT_EQ(State().sort.sortKey, 0);
    EXPECT_EQ(State().sort.sortColumn, -1);
    EXPECT_FALSE(State().modified);
    ExpectControlsEnabled(true);
    ExpectNormalCursor();
}

TEST_F(StartupTest, ANameListNamingEveryGameLeavesNoneUntranslated) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"}, {.zip = "galaga", .description = "Galaga"}});
    WriteFile("mame32j.lst", "galaga\tギャラガ\tぎゃらが\t\r\npacman\tパックマン\tぱっくまん\t\r\n");
    Start();
    EXPECT_EQ(Status(0), L"合計：2件   未訳：0件");
    EXPECT_EQ(State().translatedCount, 2);
}

TEST_F(StartupTest, AnEmptyListInfoGivesAnEmptyReadyCatalogue) {
    folder.Write("listinfo.txt", "");
    Start();
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_FALSE(app->Terminated());
    EXPECT_EQ(Status(0), L"合計：0件   未訳：0件");
    ExpectControlsEnabled(true);
    EXPECT_EQ(listview::ItemCount(Ui().ListView1), 0);
    EXPECT_EQ(listview::SelectedItem(Ui().ListView1), -1);
    EXPECT_EQ(State().currentIndex, -1);
    ExpectNormalCursor();
}

TEST_F(StartupTest, BinaryGarbageWithoutAGameBlockGivesAnEmptyCatalogue) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 251 + (i % 3 == 0 ? 0 : 4));
    garbage[100] = '\0';
    folder.Write("listinfo.txt", garbage);
    Start();
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_EQ(Status(0), L"合計：0件   未訳：0件");
    ExpectControlsEnabled(true);
}

TEST_F(StartupTest, ProgressTextsShowWithTheWaitCursorAndGiveWayToTheTotals) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man", .statusGood = false}});
    WriteFile("mame32j.lst", "pacman\tパックマン\tぱっくまん\t\r\n");
    CreateWindows();
    StatusRecorder recorder(Ui().StatusBar1);
    ShowAndLoad();
    const std::vector<StatusRecorder::Entry> expected{
        {L"listinfo.txtを解析中...", false},  // painted first; the hourglass comes and goes with the parse
        {L"", false},
        {L"Mame32j.lstから読み込み中...", true},
        {L"", true},
        {L"前処理中...", true},
        {L"合計：1件   未訳：0件", true},
    };
    EXPECT_EQ(recorder.Panel0(), expected);
    ExpectNormalCursor();
}

TEST_F(StartupTest, AFolderNamedMame32jIsPassedOverForMane32j) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"}});
    std::filesystem::create_directory(folder / "mame32j.lst");
    WriteFile("mane32j.lst", "pacman\tパックマン\tぱっくまん\t\r\n");
    CreateWindows();
    StatusRecorder recorder(Ui().StatusBar1);
    ShowAndLoad();
    EXPECT_TRUE(services.messageBoxes.empty());
    ASSERT_GE(recorder.Panel0().size(), 3u);
    EXPECT_EQ(recorder.Panel0()[2].text, L"Mane32j.lstから読み込み中...");
    EXPECT_EQ(Status(0), L"合計：1件   未訳：0件");
}

// Holds a file open without sharing, as another program can, so that opening it fails.
class LockedFile {
public:
    explicit LockedFile(const std::filesystem::path& path)
        : m_handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~LockedFile() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

TEST_F(StartupTest, ANameListThatCannotBeReadIsReportedAndLeavesTheControlsDisabled) {
    WriteListInfo({{.zip = "pacman", .description = "Pac-Man"}});
    WriteFile("mame32j.lst", "pacman\tパックマン\tぱっくまん\t\r\n");
    LockedFile lock(folder / "mame32j.lst");
    ASSERT_TRUE(lock.Held());
    Start();
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].caption, L"Kanaroll");
    EXPECT_EQ(services.messageBoxes[0].text, L"ファイルへのアクセスが拒否されました.");
    EXPECT_EQ(services.messageBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(app->Terminated());
    ExpectControlsEnabled(false);
    EXPECT_EQ(listview::ItemCount(Ui().ListView1), 0);
    EXPECT_EQ(Status(0), L"");
    ExpectNormalCursor();
}

}  // namespace
}  // namespace kanaroll::testing
