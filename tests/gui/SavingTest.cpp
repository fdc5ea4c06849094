#include <filesystem>
#include <set>

#include "platform/WaitCursor.h"
#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

// Three games; the existing list is "mane32j.lst" (no mame32j.lst yet), with a fourth column the
// writers do not take over and LF line ends they do not keep.
class SavingTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man", .manufacturer = "Namco"},
                       {.zip = "puckman",
                        .description = "Puck Man (Japan)",
                        .manufacturer = "Namco",
                        .cloneOf = "pacman"},
                       {.zip = "galaga",
                        .description = "Galaga",
                        .year = "1981",
                        .manufacturer = "Namco",
                        .vector = true,
                        .statusGood = false}});
        WriteFile("mane32j.lst", "galaga\tギャラガ\t\tignored\npuckman\tパックマン\tぱっくまん\tignored\n");
    }

    // The user types at the end of Pac-Man's reading: the game becomes translated and the list
    // modified.
    void EditReading(std::wstring_view text) {
        Focus(Ui().Edit2);
        PressKey(VK_END);
        Type(text);
    }

    // The Mame32J file of this catalogue after that edit: translated games only, in listinfo.txt
    // order.
    static std::string ExpectedMame32J() {
        return Sjis(
            "pacman\tPac-Man\tぱっくまん\tNamco\r\n"
            "puckman\tパックマン\tぱっくまん\tNamco\r\n"
            "galaga\tギャラガ\t\tNamco\r\n");
    }

    void ExpectUnsaved() {
        EXPECT_TRUE(State().modified);
        EXPECT_EQ(Status(2), L"変更あり");
    }
    void ExpectSaved() {
        EXPECT_FALSE(State().modified);
        EXPECT_EQ(Status(2), L"");
    }

    // Both save dialogs offer one file name, as default and as the filter's label and pattern.
    static void ExpectSaveDialog(const FileDialogRequest& request, std::wstring_view title,
                                 std::wstring_view name) {
        EXPECT_EQ(request.title, title);
        EXPECT_EQ(request.defaultName, name);
        ASSERT_EQ(request.filters.size(), 1u);
        EXPECT_EQ(request.filters[0].label, name);
        EXPECT_EQ(request.filters[0].pattern, name);
        EXPECT_TRUE(request.forSaving);
    }

    std::set<std::filesystem::path> FolderContents() const {
        std::set<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            names.insert(entry.path());
        return names;
    }

    std::wstring TempName(std::string_view name) const { return (folder / name).wstring(); }
};

TEST_F(SavingTest, CtrlSInEitherListWritesMame32JBesideTheProgramAndSaysSo) {
    Start();
    EditReading(L"ぱっくまん");
    ExpectUnsaved();
    Focus(Ui().ListView1);
    PressCtrlS();
    EXPECT_EQ(folder.Read("mame32j.lst"), ExpectedMame32J());
    EXPECT_EQ(Status(3), L"mame32j.lstに保存しました");
    ExpectSaved();
    EXPECT_FALSE(std::filesystem::exists(folder / "mame32j.lst.kanaroll-new"));

    EditReading(L"x");
    ExpectUnsaved();
    Focus(Ui().ListView2);
    PressCtrlS();
    const std::string edited = Sjis("pacman\tPac-Man\tぱっくまんx\tNamco\r\n");
    EXPECT_EQ(folder.Read("mame32j.lst").substr(0, edited.size()), edited);
    ExpectSaved();
    EXPECT_TRUE(services.messageBoxes.empty());
}

// The fields are where a person is when they decide to save: Ctrl+S saves there as in the lists
// and leaves the focus and the texts as they were, except an emptied title, which is given its
// English title back first, as leaving the field gives it, so that no save writes an empty title.
TEST_F(SavingTest, CtrlSInEachFieldSavesTooAndNeverWritesAnEmptiedTitle) {
    Start();
    EditReading(L"ぱっくまん");
    for (HWND field : {Ui().Edit2, Ui().Edit3, Ui().Edit1}) {
        SCOPED_TRACE(field == Ui().Edit1 ? "title" : field == Ui().Edit2 ? "reading" : "English title");
        folder.Write("mame32j.lst", "");
        Focus(field);
        const std::wstring text = Text(field);
        PressCtrlS();
        EXPECT_EQ(folder.Read("mame32j.lst"), ExpectedMame32J());
        EXPECT_EQ(Status(3), L"mame32j.lstに保存しました");
        ExpectSaved();
        EXPECT_EQ(GetFocus(), field);
        EXPECT_EQ(Text(field), text);
    }

    edit::SetSelection(Ui().Edit1, 0, -1);
    PressKey(VK_BACK);
    ASSERT_EQ(form->Games()[0].japaneseName, "");
    PressCtrlS();
    EXPECT_EQ(folder.Read("mame32j.lst"), ExpectedMame32J());
    EXPECT_EQ(Text(Ui().Edit1), L"Pac-Man");
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    EXPECT_TRUE(services.messageBoxes.empty());
}

TEST_F(SavingTest, OutputButtonWritesEitherFormatWhereTheDialogSays) {
    Start();
    EditReading(L"ぱっくまん");
    const auto before = FolderContents();
    Click(Ui().BitBtn1);  // no answer scripted: the dialog is cancelled
    EXPECT_EQ(FolderContents(), before);
    ExpectUnsaved();

    services.fileDialogAnswers.push_back(TempName("chosen.lst"));
    Click(Ui().BitBtn1);
    ASSERT_EQ(services.fileDialogs.size(), 2u);
    ExpectSaveDialog(services.fileDialogs[1], L"mame32j.lstを保存", L"mame32j.lst");
    EXPECT_EQ(folder.Read("chosen.lst"), ExpectedMame32J());
    ExpectSaved();
    EXPECT_EQ(Status(3), L"");  // only quick save reports in panel 3

    EditReading(L"x");
    Click(Ui().RadioButton2);
    EXPECT_EQ(SendMessageW(Ui().RadioButton1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    services.fileDialogAnswers.push_back(TempName("out.lst"));
    Click(Ui().BitBtn1);
    ASSERT_EQ(services.fileDialogs.size(), 3u);
    ExpectSaveDialog(services.fileDialogs[2], L"MANE32J.lstを保存", L"MANE32J.lst");
    EXPECT_EQ(folder.Read("out.lst"),
              Sjis("pacman\tPac-Man\tぱっくまんx\tNamco\t1980\t\t\traster\t1\tjoy4way\tgood\r\n"
                   "puckman\tパックマン\tぱっくまん\tNamco\t1980\tpacman\t\traster\t1\tjoy4way\tgood\r\n"
                   "galaga\tギャラガ\t\tNamco\t1981\t\t\tvector\t1\tjoy4way\tpreliminary\r\n"));
    ExpectSaved();
    EXPECT_FALSE(std::filesystem::exists(folder / "mame32j.lst"));
    EXPECT_TRUE(services.messageBoxes.empty());
}

// Another program holds mame32j.lst open without sharing: the write fails, the error box shows the
// I/O error, and the old file, the unsaved state and the cursor are as they were.
TEST_F(SavingTest, AFailedQuickSaveKeepsThePreviousFileAndTheChanges) {
    const std::string previous = Sjis("pacman\tパックマン\t\tNamco\r\n");
    folder.Write("mame32j.lst", previous);
    Start();
    EditReading(L"ぱっくまん");
    {
        const HANDLE raw = CreateFileW(TempName("mame32j.lst").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(raw, INVALID_HANDLE_VALUE);
        const UniqueHandle lock(raw);
        Focus(Ui().ListView1);
        PressCtrlS();
    }
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].caption, L"Kanaroll");
    EXPECT_EQ(services.messageBoxes[0].text, L"ファイルへのアクセスが拒否されました.");
    EXPECT_EQ(services.messageBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(Status(3), L"");
    ExpectUnsaved();
    EXPECT_FALSE(WaitCursor::IsShown());
    EXPECT_EQ(folder.Read("mame32j.lst"), previous);
    EXPECT_FALSE(std::filesystem::exists(folder / "mame32j.lst.kanaroll-new"));
}

TEST_F(SavingTest, ClosingWithYesWritesMame32JAndCloses) {
    Start();
    EditReading(L"ぱっくまん");
    services.messageBoxAnswers.push_back(IDYES);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].caption, L"確認");
    EXPECT_EQ(folder.Read("mame32j.lst"), ExpectedMame32J());
    EXPECT_TRUE(app->Terminated());
}

// A folder where mame32j.lst should be: Yes reports the error and the window stays with its changes.
TEST_F(SavingTest, ClosingWithYesWhenTheWriteFailsKeepsTheWindowOpen) {
    std::filesystem::create_directory(folder / "mame32j.lst");
    Start();
    EditReading(L"ぱっくまん");
    services.messageBoxAnswers.push_back(IDYES);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    ASSERT_EQ(services.messageBoxes.size(), 2u);
    EXPECT_EQ(services.messageBoxes[1].caption, L"Kanaroll");
    EXPECT_EQ(services.messageBoxes[1].text, L"ファイルへのアクセスが拒否されました.");
    EXPECT_FALSE(app->Terminated());
    ExpectUnsaved();
    EXPECT_FALSE(WaitCursor::IsShown());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "mame32j.lst"));
}

}  // namespace
}  // namespace kanaroll::testing
