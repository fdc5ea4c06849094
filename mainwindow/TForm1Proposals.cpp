// The proposals in the main window: the proposed title in grey below the reading field, the proposed
// reading as the grey cue text of the empty reading field, F4 taking them, and F8, Shift+F8 and
// Shift+Enter going to the next untranslated game (the keys are dispatched in TForm1Keys.cpp).
#include "mainwindow/TForm1.h"
#include "platform/Controls.h"
#include "proposals/UntranslatedSearch.h"

namespace kanaroll {

namespace {

constexpr wchar_t kNoneUntranslated[] = L"未翻訳のゲームはありません";

}  // namespace

void TForm1::LearnProposals() {
    if (!m_proposals) m_proposals = std::make_unique<ProposalEngine>();
    m_proposals->Learn(m_games, *m_codec, m_state.replaceRules, m_nameList.keptLines);
}

void TForm1::ShowProposals(const TRecordset& game) {
    if (!m_proposals) return;
    m_titleProposal = m_proposals->ProposeTitle(game);
    window::SetText(m_ui.TitleProposal, ToWide(m_titleProposal));
    FollowTypedTitle(game);
}

// The reading follows the title as it stands: a title of the game's own (typed, or taken by F4)
// reads as itself, and a game that still shows its English title reads as its proposed title.
void TForm1::FollowTypedTitle(const TRecordset& game) {
    if (!m_proposals) return;
    const bool ownTitle = !game.japaneseName.empty() && game.japaneseName != game.englishName;
    ShowReadingProposal(ownTitle ? m_proposals->ProposeReadingForTitle(game, game.japaneseName)
                                 : m_proposals->ProposeReading(game));
}

void TForm1::ShowReadingProposal(std::string reading) {
    if (reading == m_readingProposal) return;
    m_readingProposal = std::move(reading);
    edit::SetCueText(m_ui.Edit2, ToWide(m_readingProposal));
}

// Taking a proposal edits the field as typing does, so that the change handlers store it, with the
// translated flag, the counter, the marks, "変更あり" and undo as for a typed text. Without a
// proposal nothing changes but the beep.
void TForm1::TakeProposal(ProposalPart part) {
    if (!m_proposals || m_state.currentIndex < 0 || m_state.currentIndex >= m_games.Count()) return;
    bool taken = false;
    if (part != ProposalPart::Reading && !m_titleProposal.empty()) {
        // Edit1Change stores the title and moves the reading's proposal to it.
        edit::TypeText(m_ui.Edit1, ToWide(m_titleProposal));
        taken = true;
    }
    if (part != ProposalPart::Title && !m_readingProposal.empty()) {
        edit::TypeText(m_ui.Edit2, ToWide(m_readingProposal));
        taken = true;
    }
    if (!taken) m_services.Beep();
}

bool TForm1::SelectUntranslated(bool forward) {
    const int row = FindUntranslated(m_games, CurrentRow(), forward);
    if (row < 0) {
        SetStatus(3, kNoneUntranslated);
        return false;
    }
    SelectGameRow(m_ui.ListView1, row);
    return true;
}

void TForm1::GoToUntranslated(bool forward) {
    if (!m_menuAttached) return;
    if (!SelectUntranslated(forward)) return;
    // The entry selection comes with the focus; a title field that has it already makes it anew.
    if (GetFocus() == m_ui.Edit1) ApplyJapaneseNameSelection();
    FocusJapaneseName();
}

}  // namespace kanaroll
