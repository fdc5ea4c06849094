#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/GameList.h"
#include "catalogue/NameListFormat.h"
#include "catalogue/TextCodec.h"
#include "replace/ReplacePatterns.h"

// Proposes a Japanese title and a reading for a game, from what the loaded catalogue and name list
// already hold: the game's family and the games of the same name, the list's suffix codes, its
// rewrites of English qualifiers, its kana and the readings it gives words and numbers.
//
// How the window uses it:
//   - Learn() once, right after the name list is merged (it takes well under the blink of the
//     start-up on today's 45,000 machines), and again only if a whole new catalogue is loaded.
//   - ProposeTitle(game) and ProposeReading(game) when a game is selected, to show beside the title
//     field and as the cue text of the empty reading field; each is a fraction of a millisecond.
//   - ProposeReadingForTitle(game, Edit1's text) whenever the title field changes, so that the cue
//     follows what the user types; F4 in the reading field takes that text.
//   - FindUntranslated() (UntranslatedSearch.h) for F8 and Shift+F8.
// Every proposal is in the catalogue's codec and fits a field: no TAB, CR, LF or Ctrl-Z, at most
// 255 bytes, only characters the codec holds. An empty text means no proposal: the engine prefers
// none to a wild guess. Nothing is stored in the catalogue; taking a proposal is the window's edit.
//
// The engine keeps pointers to the catalogue's games (which never move, whatever the sort) and
// reads a family's current titles and readings when it proposes, so that a master translated a
// moment ago already shapes its clones' proposals. It must not outlive the catalogue it learned.
namespace kanaroll {

namespace proposals {
class Learned;
struct KanaStyle;
class SuffixConventions;
}  // namespace proposals

class ProposalEngine {
public:
    ProposalEngine();
    ~ProposalEngine();
    ProposalEngine(const ProposalEngine&) = delete;
    ProposalEngine& operator=(const ProposalEngine&) = delete;

    // Learns the conventions of the loaded list from every translated game of `games`, whose texts
    // are in `codec`, and from `keptLines`, the name-list lines no game took (their ZIP name, title
    // and reading teach as well). `rules` are the replace rules F3 applies, in the same codec.
    // Replaces whatever was learned before.
    void Learn(const GameList& games, const TextCodec& codec, const ReplaceRuleList& rules,
               const std::vector<KeptNameListLine>& keptLines = {});

    // A Japanese title for `game`; empty when there is none worth proposing.
    std::string ProposeTitle(const TRecordset& game) const;
    // A reading for `game` as its title stands (its own Japanese title when it has one, else the
    // title proposed for it); empty when none.
    std::string ProposeReading(const TRecordset& game) const;
    // A reading for `title`, a title the user typed for `game`; empty when none.
    std::string ProposeReadingForTitle(const TRecordset& game, std::string_view title) const;

    // What was learned, for the list checks that share the engine's kana and suffix conventions.
    // Valid once Learn() ran.
    const proposals::KanaStyle& Kana() const;
    const proposals::SuffixConventions& Suffixes() const;

private:
    std::unique_ptr<proposals::Learned> m_learned;
};

}  // namespace kanaroll
