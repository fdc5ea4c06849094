#include <windows.h>

#include <commctrl.h>
#include <filesystem>
#include <string>

#include "app/ProgramWindows.h"
#include "app/SingleInstance.h"
#include "platform/Application.h"
#include "platform/Services.h"

namespace {

// The folder of the running program, where its files live.
std::filesystem::path ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    kanaroll::SingleInstance instance;
    if (!instance.Acquire()) return 0;

    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    kanaroll::Win32Services services;
    kanaroll::Application application(services);
    kanaroll::ProgramWindows windows(application, ProgramFolder());
    windows.mainForm.Show();
    application.Run();
    return 0;
}
