#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "proposals/QualifierRewrites.h"

namespace kanaroll::proposals {

// A clone's title from a sibling's: the two English descriptions are laid side by side, and where
// they differ in one word, the sibling's title with that word replaced is the clone's. That keeps
// what the family's titles do, whatever the list does elsewhere: a family that keeps MAME's
// "(Italian, bootleg, set 1)" gives "(Italian, bootleg, set 3)", one that writes "(US版 v1.3)"
// gives "(日本版 v1.3)" for "(Japan v1.3)". A word the list rewrites is replaced as the list
// writes it when the sibling's title shows the sibling's word rewritten.
class SiblingTitles {
public:
    explicit SiblingTitles(const QualifierRewrites& rewrites) : m_rewrites(rewrites) {}

    // The title of the game described `description` from a sibling described `siblingDescription`
    // and titled `siblingTitle` (UTF-8); nothing when the descriptions differ in more than one word
    // or the title does not show the sibling's word once.
    std::optional<std::string> FromSibling(std::string_view description, std::string_view siblingDescription,
                                           std::string_view siblingTitle) const;

private:
    const QualifierRewrites& m_rewrites;
};

}  // namespace kanaroll::proposals
