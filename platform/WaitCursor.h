#pragma once

#include <windows.h>

namespace kanaroll {

// The hourglass for the whole program while an operation runs; the cursor in force before comes
// back when the last WaitCursor ends. Windows of the program ask IsWaitCursorShown() on
// WM_SETCURSOR so the hourglass stays wherever the mouse goes.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    static bool IsShown();

private:
    HCURSOR m_previous;
};

// For WM_SETCURSOR: shows the hourglass and returns true while a WaitCursor is alive.
bool ApplyWaitCursor();

}  // namespace kanaroll
