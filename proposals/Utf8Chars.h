#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/TextCodec.h"

// Character-level helpers for the engine, which works on UTF-8 whatever the catalogue's codec.
namespace kanaroll::proposals {

// What a character is for reading a title aloud.
enum class CharKind {
    Kana,       // hiragana, katakana, half-width katakana, the long-vowel mark
    Kanji,      // CJK ideographs, 々 and 〆
    Latin,      // ASCII and full-width letters
    Digit,      // ASCII and full-width digits
    Roman,      // the single-character Roman numerals Ⅰ to Ⅻ and ⅰ to ⅻ
    Separator,  // blanks and punctuation a reading leaves out
    Other,      // anything a reading cannot be made of (symbols, other scripts)
};

CharKind KindOf(char32_t c);

// Full-width ASCII (！ to ～) and the ideographic space as their ASCII counterparts; anything else
// as it is.
char32_t NarrowAscii(char32_t c);

// Calls visit(codePoint, byteOffset, byteLength) for each character of a UTF-8 text.
template <typename Visit>
void ForEachChar(std::string_view text, Visit&& visit) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t start = offset;
        const char32_t c = DecodeUtf8(text, offset);
        visit(c, start, offset - start);
    }
}

inline std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

}  // namespace kanaroll::proposals
