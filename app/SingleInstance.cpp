#include "app/SingleInstance.h"

namespace kanaroll {

namespace {
constexpr wchar_t kMutexName[] = L"Kanaroll";
constexpr DWORD kMutexAllAccess = 0x1F0001;
}  // namespace

bool SingleInstance::Acquire() {
    if (UniqueHandle existing(OpenMutexW(kMutexAllAccess, FALSE, kMutexName)); existing) {
        ActivateRunningCopy();
        return false;
    }
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, kMutexName));
    return true;
}

void ActivateRunningCopy() {
    const HWND mainWindow = FindWindowW(L"TForm1", nullptr);
    if (!mainWindow) return;
    SetForegroundWindow(mainWindow);
    const HWND owner = GetWindow(mainWindow, GW_OWNER);
    if (owner && IsIconic(owner)) SendMessageW(owner, WM_SYSCOMMAND, SC_RESTORE, static_cast<LPARAM>(-1));
}

}  // namespace kanaroll
