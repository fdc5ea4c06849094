#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

// Looks at the main window of a kanaroll.exe that runs in another process, with messages that
// carry no pointers (so they cross processes): the game list's row count and its selected row.
// Used by the window probe of scripts/run and by the benchmark of a real start.
namespace kanaroll::bench::gui {

// The main window ("TForm1") of the process, or of any process when `processId` is 0.
HWND FindMainWindow(DWORD processId);

// True once the catalogue is in the game list and a game is selected: the start-up load is over.
// False while the window is busy loading (it answers no message then) or has no selection yet.
bool FirstGameSelected(HWND mainWindow);

// The caption and texts of a message box that the process shows (`processId` 0: any process),
// one line each; nothing when it shows none.
std::optional<std::wstring> MessageBoxText(DWORD processId);

// A visible top-level window of the class (`processId` 0: of any process), or nothing.
HWND FindVisibleWindow(DWORD processId, const wchar_t* className);

// Clicks a control of a window (at any depth) found by its id, or by its caption when `caption`
// is given, as a person's click would (the click is posted); false when there is no such control.
bool ClickControl(HWND window, int id, const wchar_t* caption = nullptr);

// Asks the window to close, as its close button does, and waits until it is gone.
bool CloseMainWindow(HWND mainWindow, DWORD timeoutMs);

// kanaroll.exe started in its own folder (it finds its files beside itself). The process is
// ended on destruction if it still runs.
class StartedProgram {
public:
    explicit StartedProgram(const std::filesystem::path& exe);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    DWORD ProcessId() const { return m_processId; }
    // Polls until the first game is selected; the main window, or nothing after the timeout or
    // when the process ended or shows a message box (`problem` then says what happened).
    HWND WaitUntilReady(DWORD timeoutMs, std::wstring& problem);
    // Closes the main window and waits for the process to end; ends it when that fails.
    bool Close(DWORD timeoutMs);

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    HWND m_mainWindow = nullptr;
};

}  // namespace kanaroll::bench::gui
