#include "platform/FormSupport.h"

namespace kanaroll::forms {

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT bounds,
                 DWORD exStyle) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

RECT Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

namespace {
bool CanTakeFocus(HWND control) {
    return control && IsWindow(control) && IsWindowVisible(control) && IsWindowEnabled(control);
}
bool CanTakeFocus(HWND form, HWND control) {
    return CanTakeFocus(control) && IsChild(form, control);
}
}  // namespace

void FocusKeeper::OnActivate(HWND form, WPARAM activation) {
    if (LOWORD(activation) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(form, focus)) m_control = focus;
        return;
    }
    if (!HIWORD(activation)) Restore(form);  // not while minimised
}

void FocusKeeper::Set(HWND form, HWND control) {
    m_control = control;
    if (GetActiveWindow() == form) Restore(form);
}

void FocusKeeper::Restore(HWND form) const {
    HWND target = CanTakeFocus(form, m_control) ? m_control : GetNextDlgTabItem(form, nullptr, FALSE);
    if (target) SetFocus(target);
}

KeptFocus::~KeptFocus() {
    if (CanTakeFocus(m_control) && GetFocus() != m_control) SetFocus(m_control);
}

ModalState::ModalState(HWND modal) : m_previousFocus(GetFocus()), m_previousActive(GetActiveWindow()) {
    struct Context {
        HWND modal;
        std::vector<HWND>* windows;
    } context{modal, &m_disabled};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM value) -> BOOL {
            auto& found = *reinterpret_cast<Context*>(value);
            if (window != found.modal && IsWindowVisible(window) && IsWindowEnabled(window)) {
                found.windows->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    for (HWND window : m_disabled) EnableWindow(window, FALSE);
}

ModalState::~ModalState() {
    EnableOthers();
    // Disabling a window takes the focus from it; it goes back to the control that had it, which
    // also activates that control's window again.
    if (CanTakeFocus(m_previousFocus)) {
        SetFocus(m_previousFocus);
    } else if (m_previousActive && IsWindow(m_previousActive) && IsWindowVisible(m_previousActive)) {
        SetActiveWindow(m_previousActive);
    }
}

void ModalState::EnableOthers() {
    for (auto window = m_disabled.rbegin(); window != m_disabled.rend(); ++window) {
        if (IsWindow(*window)) EnableWindow(*window, TRUE);
    }
    m_disabled.clear();
}

SuspendedTopmost::SuspendedTopmost(HWND window) : m_window(window) {
    if (IsWindowVisible(window) && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_suspended = true;
    }
}

SuspendedTopmost::~SuspendedTopmost() {
    if (m_suspended && IsWindow(m_window)) {
        SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace kanaroll::forms
