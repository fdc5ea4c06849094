#include "platform/WaitCursor.h"

namespace kanaroll {

namespace {
int g_depth = 0;
}

WaitCursor::WaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {
    ++g_depth;
}

WaitCursor::~WaitCursor() {
    --g_depth;
    SetCursor(m_previous);
}

bool WaitCursor::IsShown() {
    return g_depth > 0;
}

bool ApplyWaitCursor() {
    if (!WaitCursor::IsShown()) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

}  // namespace kanaroll
