#include "platform/Application.h"

#include <algorithm>

#include "catalogue/IoError.h"
#include "platform/WideText.h"

namespace kanaroll {

Application::Application(Services& services) : m_dialogServices(*this, services) {
    m_owner.Create();
    SetErrorReporter([this](const std::exception& error) { ShowError(error); });
}

Application::~Application() {
    SetErrorReporter(nullptr);
}

void Application::OwnerWindowClass::Create() {
    // Visible but of no size, so that it has the taskbar button while the forms it owns have none.
    // Its icon is the program's, which the resource script names MAINICON.
    CreateWindowOf(
        {.className = L"KanarollApplication", .icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")}, 0,
        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, L"Kanaroll",
        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

LRESULT Application::OwnerWindowClass::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // The application window itself takes no input: activation goes on to a form. (Its own
            // activation has already made it the last active popup, so that cannot tell which.)
            if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(Handle())) {
                if (HWND form = FormToActivate()) SetActiveWindow(form);
            }
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) RememberActiveForm();
            if ((wParam & 0xFFF0) == SC_RESTORE) {
                // Restored from the taskbar or by a second start of the program: the forms come
                // back, and the one that was active goes in front.
                const LRESULT result = DefaultHandling(message, wParam, lParam);
                if (HWND form = FormToActivate()) SetForegroundWindow(form);
                return result;
            }
            return DefaultHandling(message, wParam, lParam);
        default:
            return DefaultHandling(message, wParam, lParam);
    }
}

void Application::OwnerWindowClass::RememberActiveForm() {
    const HWND active = GetActiveWindow();
    if (active && active != Handle() && GetAncestor(active, GA_ROOTOWNER) == Handle()) m_activeForm = active;
}

HWND Application::OwnerWindowClass::FormToActivate() const {
    for (HWND form : {m_activeForm, m_mainForm}) {
        if (form && IsWindow(form) && IsWindowVisible(form) && IsWindowEnabled(form)) return form;
    }
    return nullptr;
}

void Application::BeforeDialog() {
    // Copied: the action may replace itself.
    if (const auto action = m_beforeDialog) action();
}

int Application::DialogServices::ShowMessageBox(HWND owner, const std::wstring& text,
                                                const std::wstring& caption, UINT type) {
    m_application.BeforeDialog();
    return m_services.ShowMessageBox(owner, text, caption, type);
}

std::optional<std::wstring> Application::DialogServices::ShowFileDialog(HWND owner,
                                                                        const FileDialogRequest& request) {
    m_application.BeforeDialog();
    return m_services.ShowFileDialog(owner, request);
}

void Application::DialogServices::OpenWithShell(HWND owner, const std::wstring& file,
                                                const std::wstring& parameters,
                                                const std::wstring& directory) {
    m_application.BeforeDialog();
    m_services.OpenWithShell(owner, file, parameters, directory);
}

void Application::Minimize() {
    m_owner.RememberActiveForm();
    ShowWindow(OwnerWindow(), SW_MINIMIZE);
}

void Application::AddDialogWindow(HWND window) {
    m_dialogWindows.push_back(window);
}

void Application::RemoveDialogWindow(HWND window) {
    m_dialogWindows.erase(std::remove(m_dialogWindows.begin(), m_dialogWindows.end(), window),
                          m_dialogWindows.end());
}

void Application::Dispatch(MSG& message) {
    if (message.hwnd) {
        const HWND root = GetAncestor(message.hwnd, GA_ROOT);
        if (std::find(m_dialogWindows.begin(), m_dialogWindows.end(), root) != m_dialogWindows.end() &&
            IsDialogMessageW(root, &message)) {
            return;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Application::Run() {
    MSG message;
    while (!m_terminated) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        Dispatch(message);
    }
    // The loop ends on the flag and leaves its quit message queued. The forms are destroyed after
    // it, and their destruction may still report an error (kanaroll.ini cannot be written): the
    // quit message would end that box's own loop before the user saw it.
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void Application::ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            m_terminated = true;
            break;
        }
        Dispatch(message);
    }
}

void Application::Terminate() {
    if (m_terminated) return;
    m_terminated = true;
    PostQuitMessage(0);
}

void Application::ShowError(const std::exception& error) {
    // Handlers go on running while the box is up (paints, a list's requests for its rows): a failure
    // among them would open a box over the box, and the next one another. It is the same failure,
    // or one that follows from it, and the box that is up tells of it.
    if (m_showingError) return;
    m_showingError = true;
    struct Shown {
        bool& flag;
        ~Shown() { flag = false; }
    } shown{m_showingError};
    HWND owner = GetActiveWindow();
    if (!owner) owner = OwnerWindow();
    m_dialogServices.ShowMessageBox(owner, Utf8ToWide(ErrorBoxText(error.what())), L"Kanaroll",
                                    MB_OK | MB_ICONERROR);
}

}  // namespace kanaroll
