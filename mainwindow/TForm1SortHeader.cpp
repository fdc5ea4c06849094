// The sort indicator in the game list's header: the sorted column's item is owner-drawn with its
// caption and an embossed triangle pointing up (ascending) or down (descending).
#include <algorithm>

#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "platform/WindowHook.h"

namespace kanaroll {

namespace {
constexpr UINT kDrawTextFlags =
    DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT;  // 0x8824
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

void TForm1::DrawHeaderCaption(HDC dc, RECT bounds, bool pressed) {
    RECT text{bounds.left + 4, bounds.top + 2, bounds.right - 4, bounds.bottom - 1};

    const auto [columnWidth, caption] = listview::Column(m_ui.ListView1, m_state.sort.sortColumn);
    const int captionLength = static_cast<int>(caption.size());

    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), captionLength, &extent);
    const int width = extent.cx;
    const int available = text.right - text.left;

    RECT arrow{};
    if (available >= width + 16) {  // wide: the triangle follows the caption
        text.left += 2;
        arrow.left = text.left + width + 9;
        arrow.top = text.top + 2;
        text.right = arrow.left;
    } else if (available >= 6) {  // narrow: the triangle at the right end, the caption cut before it
        text.left += 2;
        arrow.left = text.right - 7;
        arrow.top = text.top + 2;
        text.right = arrow.left - 9;
    } else {  // tiny: the triangle at the left edge
        arrow.left = text.left - 1;
        arrow.top = text.top + 2;
    }
    arrow.right = arrow.left + 7;
    arrow.bottom = arrow.top + 7;
    if (pressed) {
        OffsetRect(&text, 1, 1);
        OffsetRect(&arrow, 1, 1);
    }
    DrawTextW(dc, caption.c_str(), captionLength, &text, kDrawTextFlags);
    DrawSortArrow(dc, arrow, columnWidth);
}

void TForm1::DrawSortArrow(HDC dc, RECT cell, int clipWidth) {
    const int width = (cell.right - cell.left) + 7;
    const int height = (cell.bottom - cell.top) + 6;
    const int mid = (cell.right - cell.left) / 2 + 3;

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
    const auto line = [&](HPEN pen, int x1, int y1, int x2, int y2) {
        SelectObject(memory.Get(), pen);
        MoveToEx(memory.Get(), x1, y1, nullptr);
        LineTo(memory.Get(), x2, y2);
    };
    if (m_state.sort.sortAscending) {
        line(shadow.Get(), 3, height - 4, mid, 2);
        line(shadow.Get(), mid, 3, 3, height - 3);
        line(highlight.Get(), width - 4, height - 4, mid + 1, 2);
        line(highlight.Get(), mid + 1, 3, width - 4, height - 3);
        line(highlight.Get(), width - 4, height - 4, 1, height - 4);
    } else {
        line(highlight.Get(), width - 4, 3, mid, height - 3);
        line(highlight.Get(), mid, height - 4, width - 4, 2);
        line(shadow.Get(), 3, 3, mid, height - 3);
        line(shadow.Get(), mid, height - 4, 3, 2);
        line(shadow.Get(), 3, 3, width - 3, 3);
    }
    const int copyWidth = std::min(width, clipWidth);
    BitBlt(dc, cell.left - 3, cell.top - 2, copyWidth, height, memory.Get(), 0, 0, SRCCOPY);
}

}  // namespace kanaroll
