#pragma once

#include <string>
#include <string_view>

#include "proposals/StringMap.h"
#include "proposals/TitleParts.h"
#include "proposals/Votes.h"

namespace kanaroll::proposals {

// How a list turns the English qualifiers of MAME's descriptions into its own: "(Japan)" into
// "(日本版)", "(bootleg, set 2)" into "(海賊版, set 2)". Learned by laying each translated game's
// English qualifier beside its Japanese one, group by group, part by part and word by word.
class QualifierRewrites {
public:
    // One translated game: the qualifiers of its English description and of its title, each from
    // the blank before the first "(" on.
    void Learn(std::string_view englishQualifier, std::string_view japaneseQualifier);
    // The same, for qualifiers already cut into their groups.
    void Learn(const QualifierGroups& english, const QualifierGroups& japanese);

    // `englishQualifier` as the list would write it: every part and word the list has shown a
    // rewrite for, often and consistently enough, rewritten; the rest as it stands. Empty stays
    // empty; a qualifier that is no plain sequence of groups comes back as it is.
    std::string Rewrite(std::string_view englishQualifier) const;

    // How the list rewrites `text` as a qualifier part of its own, or else as a word; null when it
    // shows no rewrite often and consistently enough.
    const std::string* PartOrWord(std::string_view text) const;

private:
    StringMap<Votes> m_groups;
    StringMap<Votes> m_parts;
    StringMap<Votes> m_words;
};

}  // namespace kanaroll::proposals
