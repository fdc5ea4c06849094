// The rule dialogs as the main window uses them: 置換(&R)... opens the replace dialog beside it,
// the dialog's rewrites reach the title field and the status bar, closing it gives the title field
// the focus, and the rules it edits are saved in kanaroll.ini at the end.
#include <string>
#include <vector>

#include "tests/gui/MainWindowFixture.h"
#include "tests/gui/RuleDialogSupport.h"

namespace kanaroll::testing {
namespace {

// A one-game catalogue whose title the default rules change.
class RuleDialogWiringTest : public MainWindowTest, public RuleDialogDriver {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "first", .description = "First Game"}});
        WriteFile("mame32j.lst", "first\tTitle (Japan)\tたいとる\t\r\n");
    }
    void Start() {
        MainWindowTest::Start();
        Attach(*replaceDialog, *conditionEditor);
    }

    const ReplaceRuleList& Rules() const { return State().replaceRules; }
    std::vector<std::wstring> RulesAsRows() const { return AsRows(Rules()); }
    void OpenDialog() { Click(Ui().Button3); }
    void SelectRow(int row) {
        listview::Select(Dialog().ListView1, row);
        Pump();
    }
};

TEST_F(RuleDialogWiringTest, KeepsItsPlaceWhileVisibleAndComesBackAtTheOffsetAfterClosing) {
    Start();
    OpenDialog();
    const HWND dialog = replaceDialog->Handle();
    SetWindowPos(dialog, nullptr, 300, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Focus(Ui().Edit2);
    OpenDialog();
    EXPECT_EQ(Outer(dialog).left, 300);
    EXPECT_EQ(Outer(dialog).top, 400);
    EXPECT_EQ(GetActiveWindow(), dialog);

    Click(Dialog().BitBtn1);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(GetFocus(), Ui().Edit1);

    SetWindowPos(form->Handle(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    OpenDialog();
    EXPECT_EQ(Outer(dialog).left, 140);
    EXPECT_EQ(Outer(dialog).top, 80);
}

TEST_F(RuleDialogWiringTest, EveryShowingSelectsTheFirstRuleSoThatEnterReplacesAndEscCloses) {
    Start();
    OpenDialog();
    SelectRow(3);
    Focus(Dialog().ListView1);
    SendMessageW(replaceDialog->Handle(), WM_CLOSE, 0, 0);  // the title bar's close button
    Pump();
    EXPECT_FALSE(IsWindowVisible(replaceDialog->Handle()));

    OpenDialog();
    EXPECT_EQ(listview::SelectedItem(Dialog().ListView1), 0);
    ASSERT_EQ(GetFocus(), Dialog().Button5);
    PressKey(VK_RETURN);
    EXPECT_EQ(Text(Ui().Edit1), L"Title (日本版)");
    EXPECT_EQ(Status(3), L"置換されました");
    EXPECT_EQ(GetFocus(), Dialog().Button5);
    PressKey(VK_RETURN);
    EXPECT_EQ(Status(3), L"置換対象が見つかりませんでした");
    EXPECT_EQ(services.beeps, 1);

    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(replaceDialog->Handle()));
    EXPECT_EQ(GetFocus(), Ui().Edit1);
}

// Alt+F4 and the title bar's close button end where 閉じる and Esc end: in the title field, so that
// F3 and the keys work at once.
TEST_F(RuleDialogWiringTest, ClosingByTheTitleBarOrAltF4GivesTheTitleFieldTheFocus) {
    Start();
    const HWND dialog = replaceDialog->Handle();
    for (const bool altF4 : {true, false}) {
        SCOPED_TRACE(altF4 ? "Alt+F4" : "close button");
        Focus(Ui().ListView1);
        OpenDialog();
        ASSERT_EQ(GetFocus(), Dialog().Button5);
        if (altF4) {
            // What the keyboard sends, with the Alt key held (bit 29).
            PostMessageW(Dialog().Button5, WM_SYSKEYDOWN, VK_F4, 1 | (1u << 29));
            PostMessageW(Dialog().Button5, WM_SYSKEYUP, VK_F4, 1 | (1u << 29) | (3u << 30));
        } else {
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close button's click
        }
        Pump();
        EXPECT_FALSE(IsWindowVisible(dialog));
        EXPECT_EQ(GetActiveWindow(), form->Handle());
        EXPECT_EQ(GetFocus(), Ui().Edit1);
    }
    // F3 rewrites the title from there.
    PressKey(VK_F3);
    EXPECT_EQ(Text(Ui().Edit1), L"Title (日本版)");
}

TEST_F(RuleDialogWiringTest, DeletingTheOnlyRuleLeavesAnEmptyListThatIsSavedEmpty) {
    WriteFile("kanaroll.ini", "MAMEPath:=\r\nReplaceText:=Japan\t日本版\tP\r\n");
    Start();
    OpenDialog();
    ASSERT_EQ(AllRows(), std::vector<std::wstring>{L"Japan|日本版|○"});
    services.messageBoxAnswers.push_back(IDYES);
    Click(Dialog().Button4);
    EXPECT_EQ(listview::ItemCount(Dialog().ListView1), 0);
    EXPECT_EQ(listview::SelectedItem(Dialog().ListView1), -1);
    EXPECT_TRUE(Rules().empty());
    Click(Dialog().Button5);
    EXPECT_EQ(Text(Ui().Edit1), L"Title (Japan)");
    EXPECT_EQ(services.beeps, 1);
    Destroy();
    EXPECT_EQ(folder.Read("kanaroll.ini"), "MAMEPath:=\r\n");
}

TEST_F(RuleDialogWiringTest, EditedRulesAreSavedInOrderAtTheEnd) {
    WriteFile(
        "kanaroll.ini",
        "MAMEPath:=\r\nReplaceText:=Alpha\tA\tP\r\nReplaceText:=Beta\tB\t\r\nReplaceText:=Gamma\tC\tP\r\n");
    Start();
    OpenDialog();
    const HWND list = Dialog().ListView1;

    // Edit the first rule, opened by a double-click on its row: a new search text, the box cleared,
    // confirmed with Enter.
    SelectRow(0);
    PostMessageW(Editor().Edit1, EM_SETSEL, 0, -1);
    PostTyping(Editor().Edit1, L"アルファ");
    PostClick(Editor().CheckBox1);
    PostKey(Editor().Edit2, VK_RETURN);
    PostEndEditor();
    RECT row{LVIR_BOUNDS};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.left + 4, row.top + 2));
    Pump();
    EXPECT_EQ(Row(0), L"アルファ|A| ");
    EXPECT_EQ(GetFocus(), Dialog().Button5);

    // Delete the second, add one at the end.
    SelectRow(1);
    services.messageBoxAnswers.push_back(IDYES);
    Click(Dialog().Button4);
    PostTyping(Editor().Edit1, L"Delta");
    PostTyping(Editor().Edit2, L"D");
    PostClick(Editor().Button1);
    PostEndEditor();
    Click(Dialog().Button2);
    EXPECT_EQ(AllRows(), (std::vector<std::wstring>{L"アルファ|A| ", L"Gamma|C|○", L"Delta|D|○"}));
    EXPECT_EQ(AllRows(), RulesAsRows());

    Destroy();
    EXPECT_EQ(FileText("kanaroll.ini"),
              L"MAMEPath:=\r\nReplaceText:=アルファ\tA\t\r\nReplaceText:=Gamma\tC\tP\r\nReplaceText:="
              L"Delta\tD\tP\r\n");
}

}  // namespace
}  // namespace kanaroll::testing
