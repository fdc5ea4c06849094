#pragma once

#include <filesystem>

#include "mainwindow/TForm1.h"
#include "replace/TForm2.h"
#include "replace/TForm3.h"

namespace kanaroll {

class Application;

// The program's windows, created in the program's order (the main window, the replace dialog, the
// condition editor) and introduced to each other; they are destroyed in the opposite order. A new
// window of the program is created and wired here, so that the entry point, the GUI tests and the
// GUI benchmark all get it.
struct ProgramWindows {
    ProgramWindows(Application& application, const std::filesystem::path& exeDir);
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    TForm1 mainForm;
    TForm2 replaceDialog;
    TForm3 conditionEditor;
};

}  // namespace kanaroll
