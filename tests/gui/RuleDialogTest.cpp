#include <string>
#include <vector>

#include "tests/gui/MainWindowFixture.h"
#include "tests/gui/MessageLoopProbe.h"

namespace kanaroll::testing {
namespace {

// The replace dialog and the condition editor over a one-game catalogue whose title the default
// rules change. The editor is modal: what it should get is posted before the click that opens it,
// so that its own message loop handles it.
class RuleDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "first", .description = "First Game"}});
        WriteFile("mame32j.lst", "first\tTitle (Japan)\tたいとる\t\r\n");
    }

    const TForm2::Controls& Dialog() const { return replaceDialog->Ui(); }
    const TForm3::Controls& Editor() const { return conditionEditor->Ui(); }
    const ReplaceRuleList& Rules() const { return State().replaceRules; }

    void OpenDialog() { Click(Ui().Button3); }

    void PostTyping(HWND edit, std::wstring_view text) {
        for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
    }
    void PostKey(HWND control, UINT key) {
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, 1 | (3u << 30));
    }
    void PostClick(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
    // The last step of every editor session: a failing test still gets out of the modal loop.
    void PostEndEditor() {
        probe.Post([this] {
            if (IsWindowVisible(conditionEditor->Handle())) {
                ADD_FAILURE() << "the editor was still open";
                SendMessageW(Editor().BitBtn1, BM_CLICK, 0, 0);
            }
        });
    }

    // The three cells of a row of the rule list, joined by "|".
    std::wstring Row(int row) const {
        const HWND list = Dialog().ListView1;
        return Cell(list, row, 0) + L"|" + Cell(list, row, 1) + L"|" + Cell(list, row, 2);
    }
    std::vector<std::wstring> AllRows() const {
        std::vector<std::wstring> rows;
        for (int row = 0; row < listview::ItemCount(Dialog().ListView1); ++row) rows.push_back(Row(row));
        return rows;
    }
    std::vector<std::wstring> RulesAsRows() const {
        std::vector<std::wstring> rows;
        for (const auto& rule : Rules()) {
            rows.push_back(ToWide(rule.searchText, 932) + L"|" + ToWide(rule.replacementText, 932) + L"|" +
                           (rule.onlyInParentheses ? L"○" : L" "));
        }
        return rows;
    }
    static RECT Outer(HWND window) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        return bounds;
    }
    static SIZE ClientSize(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return {client.right, client.bottom};
    }
    void SelectRow(int row) {
        listview::Select(Dialog().ListView1, row);
        Pump();
    }

    Probe probe;
};

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

TEST_F(RuleDialogTest, OpensBesideTheMainWindowLaidOutWithTheRules) {
    Start();
    OpenDialog();
    const HWND dialog = replaceDialog->Handle();
    ASSERT_TRUE(IsWindowVisible(dialog));
    const RECT main = Outer(form->Handle());
    EXPECT_EQ(Outer(dialog).left, main.left + 100);
    EXPECT_EQ(Outer(dialog).top, main.top + 50);
    EXPECT_EQ(Text(dialog), L"置換");
    EXPECT_EQ(ClientSize(dialog).cx, 501);
    EXPECT_EQ(ClientSize(dialog).cy, 265);
    EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetActiveWindow(), dialog);

    const struct {
        HWND control;
        RECT bounds;
        const wchar_t* caption;
    } controls[] = {
        {Dialog().ListView1, {8, 24, 389, 257}, L""},
        {Dialog().Button5, {402, 24, 491, 49}, L"置換(&R)"},
        {Dialog().Button2, {402, 104, 491, 129}, L"新規条件(&A)..."},
        {Dialog().Button3, {402, 136, 491, 161}, L"編集(&E)..."},
        {Dialog().Button4, {402, 168, 491, 193}, L"削除(&D)"},
        {Dialog().BitBtn1, {402, 232, 491, 257}, L"閉じる"},
    };
    for (const auto& control : controls) {
        EXPECT_TRUE(window::BoundsInParent(control.control) == control.bounds) << control.caption;
        EXPECT_EQ(Text(control.control), control.caption);
    }
    EXPECT_EQ(Text(Dialog().Label1), L"置換条件一覧：");
    // Tab order: the five buttons, then the list.
    HWND tab = Dialog().Button5;
    for (HWND next :
         {Dialog().Button2, Dialog().Button3, Dialog().Button4, Dialog().BitBtn1, Dialog().ListView1}) {
        tab = GetNextDlgTabItem(dialog, tab, FALSE);
        EXPECT_EQ(tab, next);
    }

    const HWND list = Dialog().ListView1;
    EXPECT_EQ(listview::ColumnCaption(list, 0), L"検索文字列");
    EXPECT_EQ(listview::ColumnCaption(list, 1), L"置換後文字列");
    EXPECT_EQ(listview::ColumnCaption(list, 2), L"括弧内のみ");
    EXPECT_EQ(listview::ColumnWidth(list, 0), 140);
    EXPECT_EQ(listview::ColumnWidth(list, 1), 140);
    EXPECT_EQ(listview::ColumnWidth(list, 2), 80);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT;
    SendMessageW(list, LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER);
    const auto style = GetWindowLongPtrW(list, GWL_STYLE);
    EXPECT_EQ(style & (LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_EDITLABELS),
              LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT);

    EXPECT_EQ(AllRows(),
              (std::vector<std::wstring>{L"Japan|日本版|○", L"US|米国版|○", L"World|海外版|○",
                                         L"Asia|アジア版|○", L"Europe|欧州版|○", L"bootleg|海賊版|○",
                                         L"[BET]|[メダル]| ", L"prototype|プロトタイプ|○"}));
    EXPECT_EQ(listview::SelectedItem(list), 0);
    EXPECT_EQ(GetFocus(), Dialog().Button5);

    // The editor: its size, and it is not on top by itself.
    const HWND editor = conditionEditor->Handle();
    EXPECT_EQ(ClientSize(editor).cx, 263);
    EXPECT_EQ(ClientSize(editor).cy, 171);
    EXPECT_FALSE(GetWindowLongPtrW(editor, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(RuleDialogTest, KeepsItsPlaceWhileVisibleAndComesBackAtTheOffsetAfterClosing) {
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

TEST_F(RuleDialogTest, EveryShowingSelectsTheFirstRuleSoThatEnterReplacesAndEscCloses) {
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

TEST_F(RuleDialogTest, DeleteAsksAboutTheSelectedRuleAndRemovesItOnlyOnYes) {
    Start();
    OpenDialog();
    const HWND list = Dialog().ListView1;
    SelectRow(2);
    Focus(Dialog().Button4);
    Click(Dialog().Button4);  // answered No
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].text,
              L"以下の置換条件を削除します。      \r\n\r\n検索文字列： World\r\n\r\n置換後文字列： 海外版");
    EXPECT_EQ(services.messageBoxes[0].caption, L"確認");
    EXPECT_EQ(services.messageBoxes[0].type, 0x24u);
    EXPECT_EQ(services.messageBoxes[0].owner, app->OwnerWindow());
    EXPECT_EQ(Rules().size(), 8u);
    EXPECT_EQ(listview::ItemCount(list), 8);
    EXPECT_EQ(listview::SelectedItem(list), 2);

    services.messageBoxAnswers.push_back(IDYES);
    Click(Dialog().Button4);
    const std::vector<std::wstring> expected{
        L"Japan|日本版|○",   L"US|米国版|○",      L"Asia|アジア版|○",         L"Europe|欧州版|○",
        L"bootleg|海賊版|○", L"[BET]|[メダル]| ", L"prototype|プロトタイプ|○"};
    EXPECT_EQ(RulesAsRows(), expected);
    EXPECT_EQ(AllRows(), expected);
    EXPECT_EQ(listview::SelectedItem(list), 0);
    EXPECT_EQ(GetFocus(), Dialog().Button4);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_TRUE(IsWindowEnabled(replaceDialog->Handle()));
    EXPECT_TRUE(GetWindowLongPtrW(replaceDialog->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Without a selected row, delete and edit do nothing.
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    Pump();
    Click(Dialog().Button4);
    PostEndEditor();
    Click(Dialog().Button3);
    EXPECT_EQ(services.messageBoxes.size(), 2u);
    EXPECT_EQ(Rules().size(), 7u);
}

TEST_F(RuleDialogTest, DeletingTheOnlyRuleLeavesAnEmptyListThatIsSavedEmpty) {
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

TEST_F(RuleDialogTest, ANewRuleGoesLastMarkedWhileTheSelectedRowStaysSelected) {
    Start();
    OpenDialog();
    SelectRow(2);
    const HWND editor = conditionEditor->Handle();
    probe.Post([&] {
        EXPECT_TRUE(IsWindowVisible(editor));
        EXPECT_EQ(Text(editor), L"新規条件");
        EXPECT_EQ(Text(Editor().Edit1), L"");
        EXPECT_EQ(Text(Editor().Edit2), L"");
        EXPECT_TRUE(button::IsChecked(Editor().CheckBox1));
        EXPECT_EQ(GetFocus(), Editor().Edit1);
        EXPECT_FALSE(IsWindowEnabled(form->Handle()));
        EXPECT_FALSE(IsWindowEnabled(replaceDialog->Handle()));
        // The replace dialog is out of the topmost band while the editor is open over it.
        EXPECT_FALSE(GetWindowLongPtrW(replaceDialog->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        // Centred over the replace dialog by outer sizes, halves rounded toward zero.
        const RECT over = Outer(replaceDialog->Handle());
        const RECT self = Outer(editor);
        EXPECT_EQ(self.left, over.left + ((over.right - over.left) - (self.right - self.left)) / 2);
        EXPECT_EQ(self.top, over.top + ((over.bottom - over.top) - (self.bottom - self.top)) / 2);
    });
    PostTyping(Editor().Edit1, L"Beta");  // the replacement stays empty
    PostClick(Editor().Button1);
    PostEndEditor();
    Click(Dialog().Button2);

    EXPECT_FALSE(IsWindowVisible(editor));
    ASSERT_EQ(Rules().size(), 9u);
    EXPECT_EQ(Rules().back(), (TReplacePatterns{"Beta", "", true}));
    EXPECT_EQ(Row(8), L"Beta||○");
    EXPECT_EQ(listview::SelectedItem(Dialog().ListView1), 2);
    EXPECT_EQ(listview::FocusedItem(Dialog().ListView1), 8);
    EXPECT_EQ(GetFocus(), Dialog().Button5);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_TRUE(IsWindowEnabled(replaceDialog->Handle()));
    EXPECT_TRUE(GetWindowLongPtrW(replaceDialog->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // 編集 works on the row that stayed selected, not on the new one.
    probe.Post([&] {
        EXPECT_EQ(Text(editor), L"編集");
        EXPECT_EQ(Text(Editor().Edit1), L"World");
        EXPECT_EQ(Text(Editor().Edit2), L"海外版");
        EXPECT_TRUE(button::IsChecked(Editor().CheckBox1));
    });
    PostKey(Editor().Edit1, VK_ESCAPE);
    PostEndEditor();
    Click(Dialog().Button3);
    EXPECT_EQ(Rules().size(), 9u);
    EXPECT_EQ(Row(2), L"World|海外版|○");
}

TEST_F(RuleDialogTest, OkWithAnEmptySearchOrATextTheSettingsCannotHoldKeepsTheEditorOpen) {
    Start();
    OpenDialog();
    const HWND editor = conditionEditor->Handle();
    PostTyping(Editor().Edit2, L"x");
    PostClick(Editor().Button1);
    probe.Post([&] {
        EXPECT_TRUE(IsWindowVisible(editor));
        EXPECT_EQ(Text(Editor().Edit2), L"x");
        EXPECT_EQ(services.beeps, 0);
    });
    PostTyping(Editor().Edit1, L"MAMEPath:");
    PostKey(Editor().Edit1, VK_RETURN);
    probe.Post([&] {
        EXPECT_TRUE(IsWindowVisible(editor));
        EXPECT_EQ(services.beeps, 1);
    });
    PostKey(Editor().Edit1, VK_ESCAPE);
    PostEndEditor();
    Click(Dialog().Button2);
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(Rules().size(), 8u);
    EXPECT_EQ(listview::ItemCount(Dialog().ListView1), 8);
}

TEST_F(RuleDialogTest, EditedRulesAreSavedInOrderAtTheEnd) {
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
