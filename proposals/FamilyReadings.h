#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "proposals/SuffixConventions.h"

namespace kanaroll::proposals {

// One game of a family whose reading the list gives, in UTF-8.
struct FamilyMember {
    std::string description;  // the English description, or the title when the catalogue has none
    std::string title;
    std::string reading;
    bool isMaster = false;
};

// A game's reading from the readings of its family. A family keeps its own conventions: some spell
// every set number in the code ("_01", "_07"), some only the region ("_w", "_u"), some give every
// clone the master's reading. So each way of deriving a reading is first tried on the family's own
// known members, each worked out from the others, and the way that gets most of them right is the
// one used; when every way fails on the family, no reading is proposed from it.
class FamilyReadings {
public:
    explicit FamilyReadings(const SuffixConventions& suffixes) : m_suffixes(suffixes) {}

    // The reading of a game with `description` whose title's main part is `mainPart` (empty when
    // the title is unknown), from `members` (the game itself not among them).
    std::optional<std::string> Propose(std::string_view description, std::string_view mainPart,
                                       const std::vector<FamilyMember>& members) const;

private:
    enum class Way { Substitute, CopyNearest, CopyMaster, PartCode };

    using Tokens = std::vector<std::string>;
    // What every way looks at: the members' CodeTokens() and whether each has the game's name.
    struct Prepared {
        std::vector<Tokens> tokens;
        std::vector<bool> sameName;
    };

    std::optional<std::string> Derive(Way way, std::string_view description, const Tokens& mine,
                                      const std::vector<FamilyMember>& members, const Prepared& prepared,
                                      std::size_t skip) const;

    const SuffixConventions& m_suffixes;
};

}  // namespace kanaroll::proposals
