#include "catalogue/UpperCase.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "catalogue/Cp932UpperTable.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

namespace {

// The upper case of `lower` in a sorted table, or `lower` itself.
std::uint16_t UpperOf(const cp932::UpperCasePair* table, std::size_t count, std::uint16_t lower) {
    const cp932::UpperCasePair* end = table + count;
    const auto* found = std::lower_bound(
        table, end, lower,
        [](const cp932::UpperCasePair& pair, std::uint16_t key) { return pair.lower < key; });
    return found != end && found->lower == lower ? found->upper : lower;
}

// The lead bytes of the two-byte letters: every other two-byte character is passed over without
// a look-up (kana and kanji make up most of a Japanese title).
const std::array<bool, 256>& LetterLeadBytes() {
    static const std::array<bool, 256> leads = [] {
        std::array<bool, 256> marked{};
        for (std::size_t i = 0; i < cp932::kUpperCaseCodeCount; ++i)
            marked[cp932::kUpperCaseCodes[i].lower >> 8] = true;
        return marked;
    }();
    return leads;
}

char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c;
}

}  // namespace

void UpperCaseShiftJisInPlace(std::string& text) {
    const TextCodec& codec = ShiftJisCodec();
    const auto& letterLeads = LetterLeadBytes();
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!codec.IsLeadByte(byte)) {
            text[i] = FoldAscii(text[i]);
            ++i;
            continue;
        }
        if (i + 1 == text.size()) break;  // a lead byte without its second byte
        if (letterLeads[byte]) {
            const auto code = static_cast<std::uint16_t>(byte << 8 | static_cast<unsigned char>(text[i + 1]));
            const std::uint16_t upper = UpperOf(cp932::kUpperCaseCodes, cp932::kUpperCaseCodeCount, code);
            text[i] = static_cast<char>(upper >> 8);
            text[i + 1] = static_cast<char>(upper & 0xFF);
        }
        i += 2;
    }
}

void UpperCaseUtf8InPlace(std::string& text) {
    std::string encoded;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            text[i] = FoldAscii(text[i]);
            ++i;
            continue;
        }
        const std::size_t start = i;
        const char32_t character = DecodeUtf8(text, i);
        if (character > 0xFFFF) continue;
        const std::uint16_t upper = UpperOf(cp932::kUpperCaseCharacters, cp932::kUpperCaseCharacterCount,
                                            static_cast<std::uint16_t>(character));
        if (upper == character) continue;
        encoded.clear();
        AppendUtf8(encoded, upper);
        if (encoded.size() == i - start) text.replace(start, encoded.size(), encoded);
    }
}

}  // namespace kanaroll
