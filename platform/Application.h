#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>
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
    // The services for every window of the program: each message box, file dialog and shell launch
    // is preceded by BeforeDialog().
    Services& GetServices() { return m_dialogServices; }

    // What must happen before the program waits on a person or hands over to another program: a
    // question may stay open for hours, and the launched program may take the machine down. The
    // main window puts its recovery journal on the disk there. Forms call BeforeDialog() before
    // they show themselves; GetServices() calls it before each of its dialogs.
    void SetBeforeDialog(std::function<void()> action) { m_beforeDialog = std::move(action); }
    void BeforeDialog();

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

    // The program's services, with BeforeDialog() before each dialog.
    class DialogServices final : public Services {
    public:
        DialogServices(Application& application, Services& services)
            : m_application(application), m_services(services) {}
        int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                           UINT type) override;
        std::optional<std::wstring> ShowFileDialog(HWND owner, const FileDialogRequest& request) override;
        void OpenWithShell(HWND owner, const std::wstring& file, const std::wstring& parameters,
                           const std::wstring& directory) override;
        void Beep() override { m_services.Beep(); }
        bool FileExists(const std::wstring& path) override { return m_services.FileExists(path); }

    private:
        Application& m_application;
        Services& m_services;
    };

    void Dispatch(MSG& message);

    DialogServices m_dialogServices;
    std::function<void()> m_beforeDialog;
    OwnerWindowClass m_owner;
    std::vector<HWND> m_dialogWindows;
    bool m_terminated = false;
    bool m_showingError = false;
};

}  // namespace kanaroll
