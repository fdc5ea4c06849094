#pragma once

#include "platform/Handles.h"

namespace kanaroll {

// Makes sure only one copy of Kanaroll runs. When another copy holds the mutex "Kanaroll", its main
// window (class "TForm1") is brought to the front, restored if minimised, and this copy should end.
class SingleInstance {
public:
    // True when this is the only copy; it then holds the mutex until it ends.
    bool Acquire();

private:
    UniqueHandle m_mutex;
};

// Brings the running copy's main window to the front and restores it when minimised.
void ActivateRunningCopy();

}  // namespace kanaroll
