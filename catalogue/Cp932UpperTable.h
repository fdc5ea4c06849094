#pragma once

#include <cstddef>
#include <cstdint>

// The letters of code page 932 beyond ASCII that a Japanese Windows upper-cases, with their upper
// case: full-width Latin, Greek, Cyrillic and the small Roman numerals. Every pair keeps the length
// of a text, in Shift-JIS and in UTF-8. Made by scripts/gen-cp932-upper-table.py.
namespace kanaroll::cp932 {

struct UpperCasePair {
    std::uint16_t lower;
    std::uint16_t upper;
};

// By two-byte code (lead byte << 8 | trail byte), sorted by `lower`.
extern const UpperCasePair kUpperCaseCodes[];
extern const std::size_t kUpperCaseCodeCount;

// The same letters by Unicode code point, each once, sorted by `lower`.
extern const UpperCasePair kUpperCaseCharacters[];
extern const std::size_t kUpperCaseCharacterCount;

}  // namespace kanaroll::cp932
