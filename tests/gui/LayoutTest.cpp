#include <string>
#include <vector>

#include "mainwindow/ControlIds.h"
#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {
namespace {

struct Placement {
    const char* name;
    HWND control;
    HWND parent;
    RECT bounds;  // left, top, right, bottom in the parent
};

RECT Box(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

HWND ChildWithText(HWND parent, const wchar_t* text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (window::Text(child) == text) return child;
    }
    return nullptr;
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           "x" + std::to_string(r.bottom - r.top);
}

class LayoutTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo(
            {{.zip = "pacman", .description = "Pac-Man"}, {.zip = "galaga", .description = "Galaga"}});
        Start();
    }

    // Every control of the lower pane with its place at the pane's design size, 942 x 285.
    std::vector<Placement> DesignPlacements() const {
        const auto& ui = Ui();
        return {
            {"GroupBox1", ui.GroupBox1, ui.Panel2, Box(3, 1, 572, 118)},
            {"Edit3", ui.Edit3, ui.GroupBox1, Box(61, 19, 501, 17)},
            {"Edit1", ui.Edit1, ui.GroupBox1, Box(61, 38, 503, 20)},
            {"Edit2", ui.Edit2, ui.GroupBox1, Box(61, 64, 503, 20)},
            {"Button3", ui.Button3, ui.GroupBox1, Box(371, 89, 62, 22)},
            {"Button1", ui.Button1, ui.GroupBox1, Box(436, 89, 62, 22)},
            {"Button2", ui.Button2, ui.GroupBox1, Box(500, 89, 63, 22)},
            {"GroupBox2", ui.GroupBox2, ui.Panel2, Box(580, 1, 358, 88)},
            {"Memo1", ui.Memo1, ui.GroupBox2, Box(45, 13, 308, 27)},
            {"Memo2", ui.Memo2, ui.GroupBox2, Box(45, 39, 308, 27)},
            {"Edit4", ui.Edit4, ui.GroupBox2, Box(44, 67, 304, 12)},
            {"RadioButton1", ui.RadioButton1, ui.Panel2, Box(580, 99, 96, 17)},
            {"RadioButton2", ui.RadioButton2, ui.Panel2, Box(677, 98, 96, 17)},
            {"RadioButton3", ui.RadioButton3, ui.Panel2, Box(774, 98, 70, 17)},
            {"BitBtn1", ui.BitBtn1, ui.Panel2, Box(846, 94, 88, 25)},
            {"ListView2", ui.ListView2, ui.Panel2, Box(0, 126, 942, 158)},
        };
    }
    struct Label {
        const wchar_t* text;
        HWND parent;
        RECT design;
    };
    std::vector<Label> Labels() const {
        return {{L"英語名:", Ui().GroupBox1, Box(21, 20, 38, 12)},
                {L"日本語名:", Ui().GroupBox1, Box(4, 43, 55, 12)},
                {L"よみがな:", Ui().GroupBox1, Box(4, 67, 55, 12)},
                {L"CPU:", Ui().GroupBox2, Box(16, 13, 25, 12)},
                {L"Sound:", Ui().GroupBox2, Box(8, 39, 33, 12)},
                {L"Video:", Ui().GroupBox2, Box(10, 67, 31, 12)}};
    }

    // Resizes the main window so that its client area has the given size.
    void SetClientSize(int width, int height) {
        RECT bounds{0, 0, width, height};
        AdjustWindowRectEx(&bounds, static_cast<DWORD>(GetWindowLongPtrW(form->Handle(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE)));
        SetWindowPos(form->Handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }
    SIZE ClientSize(HWND window) const {
        RECT client{};
        GetClientRect(window, &client);
        return {client.right, client.bottom};
    }
    // Drags the splitter by `dy` pixels (negative: up, which gives the lower pane more room).
    void DragSplitter(int dy) {
        const HWND bar = Ui().Splitter1;
        PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 3));
        PostMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(100, static_cast<WORD>(static_cast<short>(3 + dy))));
        PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(100, static_cast<WORD>(static_cast<short>(3 + dy))));
        Pump();
    }
    int Height(HWND control) const {
        const RECT r = window::BoundsInParent(control);
        return r.bottom - r.top;
    }
};

TEST_F(LayoutTest, TheMainWindowOpensCentredAtItsDesignSize) {
    wchar_t className[32] = {};
    GetClassNameW(form->Handle(), className, 32);
    EXPECT_STREQ(className, L"TForm1");
    EXPECT_EQ(Text(form->Handle()), L"Kanaroll 3");
    EXPECT_EQ(Text(app->OwnerWindow()), L"Kanaroll");
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), app->OwnerWindow());
    EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_THICKFRAME, 0);

    RECT bounds{};
    GetWindowRect(form->Handle(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 950);
    EXPECT_EQ(bounds.bottom - bounds.top, 667);
    RECT desktop{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &desktop, 0);
    EXPECT_NEAR((bounds.left + bounds.right) / 2, (desktop.left + desktop.right) / 2, 1);
    EXPECT_NEAR((bounds.top + bounds.bottom) / 2, (desktop.top + desktop.bottom) / 2, 1);

    // From the top: the game list, the splitter, the lower pane 285 high, the status bar.
    const SIZE client = ClientSize(form->Handle());
    const RECT list = window::BoundsInParent(Ui().ListView1);
    const RECT splitter = window::BoundsInParent(Ui().Splitter1);
    const RECT panel = window::BoundsInParent(Ui().Panel2);
    const RECT bar = window::BoundsInParent(Ui().StatusBar1);
    EXPECT_EQ(list.top, 0);
    EXPECT_EQ(list.right - list.left, client.cx);
    EXPECT_EQ(splitter.top, list.bottom);
    EXPECT_EQ(splitter.bottom - splitter.top, 6);
    EXPECT_EQ(panel.top, splitter.bottom);
    EXPECT_EQ(panel.bottom - panel.top, 285);
    EXPECT_EQ(bar.top, panel.bottom);
    EXPECT_EQ(bar.bottom, client.cy);
    EXPECT_LE(bar.bottom - bar.top, 21);
    int parts[4] = {};
    ASSERT_EQ(SendMessageW(Ui().StatusBar1, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 4);
    EXPECT_EQ(parts[0], 200);
    EXPECT_EQ(parts[1], 350);
    EXPECT_EQ(parts[2], 500);
    EXPECT_EQ(parts[3], -1);
}

TEST_F(LayoutTest, EveryControlOfTheLowerPaneStandsAtItsDesignPlace) {
    SetClientSize(942, ClientSize(form->Handle()).cy);
    ASSERT_EQ(ClientSize(Ui().Panel2).cx, 942);
    ASSERT_EQ(ClientSize(Ui().Panel2).cy, 285);
    for (const auto& placement : DesignPlacements()) {
        EXPECT_EQ(GetParent(placement.control), placement.parent) << placement.name;
        EXPECT_EQ(Describe(window::BoundsInParent(placement.control)), Describe(placement.bounds))
            << placement.name;
    }
    // Labels are right-aligned and keep their right edge; they are as wide as their text needs.
    for (const auto& label : Labels()) {
        const HWND control = ChildWithText(label.parent, label.text);
        ASSERT_NE(control, nullptr) << WideToUtf8(label.text);
        const RECT bounds = window::BoundsInParent(control);
        EXPECT_EQ(bounds.right, label.design.right) << WideToUtf8(label.text);
        EXPECT_EQ(bounds.top, label.design.top) << WideToUtf8(label.text);
        EXPECT_NE(GetWindowLongPtrW(control, GWL_STYLE) & SS_RIGHT, 0);
        const HDC dc = GetDC(control);
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, label.text, static_cast<int>(wcslen(label.text)), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(control, dc);
        EXPECT_GE(bounds.right - bounds.left, extent.cx) << WideToUtf8(label.text);
        EXPECT_GE(bounds.bottom - bounds.top, metrics.tmHeight) << WideToUtf8(label.text);
    }
}

// Three format choices share the row beside the output button, none over the next or the button
// (HighDpiTest checks that no caption is cut), in one group with the first.
TEST_F(LayoutTest, TheFormatChoicesStandSideBySideBeforeTheButton) {
    const std::vector<HWND> row{Ui().RadioButton1, Ui().RadioButton2, Ui().RadioButton3, Ui().BitBtn1};
    for (std::size_t at = 0; at + 1 < row.size(); ++at)
        EXPECT_LE(window::BoundsInParent(row[at]).right, window::BoundsInParent(row[at + 1]).left) << at;
    EXPECT_EQ(Text(Ui().RadioButton3), L"MAME UI");
    EXPECT_EQ(GetWindowLongPtrW(Ui().RadioButton3, GWL_STYLE) & (WS_GROUP | WS_TABSTOP), 0);
}

TEST_F(LayoutTest, AnchoredEdgesFollowTheWindowAndTheSplitter) {
    SetClientSize(942, ClientSize(form->Handle()).cy);
    const SIZE start = ClientSize(form->Handle());
    const int listHeight = Height(Ui().ListView1);
    SetClientSize(start.cx + 100, start.cy + 50);
    DragSplitter(-40);

    ASSERT_EQ(Height(Ui().Panel2), 285 + 40);
    EXPECT_EQ(Height(Ui().ListView1), listHeight + 50 - 40);
    EXPECT_EQ(window::BoundsInParent(Ui().ListView1).right, start.cx + 100);
    const auto moved = [](RECT r, int dx) { return RECT{r.left + dx, r.top, r.right + dx, r.bottom}; };
    const auto wider = [](RECT r, int dx, int dy = 0) {
        return RECT{r.left, r.top, r.right + dx, r.bottom + dy};
    };
    const std::vector<std::pair<HWND, RECT>> expected{
        {Ui().GroupBox1, wider(Box(3, 1, 572, 118), 100)},  // left, top, right
        {Ui().Edit3, wider(Box(61, 19, 501, 17), 100)},     // within the frame that grew
        {Ui().Edit1, wider(Box(61, 38, 503, 20), 100)},
        {Ui().Edit2, wider(Box(61, 64, 503, 20), 100)},
        {Ui().Button3, moved(Box(371, 89, 62, 22), 100)},  // top, right
        {Ui().Button1, moved(Box(436, 89, 62, 22), 100)},
        {Ui().Button2, moved(Box(500, 89, 63, 22), 100)},
        {Ui().GroupBox2, moved(Box(580, 1, 358, 88), 100)},  // top, right
        {Ui().Memo1, Box(45, 13, 308, 27)},                  // its frame keeps its size
        {Ui().Edit4, Box(44, 67, 304, 12)},
        {Ui().RadioButton1, moved(Box(580, 99, 96, 17), 100)},
        {Ui().RadioButton2, moved(Box(677, 98, 96, 17), 100)},
        {Ui().RadioButton3, moved(Box(774, 98, 70, 17), 100)},
        {Ui().BitBtn1, moved(Box(846, 94, 88, 25), 100)},
        {Ui().ListView2, wider(Box(0, 126, 942, 158), 100, 40)},  // all four edges
    };
    for (const auto& [control, bounds] : expected) {
        EXPECT_EQ(Describe(window::BoundsInParent(control)), Describe(bounds)) << GetDlgCtrlID(control);
    }
}

TEST_F(LayoutTest, TheSplitterKeepsEightyPixelsOfListAndAHundredAndFiftyOfPane) {
    DragSplitter(-2000);
    EXPECT_EQ(Height(Ui().ListView1), 80);
    DragSplitter(2000);
    EXPECT_EQ(Height(Ui().Panel2), 150);
    EXPECT_EQ(Height(Ui().ListView1) + 6 + 150 + Height(Ui().StatusBar1), ClientSize(form->Handle()).cy);
}

TEST_F(LayoutTest, TheWindowDoesNotShrinkBelowTheListsAndThePaneMinimums) {
    SetWindowPos(form->Handle(), nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_GE(window::BoundsInParent(Ui().ListView1).right, 800);
    EXPECT_GE(Height(Ui().ListView1), 80);
    EXPECT_GE(Height(Ui().Panel2), 150);
}

TEST_F(LayoutTest, TabGoesThroughTheFieldsTheFamilyListTheChoiceAndTheButton) {
    Focus(Ui().Edit1);
    const std::vector<HWND> order{Ui().Edit2,   Ui().ListView2, Ui().RadioButton1,
                                  Ui().BitBtn1, Ui().ListView1, Ui().Edit1};
    for (HWND next : order) {
        PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), next) << GetDlgCtrlID(next);
    }
    HeldModifiers shift{VK_SHIFT};
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Ui().ListView1);
}

TEST_F(LayoutTest, EveryControlUsesTheJapaneseUiFont) {
    std::vector<HWND> controls{Ui().ListView1,    form->HeaderHandle(), Ui().ListView2,    Ui().StatusBar1,
                               Ui().Edit1,        Ui().Edit2,           Ui().Memo1,        Ui().Memo2,
                               Ui().Edit4,        Ui().Button1,         Ui().Button2,      Ui().Button3,
                               Ui().RadioButton1, Ui().RadioButton2,    Ui().RadioButton3, Ui().BitBtn1};
    for (const auto& label : Labels()) controls.push_back(ChildWithText(label.parent, label.text));
    for (HWND control : controls) {
        LOGFONTW font{};
        ASSERT_NE(
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font),
            0)
            << GetDlgCtrlID(control);
        EXPECT_STREQ(font.lfFaceName, L"ＭＳ Ｐゴシック") << GetDlgCtrlID(control);
        EXPECT_EQ(font.lfHeight, -12) << GetDlgCtrlID(control);
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET) << GetDlgCtrlID(control);
        EXPECT_EQ(font.lfWeight, FW_NORMAL) << GetDlgCtrlID(control);
    }
    LOGFONTW bold{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Ui().Edit3, WM_GETFONT, 0, 0)), sizeof bold, &bold);
    EXPECT_STREQ(bold.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(bold.lfHeight, -12);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
}

TEST_F(LayoutTest, BothListsShowTheSevenColumnsAtTheirWidths) {
    const std::vector<std::pair<std::wstring, int>> columns{
        {L"ZIP名", 80},  {L"英語名", 230}, {L"日本語名", 300}, {L"メーカー", 140},
        {L"製造年", 60}, {L"マスタ", 70},  {L"訳", 40}};
    for (HWND list : {Ui().ListView1, Ui().ListView2}) {
        for (int column = 0; column < 7; ++column) {
            EXPECT_EQ(listview::ColumnCaption(list, column), columns[column].first);
            EXPECT_EQ(listview::ColumnWidth(list, column), columns[column].second);
        }
    }
    const auto style = [](HWND list) { return static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE)); };
    const DWORD listStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
    EXPECT_EQ(style(Ui().ListView1) & (listStyle | LVS_OWNERDATA | LVS_EDITLABELS),
              listStyle | LVS_OWNERDATA);
    EXPECT_EQ(style(Ui().ListView2) & (listStyle | LVS_NOSORTHEADER | LVS_EDITLABELS),
              listStyle | LVS_NOSORTHEADER);
    EXPECT_NE(ListView_GetExtendedListViewStyle(Ui().ListView1) & LVS_EX_FULLROWSELECT, 0u);
    EXPECT_NE(ListView_GetExtendedListViewStyle(Ui().ListView2) & LVS_EX_FULLROWSELECT, 0u);
    EXPECT_NE(GetWindowLongPtrW(form->HeaderHandle(), GWL_STYLE) & HDS_FULLDRAG, 0);
}

// The proposals' entries come after the four commands; then the entry that makes listinfo.txt
// anew, greyed until a MAME executable is chosen; the About entry stays last.
TEST_F(LayoutTest, ThePopupMenuHoldsTheFourCommandsTheProposalsAndTheAboutEntryLast) {
    const HMENU menu = Ui().PopupMenu1;
    ASSERT_EQ(GetMenuItemCount(menu), 12);
    const auto caption = [menu](int position) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
        return std::wstring(text);
    };
    EXPECT_EQ(caption(1), L"MAME実行ファイルの指定(&B)...");
    EXPECT_NE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(caption(3), L"ゲーム名を置換\tF3");
    EXPECT_EQ(caption(4), L"クイックセーブ(&Q)\tCtrl+S");
    // The proposals' entries come after the earlier ones, so that those keep their places.
    EXPECT_NE(GetMenuState(menu, 5, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(GetMenuItemID(menu, 6), static_cast<UINT>(ids::kTakeProposal));
    EXPECT_EQ(GetMenuItemID(menu, 7), static_cast<UINT>(ids::kNextUntranslated));
    EXPECT_EQ(GetMenuItemID(menu, 8), static_cast<UINT>(ids::kPreviousUntranslated));
    EXPECT_NE(GetMenuState(menu, 9, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(caption(10), L"MAMEでlistinfo.txtを作り直す(&L)...");
    EXPECT_NE(GetMenuState(menu, 10, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_EQ(caption(11), L"バージョン情報(&A)...");
}

}  // namespace
}  // namespace kanaroll::testing
