#include "replace/ReplacePatterns.h"

#include <iterator>
#include <string_view>

namespace kanaroll {

ReplaceRuleList DefaultReplaceRules(const TextCodec& codec) {
    struct DefaultRule {
        std::string_view searchText;
        std::string_view replacementText;
        bool onlyInParentheses;
    };
    // The qualifiers a title carries in parentheses, and the tag of medal games, which stands
    // anywhere in the title.
    static constexpr DefaultRule kDefaults[] = {
        {"Japan", "日本版", true},    {"US", "米国版", true},
        {"World", "海外版", true},    {"Asia", "アジア版", true},
        {"Europe", "欧州版", true},   {"bootleg", "海賊版", true},
        {"[BET]", "[メダル]", false}, {"prototype", "プロトタイプ", true},
    };
    ReplaceRuleList rules;
    rules.reserve(std::size(kDefaults));
    for (const auto& rule : kDefaults)
        rules.push_back(
            {codec.FromUtf8(rule.searchText), codec.FromUtf8(rule.replacementText), rule.onlyInParentheses});
    return rules;
}

}  // namespace kanaroll
