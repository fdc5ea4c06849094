#pragma once

#include <windows.h>

#include <exception>
#include <vector>

#include "platform/Services.h"
#include "platform/Window.h"

namespace kanaroll {

// The program's application object: the hidden top-level window "Kanaroll" that carries the single
// taskbar button and owns every form, the event loop, and the error box that shows an error which
// ended an event handler.
class Application {
public:
    explicit Application(Services& services);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HWND OwnerWindow() const { return m_owner.Handle(); }
    Services& GetServices() { return m_services; }

    // The main form comes to the front when the application is restored and no other form of it
    // was active before.
    void SetMainForm(HWND form) { m_owner.SetMainForm(form); }
    // Minimises the application window and with it every form it owns, remembering the active one.
    void Minimize();

    // Forms that want dialog keyboard handling (Tab, mnemonics, default and cancel buttons).
    void AddDialogWindow(HWND window);
    void RemoveDialogWindow(HWND window);

    // Runs the event loop until Terminate(). Modal boxes shown afterwards (while the forms are
    // destroyed) still wait for their answer.
    void Run();
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Ends the event loop.
    void Terminate();
    bool Terminated() const { return m_terminated; }

    // The error box: caption "Kanaroll", the error icon, OK; the message with its final full stop.
    // An error while the box is up is not shown.
    void ShowError(const std::exception& error);

private:
    class OwnerWindowClass : public Window {
    public:
        void Create();
        void SetMainForm(HWND form) { m_mainForm = form; }
        void RememberActiveForm();

    protected:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        // The form that was active when the application was minimised, else the main form.
        HWND FormToActivate() const;

        HWND m_mainForm = nullptr;
        HWND m_activeForm = nullptr;
    };

    void Dispatch(MSG& message);

    Services& m_services;
    OwnerWindowClass m_owner;
    std::vector<HWND> m_dialogWindows;
    bool m_terminated = false;
    bool m_showingError = false;
};

}  // namespace kanaroll
