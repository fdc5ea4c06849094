// The input's first line is a title, every further line a rule: search text, TAB, replacement
// text, TAB, and "P" when the rule works only inside the parentheses. For both codecs,
// ReplaceAllIgnoreCase (with every rule on the title) and ApplyRulesToTitle (with these rules and
// with the default rules) must give what the documented steps give when followed literally: upper-
// case copies, the first match in what is left of the upper-cased text that does not start on the
// second byte of a two-byte character (counted afresh from each cut), cut from the text itself.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ByteText.h"
#include "replace/TitleReplace.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

// The first match of `needle` at the start of a character of `text`, characters counted from the
// text's first byte.
std::size_t PlainFind(std::string_view text, std::string_view needle, const TextCodec& codec) {
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i).starts_with(needle)) return i;
        i += codec.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return std::string_view::npos;
}

std::string PlainReplaceAll(std::string_view text, std::string_view search, std::string_view replacement,
                            const TextCodec& codec) {
    if (text.empty() || search.empty()) return std::string(text);
    // The codec's upper-casing, which the text codec's fuzz target follows character by character.
    std::string upper = codec.ToUpper(text);
    const std::string upperSearch = codec.ToUpper(search);
    std::string rest(text);
    std::string out;
    while (!upper.empty()) {
        const std::size_t k = PlainFind(upper, upperSearch, codec);
        if (k == std::string_view::npos) {
            out += rest;
            return out;
        }
        out += rest.substr(0, k);
        out += replacement;
        rest.erase(0, k + search.size());
        upper.erase(0, k + upperSearch.size());
    }
    return out;
}

std::string PlainApply(std::string_view title, const ReplaceRuleList& rules, const TextCodec& codec) {
    std::string text(title);
    for (const auto& rule : rules) {
        if (!rule.onlyInParentheses) {
            text = PlainReplaceAll(text, rule.searchText, rule.replacementText, codec);
            continue;
        }
        const long open = bytetext::Pos("(", text);
        const long close = bytetext::Pos(")", text);
        const std::string inner(bytetext::Copy(text, open + 1, close - open - 1));
        const std::string newInner = PlainReplaceAll(inner, rule.searchText, rule.replacementText, codec);
        text = PlainReplaceAll(text, inner, newInner, codec);
    }
    return text;
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const auto lines = Split(AsText(data, size), '\n');
    const std::string_view title = lines[0];
    ReplaceRuleList rules;
    for (std::size_t i = 1; i < lines.size() && rules.size() < 32; ++i) {
        const auto fields = Split(lines[i], '\t');
        rules.push_back({std::string(fields[0]), fields.size() > 1 ? std::string(fields[1]) : std::string(),
                         fields.size() > 2 && fields[2] == "P"});
    }

    for (const TextCodec* codec : {&ShiftJisCodec(), &Utf8Codec()}) {
        for (const auto& rule : rules) {
            FUZZ_CHECK(ReplaceAllIgnoreCase(title, rule.searchText, rule.replacementText, *codec) ==
                       PlainReplaceAll(title, rule.searchText, rule.replacementText, *codec));
            // The search text as a title of its own, so that the matches also meet the text's edges.
            FUZZ_CHECK(ReplaceAllIgnoreCase(rule.searchText, title, rule.replacementText, *codec) ==
                       PlainReplaceAll(rule.searchText, title, rule.replacementText, *codec));
        }
        FUZZ_CHECK(ApplyRulesToTitle(title, rules, *codec) == PlainApply(title, rules, *codec));
        const ReplaceRuleList defaults = DefaultReplaceRules(*codec);
        FUZZ_CHECK(ApplyRulesToTitle(title, defaults, *codec) == PlainApply(title, defaults, *codec));
        FUZZ_CHECK(ApplyRulesToTitle(title, {}, *codec) == title);
    }
    return 0;
}
