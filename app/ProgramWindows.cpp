#include "app/ProgramWindows.h"

namespace kanaroll {

ProgramWindows::ProgramWindows(Application& application, const std::filesystem::path& exeDir)
    : mainForm(application, exeDir),
      replaceDialog(application, mainForm),
      conditionEditor(application, replaceDialog) {
    mainForm.AttachReplaceDialog(&replaceDialog);
    replaceDialog.AttachConditionEditor(&conditionEditor);
}

}  // namespace kanaroll
