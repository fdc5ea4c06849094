#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "app/ProgramWindows.h"
#include "platform/Application.h"
#include "tests/support/FakeServices.h"

// The program's three windows created in this process on a program folder, as the entry point
// creates them, with the ways a person acts on them. The message boxes and file dialogs go to
// FakeServices, so nothing modal stops a measurement.
namespace kanaroll::bench::gui {

class MainWindowSession {
public:
    // Creates the windows and shows the main one; the start-up load is posted, not yet run.
    explicit MainWindowSession(const std::filesystem::path& programFolder);
    // Destroys the windows as the end of the program does (kanaroll.ini is written).
    ~MainWindowSession();
    MainWindowSession(const MainWindowSession&) = delete;
    MainWindowSession& operator=(const MainWindowSession&) = delete;

    // Runs messages until the first game is selected and the window is painted; false when that
    // does not happen within the time (a message box was shown, or the load failed).
    bool WaitUntilReady(DWORD timeoutMs);

    // Handles every waiting message, a few rounds so that what they post is handled too.
    void Pump();
    // Paints every part of the window that waits to be painted, children included.
    void PaintNow();

    // The user clicks a column header of the game list (the list tells its parent).
    void ClickColumn(int column);
    // Keys and characters go to `target` (normally the focused control), then messages run.
    void PressKey(HWND target, UINT virtualKey);
    void TypeText(HWND target, std::wstring_view text);
    void Focus(HWND control);

    TForm1& Form() { return m_windows->mainForm; }
    const TForm1::Controls& Ui() const { return m_windows->mainForm.Ui(); }
    kanaroll::testing::FakeServices& Services() { return m_services; }
    // The first message box the windows showed, for reporting; empty when none.
    std::wstring FirstMessageBox() const;

private:
    kanaroll::testing::FakeServices m_services;
    std::unique_ptr<Application> m_application;
    std::unique_ptr<ProgramWindows> m_windows;
};

}  // namespace kanaroll::bench::gui
