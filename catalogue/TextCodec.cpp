#include "catalogue/TextCodec.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "catalogue/Cp932Table.h"
#include "catalogue/UpperCase.h"

namespace kanaroll {

std::size_t TextCodec::Find(std::string_view haystack, std::string_view needle, std::size_t from) const {
    if (needle.empty() || needle.size() > haystack.size()) return std::string_view::npos;
    // Character boundaries are known only from the start of the text: walk them up to each
    // candidate that the plain byte search offers.
    std::size_t boundary = 0;
    std::size_t candidate = haystack.find(needle, from);
    while (candidate != std::string_view::npos) {
        while (boundary < candidate) boundary = NextCharacter(haystack, boundary);
        if (boundary == candidate) return candidate;
        candidate = haystack.find(needle, candidate + 1);
    }
    return std::string_view::npos;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t DecodeUtf8(std::string_view text, std::size_t& offset) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(offset);
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (first < 0x80) {
        ++offset;
        return first;
    } else if ((first & 0xE0) == 0xC0) {
        length = 2, cp = first & 0x1F, minimum = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3, cp = first & 0x0F, minimum = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4, cp = first & 0x07, minimum = 0x10000;
    } else {
        ++offset;
        return 0xFFFD;
    }
    if (offset + length > text.size()) {
        ++offset;
        return 0xFFFD;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(offset + i);
        if ((next & 0xC0) != 0x80) {
            ++offset;
            return 0xFFFD;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++offset;
        return 0xFFFD;
    }
    offset += length;
    return cp;
}

namespace {

std::array<bool, 256> ShiftJisLeadBytes() {
    std::array<bool, 256> lead{};
    for (int b = 0x81; b <= 0x9F; ++b) lead[b] = true;
    for (int b = 0xE0; b <= 0xFC; ++b) lead[b] = true;
    return lead;
}

class ShiftJis final : public TextCodec {
public:
    ShiftJis() : TextCodec(ShiftJisLeadBytes()) {}

    unsigned CodePage() const override { return 932; }
    void UpperCaseInPlace(std::string& text) const override { UpperCaseShiftJisInPlace(text); }
    bool RestUpperCaseStartsWith(std::string_view text, std::string_view upperPrefix) const override {
        return ShiftJisUpperCaseStartsWith(text, upperPrefix);
    }

    void AppendToUtf8(std::string_view text, std::string& out) const override {
        // A character takes at most three bytes in UTF-8 for each of its bytes here (a half-width
        // kana takes three for one).
        const std::size_t start = out.size();
        out.resize(start + text.size() * 3);
        char* next = out.data() + start;
        for (std::size_t i = 0; i < text.size();) {
            const auto b = static_cast<unsigned char>(text[i]);
            if (b < 0x80) {
                *next++ = static_cast<char>(b);
                ++i;
                continue;
            }
            const char32_t cp = DecodeCharacter(text, i);  // below 0x10000: two or three bytes
            if (cp < 0x800) {
                *next++ = static_cast<char>(0xC0 | (cp >> 6));
            } else {
                *next++ = static_cast<char>(0xE0 | (cp >> 12));
                *next++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            }
            *next++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
        out.resize(static_cast<std::size_t>(next - out.data()));
    }

    char32_t DecodeCharacter(std::string_view text, std::size_t& offset) const override {
        const auto b = static_cast<unsigned char>(text[offset]);
        const int row = cp932::LeadRow(b);
        if (row < 0) {
            ++offset;
            if (b < 0x80) return b;
            const char32_t cp = cp932::kSingleByte[b - 0x80];
            return cp ? cp : 0xFFFD;
        }
        const int trail = offset + 1 < text.size() ? static_cast<unsigned char>(text[offset + 1]) : -1;
        const char32_t cp = trail >= cp932::kTrailFirst
                                ? cp932::kDoubleByte[row * cp932::kTrailsPerLead + trail - cp932::kTrailFirst]
                                : 0;
        offset += cp ? 2 : 1;
        return cp ? cp : 0xFFFD;
    }

    void AppendFromUtf8(std::string_view utf8, std::string& out) const override {
        const auto& codes = BmpCodes();
        // No character takes more bytes in Shift-JIS than in UTF-8, and a byte that is no character
        // becomes one "?": the text never grows.
        const std::size_t start = out.size();
        out.resize(start + utf8.size());
        char* next = out.data() + start;
        for (std::size_t i = 0; i < utf8.size();) {
            const unsigned char first = static_cast<unsigned char>(utf8[i]);
            if (first < 0x80) {
                *next++ = static_cast<char>(first);
                ++i;
                continue;
            }
            char32_t cp;
            if ((first & 0xF0) == 0xE0 && i + 2 < utf8.size() && (utf8[i + 1] & 0xC0) == 0x80 &&
                (utf8[i + 2] & 0xC0) == 0x80) {
                // Three bytes: every kana and kanji. Decoded here, without a call per character;
                // what is no character (too long a form, a surrogate) is left to the full decoder.
                cp = static_cast<char32_t>(((first & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) |
                                           (utf8[i + 2] & 0x3F));
                if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
                    i += 3;
                } else {
                    cp = DecodeUtf8(utf8, i);
                }
            } else {
                cp = DecodeUtf8(utf8, i);
            }
            const std::uint16_t code = cp < codes.size() ? codes[cp] : 0;
            if (code == 0) {
                *next++ = '?';
            } else if (code > 0xFF) {
                *next++ = static_cast<char>(code >> 8);
                *next++ = static_cast<char>(code & 0xFF);
            } else {
                *next++ = static_cast<char>(code);
            }
        }
        out.resize(static_cast<std::size_t>(next - out.data()));
    }

private:
    // The code of every character of the Basic Multilingual Plane, 0 for none (code page 932 holds
    // nothing beyond it): one look-up per character, for writing whole UTF-8 lists in Shift-JIS.
    static const std::vector<std::uint16_t>& BmpCodes() {
        static const std::vector<std::uint16_t> codes = [] {
            std::vector<std::uint16_t> table(0x10000, 0);
            for (const auto& [cp, code] : EncodeTable())
                if (cp < table.size()) table[cp] = code;
            return table;
        }();
        return codes;
    }

    // Unicode to code, sorted by code point; built once on first use.
    static const std::vector<std::pair<char32_t, std::uint16_t>>& EncodeTable() {
        static const std::vector<std::pair<char32_t, std::uint16_t>> table = [] {
            std::vector<std::pair<char32_t, std::uint16_t>> entries;
            for (int b = 0x80; b < 0x100; ++b) {
                if (cp932::LeadRow(static_cast<unsigned char>(b)) < 0 && cp932::kSingleByte[b - 0x80])
                    entries.emplace_back(cp932::kSingleByte[b - 0x80], static_cast<std::uint16_t>(b));
            }
            const auto* secondaryEnd = cp932::kSecondaryCodes + cp932::kSecondaryCodeCount;
            for (int lead = 0x81; lead <= 0xFC; ++lead) {
                const int row = cp932::LeadRow(static_cast<unsigned char>(lead));
                if (row < 0) continue;
                for (int trail = cp932::kTrailFirst; trail < 0x100; ++trail) {
                    const char32_t cp =
                        cp932::kDoubleByte[row * cp932::kTrailsPerLead + trail - cp932::kTrailFirst];
                    const auto code = static_cast<std::uint16_t>((lead << 8) | trail);
                    if (!cp || std::find(cp932::kSecondaryCodes, secondaryEnd, code) != secondaryEnd)
                        continue;
                    entries.emplace_back(cp, code);
                }
            }
            // Last, so that a character with a code of its own keeps that code.
            for (std::size_t i = 0; i < cp932::kAlternateCount; ++i)
                entries.emplace_back(cp932::kAlternates[i].codePoint, cp932::kAlternates[i].code);
            std::stable_sort(entries.begin(), entries.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            entries.erase(std::unique(entries.begin(), entries.end(),
                                      [](const auto& a, const auto& b) { return a.first == b.first; }),
                          entries.end());
            return entries;
        }();
        return table;
    }
};

class Utf8 final : public TextCodec {
public:
    Utf8() : TextCodec(std::array<bool, 256>{}) {}

    unsigned CodePage() const override { return 65001; }
    void UpperCaseInPlace(std::string& text) const override { UpperCaseUtf8InPlace(text); }
    bool RestUpperCaseStartsWith(std::string_view text, std::string_view upperPrefix) const override {
        return Utf8UpperCaseStartsWith(text, upperPrefix);
    }
    void AppendToUtf8(std::string_view text, std::string& out) const override { out.append(text); }
    void AppendFromUtf8(std::string_view utf8, std::string& out) const override { out.append(utf8); }
    char32_t DecodeCharacter(std::string_view text, std::size_t& offset) const override {
        return DecodeUtf8(text, offset);
    }
};

}  // namespace

const TextCodec& ShiftJisCodec() {
    static const ShiftJis codec;
    return codec;
}

const TextCodec& Utf8Codec() {
    static const Utf8 codec;
    return codec;
}

}  // namespace kanaroll
