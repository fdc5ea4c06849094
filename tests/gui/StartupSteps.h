#pragma once

#include <windows.h>

#include <commctrl.h>
#include <string>
#include <vector>

#include "platform/WaitCursor.h"
#include "tests/gui/MainWindowFixture.h"

namespace kanaroll::testing {

// The start of the program in its steps, so that a test can look at the windows before the main
// one is shown and the catalogue loaded.
class SteppedStartTest : public MainWindowTest {
protected:
    // Shows the main window and lets the start-up load run.
    void ShowAndLoad() {
        form->Show();
        Pump();
    }
};

// Records what status panel 0 was set to, and whether the wait cursor was shown at that moment.
class StatusRecorder {
public:
    struct Entry {
        std::wstring text;
        bool waitCursor;
        bool operator==(const Entry&) const = default;
    };

    explicit StatusRecorder(HWND statusBar) : m_bar(statusBar) {
        SetWindowSubclass(m_bar, &StatusRecorder::Procedure, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~StatusRecorder() {
        if (IsWindow(m_bar)) RemoveWindowSubclass(m_bar, &StatusRecorder::Procedure, 1);
    }
    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;

    const std::vector<Entry>& Panel0() const { return m_entries; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
        if (message == SB_SETTEXTW && LOBYTE(LOWORD(wParam)) == 0) {
            const auto* text = reinterpret_cast<const wchar_t*>(lParam);
            reinterpret_cast<StatusRecorder*>(self)->m_entries.push_back(
                {text ? text : L"", WaitCursor::IsShown()});
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    HWND m_bar;
    std::vector<Entry> m_entries;
};

inline void PrintTo(const StatusRecorder::Entry& entry, std::ostream* out) {
    *out << "{" << ::testing::PrintToString(entry.text) << (entry.waitCursor ? ", wait}" : ", normal}");
}

}  // namespace kanaroll::testing
