#include "catalogue/KatakanaReading.h"

#include <string>
#include <vector>

namespace kanaroll {

namespace {

constexpr char32_t kMiddleDot = U'・';
constexpr char32_t kLongVowel = U'ー';
constexpr char32_t kAnyText = 0;  // a suffix code in a reading pattern

bool IsKatakanaLetter(char32_t c) {
    return c >= U'ァ' && c <= U'ヶ';
}
bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\u3000';
}
bool IsSuffixCodeCharacter(char32_t c) {
    return c > U' ' && c < 0x7F;
}

std::u32string_view HeadOf(std::u32string_view title, bool& goesOn) {
    const std::size_t end = title.find_first_of(U"(（/／");
    std::u32string_view head = title.substr(0, end);
    while (!head.empty() && IsBlank(head.back())) head.remove_suffix(1);
    goesOn = end != std::u32string_view::npos;
    return head;
}

// The head's words, middle dots kept, or none when the head is not all katakana.
std::vector<std::u32string> KatakanaWords(std::u32string_view head) {
    std::vector<std::u32string> words(1);
    bool anyLetter = false;
    for (const char32_t c : head) {
        if (IsBlank(c)) {
            if (!words.back().empty()) words.emplace_back();
        } else if (IsKatakanaLetter(c) || c == kLongVowel || c == kMiddleDot) {
            anyLetter = anyLetter || IsKatakanaLetter(c);
            words.back() += c;
        } else {
            return {};
        }
    }
    if (!anyLetter) return {};
    if (words.back().empty()) words.pop_back();
    return words;
}

// The reading without blanks and middle dots, each suffix code one kAnyText.
std::u32string ReadingPattern(std::u32string_view reading) {
    std::u32string pattern;
    for (const char32_t c : reading) {
        if (IsBlank(c) || c == kMiddleDot) continue;
        if (IsSuffixCodeCharacter(c)) {
            if (pattern.empty() || pattern.back() != kAnyText) pattern += kAnyText;
        } else {
            pattern += c;
        }
    }
    return pattern;
}

// Kana to match a reading against, with where the title had a word or a middle dot begin.
struct TitleKana {
    std::u32string text;
    std::vector<char> boundary{1};  // boundary[j]: a word begins at text[j]; the end is one too

    void Break() { boundary.back() = 1; }
    void Add(char32_t c) {
        text += c;
        boundary.push_back(0);
    }
};

// The hiragana of `words`; with `vAsB`, "ヴ" and the small vowel after it as the "ば" row.
TitleKana Hiragana(const std::vector<std::u32string>& words, std::size_t count, bool vAsB) {
    TitleKana out;
    for (std::size_t w = 0; w < count; ++w) {
        const std::u32string& word = words[w];
        out.Break();
        for (std::size_t i = 0; i < word.size(); ++i) {
            const char32_t c = word[i];
            if (c == kMiddleDot) {
                out.Break();
            } else if (vAsB && c == U'ヴ') {
                const char32_t next = i + 1 < word.size() ? word[i + 1] : 0;
                const std::u32string_view smalls = U"ァィェォ";
                const std::u32string_view row = U"ばびべぼ";
                const std::size_t at = next == 0 ? std::u32string_view::npos : smalls.find(next);
                if (at != std::u32string_view::npos) {
                    out.Add(row[at]);
                    ++i;
                } else {
                    out.Add(U'ぶ');
                }
            } else {
                out.Add(IsKatakanaLetter(c) ? static_cast<char32_t>(c - 0x60) : c);
            }
        }
    }
    out.Break();
    return out;
}

// Whether `pattern` matches all of `kana` (with `readsOn`, all of a text that begins with it). A
// suffix code stands for nothing; one that ends the reading for the rest of the title, and one
// within it for kana from one word's start to another's.
bool Matches(std::u32string_view pattern, const TitleKana& kana, bool readsOn) {
    const std::size_t size = kana.text.size();
    // matched[j]: the pattern so far matches the first j characters of the kana.
    std::vector<char> matched(size + 1, 0);
    matched[0] = 1;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char32_t p = pattern[at];
        if (readsOn && matched[size]) return true;
        if (p == kAnyText && at + 1 == pattern.size()) {
            for (std::size_t j = 0; j < size; ++j) matched[size] = matched[size] || matched[j];
        } else if (p == kAnyText) {
            bool fromBoundary = false;
            for (std::size_t j = 0; j <= size; ++j) {
                if (!kana.boundary[j]) continue;
                if (fromBoundary) matched[j] = 1;
                fromBoundary = fromBoundary || matched[j];
            }
        } else {
            for (std::size_t j = size; j > 0; --j) matched[j] = matched[j - 1] && kana.text[j - 1] == p;
            matched[0] = 0;
        }
    }
    return matched[size] != 0;
}

}  // namespace

bool ReadingFitsTitle(std::u32string_view title, std::u32string_view reading) {
    bool goesOn = false;
    const std::vector<std::u32string> words = KatakanaWords(HeadOf(title, goesOn));
    if (words.empty()) return true;
    const std::u32string pattern = ReadingPattern(reading);
    if (pattern.find_first_not_of(kAnyText) == std::u32string::npos) return false;
    for (std::size_t count = 1; count <= words.size(); ++count) {
        const bool readsOn = goesOn || count < words.size();
        for (const bool vAsB : {false, true})
            if (Matches(pattern, Hiragana(words, count, vAsB), readsOn)) return true;
    }
    return false;
}

}  // namespace kanaroll
