#include <string>

#include "tests/gui/MainWindowFixture.h"
#include "tests/gui/SortHeaderSupport.h"

namespace kanaroll::testing {
namespace {

// The sort indicator read back from the header's own painting. The arrow is a 14 x 13 bitmap whose
// top-left corner the header shows at (cell.left - 3, cell.top - 2).
class SortHeaderTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo({{.zip = "pacman", .description = "Pac-Man"},
                       {.zip = "galaga", .description = "Galaga"},
                       {.zip = "digdug", .description = "Dig Dug"}});
        Start();
        face = GetSysColor(COLOR_BTNFACE);
        shadow = GetSysColor(COLOR_BTNSHADOW);
        highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        ASSERT_NE(shadow, face);
        ASSERT_NE(highlight, face);
    }

    HWND Header() const { return form->HeaderHandle(); }
    static SIZE ClientSize(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return {client.right, client.bottom};
    }
    RECT Item(int column) const { return HeaderItemRect(Header(), column); }

    void ClickColumn(int column) {
        PressHeader(Header(), column);
        ReleaseHeader(Header(), column);
        Pump();
    }
    void SetColumnWidth(int column, int width) {
        SendMessageW(Ui().ListView1, LVM_SETCOLUMNWIDTH, column, width);
        Pump();
    }
    // A drag of the divider at the right end of a column, which changes the header's capture but
    // clicks nothing.
    void DragDivider(int column) {
        const RECT item = Item(column);
        const int y = (item.top + item.bottom) / 2;
        PostMessageW(Header(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.right - 1, y));
        PostMessageW(Header(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(item.right + 10, y));
        PostMessageW(Header(), WM_LBUTTONUP, 0, MAKELPARAM(item.right + 10, y));
        Pump();
    }

    // Width of a column's caption in the header's font.
    int CaptionWidth(int column) const {
        const std::wstring caption = listview::ColumnCaption(Ui().ListView1, column);
        const HDC dc = GetDC(Header());
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Header(), WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        SelectObject(dc, previous);
        ReleaseDC(Header(), dc);
        return size.cx;
    }

    char Kind(COLORREF colour) const {
        if (colour == face) return '.';
        if (colour == shadow) return 's';
        if (colour == highlight) return 'h';
        return '#';
    }
    // The arrow's bitmap as text, for failure messages.
    std::string ArrowPicture(const ClientPixels& pixels, POINT origin) const {
        std::string picture = "\n";
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 14; ++x) picture += Kind(pixels.At(origin.x + x, origin.y + y));
            picture += '\n';
        }
        return picture;
    }
    // The embossed triangle: shadow on its left flank, highlight on its right one, nothing above row
    // 3 or below row 9; pointing up it has a highlighted base on row 9, pointing down a shadowed
    // base on row 3. Only the columns from `firstX` to `lastX` of the bitmap are looked at.
    bool IsArrow(const ClientPixels& pixels, POINT origin, bool up, int firstX = 0, int lastX = 13) const {
        const auto at = [&](int x, int y) { return Kind(pixels.At(origin.x + x, origin.y + y)); };
        for (int y = 0; y < 13; ++y) {
            if (y >= 3 && y <= 9) continue;
            for (int x = firstX; x <= lastX; ++x) {
                if (at(x, y) != '.') return false;
            }
        }
        const int baseRow = up ? 9 : 3;
        for (int x = 3; x <= 9; ++x) {
            if (x < firstX || x > lastX) continue;
            if (at(x, baseRow) != (up ? 'h' : 's')) return false;
        }
        for (int y = up ? 3 : 4; y <= (up ? 8 : 8); ++y) {
            int left = -1;
            int right = -1;
            for (int x = firstX; x <= lastX; ++x) {
                if (at(x, y) == '.') continue;
                if (left < 0) left = x;
                right = x;
            }
            if (left < 0 || at(left, y) != 's' || at(right, y) != 'h' || left >= right) return false;
        }
        return true;
    }
    // Left and right end of the caption's ink between two x positions, inside the text band.
    std::pair<int, int> InkColumns(const ClientPixels& pixels, const RECT& item, int fromX, int toX) const {
        int first = -1;
        int last = -1;
        for (int x = fromX; x < toX; ++x) {
            for (int y = item.top + 2; y < item.bottom - 2; ++y) {
                if (pixels.At(x, y) == face) continue;
                if (first < 0) first = x;
                last = x;
            }
        }
        return {first, last};
    }

    COLORREF face = 0;
    COLORREF shadow = 0;
    COLORREF highlight = 0;
};

TEST_F(SortHeaderTest, BeforeTheFirstClickNoColumnIsOwnerDrawnEvenAfterADrag) {
    DragDivider(0);
    EXPECT_EQ(State().sort.sortColumn, -1);
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(HeaderFormat(Header(), column) & HDF_OWNERDRAW, 0) << column;
        EXPECT_NE(HeaderFormat(Header(), column) & HDF_STRING, 0) << column;
    }
}

TEST_F(SortHeaderTest, TheCaptionIsFollowedByAnArrowUpThenDown) {
    ClickColumn(1);
    EXPECT_EQ(HeaderFormat(Header(), 1) & (HDF_OWNERDRAW | HDF_STRING), HDF_OWNERDRAW);
    const RECT item = Item(1);
    const int w = CaptionWidth(1);
    const POINT origin{item.left + w + 15 - 3, item.top + 4 - 2};

    const ClientPixels ascending(Header());
    EXPECT_TRUE(IsArrow(ascending, origin, true)) << ArrowPicture(ascending, origin);
    const auto [first, last] = InkColumns(ascending, item, item.left + 2, origin.x);
    EXPECT_GE(first, item.left + 6);
    EXPECT_LE(first, item.left + 8);
    EXPECT_LT(last, item.left + 6 + w);

    ClickColumn(1);
    EXPECT_FALSE(State().sort.sortAscending);
    const ClientPixels descending(Header());
    EXPECT_TRUE(IsArrow(descending, origin, false)) << ArrowPicture(descending, origin);
    EXPECT_EQ(InkColumns(descending, item, item.left + 2, origin.x), std::make_pair(first, last));
}

TEST_F(SortHeaderTest, WhileHeldDownTheCaptionAndArrowMoveOnePixelRightAndDown) {
    ClickColumn(1);
    const RECT item = Item(1);
    const int w = CaptionWidth(1);
    const ClientPixels released(Header());
    PressHeader(Header(), 1);
    Pump();
    const ClientPixels pressed(Header());
    ReleaseHeader(Header(), 1);
    Pump();

    const POINT origin{item.left + w + 12, item.top + 2};
    EXPECT_TRUE(IsArrow(pressed, {origin.x + 1, origin.y + 1}, true))
        << ArrowPicture(pressed, {origin.x + 1, origin.y + 1});
    int differences = 0;
    for (int y = item.top + 1; y <= item.bottom - 4; ++y) {
        for (int x = item.left + 3; x < origin.x + 14; ++x) {
            if (pressed.At(x + 1, y + 1) != released.At(x, y)) ++differences;
        }
    }
    EXPECT_EQ(differences, 0);
    EXPECT_FALSE(State().sort.sortAscending);  // the release completed a click
}

TEST_F(SortHeaderTest, ANarrowColumnHasTheArrowAtItsRightEndAndTheCaptionCutBeforeIt) {
    ClickColumn(2);
    const int w = CaptionWidth(2);
    SetColumnWidth(2, w + 20);  // less than the caption plus 24
    const RECT item = Item(2);
    ASSERT_EQ(item.right - item.left, w + 20);
    const ClientPixels pixels(Header());
    const POINT origin{item.right - 11 - 3, item.top + 2};
    EXPECT_TRUE(IsArrow(pixels, origin, true)) << ArrowPicture(pixels, origin);
    const auto [first, last] = InkColumns(pixels, item, item.left + 2, origin.x);
    EXPECT_GE(first, item.left + 6);
    EXPECT_LE(first, item.left + 8);
    EXPECT_LT(last, item.right - 20);
}

TEST_F(SortHeaderTest, ATinyColumnHasTheArrowAtItsLeftEdgeClippedToTheColumn) {
    // The last column, 12 wide, ends at the header's right edge: the header paints nothing behind
    // it, so anything the arrow's copy puts there shows in the columns beyond the client area.
    SetColumnWidth(6, 12);
    const int headerWidth = ClientSize(Header()).cx;
    SetColumnWidth(5, listview::ColumnWidth(Ui().ListView1, 5) + headerWidth - Item(6).right);
    const RECT item = Item(6);
    ASSERT_EQ(item.right, headerWidth);
    ClickColumn(6);
    ASSERT_EQ(State().sort.sortColumn, 6);
    const ClientPixels pixels(Header(), 4);

    // The item's own frame covers its last two columns; the arrow shows left of them.
    const POINT origin{item.left, item.top + 2};
    EXPECT_TRUE(IsArrow(pixels, origin, true, 1, 9)) << ArrowPicture(pixels, origin);
    // The bitmap is 14 wide, but only the column's 12 are copied.
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = item.right; x < item.right + 4; ++x)
            EXPECT_EQ(pixels.At(x, y), RGB(0, 0, 0)) << x << "," << y;
    }
}

TEST_F(SortHeaderTest, AnotherColumnTakesTheArrowAndThePreviousOneGetsItsPlainCaptionBack) {
    ClickColumn(1);
    ClickColumn(3);
    EXPECT_EQ(HeaderFormat(Header(), 1) & (HDF_OWNERDRAW | HDF_STRING), HDF_STRING);
    EXPECT_EQ(HeaderFormat(Header(), 3) & (HDF_OWNERDRAW | HDF_STRING), HDF_OWNERDRAW);
    const ClientPixels pixels(Header());
    const RECT previous = Item(1);
    const POINT oldOrigin{previous.left + CaptionWidth(1) + 12, previous.top + 2};
    EXPECT_FALSE(IsArrow(pixels, oldOrigin, true)) << ArrowPicture(pixels, oldOrigin);
    EXPECT_GE(InkColumns(pixels, previous, previous.left + 2, oldOrigin.x).first, 0);  // the caption is drawn
    const RECT current = Item(3);
    const POINT origin{current.left + CaptionWidth(3) + 12, current.top + 2};
    EXPECT_TRUE(IsArrow(pixels, origin, true)) << ArrowPicture(pixels, origin);
}

TEST_F(SortHeaderTest, ACaptureChangeMarksTheSortedColumnAgain) {
    ClickColumn(4);
    HDITEMW reset{};
    reset.mask = HDI_FORMAT;
    reset.fmt = HDF_STRING | HDF_LEFT;
    SendMessageW(Header(), HDM_SETITEMW, 4, reinterpret_cast<LPARAM>(&reset));
    ASSERT_EQ(HeaderFormat(Header(), 4) & HDF_OWNERDRAW, 0);
    DragDivider(1);
    EXPECT_EQ(HeaderFormat(Header(), 4) & (HDF_OWNERDRAW | HDF_STRING), HDF_OWNERDRAW);
    EXPECT_EQ(State().sort.sortColumn, 4);
}

}  // namespace
}  // namespace kanaroll::testing
