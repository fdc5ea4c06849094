// Writing the name list: quick save, the output button, and the save on closing.
#include <system_error>

#include "catalogue/ListChecks.h"
#include "catalogue/ListLines.h"
#include "catalogue/NameListWriters.h"
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "platform/FormSupport.h"
#include "platform/WideText.h"

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

// MAME's UI offers every *.lst file of its history path by name under "System Names": the default
// name says what the list holds there.
FileDialogRequest MameUiSaveDialog() {
    return {.title = L"MAME UI用のリストを保存",
            .defaultName = L"Japanese.lst",
            .filters = {{L"MAME UI用のリスト (UTF-8, *.lst)", L"*.lst"}},
            .forSaving = true};
}

// The box lists this many findings and then how many more there are.
constexpr std::size_t kFindingsShown = 15;

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

// A list for MAME's UI is a copy for MAME: the edits are saved only once mame32j.lst holds them, so
// the list stays modified.
void TForm1::WriteMameUiList(const std::filesystem::path& path) {
    WaitCursor wait;
    kanaroll::WriteMameUiList(path, m_games, m_nameList, *m_codec);
}

bool TForm1::ConfirmMameUiList() {
    ListCheckReport report;
    {
        WaitCursor wait;
        report = CheckList(ListLines(m_games, m_nameList, *m_codec, ListFormat::MameUi));
    }
    if (report.Clean()) return true;
    const int game = report.FirstGame();
    const std::wstring text =
        L"MAMEが読むときに切り詰めるか警告する行が" + std::to_wstring(report.findings.size()) +
        L"件あります。\r\n\r\n" + Utf8ToWide(DescribeFindings(report, kFindingsShown)) +
        L"\r\n\r\nこのまま保存しますか?\r\n" +
        (game >= 0 ? L"「いいえ」で保存せず、最初の該当ゲームに戻ります。" : L"「いいえ」で保存をやめます。");
    const int answer =
        m_services.ShowMessageBox(Handle(), text, L"保存前の確認", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    if (answer == IDYES) return true;
    if (game >= 0) {
        SelectGameRow(m_ui.ListView1, game);
        SetFocus(m_ui.ListView1);
    }
    return false;
}

void TForm1::N3Click() {
    WriteMame32J(m_state.exeDir / "mame32j.lst");
    SetStatus(3, L"mame32j.lstに保存しました");
}

void TForm1::BitBtn1Click() {
    const bool mame32j = button::IsChecked(m_ui.RadioButton1);
    const bool mameUi = button::IsChecked(m_ui.RadioButton3);
    if (mameUi && !ConfirmMameUiList()) return;  // back to a game: the focus stays in the list
    const forms::KeptFocus focus;                // on the button, or wherever its mnemonic was typed
    const auto chosen = m_services.ShowFileDialog(Handle(), mameUi    ? MameUiSaveDialog()
                                                            : mame32j ? Mame32JSaveDialog()
                                                                      : Mane32JSaveDialog());
    if (!chosen || chosen->empty()) return;
    const std::filesystem::path path(*chosen);
    if (mameUi) {
        WriteMameUiList(path);
    } else if (mame32j) {
        WriteMame32J(path);
    } else {
        WriteMane32J(path);
    }
}

}  // namespace kanaroll
