// A listinfo.txt without a game: the program is ready with no game current, and every key, button,
// menu item, column click and dialog leaves it so. Nothing reaches for a game that is not there,
// and no counter or flag moves.
#include <filesystem>
#include <string>

#include "mainwindow/ControlIds.h"
#include "platform/WaitCursor.h"
#include "tests/gui/MainWindowFixture.h"
#include "tests/gui/SortHeaderSupport.h"

namespace kanaroll::testing {
namespace {

class EmptyCatalogueTest : public MainWindowTest {
protected:
    void SetUp() override {
        // Text, and even a block of another kind, but no "game (".
        folder.Write("listinfo.txt", "MAME listinfo\r\n\r\nresource (\r\n\tname neogeo\r\n)\r\n\r\n");
        WriteFile("mame32j.lst", "pacman\tパックマン\tぱっくまん\tNamco\r\n");
        Start();
        ExpectNothingChanged("the start");
    }

    // No game current, the counters and the unsaved-changes state as they started, no error box,
    // no hourglass left behind.
    void ExpectNothingChanged(const char* after) {
        SCOPED_TRACE(after);
        EXPECT_EQ(State().currentIndex, -1);
        EXPECT_EQ(State().translatedCount, 0);
        EXPECT_FALSE(State().modified);
        EXPECT_EQ(State().familyKey, "");
        EXPECT_EQ(Status(0), L"合計：0件   未訳：0件");
        EXPECT_EQ(Status(1), L"");
        EXPECT_EQ(Status(2), L"");
        EXPECT_EQ(listview::ItemCount(Ui().ListView1), 0);
        EXPECT_EQ(listview::ItemCount(Ui().ListView2), 0);
        EXPECT_TRUE(form->Games().Empty());
        for (const auto& box : services.messageBoxes)
            EXPECT_NE(box.caption, L"Kanaroll") << WideToUtf8(box.text);
        EXPECT_FALSE(WaitCursor::IsShown());
        EXPECT_FALSE(app->Terminated());
    }

    void PressEveryListKey(HWND list) {
        Focus(list);
        for (UINT key :
             {VK_DOWN, VK_UP, VK_HOME, VK_END, VK_NEXT, VK_PRIOR, VK_SPACE, VK_F3, VK_F5, VK_DELETE}) {
            Focus(list);
            PressKey(key);
        }
        Focus(list);
        Type(L"pac");
        {
            HeldModifiers control({VK_CONTROL});
            Focus(list);
            PressKey(VK_SPACE);
            PressKey('A');
        }
        Focus(list);
        PressKey(VK_RETURN);
        EXPECT_EQ(GetFocus(), Ui().Edit1);
    }

    void DoubleClickAt(HWND list, int x, int y) {
        const LPARAM at = MAKELPARAM(x, y);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        Pump();
    }
};

TEST_F(EmptyCatalogueTest, KeysAndClicksOnBothLists) {
    PressEveryListKey(Ui().ListView1);
    ExpectNothingChanged("the game list's keys");
    PressEveryListKey(Ui().ListView2);
    ExpectNothingChanged("the family list's keys");
    for (HWND list : {Ui().ListView1, Ui().ListView2}) {
        DoubleClickAt(list, 20, 40);
        DoubleClickAt(list, 2, 2);
    }
    ExpectNothingChanged("double-clicks");
    EXPECT_TRUE(services.launches.empty());
    // F3 found no title to rewrite in the empty field, and said so.
    EXPECT_EQ(Status(3), L"置換対象が見つかりませんでした");
    EXPECT_GT(services.beeps, 0);
}

TEST_F(EmptyCatalogueTest, EveryColumnClickedTwice) {
    for (int column = 0; column < 7; ++column) {
        for (int click = 0; click < 2; ++click) {
            PressHeader(form->HeaderHandle(), column);
            ReleaseHeader(form->HeaderHandle(), column);
            Pump();
        }
        EXPECT_EQ(State().sort.sortColumn, column);
        EXPECT_EQ(State().sort.sortKey, -(column + 1));
        EXPECT_EQ(listview::SelectedItem(Ui().ListView1), -1);
    }
    UpdateWindow(Ui().ListView1);
    ExpectNothingChanged("the column clicks");
}

// Typing in the fields, their keys and the buttons: nothing is stored anywhere, as no game is there
// to take it.
TEST_F(EmptyCatalogueTest, FieldsAndButtons) {
    Focus(Ui().Edit1);
    Type(L"Title (Japan)");
    PressKey(VK_F3);  // the rules still rewrite the field itself
    EXPECT_EQ(Text(Ui().Edit1), L"Title (日本版)");
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), Ui().Edit2);
    Type(L"よみ");
    PressKey(VK_F3);
    PressKey(VK_RETURN);  // no next game to go to: back to the title
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    SendMessageW(Ui().Edit1, EM_SETSEL, 0, -1);
    PressKey(VK_BACK);
    Focus(Ui().Edit2);  // an empty title on leaving it has no English title to take
    EXPECT_EQ(Text(Ui().Edit1), L"");
    PostMessageW(Ui().Edit2, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    Pump();
    Focus(Ui().Edit3);
    PressKey(VK_F3);
    ExpectNothingChanged("the fields");

    for (HWND button : {Ui().Button1, Ui().Button2, Ui().RadioButton2, Ui().RadioButton1}) Click(button);
    ExpectNothingChanged("the buttons");
}

// Saving an empty catalogue: nothing is lost of the name list read at start, whose games the
// catalogue does not hold, and both outputs succeed.
TEST_F(EmptyCatalogueTest, QuickSaveAndOutput) {
    Focus(Ui().ListView1);
    PressCtrlS();
    EXPECT_EQ(Status(3), L"mame32j.lstに保存しました");
    EXPECT_EQ(FileText("mame32j.lst"), L"pacman\tパックマン\tぱっくまん\tNamco\r\n");
    Choose(ids::kN3);
    EXPECT_EQ(FileText("mame32j.lst"), L"pacman\tパックマン\tぱっくまん\tNamco\r\n");

    Click(Ui().RadioButton2);
    services.fileDialogAnswers.push_back((folder / "MANE32J.lst").wstring());
    Click(Ui().BitBtn1);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "MANE32J.lst"));
    EXPECT_EQ(folder.Read("MANE32J.lst"), "");
    Click(Ui().BitBtn1);  // cancelled
    ExpectNothingChanged("saving");
}

TEST_F(EmptyCatalogueTest, MenuItemsAndTheContextMenu) {
    for (int item : {ids::kPopExecute, ids::kN1, ids::kMAME1}) Choose(item);  // the open dialog is cancelled
    EXPECT_EQ(State().mamePath, "");
    ExpectNothingChanged("the menu items");
    // The context menu from the keyboard opens below the focused row, and here there is none. Its
    // own loop runs the timer that closes it again.
    Focus(Ui().ListView1);
    static bool inMenu;
    inMenu = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        inMenu = GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE);
        EndMenu();
    });
    PostMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Ui().ListView1), -1);
    Pump();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(inMenu);
    ExpectNothingChanged("the context menu");
}

TEST_F(EmptyCatalogueTest, TheReplaceDialogAndTheConditionEditor) {
    Click(Ui().Button3);
    const auto& dialog = replaceDialog->Ui();
    ASSERT_TRUE(IsWindowVisible(replaceDialog->Handle()));
    Click(dialog.Button5);
    // A new rule through the editor: what it gets is posted before it opens, for its own loop.
    for (wchar_t c : std::wstring(L"x")) PostMessageW(conditionEditor->Ui().Edit1, WM_CHAR, c, 1);
    PostMessageW(conditionEditor->Ui().Button1, BM_CLICK, 0, 0);
    Click(dialog.Button2);
    EXPECT_EQ(State().replaceRules.size(), 9u);
    PostMessageW(conditionEditor->Ui().BitBtn1, BM_CLICK, 0, 0);
    Click(dialog.Button3);  // edits the selected first rule; closed unchanged
    Click(dialog.Button4);  // answered No
    EXPECT_EQ(State().replaceRules.size(), 9u);
    Click(dialog.BitBtn1);
    EXPECT_FALSE(IsWindowVisible(replaceDialog->Handle()));
    EXPECT_EQ(GetFocus(), Ui().Edit1);
    ExpectNothingChanged("the dialogs");
}

TEST_F(EmptyCatalogueTest, ClosingAsksNothingAndKeepsTheSettings) {
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_TRUE(app->Terminated());
    Destroy();
    EXPECT_EQ(folder.Read("kanaroll.ini").substr(0, 12), "MAMEPath:=\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "kanaroll.ini.kanaroll-new"));
}

}  // namespace
}  // namespace kanaroll::testing
