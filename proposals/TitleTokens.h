#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "proposals/KanaConversion.h"

namespace kanaroll::proposals {

// A title cut into the pieces a reading is made of: runs of kana (read as their hiragana), of
// kanji, of Latin letters, of digits and the Roman numerals Ⅰ to Ⅻ, and "&" as a Latin word of its
// own. Blanks and other punctuation, which readings leave out, end a piece and are dropped.
struct TitleToken {
    enum class Kind { Kana, Kanji, Latin, Digits, Roman };
    Kind kind;
    std::string text;  // as in the title; Latin letters and digits in ASCII
    std::string kana;  // Kana pieces: the hiragana
};

std::vector<TitleToken> TokenizeTitle(std::string_view title, const KanaStyle& style);

}  // namespace kanaroll::proposals
