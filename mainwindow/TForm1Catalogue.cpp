// Making listinfo.txt with MAME: offered at start-up when the file is missing and a MAME is known,
// and from the popup menu at any time once one is chosen.
#include <string>
#include <unordered_set>

#include "catalogue/IoError.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/NameListReader.h"
#include "mainwindow/GameOrder.h"
#include "mainwindow/TForm1.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/MameListXml.h"
#include "platform/ProgressWindow.h"
#include "platform/WideText.h"

namespace kanaroll {

namespace {

constexpr wchar_t kCaption[] = L"listinfo.txtの作成";

std::wstring StoredMamePath(const std::string& stored) {
    return ToWide(stored, ShiftJisCodec().CodePage());
}

// "12.3 MB": what MAME has printed so far.
std::wstring Megabytes(std::uint64_t bytes) {
    const std::uint64_t tenths = bytes * 10 / (1024 * 1024);
    return std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10) + L" MB";
}

}  // namespace

bool TForm1::MameKnown() const {
    return !m_state.mamePath.empty() && m_services.FileExists(StoredMamePath(m_state.mamePath));
}

bool TForm1::OfferListInfoFromMame() {
    if (!MameKnown()) return false;
    const std::wstring text =
        L"listinfo.txtが見つかりません。\r\n\r\n" + StoredMamePath(m_state.mamePath) + L"\r\nで作成しますか?";
    if (m_services.ShowMessageBox(Handle(), text, L"確認", MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    return StartListXml(true);
}

void TForm1::RemakeCatalogueClick() {
    if (m_listXml || !MameKnown()) return;
    if (m_state.modified) {
        const int answer = m_services.ShowMessageBox(Handle(), L"変更をmame32j.lstに保存しますか?", L"確認",
                                                     MB_YESNOCANCEL | MB_ICONWARNING);
        if (answer == IDCANCEL) return;
        if (answer == IDYES) WriteMame32J(m_state.exeDir / "mame32j.lst");
    }
    StartListXml(false);
}

bool TForm1::StartListXml(bool atStartup) {
    const std::filesystem::path mame(StoredMamePath(m_state.mamePath));
    try {
        m_listXml = std::make_unique<MameListXml>(mame, m_state.exeDir / "listinfo.txt",
                                                  PostingNotify(Handle(), kListXmlMessage));
    } catch (const IoError& error) {
        ReportError(error);
        return false;
    }
    m_listXmlAtStartup = atStartup;
    EnableWindow(Handle(), FALSE);
    m_progress =
        std::make_unique<ProgressWindow>(Handle(), L"MAMEでlistinfo.txtを作成中", m_font.Get(), [this] {
            if (m_listXml) m_listXml->Cancel();
        });
    m_application.AddDialogWindow(m_progress->Handle());
    m_progress->SetText(L"MAMEの出力を待っています...");
    return true;
}

void TForm1::EndProgress() {
    if (m_progress) m_application.RemoveDialogWindow(m_progress->Handle());
    EnableWindow(Handle(), TRUE);
    m_progress.reset();
    SetActiveWindow(Handle());
}

void TForm1::ListXmlNotified() {
    // The end was handled along with an earlier notification, or is being handled: reading the
    // new catalogue lets the messages through, among them the notifications still queued.
    if (!m_listXml || m_listXml->Finished()) return;
    if (!m_listXml->Ended()) {
        if (m_progress) m_progress->SetText(Megabytes(m_listXml->TakeProgress()) + L" 受信しました");
        return;
    }
    const ListXmlVerdict verdict = m_listXml->Finish();
    EndProgress();
    const bool atStartup = m_listXmlAtStartup;
    if (!verdict.Good()) {
        m_listXml.reset();  // removes the temporary file
        m_services.ShowMessageBox(Handle(),
                                  Utf8ToWide(verdict.Message()) + L"\r\n\r\nlistinfo.txtは元のままです。",
                                  kCaption, MB_OK | MB_ICONERROR);
        if (atStartup) m_application.Terminate();
        return;
    }
    if (atStartup) {
        // No catalogue to keep: the new file goes in place and the start-up load reads it.
        try {
            m_listXml->PutInPlace();
        } catch (const IoError& error) {
            m_listXml.reset();
            ReportError(error);
            m_application.Terminate();
            return;
        }
        m_listXml.reset();
        StartupLoad();
        return;
    }
    LoadNewCatalogue();
}

// The new catalogue is read whole from the temporary file before it replaces listinfo.txt, so that
// a file the reader refuses leaves the old one and the catalogue in the window.
void TForm1::LoadNewCatalogue() {
    GameList games;
    const bool read = ReadListInfo(m_listXml->TemporaryFile(), games, *this, *m_codec);
    if (!read) {
        m_listXml.reset();
        ShowTotals();
        m_services.ShowMessageBox(
            Handle(), L"MAMEの出力からの読み込みに失敗しました。\r\n\r\nlistinfo.txtは元のままです。",
            kCaption, MB_OK | MB_ICONERROR);
        return;
    }
    try {
        m_listXml->PutInPlace();
    } catch (const IoError&) {
        m_listXml.reset();
        ShowTotals();
        throw;
    }
    m_listXml.reset();

    std::unordered_set<std::string> known;
    for (const auto& game : m_games.Items()) known.insert(game->zipName);
    WaitCursor wait;
    listview::SetVirtualItemCount(m_ui.ListView1, 0);
    m_families.Clear();
    m_proposals.reset();  // it points into the old catalogue
    m_games = std::move(games);
    m_state.translatedCount = 0;
    // As at start-up: every translation of the list finds its game again by ZIP name.
    const auto nameList = ChooseNameList(m_state.exeDir);
    m_nameList = nameList ? ReadNameList(*nameList, m_games, m_state.translatedCount, *this, *m_codec)
                          : LoadedNameList{};
    RestartJournal(nameList ? nameList->file : std::filesystem::path());
    if (m_state.sort.sortKey != 0) SortGames(m_games, m_state.sort.sortKey);
    LearnProposals();  // from the new catalogue, as at start-up
    m_state.currentIndex = -1;
    m_state.familyKey.clear();
    m_state.modified = false;
    SetStatus(2, L"");

    int added = 0;
    for (const auto& game : m_games.Items())
        if (!game->translated && !known.contains(game->zipName)) ++added;
    int kept = 0;
    for (const KeptNameListLine& line : m_nameList.keptLines)
        if (line.zipName) ++kept;
    listview::SetVirtualItemCount(m_ui.ListView1, m_games.Count());
    InvalidateRect(m_ui.ListView1, nullptr, TRUE);
    ShowTotals();
    if (!m_games.Empty()) {
        listview::SelectAndFocus(m_ui.ListView1, 0);
        ListView1SelectItem(0, true);  // the row may have been selected already
        SetFocus(m_ui.ListView1);
    }
    // After the selection, which clears the panel.
    SetStatus(3, L"新しいマシン(未訳): " + std::to_wstring(added) + L"件   カタログにない行(保持): " +
                     std::to_wstring(kept) + L"件");
}

}  // namespace kanaroll
