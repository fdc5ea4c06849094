#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Dpi.h"
#include "platform/ProgressWindow.h"
#include "tests/gui/MainWindowFixture.h"
#include "tests/gui/SortHeaderSupport.h"

// The layout at the screen's density. CTest runs this suite in the usual prefix (96 dpi) and again in
// prefixes whose screen has 144 and 192 dpi (KANAROLL_WINE_DPI), where every size must be the
// 96-dpi one scaled, no caption may be cut and the sort arrow must be drawn at its scaled size.
namespace kanaroll::testing {
namespace {

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
           "x" + std::to_string(r.bottom - r.top);
}

SIZE OuterSize(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// The extent of a caption as the control draws it (an ampersand marks the next letter), in its font,
// to the end of its last letter's ink: the blank columns a letter keeps at its right may be cut.
struct TextExtent {
    SIZE size;
    int lineHeight;
    int digitWidth;  // of "0", half of which a check box leaves between its box and its caption
};
TextExtent ExtentOf(HWND control, std::wstring text) {
    const HDC dc = GetDC(control);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT box{0, 0, 0, 0};
    const UINT prefix = (GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_SINGLELINE | prefix);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    INT digitWidth = 0;
    GetCharWidth32W(dc, L'0', L'0', &digitWidth);
    ABC last{};
    if (!text.empty() && GetCharABCWidthsW(dc, text.back(), text.back(), &last) && last.abcC > 0)
        box.right -= static_cast<LONG>(last.abcC);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return {{box.right, box.bottom}, metrics.tmHeight, digitWidth};
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

class HighDpiTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man", .manufacturer = "Namco"},
                       {.zip = "galaga", .description = "Galaga", .manufacturer = "Namco"}});
        Start();
        scale = dpi::OfWindow(form->Handle());
        // The prefix's density must have reached the program, or this suite proves nothing.
        if (const char* asked = std::getenv("KANAROLL_WINE_DPI")) {
            ASSERT_EQ(scale.Dpi(), std::atoi(asked));
        }
    }

    // Outer bounds for WM_DPICHANGED: the window's place, its design size at the dpi.
    RECT Suggested(HWND window, int width, int height) const {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        return {bounds.left, bounds.top, bounds.left + width, bounds.top + height};
    }
    void ChangeDpi(HWND window, DpiScale to, RECT suggested) {
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to.Dpi(), to.Dpi()),
                     reinterpret_cast<LPARAM>(&suggested));
        Pump();
    }
    void SetClientWidth(int width) {
        const SIZE outer = OuterSize(form->Handle());
        const SIZE client = ClientSize(form->Handle());
        SetWindowPos(form->Handle(), nullptr, 0, 0, outer.cx - client.cx + width, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }

    // The lower pane's controls where its 96-dpi layout puts them at the dpi, for a pane as wide
    // as its design plus `grown` pixels (anchored right: moved; anchored left and right: wider).
    void ExpectLowerPaneAt(DpiScale at, int grown) const {
        const auto box = [at](int left, int top, int width, int height) {
            return dpi::Scale(at, RECT{left, top, left + width, top + height});
        };
        const auto moved = [grown](RECT r) { return RECT{r.left + grown, r.top, r.right + grown, r.bottom}; };
        const auto wider = [grown](RECT r) { return RECT{r.left, r.top, r.right + grown, r.bottom}; };
        const auto& ui = Ui();
        const std::vector<std::pair<HWND, RECT>> expected{
            {ui.GroupBox1, wider(box(3, 1, 572, 118))},
            {ui.Edit3, wider(box(61, 19, 501, 17))},
            {ui.Edit1, wider(box(61, 38, 503, 20))},
            {ui.Edit2, wider(box(61, 64, 503, 20))},
            {ui.Button3, moved(box(371, 89, 62, 22))},
            {ui.Button1, moved(box(436, 89, 62, 22))},
            {ui.Button2, moved(box(500, 89, 63, 22))},
            {ui.GroupBox2, moved(box(580, 1, 358, 88))},
            {ui.Memo1, box(45, 13, 308, 27)},
            {ui.Memo2, box(45, 39, 308, 27)},
            {ui.Edit4, box(44, 67, 304, 12)},
            {ui.RadioButton1, moved(box(580, 99, 96, 17))},
            {ui.RadioButton2, moved(box(677, 98, 96, 17))},
            {ui.RadioButton3, moved(box(774, 98, 70, 17))},
            {ui.BitBtn1, moved(box(846, 94, 88, 25))},
        };
        for (const auto& [control, bounds] : expected) {
            EXPECT_EQ(Describe(window::BoundsInParent(control)), Describe(bounds)) << GetDlgCtrlID(control);
        }
        const RECT family = window::BoundsInParent(ui.ListView2);
        EXPECT_EQ(Describe({family.left, family.top, family.right, family.top + at(158)}),
                  Describe(wider(box(0, 126, 942, 158))));
    }

    // Sizes that follow the dpi everywhere in the main window.
    void ExpectMainWindowSizesAt(DpiScale at) const {
        EXPECT_EQ(FontOf(Ui().Edit1).lfHeight, -at(12));
        EXPECT_EQ(FontOf(Ui().Edit3).lfHeight, -at(12));
        EXPECT_EQ(FontOf(form->HeaderHandle()).lfHeight, -at(12));
        EXPECT_EQ(window::BoundsInParent(Ui().Splitter1).bottom - window::BoundsInParent(Ui().Splitter1).top,
                  at(6));
        int parts[4] = {};
        ASSERT_EQ(SendMessageW(Ui().StatusBar1, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 4);
        EXPECT_EQ(parts[0], at(200));
        EXPECT_EQ(parts[1], at(200) + at(150));
        EXPECT_EQ(parts[2], at(200) + at(150) + at(150));
        const int widths[] = {80, 230, 300, 140, 60, 70, 40};
        for (HWND list : {Ui().ListView1, Ui().ListView2}) {
            for (int column = 0; column < 7; ++column)
                EXPECT_EQ(listview::ColumnWidth(list, column), at(widths[column])) << column;
            int iconWidth = 0;
            int iconHeight = 0;
            ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_SMALL), &iconWidth, &iconHeight);
            EXPECT_EQ(iconWidth, at(16));
            EXPECT_EQ(iconHeight, at(16));
        }
    }

    static void ExpectBounds(HWND control, RECT design, DpiScale at) {
        EXPECT_EQ(Describe(window::BoundsInParent(control)), Describe(dpi::Scale(at, design)))
            << GetDlgCtrlID(control);
    }
    static RECT Box(int left, int top, int width, int height) {
        return {left, top, left + width, top + height};
    }

    // A dialog's outer size for its client size at the dpi. Wine draws the frames at the screen's
    // density whatever a window's, so after a WM_DPICHANGED sent by a test only the outer size is
    // the one Windows would show; at the screen's density the client sizes are checked too.
    static void ExpectClientSizeAt(HWND dialog, SIZE design, DpiScale at) {
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
        const SIZE outer = dpi::OuterSizeForClient(dpi::Scale(at, design), style, exStyle, at);
        EXPECT_EQ(OuterSize(dialog).cx, outer.cx);
        EXPECT_EQ(OuterSize(dialog).cy, outer.cy);
        if (at == dpi::OfSystem()) {
            EXPECT_EQ(ClientSize(dialog).cx, at(design.cx));
            EXPECT_EQ(ClientSize(dialog).cy, at(design.cy));
        }
    }

    void ExpectDialogsAt(DpiScale at) const {
        ExpectClientSizeAt(replaceDialog->Handle(), {501, 265}, at);
        const auto& dialog = replaceDialog->Ui();
        ExpectBounds(dialog.ListView1, Box(8, 24, 381, 233), at);
        ExpectBounds(dialog.Button5, Box(402, 24, 89, 25), at);
        ExpectBounds(dialog.Button2, Box(402, 104, 89, 25), at);
        ExpectBounds(dialog.BitBtn1, Box(402, 232, 89, 25), at);
        EXPECT_EQ(listview::ColumnWidth(dialog.ListView1, 0), at(140));
        EXPECT_EQ(listview::ColumnWidth(dialog.ListView1, 2), at(80));
        EXPECT_EQ(FontOf(dialog.Button5).lfHeight, -at(12));

        ExpectClientSizeAt(conditionEditor->Handle(), {263, 171}, at);
        const auto& editor = conditionEditor->Ui();
        ExpectBounds(editor.Edit1, Box(10, 24, 241, 20), at);
        ExpectBounds(editor.Edit2, Box(10, 72, 241, 20), at);
        ExpectBounds(editor.CheckBox1, Box(10, 106, 145, 17), at);
        ExpectBounds(editor.Button1, Box(59, 136, 89, 25), at);
        ExpectBounds(editor.BitBtn1, Box(162, 136, 89, 25), at);
        EXPECT_EQ(FontOf(editor.Edit1).lfHeight, -at(12));
    }

    DpiScale scale;
};

TEST_F(HighDpiTest, TheWindowsTheirControlsAndTheirFontHaveTheScaledSizes) {
    const SIZE outer = OuterSize(form->Handle());
    EXPECT_EQ(outer.cx, scale(950));
    EXPECT_EQ(outer.cy, scale(667));
    EXPECT_EQ(window::BoundsInParent(Ui().Panel2).bottom - window::BoundsInParent(Ui().Panel2).top,
              scale(285));
    ExpectMainWindowSizesAt(scale);
    SetClientWidth(scale(942));
    ExpectLowerPaneAt(scale, 0);
    SetClientWidth(scale(942) + scale(100));
    ExpectLowerPaneAt(scale, scale(100));
    ExpectDialogsAt(scale);

    // The replace dialog opens as far from the main window's corner as the layout says.
    SendMessageW(Ui().Button3, BM_CLICK, 0, 0);
    Pump();
    RECT main{};
    RECT dialog{};
    GetWindowRect(form->Handle(), &main);
    GetWindowRect(replaceDialog->Handle(), &dialog);
    EXPECT_EQ(dialog.left - main.left, scale(100));
    EXPECT_EQ(dialog.top - main.top, scale(50));
}

TEST_F(HighDpiTest, NoCaptionIsCutByItsControl) {
    for (HWND window : {form->Handle(), replaceDialog->Handle(), conditionEditor->Handle()}) {
        for (HWND control : ChildrenOf(window)) {
            const std::wstring kind = ClassOf(control);
            const std::wstring text = Text(control);
            if (text.empty() || (kind != L"Static" && kind != L"Button")) continue;
            const LONG style = static_cast<LONG>(GetWindowLongPtrW(control, GWL_STYLE));
            const int type = style & BS_TYPEMASK;
            const bool box = kind == L"Button" && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON ||
                                                   type == BS_AUTOCHECKBOX || type == BS_CHECKBOX);
            // A push button keeps its edges; a check box or radio button its box (12 pixels at 96 dpi
            // and one more) and half a digit after it.
            const TextExtent extent = ExtentOf(control, text);
            int room = ClientSize(control).cx;
            if (kind == L"Button")
                room -= box ? scale(12) + 1 + extent.digitWidth / 2 : 2 * dpi::SystemMetric(SM_CXEDGE, scale);
            // At 96 dpi the layout stays the one the program always had: in the face Wine puts in
            // for "ＭＳ Ｐゴシック", the format choices' captions end one pixel past their room.
            const int slack = scale.IsDesignDpi() && box ? 1 : 0;
            EXPECT_LE(extent.size.cx, room + slack) << WideToUtf8(text);
            EXPECT_LE(extent.lineHeight, ClientSize(control).cy) << WideToUtf8(text);
        }
    }
    // The column captions of both lists and of the rule list, and the totals in their panel.
    const auto expectColumnsFit = [](HWND list, int columns) {
        const HWND header = listview::Header(list);
        for (int column = 0; column < columns; ++column) {
            const std::wstring caption = listview::ColumnCaption(list, column);
            EXPECT_LT(ExtentOf(header, caption).size.cx, listview::ColumnWidth(list, column))
                << WideToUtf8(caption);
        }
        EXPECT_LE(ExtentOf(header, L"ZIP名").lineHeight, ClientSize(header).cy);
    };
    expectColumnsFit(Ui().ListView1, 7);
    expectColumnsFit(Ui().ListView2, 7);
    expectColumnsFit(replaceDialog->Ui().ListView1, 3);
    const std::wstring totals = L"合計：88888件   未訳：88888件";
    RECT panel{};
    SendMessageW(Ui().StatusBar1, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
    EXPECT_LT(ExtentOf(Ui().StatusBar1, totals).size.cx, panel.right - panel.left);
    EXPECT_LE(ExtentOf(Ui().StatusBar1, totals).lineHeight, panel.bottom - panel.top);
}

TEST_F(HighDpiTest, TheProgressWindowHasTheScaledSizesAndRoomForItsTexts) {
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(Ui().Edit1, WM_GETFONT, 0, 0));
    ProgressWindow progress(form->Handle(), L"MAMEでlistinfo.txtを作成中", font, [] {});
    ExpectClientSizeAt(progress.Handle(), ProgressWindow::kDesignClient, scale);
    ExpectBounds(progress.CancelButton(), ProgressWindow::kDesignCancel, scale);
    ExpectBounds(progress.Label(), ProgressWindow::kDesignLabel, scale);
    EXPECT_EQ(FontOf(progress.Label()).lfHeight, -scale(12));
    // The longest texts it shows: the wait for MAME's first output, and a whole -listxml received.
    for (const std::wstring text : {L"MAMEの出力を待っています...", L"4095.9 MB 受信しました"}) {
        const TextExtent extent = ExtentOf(progress.Label(), text);
        EXPECT_LE(extent.size.cx, ClientSize(progress.Label()).cx) << text;
        EXPECT_LE(extent.lineHeight, ClientSize(progress.Label()).cy) << text;
    }
    const TextExtent cancel = ExtentOf(progress.CancelButton(), L"中止");
    EXPECT_LE(cancel.size.cx,
              ClientSize(progress.CancelButton()).cx - 2 * dpi::SystemMetric(SM_CXEDGE, scale));
}

TEST_F(HighDpiTest, TheSortArrowIsDrawnAtTheScaledSize) {
    const HWND header = form->HeaderHandle();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (bool ascending : {true, false}) {
        PressHeader(header, 1);
        ReleaseHeader(header, 1);
        Pump();
        ASSERT_EQ(State().sort.sortAscending, ascending);
        const RECT item = HeaderItemRect(header, 1);
        const int captionWidth = ExtentOf(header, listview::ColumnCaption(Ui().ListView1, 1)).size.cx;
        // The arrow's bitmap: 7 wider and 6 taller than its 7 x 7 cell, which follows the caption.
        const int cellLeft = item.left + scale(4) + scale(2) + captionWidth + scale(9);
        const int cellTop = item.top + scale(2) + scale(2);
        const RECT bitmap{cellLeft - scale(3), cellTop - scale(2), cellLeft - scale(3) + scale(7) + scale(7),
                          cellTop - scale(2) + scale(7) + scale(6)};
        ASSERT_LE(bitmap.bottom, item.bottom);

        const ClientPixels pixels(header);
        RECT ink{bitmap.right, bitmap.bottom, bitmap.left, bitmap.top};
        for (int y = bitmap.top - scale(2); y < bitmap.bottom + scale(2); ++y) {
            for (int x = bitmap.left; x < bitmap.right + scale(2); ++x) {
                const COLORREF colour = pixels.At(x, y);
                if (colour != shadow && colour != highlight) continue;
                EXPECT_TRUE(PtInRect(&bitmap, POINT{x, y})) << x << "," << y << " outside the arrow's bitmap";
                ink = {std::min(ink.left, static_cast<LONG>(x)), std::min(ink.top, static_cast<LONG>(y)),
                       std::max(ink.right, static_cast<LONG>(x + 1)),
                       std::max(ink.bottom, static_cast<LONG>(y + 1))};
            }
        }
        // At 96 dpi the triangle's lines cover 9 x 7 pixels; drawn for the dpi, they cover as many
        // scaled, give or take the width of a line.
        EXPECT_NEAR(ink.right - ink.left, scale(9), scale(1)) << Describe(ink);
        EXPECT_NEAR(ink.bottom - ink.top, scale(7), scale(1)) << Describe(ink);
        // Embossed: shadow on the left flank, highlight on the right, its base as at 96 dpi.
        const int middle = (ink.top + ink.bottom) / 2;
        int left = ink.right;
        int right = ink.left;
        for (int x = ink.left; x < ink.right; ++x) {
            if (pixels.At(x, middle) == face) continue;
            left = std::min(left, x);
            right = std::max(right, x);
        }
        EXPECT_EQ(pixels.At(left, middle), shadow);
        EXPECT_EQ(pixels.At(right, middle), highlight);
        const int baseRow = ascending ? ink.bottom - 1 : ink.top;
        EXPECT_EQ(pixels.At((ink.left + ink.right) / 2, baseRow), ascending ? highlight : shadow);
        // Lines as thick as a 96-dpi pixel scaled: each flank is as many pixels wide across.
        const auto runFrom = [&](int x, int step, COLORREF colour) {
            int length = 0;
            for (; pixels.At(x, middle) == colour; x += step) ++length;
            return length;
        };
        EXPECT_GE(runFrom(left, 1, shadow), scale(1));
        EXPECT_GE(runFrom(right, -1, highlight), scale(1));
    }
}

// Windows has no second monitor under Wine: the message a move to another monitor brings is sent
// here as Windows would send it, from 100 % to 200 % or from a higher density to 100 %, and back.
TEST_F(HighDpiTest, MovingToAMonitorOfAnotherDensityLaysEverythingOutAgain) {
    const DpiScale other(scale.IsDesignDpi() ? 192 : 96);
    // A window never grows past the screen: the two sizes must fit on it (scripts/test's screen
    // holds a 1280 x 1024 screen at 200 %).
    const int widest = std::max(scale(950), other(950));
    const int tallest = std::max(scale(667), other(667));
    if (GetSystemMetrics(SM_CXMAXTRACK) < widest || GetSystemMetrics(SM_CYMAXTRACK) < tallest)
        GTEST_SKIP() << "the screen cannot hold a window of " << widest << " x " << tallest;
    const RECT suggested = Suggested(form->Handle(), other(950), other(667));
    ChangeDpi(form->Handle(), other, suggested);
    EXPECT_EQ(Describe(window::BoundsInParent(form->Handle())), Describe(suggested));
    EXPECT_EQ(window::BoundsInParent(Ui().Panel2).bottom - window::BoundsInParent(Ui().Panel2).top,
              other(285));
    ExpectMainWindowSizesAt(other);
    SetClientWidth(other(942));
    ExpectLowerPaneAt(other, 0);

    for (Window* dialog : std::initializer_list<Window*>{replaceDialog, conditionEditor}) {
        ChangeDpi(dialog->Handle(), other, Suggested(dialog->Handle(), 1, 1));
    }
    ExpectDialogsAt(other);

    // And back: everything as it was at the start.
    ChangeDpi(form->Handle(), scale, Suggested(form->Handle(), scale(950), scale(667)));
    for (Window* dialog : std::initializer_list<Window*>{replaceDialog, conditionEditor}) {
        ChangeDpi(dialog->Handle(), scale, Suggested(dialog->Handle(), 1, 1));
    }
    EXPECT_EQ(OuterSize(form->Handle()).cx, scale(950));
    EXPECT_EQ(OuterSize(form->Handle()).cy, scale(667));
    EXPECT_EQ(window::BoundsInParent(Ui().Panel2).bottom - window::BoundsInParent(Ui().Panel2).top,
              scale(285));
    ExpectMainWindowSizesAt(scale);
    SetClientWidth(scale(942));
    ExpectLowerPaneAt(scale, 0);
    ExpectDialogsAt(scale);
}

// Each icon resource holds an image of the very size each common density asks for, so that the
// one loaded is drawn for its grid and never stretched from another.
TEST(IconResourcesTest, EveryIconHasAnImageForEachCommonDensity) {
    for (const wchar_t* name : {L"MAINICON", L"MASTERICON", L"CLONEICON", L"SAVEICON"}) {
        const HRSRC group = FindResourceW(nullptr, name, RT_GROUP_ICON);
        ASSERT_NE(group, nullptr) << WideToUtf8(name);
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
        for (int dpiValue : {96, 120, 144, 192, 240, 288}) {
            const int size = DpiScale(dpiValue)(16);
            const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
            const HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_ICON);
            ASSERT_NE(image, nullptr) << WideToUtf8(name) << " " << size;
            const auto* header =
                static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, image)));
            EXPECT_EQ(header->biWidth, size) << WideToUtf8(name);
            EXPECT_EQ(header->biHeight, 2 * size) << WideToUtf8(name);  // the colours and the mask
        }
    }
}

}  // namespace
}  // namespace kanaroll::testing
