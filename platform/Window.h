#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

namespace kanaroll {

// Where errors that end an event handler go: the application shows them in its error box.
using ErrorReporter = std::function<void(const std::exception& error)>;
void SetErrorReporter(ErrorReporter reporter);
void ReportError(const std::exception& error);

// Runs a handler so that no C++ exception leaves it: an error is reported and the handler's
// result is `onError`.
template <typename Handler>
auto Guarded(Handler&& handler, decltype(handler()) onError) noexcept -> decltype(handler()) {
    try {
        return handler();
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
        ReportError(std::runtime_error("unknown error"));
    }
    return onError;
}

// Base of the program's own window classes: a static procedure binds `this` and hands every
// message to a method, catching every exception on the way out. WM_COMMAND and WM_NOTIFY arrive
// decoded, in OnCommand and OnNotify; every other message in HandleMessage.
class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return m_handle; }

protected:
    struct ClassStyle {
        const wchar_t* className;
        UINT style = CS_DBLCLKS;
        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        HICON icon = nullptr;
    };

    // Registers the class (once) and creates the window.
    void CreateWindowOf(const ClassStyle& windowClass, DWORD exStyle, DWORD style, const wchar_t* title,
                        int x, int y, int width, int height, HWND parent, HMENU menuOrId = nullptr);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND from a control (its id, notification code and window), a menu item (code 0, no
    // control) or an accelerator (code 1, no control).
    virtual void OnCommand(int id, int code, HWND control);
    // WM_NOTIFY from a control; the answer is the message's result. Some notifications (a list's
    // data request) are filled in by the answering window, so the header is not const.
    virtual LRESULT OnNotify(NMHDR& header);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(m_handle, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_handle = nullptr;
};

}  // namespace kanaroll
