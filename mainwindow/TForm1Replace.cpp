// Rewriting the Japanese title by the replace rules, and opening the replace dialog.
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "replace/TForm2.h"
#include "replace/TitleReplace.h"

namespace kanaroll {

bool TForm1::ApplyReplaceRules() {
    const std::string title = FromWide(window::Text(m_ui.Edit1));
    const std::string replaced = ApplyRulesToTitle(title, m_state.replaceRules, *m_codec);
    if (replaced == title) {
        SetStatus(3, L"置換対象が見つかりませんでした");
        m_services.Beep();
        return false;
    }
    // Setting the field runs its change behaviour, which stores the title as typing would.
    edit::ChangeText(m_ui.Edit1, ToWide(replaced));
    SetStatus(3, L"置換されました");
    return true;
}

void TForm1::N1Click() {
    ApplyReplaceRules();
}

void TForm1::Button3Click() {
    if (m_replaceDialog) m_replaceDialog->ShowBeside(Handle());
}

}  // namespace kanaroll
