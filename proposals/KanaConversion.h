#pragma once

#include <optional>
#include <string>
#include <string_view>

// Kana as the readings of a name list spell them: katakana and half-width katakana become
// hiragana, the long-vowel mark "ー" and the small kana stay. Texts are UTF-8.
namespace kanaroll::proposals {

struct KanaStyle {
    // "ヴ" as "ゔ" (lists kept in UTF-8 may), or as the nearest kana a Shift-JIS list can hold:
    // "ヴァ" as "ば", "ヴィ" as "び", "ヴ" as "ぶ", "ヴェ" as "べ", "ヴォ" as "ぼ".
    bool keepVu = false;
    // A wave dash after kana ("ポチッとにゃ～") as the long-vowel mark it stands for ("ぽちっとにゃー"),
    // where the list reads it so.
    bool waveAsLongVowel = false;
};

// Whether `c` is a wave dash: "～" (the form Shift-JIS lists decode to) or "〜".
constexpr bool IsWaveDash(char32_t c) {
    return c == 0xFF5E || c == 0x301C;
}

// The hiragana of one kana character, appended to `out`; `next` is the character after it, which
// "ヴ" may take with it (then `tookNext` is set). False when `c` is not kana.
bool AppendHiragana(char32_t c, char32_t next, const KanaStyle& style, std::string& out, bool& tookNext);

// The hiragana of a text that holds only kana and the blanks and middle dots a reading leaves out
// ("パックマン" gives "ぱっくまん", "ﾊﾞﾝﾊﾞﾝ" gives "ばんばん"); nothing when it holds anything else
// or no kana at all.
std::optional<std::string> KanaToHiragana(std::string_view text, const KanaStyle& style = {});

// Half-width katakana with their voicing marks composed into full-width katakana; everything else
// as it is.
std::string WidenKatakana(std::string_view text);

}  // namespace kanaroll::proposals
