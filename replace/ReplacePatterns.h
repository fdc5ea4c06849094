#pragma once

#include <string>
#include <vector>

#include "catalogue/TextCodec.h"

namespace kanaroll {

// One replace condition.
struct TReplacePatterns {
    std::string searchText;
    std::string replacementText;
    bool onlyInParentheses = false;

    bool operator==(const TReplacePatterns&) const = default;
};

// The rules in the order they are applied, listed and saved.
using ReplaceRuleList = std::vector<TReplacePatterns>;

// The eight rules in force when the settings hold none, in the codec of the catalogue.
ReplaceRuleList DefaultReplaceRules(const TextCodec& codec = ShiftJisCodec());

}  // namespace kanaroll
