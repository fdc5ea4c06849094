#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace kanaroll::testing {

// Runs checks inside whatever message loop is running when their turn comes. Posted after the
// messages a modal window should handle, a step sees that window while it is still open.
class Probe {
public:
    Probe() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Probe::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KanarollTestProbe";
        RegisterClassW(&windowClass);  // fails harmlessly when already registered
        m_window = CreateWindowExW(0, L"KanarollTestProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Probe() { DestroyWindow(m_window); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    void Post(std::function<void()> step) {
        m_steps.push_back(std::move(step));
        PostMessageW(m_window, WM_APP, m_steps.size() - 1, 0);
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_APP && self) {
            self->m_steps[wParam]();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    std::vector<std::function<void()>> m_steps;
};

}  // namespace kanaroll::testing
