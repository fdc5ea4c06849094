#pragma once

#include <string>
#include <string_view>

#include "catalogue/TextCodec.h"
#include "replace/ReplacePatterns.h"

namespace kanaroll {

// Replaces every occurrence of `search` in `text`, found without regard to ASCII letter case and
// never starting on the second byte of a two-byte character, by `replacement`; left to right,
// without overlaps, and a replacement is never searched again. An empty text or search gives the
// text unchanged.
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view search, std::string_view replacement,
                                 const TextCodec& codec);

// Runs every rule in order over a title: rules limited to parentheses work on the text between the
// first "(" and the first ")" and then replace that text wherever it stands in the title.
std::string ApplyRulesToTitle(std::string_view title, const ReplaceRuleList& rules, const TextCodec& codec);

}  // namespace kanaroll
