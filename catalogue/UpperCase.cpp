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

// The upper case of the two-byte character `lead`, `trail`, by its code.
std::uint16_t UpperShiftJisCode(unsigned char lead, char trail, const std::array<bool, 256>& letterLeads) {
    const auto code = static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(trail));
    return letterLeads[lead] ? UpperOf(cp932::kUpperCaseCodes, cp932::kUpperCaseCodeCount, code) : code;
}

// The UTF-8 character beyond ASCII that starts at `i`, upper-cased; `i` moves past it. `storage`
// holds the bytes when they changed. Bytes that form no character come back as they are, and so
// does a character whose upper case would take another number of bytes.
std::string_view UpperUtf8Character(std::string_view text, std::size_t& i, std::string& storage) {
    const std::size_t start = i;
    const char32_t character = DecodeUtf8(text, i);
    const std::string_view bytes = text.substr(start, i - start);
    if (character > 0xFFFF) return bytes;
    const std::uint16_t upper = UpperOf(cp932::kUpperCaseCharacters, cp932::kUpperCaseCharacterCount,
                                        static_cast<std::uint16_t>(character));
    if (upper == character) return bytes;
    storage.clear();
    AppendUtf8(storage, upper);
    return storage.size() == bytes.size() ? std::string_view(storage) : bytes;
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
        const std::uint16_t upper = UpperShiftJisCode(byte, text[i + 1], letterLeads);
        text[i] = static_cast<char>(upper >> 8);
        text[i + 1] = static_cast<char>(upper & 0xFF);
        i += 2;
    }
}

void UpperCaseUtf8InPlace(std::string& text) {
    std::string storage;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            text[i] = FoldAscii(text[i]);
            ++i;
            continue;
        }
        const std::size_t start = i;
        const std::string_view upper = UpperUtf8Character(text, i, storage);
        if (upper.data() != text.data() + start) std::copy(upper.begin(), upper.end(), text.begin() + start);
    }
}

// Each walks the text's characters only as far as the prefix reaches, and most ZIP names differ
// from a typed prefix in their first byte: the type-ahead search asks this of every game in turn.
bool ShiftJisUpperCaseStartsWith(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size()) return false;
    const TextCodec& codec = ShiftJisCodec();
    const auto& letterLeads = LetterLeadBytes();
    for (std::size_t i = 0; i < upperPrefix.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!codec.IsLeadByte(byte) || i + 1 == text.size()) {
            if (FoldAscii(text[i]) != upperPrefix[i]) return false;
            ++i;
            continue;
        }
        const std::uint16_t upper = UpperShiftJisCode(byte, text[i + 1], letterLeads);
        if (static_cast<char>(upper >> 8) != upperPrefix[i]) return false;
        // A prefix may end inside a character: its first byte is all it asks about.
        if (i + 1 < upperPrefix.size() && static_cast<char>(upper & 0xFF) != upperPrefix[i + 1]) return false;
        i += 2;
    }
    return true;
}

bool Utf8UpperCaseStartsWith(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size()) return false;
    std::string storage;
    for (std::size_t i = 0; i < upperPrefix.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            if (FoldAscii(text[i]) != upperPrefix[i]) return false;
            ++i;
            continue;
        }
        const std::size_t start = i;
        const std::string_view upper = UpperUtf8Character(text, i, storage);
        const std::size_t compared = std::min(upper.size(), upperPrefix.size() - start);
        if (upper.substr(0, compared) != upperPrefix.substr(start, compared)) return false;
    }
    return true;
}

}  // namespace kanaroll
