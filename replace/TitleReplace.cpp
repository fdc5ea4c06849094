#include "replace/TitleReplace.h"

#include "catalogue/ByteText.h"

namespace kanaroll {

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view search, std::string_view replacement,
                                 const TextCodec& codec) {
    if (text.empty() || search.empty()) return std::string(text);
    const std::string upperText = codec.ToUpper(text);
    const std::string upperSearch = codec.ToUpper(search);
    // Positions are found in the upper-cased copy and cut from the text itself, so the text between
    // matches keeps its letter case. Upper-casing keeps the length, so one offset serves both. In a
    // UTF-8 catalogue no byte of a multi-byte character is ASCII: the upper-casing leaves them alone
    // and a match can only start on a character's first byte, as the codec's Find promises.
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    while (done < upperText.size()) {
        // Searched from the cut on, as a text of its own: character boundaries are counted afresh
        // from there, and a replacement never becomes part of the text that is searched.
        const std::size_t found = codec.Find(std::string_view(upperText).substr(done), upperSearch);
        if (found == std::string_view::npos) break;
        out.append(text.substr(done, found));
        out.append(replacement);
        done += found + upperSearch.size();
    }
    if (done < text.size()) out.append(text.substr(done));
    return out;
}

std::string ApplyRulesToTitle(std::string_view title, const ReplaceRuleList& rules, const TextCodec& codec) {
    std::string text(title);
    for (const auto& rule : rules) {
        if (!rule.onlyInParentheses) {
            text = ReplaceAllIgnoreCase(text, rule.searchText, rule.replacementText, codec);
            continue;
        }
        // Only the first "(" and the first ")" count; neither byte can be the second byte of a
        // two-byte character in Shift-JIS, nor part of a multi-byte character in UTF-8. With no "("
        // the text before the ")" is taken, and with no ")" or a ")" before the "(" nothing is, which
        // leaves the title as it is.
        const long open = bytetext::Pos("(", text);
        const long close = bytetext::Pos(")", text);
        const std::string inner(bytetext::Copy(text, open + 1, close - open - 1));
        const std::string newInner =
            ReplaceAllIgnoreCase(inner, rule.searchText, rule.replacementText, codec);
        // Even an unchanged inner text is put back wherever it stands, in the letter case it has
        // inside the parentheses.
        text = ReplaceAllIgnoreCase(text, inner, newInner, codec);
    }
    return text;
}

}  // namespace kanaroll
