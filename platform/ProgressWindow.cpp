#include "platform/ProgressWindow.h"

#include <commctrl.h>
#include <string>
#include <utility>

#include "platform/Dpi.h"
#include "platform/Fonts.h"
#include "platform/FormSupport.h"

namespace kanaroll {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}  // namespace

ProgressWindow::ProgressWindow(HWND owner, std::wstring_view title, HFONT font,
                               std::function<void()> onCancel)
    : m_onCancel(std::move(onCancel)) {
    // Laid out at 96 dpi and scaled to the owner's density, as the rule dialogs are; the font is
    // the owner's, which is made for that density already.
    const DpiScale scale = dpi::OfWindow(owner);
    const SIZE outer = dpi::OuterSizeForClient(dpi::Scale(scale, kDesignClient), kStyle, kExStyle, scale);
    RECT ownerBounds{};
    GetWindowRect(owner, &ownerBounds);
    const int x = (ownerBounds.left + ownerBounds.right - outer.cx) / 2;
    const int y = (ownerBounds.top + ownerBounds.bottom - outer.cy) / 2;
    const std::wstring caption(title);
    CreateWindowOf({.className = L"KanarollProgress"}, kExStyle, kStyle, caption.c_str(), x, y, outer.cx,
                   outer.cy, owner);
    m_label = forms::CreateChild(Handle(), WC_STATICW, L"", SS_NOPREFIX, 0, dpi::Scale(scale, kDesignLabel));
    m_cancel = forms::CreateChild(Handle(), WC_BUTTONW, L"中止", WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL,
                                  dpi::Scale(scale, kDesignCancel));
    ApplyFont(Handle(), font);
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
