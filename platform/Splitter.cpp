#include "platform/Splitter.h"

#include <algorithm>
#include <windowsx.h>

namespace kanaroll {

Splitter::Splitter(HWND parent, int id, Moved moved, Limits limits)
    : m_moved(std::move(moved)), m_limits(std::move(limits)) {
    CreateWindowOf({.className = L"KanarollSplitter"}, 0, WS_CHILD | WS_VISIBLE, L"", 0, 0, 0, 0, parent,
                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
            return TRUE;
        case WM_LBUTTONDOWN: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(Handle(), &point);
            m_dragStartY = point.y;
            m_dragStartHeight = m_lowerHeight;
            m_dragging = true;
            SetCapture(Handle());
            return 0;
        }
        case WM_MOUSEMOVE:
            if (m_dragging) {
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ClientToScreen(Handle(), &point);
                const auto [lowest, highest] = m_limits();
                const int height = std::clamp(m_dragStartHeight - static_cast<int>(point.y - m_dragStartY),
                                              lowest, std::max(lowest, highest));
                if (height != m_lowerHeight) {
                    m_lowerHeight = height;
                    m_moved(height);
                }
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (m_dragging) {
                m_dragging = false;
                if (message == WM_LBUTTONUP) ReleaseCapture();
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            RECT client{};
            GetClientRect(Handle(), &client);
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
            EndPaint(Handle(), &paint);
            return 0;
        }
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

}  // namespace kanaroll
