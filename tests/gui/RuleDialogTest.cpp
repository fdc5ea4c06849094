// The replace dialog and the condition editor on their own, beside a plain window that stands for
// the main window and a fake of what they ask of it. How the main window opens them, takes their
// rewrites and saves their rules is in RuleDialogWiringTest.cpp.
#include <memory>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "tests/gui/RuleDialogSupport.h"
#include "tests/support/FakeServices.h"

namespace kanaroll::testing {
namespace {

// The rule dialogs as the program creates them, over the eight default rules, opened beside a
// visible top-level window of the program's own.
class RuleDialogTest : public ::testing::Test, public RuleDialogDriver {
protected:
    void SetUp() override {
        app = std::make_unique<Application>(services);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KanarollTestOpener";
        RegisterClassW(&windowClass);  // fails harmlessly when already registered
        opener = CreateWindowExW(0, L"KanarollTestOpener", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 90,
                                 640, 480, app->OwnerWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
        replaceDialog = std::make_unique<TForm2>(*app, host);
        conditionEditor = std::make_unique<TForm3>(*app, *replaceDialog);
        replaceDialog->AttachConditionEditor(conditionEditor.get());
        Attach(*replaceDialog, *conditionEditor);
        Pump();
    }
    void TearDown() override {
        conditionEditor.reset();
        replaceDialog.reset();
        DestroyWindow(opener);
        app.reset();
    }

    void Pump() {
        for (int round = 0; round < 5; ++round) app->ProcessMessages();
    }
    void OpenDialog() {
        replaceDialog->ShowBeside(opener);
        Pump();
    }
    void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }
    void Focus(HWND control) {
        SetFocus(control);
        Pump();
    }
    void PressKey(UINT key) {
        PostKey(GetFocus(), key);
        Pump();
    }
    void SelectRow(int row) {
        listview::Select(Dialog().ListView1, row);
        Pump();
    }
    const ReplaceRuleList& Rules() const { return host.rules; }
    std::vector<std::wstring> RulesAsRows() const { return AsRows(Rules()); }
    static std::wstring Text(HWND window) { return window::Text(window); }

    FakeServices services;
    FakeReplaceHost host;
    std::unique_ptr<Application> app;
    HWND opener = nullptr;
    std::unique_ptr<TForm2> replaceDialog;
    std::unique_ptr<TForm3> conditionEditor;
};

TEST_F(RuleDialogTest, OpensBesideTheMainWindowLaidOutWithTheRules) {
    OpenDialog();
    const HWND dialog = replaceDialog->Handle();
    ASSERT_TRUE(IsWindowVisible(dialog));
    const RECT main = Outer(opener);
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

// Each showing selects the first rule and puts the focus on 置換, so that Enter asks the host to
// rewrite its title; 閉じる, Esc and the title bar hide the dialog and hand the focus back.
TEST_F(RuleDialogTest, EveryShowingSelectsTheFirstRuleAndTheButtonsReachTheHost) {
    OpenDialog();
    SelectRow(3);
    Focus(Dialog().ListView1);
    SendMessageW(replaceDialog->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindowVisible(replaceDialog->Handle()));
    EXPECT_EQ(host.focusReturns, 1);

    OpenDialog();
    EXPECT_EQ(listview::SelectedItem(Dialog().ListView1), 0);
    ASSERT_EQ(GetFocus(), Dialog().Button5);
    PressKey(VK_RETURN);
    EXPECT_EQ(host.applications, 1);
    host.rulesChangeTitle = false;
    Click(Dialog().Button5);
    EXPECT_EQ(host.applications, 2);
    EXPECT_EQ(GetFocus(), Dialog().Button5);
    EXPECT_TRUE(IsWindowVisible(replaceDialog->Handle()));

    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(replaceDialog->Handle()));
    EXPECT_EQ(host.focusReturns, 2);
    OpenDialog();
    Click(Dialog().BitBtn1);
    EXPECT_FALSE(IsWindowVisible(replaceDialog->Handle()));
    EXPECT_EQ(host.focusReturns, 3);
    EXPECT_EQ(host.applications, 2);
}

TEST_F(RuleDialogTest, DeleteAsksAboutTheSelectedRuleAndRemovesItOnlyOnYes) {
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
    EXPECT_TRUE(IsWindowEnabled(opener));
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

TEST_F(RuleDialogTest, ANewRuleGoesLastMarkedWhileTheSelectedRowStaysSelected) {
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
        EXPECT_FALSE(IsWindowEnabled(opener));
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
    EXPECT_TRUE(IsWindowEnabled(opener));
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

}  // namespace
}  // namespace kanaroll::testing
