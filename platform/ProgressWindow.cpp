#include "platform/ProgressWindow.h"

#include <commctrl.h>
#include <string>
#include <utility>

namespace kanaroll {

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 120;
}  // namespace

ProgressWindow::ProgressWindow(HWND owner, std::wstring_view title, HFONT font,
                               std::function<void()> onCancel)
    : m_onCancel(std::move(onCancel)) {
    RECT ownerBounds{};
    GetWindowRect(owner, &ownerBounds);
    const int x = (ownerBounds.left + ownerBounds.right - kWidth) / 2;
    const int y = (ownerBounds.top + ownerBounds.bottom - kHeight) / 2;
    const std::wstring caption(title);
    CreateWindowOf({.className = L"KanarollProgress"}, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                   WS_POPUP | WS_CAPTION | WS_SYSMENU, caption.c_str(), x, y, kWidth, kHeight, owner);
    RECT client{};
    GetClientRect(Handle(), &client);
    m_label = CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 12, 14,
                              client.right - 24, 20, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    m_cancel = CreateWindowExW(0, WC_BUTTONW, L"中止", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                               (client.right - 80) / 2, client.bottom - 34, 80, 24, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)),
                               GetModuleHandleW(nullptr), nullptr);
    for (HWND control : {Handle(), m_label, m_cancel})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetFocus(m_cancel);
}

void ProgressWindow::SetText(std::wstring_view text) {
    SetWindowTextW(m_label, std::wstring(text).c_str());
}

LRESULT ProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        if (m_onCancel) m_onCancel();
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

void ProgressWindow::OnCommand(int id, int code, HWND) {
    if (id == IDCANCEL && (code == BN_CLICKED || code == 0 || code == 1) && m_onCancel) m_onCancel();
}

}  // namespace kanaroll
