#include "platform/Window.h"

#include <stdexcept>

namespace kanaroll {

namespace {
ErrorReporter& Reporter() {
    static ErrorReporter reporter;
    return reporter;
}
}  // namespace

void SetErrorReporter(ErrorReporter reporter) {
    Reporter() = std::move(reporter);
}

void ReportError(const std::exception& error) {
    if (Reporter()) Reporter()(error);
}

Window::~Window() {
    if (m_handle) {
        SetWindowLongPtrW(m_handle, GWLP_USERDATA, 0);
        DestroyWindow(m_handle);
    }
}

void Window::CreateWindowOf(const ClassStyle& windowClass, DWORD exStyle, DWORD style, const wchar_t* title,
                            int x, int y, int width, int height, HWND parent, HMENU menuOrId) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (!GetClassInfoExW(instance, windowClass.className, &registered)) {
        WNDCLASSEXW definition{};
        definition.cbSize = sizeof definition;
        definition.style = windowClass.style;
        definition.lpfnWndProc = &Window::Procedure;
        definition.hInstance = instance;
        definition.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        definition.hbrBackground = windowClass.background;
        definition.lpszClassName = windowClass.className;
        definition.hIcon = windowClass.icon;
        if (!RegisterClassExW(&definition)) throw std::runtime_error("RegisterClassEx failed");
    }
    if (!CreateWindowExW(exStyle, windowClass.className, title, style, x, y, width, height, parent, menuOrId,
                         instance, this)) {
        throw std::runtime_error("CreateWindowEx failed");
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

// What the default window procedure does with both: nothing, and 0.
void Window::OnCommand(int, int, HWND) {}

LRESULT Window::OnNotify(NMHDR&) {
    return 0;
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            if (!lParam) break;
            return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        default:
            break;
    }
    return HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        self->m_handle = nullptr;
        return result;
    }
    bool handled = false;
    const LRESULT result = Guarded(
        [&] {
            const LRESULT answer = self->Dispatch(message, wParam, lParam);
            handled = true;
            return answer;
        },
        LRESULT{0});
    // A paint that failed before it validated its area would be asked for again at once, and fail
    // again, for as long as the program runs: its area counts as painted.
    if (!handled && message == WM_PAINT) ValidateRect(window, nullptr);
    return result;
}

}  // namespace kanaroll
