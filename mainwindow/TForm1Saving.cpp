// Writing the name list: quick save, the output button, and the save on closing.
#include <system_error>

#include "catalogue/NameListWriters.h"
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "platform/FormSupport.h"

namespace kanaroll {

namespace {

// The two save dialogs of the output button. The MANE32J one lists the file its label names, as
// the Mame32J one does.
FileDialogRequest Mame32JSaveDialog() {
    return {.title = L"mame32j.lstを保存",
            .defaultName = L"mame32j.lst",
            .filters = {{L"mame32j.lst", L"mame32j.lst"}},
            .forSaving = true};
}

FileDialogRequest Mane32JSaveDialog() {
    return {.title = L"MANE32J.lstを保存",
            .defaultName = L"MANE32J.lst",
            .filters = {{L"MANE32J.lst", L"MANE32J.lst"}},
            .forSaving = true};
}

}  // namespace

// The writers replace the file only once it was written whole, so a failure leaves the previous
// file, `modified` and panel 2 as they were; the error goes on to the window's error box.
void TForm1::WriteMame32J(const std::filesystem::path& path) {
    WaitCursor wait;
    // In the format of the list read at start, with the lines of it that no game took.
    kanaroll::WriteMame32J(path, m_games, m_nameList, *m_codec);
    m_state.modified = false;
    SetStatus(2, L"");
    // The list beside the program now holds every edit, and the journal starts again empty. A list
    // written elsewhere is not the one read at the next start: the journal keeps the edits.
    const std::filesystem::path besideProgram = m_state.exeDir / "mame32j.lst";
    std::error_code error;
    if (path == besideProgram || std::filesystem::equivalent(path, besideProgram, error))
        EmptyJournal(besideProgram);
}

void TForm1::WriteMane32J(const std::filesystem::path& path) {
    WaitCursor wait;
    kanaroll::WriteMane32J(path, m_games, *m_codec);  // always Shift-JIS
    m_state.modified = false;
    SetStatus(2, L"");
}

void TForm1::N3Click() {
    WriteMame32J(m_state.exeDir / "mame32j.lst");
    SetStatus(3, L"mame32j.lstに保存しました");
}

void TForm1::BitBtn1Click() {
    const forms::KeptFocus focus;  // on the button, or wherever its mnemonic was typed
    const bool mame32j = button::IsChecked(m_ui.RadioButton1);
    const auto chosen =
        m_services.ShowFileDialog(Handle(), mame32j ? Mame32JSaveDialog() : Mane32JSaveDialog());
    if (!chosen || chosen->empty()) return;
    const std::filesystem::path path(*chosen);
    if (mame32j) {
        WriteMame32J(path);
    } else {
        WriteMane32J(path);
    }
}

}  // namespace kanaroll
