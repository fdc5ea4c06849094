// The sort indicator in the game list's header: the sorted column's item is owner-drawn with its
// caption and an embossed triangle pointing up (ascending) or down (descending).
#include <algorithm>
#include <cstdlib>

#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "platform/WindowHook.h"

namespace kanaroll {

namespace {
constexpr UINT kDrawTextFlags =
    DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT;  // 0x8824
constexpr int kArrowCellSize = 7;  // at 96 dpi; the triangle's bitmap is 7 wider and 6 taller
}  // namespace

void TForm1::InstallHeaderHooks() {
    m_state.sort.sortColumn = -1;
    headerHandle = listview::Header(m_ui.ListView1);
    hook::Install(m_ui.ListView1, ListView1HookProc, this);
    if (headerHandle) hook::Install(headerHandle, HeaderHookProc, this);
}

LRESULT TForm1::ListView1HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* self) {
    if (message == WM_NCDESTROY) return hook::CallNext(window, message, wParam, lParam);
    auto* form = static_cast<TForm1*>(self);
    return Guarded([&] { return form->ListView1Message(window, message, wParam, lParam); }, LRESULT{0});
}

// The game list's own messages: the header's drawing, the clicks and the keys.
LRESULT TForm1::ListView1Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) return HeaderDrawItem(window, wParam, lParam);
    FocusListBeforeClick(window, message);
    if (const auto answered = KeyMessage(window, message, wParam, lParam)) return *answered;
    return hook::CallNext(window, message, wParam, lParam);
}

// The header draws the sorted column through its parent, this list. The message still goes on to
// the list; the answer says that the item was drawn, without which Wine's header paints its plain
// background over the drawing again.
LRESULT TForm1::HeaderDrawItem(HWND list, WPARAM wParam, LPARAM lParam) {
    const DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const bool drawn = DrawSortHeader(item);
    const LRESULT result = hook::CallNext(list, WM_DRAWITEM, wParam, lParam);
    return drawn ? TRUE : result;
}

LRESULT TForm1::HeaderHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* self) {
    const LRESULT result = hook::CallNext(window, message, wParam, lParam);
    if (message == WM_CAPTURECHANGED) {
        auto* form = static_cast<TForm1*>(self);
        Guarded(
            [&] {
                form->SetHeaderOwnerDraw(form->m_state.sort.sortColumn, true);
                return 0;
            },
            0);
    }
    return result;
}

void TForm1::SetHeaderOwnerDraw(int column, bool ownerDrawn) {
    if (!headerHandle) return;
    const auto format = header::ItemFormat(headerHandle, column);
    if (!format) return;  // no such column, as for -1 before the first sort
    header::SetItemFormat(
        headerHandle, column,
        ownerDrawn ? (*format | HDF_OWNERDRAW) & ~HDF_STRING : (*format & ~HDF_OWNERDRAW) | HDF_STRING);
}

bool TForm1::DrawSortHeader(const DRAWITEMSTRUCT& item) {
    if (!headerHandle) return false;
    SavedDcState saved(item.hDC);  // restored on every way out, also when drawing fails
    const HDC dc = item.hDC;
    SelectObject(dc, m_font.Get());
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    SelectObject(dc, GetSysColorBrush(COLOR_BTNFACE));
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    DrawHeaderCaption(dc, item.rcItem, item.itemState == ODS_SELECTED);
    return true;
}

// Every length below is the one of a 96-dpi header, scaled by the window's dpi.
void TForm1::DrawHeaderCaption(HDC dc, RECT bounds, bool pressed) {
    const DpiScale& scale = m_scale;
    RECT text{bounds.left + scale(4), bounds.top + scale(2), bounds.right - scale(4),
              bounds.bottom - scale(1)};

    const auto [columnWidth, caption] = listview::Column(m_ui.ListView1, m_state.sort.sortColumn);
    const int captionLength = static_cast<int>(caption.size());

    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), captionLength, &extent);
    const int width = extent.cx;
    const int available = text.right - text.left;

    const int cellSize = scale(kArrowCellSize);
    RECT arrow{};
    if (available >= width + scale(16)) {  // wide: the triangle follows the caption
        text.left += scale(2);
        arrow.left = text.left + width + scale(9);
        arrow.top = text.top + scale(2);
        text.right = arrow.left;
    } else if (available >= scale(6)) {  // narrow: the triangle at the right end, the caption cut before it
        text.left += scale(2);
        arrow.left = text.right - cellSize;
        arrow.top = text.top + scale(2);
        text.right = arrow.left - scale(9);
    } else {  // tiny: the triangle at the left edge
        arrow.left = text.left - scale(1);
        arrow.top = text.top + scale(2);
    }
    arrow.right = arrow.left + cellSize;
    arrow.bottom = arrow.top + cellSize;
    if (pressed) {
        OffsetRect(&text, scale(1), scale(1));
        OffsetRect(&arrow, scale(1), scale(1));
    }
    DrawTextW(dc, caption.c_str(), captionLength, &text, kDrawTextFlags);
    DrawSortArrow(dc, arrow, columnWidth);
}

// The triangle is drawn for the dpi, not stretched: its lines are as many pixels thick as one pixel
// at 96 dpi becomes, drawn side by side.
void TForm1::DrawSortArrow(HDC dc, RECT cell, int clipWidth) {
    const DpiScale& scale = m_scale;
    const int cellSize = cell.right - cell.left;
    const int width = cellSize + scale(7);
    const int height = (cell.bottom - cell.top) + scale(6);
    const int mid = cellSize / 2 + scale(3);
    const int thickness = scale(1);

    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !bitmap) return;
    SelectedObject bitmapSelected(memory.Get(), bitmap.Get());
    const RECT all{0, 0, width, height};
    FillRect(memory.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));

    UniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    UniquePen highlight(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    UniquePen face(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE)));
    SelectedObject penSelected(memory.Get(), face.Get());
    // A steep line grows to the right, a flat one downwards.
    const auto line = [&](HPEN pen, int x1, int y1, int x2, int y2) {
        SelectObject(memory.Get(), pen);
        const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
        for (int step = 0; step < thickness; ++step) {
            const int dx = steep ? step : 0;
            const int dy = steep ? 0 : step;
            MoveToEx(memory.Get(), x1 + dx, y1 + dy, nullptr);
            LineTo(memory.Get(), x2 + dx, y2 + dy);
        }
    };
    // The apex's and the base's rows, which the flanks end on (a line ends before its last point).
    const int left = scale(3);
    const int right = width - scale(4);
    const int top = scale(3);
    const int bottom = height - scale(4);
    if (m_state.sort.sortAscending) {
        line(shadow.Get(), left, bottom, mid, top - 1);
        line(shadow.Get(), mid, top, left, bottom + 1);
        line(highlight.Get(), right, bottom, mid + thickness, top - 1);
        line(highlight.Get(), mid + thickness, top, right, bottom + 1);
        line(highlight.Get(), right, bottom, scale(1), bottom);
    } else {
        line(highlight.Get(), right, top, mid, bottom + 1);
        line(highlight.Get(), mid, bottom, right, top - 1);
        line(shadow.Get(), left, top, mid, bottom + 1);
        line(shadow.Get(), mid, bottom, left, top - 1);
        line(shadow.Get(), left, top, width - scale(3), top);
    }
    const int copyWidth = std::min(width, clipWidth);
    BitBlt(dc, cell.left - scale(3), cell.top - scale(2), copyWidth, height, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace kanaroll
