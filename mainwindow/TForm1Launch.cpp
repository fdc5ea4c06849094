// Starting MAME on the current game, and choosing the MAME executable.
#include "catalogue/SettingsFile.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/TForm1.h"
#include "platform/CommandLine.h"
#include "platform/FormSupport.h"
#include "platform/WideText.h"

namespace kanaroll {

namespace {

constexpr wchar_t kUnstorablePath[] =
    L"このフォルダー名またはファイル名には、kanaroll.iniに保存できない文字が含まれています。\r\n\r\n"
    L"Shift-JISで表せる名前のフォルダーにあるMAME実行ファイルを指定して下さい。";

// kanaroll.ini is Shift-JIS whatever the catalogue's codec, and so is the MAME path it keeps.
std::wstring StoredPathToWide(const std::string& stored) {
    return kanaroll::ToWide(stored, ShiftJisCodec().CodePage());
}

// The folder of a path, with its last separator (or drive colon); empty when it has none. Taken
// from the UTF-16 text: in Shift-JIS bytes the second byte of a character such as "ソ" is a
// backslash.
std::wstring FolderOf(const std::wstring& path) {
    const auto separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

// A menu caption shows "&" only when it is doubled.
std::wstring MenuText(const std::wstring& text) {
    std::wstring escaped;
    for (const wchar_t c : text) {
        if (c == L'&') escaped += L'&';
        escaped += c;
    }
    return escaped;
}

}  // namespace

void TForm1::RefreshLaunchEntry(const TRecordset& game) {
    const std::wstring caption = L"「" + MenuText(ToWide(game.zipName)) + L"」を起動(&R)\tF5";
    const UINT state = m_state.mamePath.empty() ? MF_GRAYED : MF_ENABLED;
    ModifyMenuW(m_ui.PopupMenu1, ids::kPopExecute, MF_BYCOMMAND | MF_STRING | state, ids::kPopExecute,
                caption.c_str());
    EnableMenuItem(m_ui.PopupMenu1, ids::kPopExecute, MF_BYCOMMAND | state);
}

void TForm1::PopExecuteClick() {
    if (m_state.currentIndex < 0 || m_state.currentIndex >= m_games.Count()) return;
    LaunchMame(m_games[m_state.currentIndex].zipName);
}

void TForm1::MAME1Click() {
    const forms::KeptFocus focus;  // the entry is chosen from a list, where the user goes on
    const auto chosen =
        m_services.ShowFileDialog(Handle(), {.title = L"MAME実行ファイルはどこですか?",
                                             .defaultName = L"",
                                             .filters = {{L"MAME実行ファイル(*.exe)", L"*.exe"}},
                                             .forSaving = false});
    if (!chosen || !m_services.FileExists(*chosen)) return;

    // A path that Shift-JIS cannot hold would be stored as a different path, which names no file
    // at the next start (or worse, another one): refuse it instead of keeping a path that breaks.
    std::string stored = kanaroll::FromWide(*chosen, ShiftJisCodec().CodePage());
    if (StoredPathToWide(stored) != *chosen) {
        m_services.ShowMessageBox(Handle(), kUnstorablePath, L"エラー", MB_OK | MB_ICONERROR);
        return;
    }

    // The path holds for this run even when writing the file fails below. The launch entry names
    // the current game and is enabled at once, as a new selection would make it.
    m_state.mamePath = std::move(stored);
    if (m_state.currentIndex >= 0 && m_state.currentIndex < m_games.Count())
        RefreshLaunchEntry(m_games[m_state.currentIndex]);
    if (!m_keepSettingsFile) WriteSettings();
}

void TForm1::LaunchMame(const std::string& zipName) {
    const std::wstring executable = StoredPathToWide(m_state.mamePath);
    if (!m_services.FileExists(executable))
        m_state.mamePath.clear();  // reaches kanaroll.ini at its next save
    if (m_state.mamePath.empty() || zipName.empty()) return;
    // One argument whatever the ZIP name holds; an ordinary one goes through unchanged.
    m_services.OpenWithShell(Handle(), executable, QuotedArgument(ToWide(zipName)), FolderOf(executable));
}

}  // namespace kanaroll
