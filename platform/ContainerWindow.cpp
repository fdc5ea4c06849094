#include "platform/ContainerWindow.h"

#include "platform/Handles.h"

namespace kanaroll {

ContainerWindow::ContainerWindow(HWND parent, RECT bounds, Frame frame, SIZE designSize)
    : m_frame(frame), m_layout(designSize) {
    CreateWindowOf({.className = L"KanarollContainer", .style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW},
                   WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, L"", bounds.left, bounds.top,
                   bounds.right - bounds.left, bounds.bottom - bounds.top, parent);
}

void ContainerWindow::Rescale(SIZE designSize, DpiScale scale) {
    m_layout.Reset(designSize);
    m_scale = scale;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void ContainerWindow::Relayout() {
    RECT client{};
    GetClientRect(Handle(), &client);
    m_layout.Apply({client.right, client.bottom});
}

void ContainerWindow::SetTitleFont(HFONT font) {
    m_titleFont = font;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void ContainerWindow::SetTitle(std::wstring_view title, HFONT font) {
    m_title = title;
    m_titleFont = font;
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT ContainerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CONTEXTMENU:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetParent(Handle()), message, wParam, lParam);
        case WM_SIZE:
            m_layout.Apply({LOWORD(lParam), HIWORD(lParam)});
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

void ContainerWindow::OnCommand(int id, int code, HWND control) {
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT ContainerWindow::OnNotify(NMHDR& header) {
    return SendMessageW(GetParent(Handle()), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void ContainerWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    if (m_frame == Frame::Group) {
        SavedDcState saved(dc);
        RECT client{};
        GetClientRect(Handle(), &client);
        SIZE titleSize{};
        if (m_titleFont) SelectObject(dc, m_titleFont);
        if (!m_title.empty())
            GetTextExtentPoint32W(dc, m_title.c_str(), static_cast<int>(m_title.size()), &titleSize);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        RECT frame = client;
        frame.top += metrics.tmHeight / 2;
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        if (!m_title.empty()) {
            RECT titleBox{m_scale(8), 0, m_scale(8) + titleSize.cx + m_scale(4), metrics.tmHeight};
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            ExtTextOutW(dc, titleBox.left + m_scale(2), 0, ETO_OPAQUE, &titleBox, m_title.c_str(),
                        static_cast<UINT>(m_title.size()), nullptr);
        }
    }
    EndPaint(Handle(), &paint);
}

}  // namespace kanaroll
