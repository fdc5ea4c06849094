// The recovery journal in the window: every stored edit is appended as it happens, put on the disk
// when the current game changes and before every dialog, emptied when mame32j.lst beside the
// program has been written and deleted when the user ends the program. At start-up a journal left
// by a run that did not end so is offered back with one question.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/RecoveryPlan.h"
#include "mainwindow/TForm1.h"
#include "platform/Application.h"
#include "platform/WideText.h"

namespace kanaroll {

namespace {

// A question lists this many ZIP names at most; the aside file keeps every edit.
constexpr std::size_t kNamesShown = 12;

std::wstring FileName(const std::filesystem::path& path) {
    return path.filename().wstring();
}

std::wstring Number(std::size_t value) {
    return std::to_wstring(value);
}

std::wstring UnreadableReason(JournalProblem problem) {
    switch (problem) {
        case JournalProblem::NotAJournal:
            return L"記録ファイルの形をしていません";
        case JournalProblem::DamagedHead:
            return L"先頭が壊れています";
        case JournalProblem::NewerFormat:
            return L"新しい版のKanarollで書かれています";
        case JournalProblem::None:
            break;
    }
    return L"";
}

// The ZIP names of the edits the replay leaves behind, in the journal's code page.
std::wstring ZipNameList(const std::vector<std::string>& names, std::uint32_t codePage) {
    std::wstring list;
    for (std::size_t k = 0; k < names.size() && k < kNamesShown; ++k) {
        if (k > 0) list += L", ";
        list += names[k].empty() ? std::wstring(L"(ZIP名なし)") : ToWide(names[k], codePage);
    }
    if (names.size() > kNamesShown) list += L" ほか" + Number(names.size() - kNamesShown) + L"件";
    return list;
}

}  // namespace

int TForm1::OpenJournal(const std::filesystem::path& nameList) {
    const std::filesystem::path path = m_journal.Path();
    try {
        m_journalIdentity = {IdentifyCatalogue(m_games), IdentifyNameList(nameList), m_codec->CodePage()};
        const auto found = ReadJournal(path);
        if (found && !found->Readable()) {
            // Nothing of it can be trusted to go to the right game: it is kept for whoever wants
            // to look at it, and the run starts clean.
            const std::filesystem::path aside = MoveJournalAside(path, LocalTimeNow());
            m_services.ShowMessageBox(Handle(),
                                      L"保存されていない変更の記録" + FileName(path) +
                                          L"を読み取れませんでした（" + UnreadableReason(found->problem) +
                                          L"）。\r\n\r\n記録は" + FileName(aside) +
                                          L"として残し、何も復元せずに始めます。",
                                      L"警告", MB_OK | MB_ICONWARNING);
        } else if (found && (!found->edits.empty() || found->Damaged())) {
            const RecoveryPlan plan = PlanRecovery(*found, m_games, m_journalIdentity);
            if (plan.gamesChanged > 0 || plan.LeavesSomethingBehind()) {
                m_journalMayReplace = true;  // from here on every way keeps or restores the edits
                return RestoreFromJournal(plan, found->identity.codePage);
            }
        }
    } catch (const IoError& error) {
        // A journal that cannot be read or set aside stays where it is, untouched for this run.
        JournalFailed(error);
        return -1;
    }
    m_journalMayReplace = true;
    StartJournal([this] { m_journal.Start(m_journalIdentity); });
    return -1;
}

int TForm1::RestoreFromJournal(const RecoveryPlan& plan, std::uint32_t journalCodePage) {
    const std::filesystem::path path = m_journal.Path();
    const std::tm now = LocalTimeNow();
    const std::wstring aside = FileName(JournalAsideName(path, now));

    std::wstring leftBehind;
    if (!plan.unappliedZipNames.empty()) {
        if (plan.catalogueChanged) leftBehind += L"listinfo.txtが前回と違うため、";
        leftBehind +=
            L"次の" + Number(plan.unappliedZipNames.size()) +
            L"件のゲームの変更は、どのゲームのものか確かめられないか、今の文字コードで表せないため、"
            L"復元できません。\r\n" +
            ZipNameList(plan.unappliedZipNames, journalCodePage);
    }
    if (plan.damaged) {
        if (!leftBehind.empty()) leftBehind += L"\r\n\r\n";
        leftBehind += L"記録の途中が壊れていたため、そこから後の変更は復元できません。";
    }

    int answer = IDNO;
    if (plan.gamesChanged == 0) {
        // Nothing to give back: the user is told what stays behind, and where.
        m_services.ShowMessageBox(
            Handle(),
            L"前回は保存されないまま終了しましたが、その変更は今のゲームに戻せません。\r\n\r\n" + leftBehind +
                L"\r\n\r\n記録は" + aside + L"として残します。",
            L"警告", MB_OK | MB_ICONWARNING);
    } else {
        std::wstring question = L"前回は保存されないまま終了したため、" + Number(plan.gamesChanged) +
                                L"件のゲームに保存されていない変更があります。";
        if (!leftBehind.empty())
            question += L"\r\n\r\n" + leftBehind + L"\r\n復元できない変更は、どちらを選んでも" + aside +
                        L"に残します。";
        question += L"\r\n\r\n変更を復元しますか?\r\n（「いいえ」を選ぶと、記録は" + aside +
                    L"として残し、何も復元しません。）";
        answer = m_services.ShowMessageBox(Handle(), question, L"確認", MB_YESNO | MB_ICONWARNING);
    }

    if (answer != IDYES) {
        try {
            MoveJournalAside(path, now);
        } catch (const IoError& error) {
            // Then the journal stays in its place, and the next start offers it again.
            m_journalMayReplace = false;
            JournalFailed(error);
            return -1;
        }
        StartJournal([this] { m_journal.Start(m_journalIdentity); });
        return -1;
    }

    bool restart = true;
    if (plan.LeavesSomethingBehind()) {
        try {
            CopyJournalAside(path, now);
        } catch (const IoError& error) {
            // The journal in its place is then the only copy of what the replay leaves out.
            restart = false;
            m_journalMayReplace = false;
            JournalFailed(error);
        }
    }
    // The new journal holds the restored edits, so that a crash after this start gives them back
    // again; when it cannot be written, the old one still holds them.
    if (restart) StartJournal([&] { m_journal.StartWith(m_journalIdentity, plan, m_games); });
    if (ReplayRecovery(plan, m_games, m_state.translatedCount) > 0) {
        m_state.modified = true;
        SetStatus(2, L"変更あり");
    }
    return plan.firstGame;
}

void TForm1::StartJournal(const std::function<void()>& start) {
    try {
        start();
        m_journalFailureTold = false;
    } catch (const IoError& error) {
        JournalFailed(error);
    }
}

void TForm1::JournalEdit(const TRecordset& game, EditedField field) {
    try {
        m_journal.Append(game, field);
    } catch (const IoError& error) {
        JournalFailed(error);
    }
}

void TForm1::FlushJournal() {
    try {
        m_journal.Flush();
    } catch (const IoError& error) {
        JournalFailed(error);
    }
}

void TForm1::EmptyJournal(const std::filesystem::path& written) {
    if (!m_journalMayReplace) return;
    StartJournal([&] {
        m_journalIdentity.nameList = IdentifyNameList(written);
        m_journal.Start(m_journalIdentity);
    });
}

void TForm1::RestartJournal(const std::filesystem::path& nameList) {
    if (!m_journalMayReplace) return;
    StartJournal([&] {
        m_journalIdentity = {IdentifyCatalogue(m_games), IdentifyNameList(nameList), m_codec->CodePage()};
        m_journal.Start(m_journalIdentity);
    });
}

void TForm1::EndJournal() {
    if (!m_journalMayReplace) return;
    try {
        m_journal.Delete();
    } catch (const IoError&) {
        // The program is ending. A journal left behind holds nothing the saved list lacks, or what
        // the user declined: the next start offers it, and declining sets it aside.
    }
}

// The journal has closed itself; the edits stay in memory and the program goes on without it.
// The user hears of it once, after the handler that met the failure has finished, so that no box
// comes up in the middle of a keystroke.
void TForm1::JournalFailed(const IoError& error) {
    if (m_journalFailureTold) return;
    m_journalFailureTold = true;
    m_journalFailure = L"保存されていない変更の記録" + FileName(m_journal.Path()) + L"を使えません（" +
                       Utf8ToWide(error.what()) +
                       L"）。\r\n\r\n編集はこのまま続けられますが、保存する前にプログラムが異常終了すると、"
                       L"それまでの変更は失われます。";
    PostMessageW(Handle(), kJournalFailedMessage, 0, 0);
}

void TForm1::ShowJournalFailure() {
    if (m_journalFailure.empty() || m_application.Terminated()) return;
    const std::wstring text = std::move(m_journalFailure);
    m_journalFailure.clear();
    m_services.ShowMessageBox(Handle(), text, L"警告", MB_OK | MB_ICONWARNING);
}

}  // namespace kanaroll
