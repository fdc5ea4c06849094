#include <windows.h>

#include <commctrl.h>
#include <filesystem>
#include <string>

#include "app/SingleInstance.h"
#include "mainwindow/TForm1.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "replace/TForm2.h"
#include "replace/TForm3.h"

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
    kanaroll::TForm1 mainForm(application, ProgramFolder());
    kanaroll::TForm2 replaceDialog(application, mainForm);
    kanaroll::TForm3 conditionEditor(application, replaceDialog);
    mainForm.AttachReplaceDialog(&replaceDialog);
    replaceDialog.AttachConditionEditor(&conditionEditor);
    mainForm.Show();
    application.Run();
    return 0;
}
