#pragma once

#include <windows.h>

#include <vector>

// The program's forms are ordinary windows, not dialogs made from a template: the creation of their
// controls, the keeping of the focus and the modal state that the dialog manager would give them
// are done here.
namespace kanaroll::forms {

// A visible child control at a client position.
HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, RECT bounds,
                 DWORD exStyle = 0);

RECT Bounds(int left, int top, int width, int height);

// The control that has the keyboard focus in a form: remembered when the form is deactivated and
// given back when it is activated again, so that the focus never falls onto the bare form.
class FocusKeeper {
public:
    // On WM_ACTIVATE: remembers on deactivation, gives the focus back on activation.
    void OnActivate(HWND form, WPARAM activation);
    // Moves the focus to a control of the form now, or at the form's next activation when the
    // form is not the active window.
    void Set(HWND form, HWND control);
    // Gives the focus to the remembered control, or to the form's first tab stop.
    void Restore(HWND form) const;

private:
    HWND m_control = nullptr;
};

// Remembers the control that has the keyboard focus and gives the focus back to it at the end of
// its life, while that control can still take it. A modal dialog (a common file dialog) takes the
// focus from its disabled owner, and its end activates the owner with the focus on the bare frame.
class KeptFocus {
public:
    KeptFocus() : m_control(GetFocus()) {}
    ~KeptFocus();
    KeptFocus(const KeptFocus&) = delete;
    KeptFocus& operator=(const KeptFocus&) = delete;

private:
    HWND m_control;
};

// While it lives, every other visible and enabled top-level window of this thread is disabled,
// so that only a modal window (or a question) takes input. The end enables them again and gives
// the keyboard focus back where it was.
class ModalState {
public:
    explicit ModalState(HWND modal);
    ~ModalState();
    ModalState(const ModalState&) = delete;
    ModalState& operator=(const ModalState&) = delete;

    // Enables the other windows again (before the modal window hides, so that the activation
    // stays inside the program).
    void EnableOthers();

private:
    HWND m_previousFocus;
    HWND m_previousActive;
    std::vector<HWND> m_disabled;
};

// Takes a window out of the topmost band while it lives, so that a window that is not on top
// (a message box) shows above it, and puts it back at the end.
class SuspendedTopmost {
public:
    explicit SuspendedTopmost(HWND window);
    ~SuspendedTopmost();
    SuspendedTopmost(const SuspendedTopmost&) = delete;
    SuspendedTopmost& operator=(const SuspendedTopmost&) = delete;

private:
    HWND m_window;
    bool m_suspended = false;
};

}  // namespace kanaroll::forms
