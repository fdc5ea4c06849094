#pragma once

#include <string>
#include <vector>

namespace kanaroll {

// One replace condition. Kept here, beside the other records, because kanaroll.ini stores the rules;
// what the rules do is replace/'s business.
struct TReplacePatterns {
    std::string searchText;
    std::string replacementText;
    bool onlyInParentheses = false;

    bool operator==(const TReplacePatterns&) const = default;
};

// The rules in the order they are applied, listed and saved.
using ReplaceRuleList = std::vector<TReplacePatterns>;

}  // namespace kanaroll
