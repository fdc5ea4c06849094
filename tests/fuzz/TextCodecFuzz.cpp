// The input is any text. For both codecs ToUpper and Find must agree with a plain walk over the
// characters (ToUpper with the letter table looked up pair by pair); Shift-JIS to UTF-8 must give well-formed
// UTF-8 that converts back to the same characters, and anything converted to Shift-JIS must be whole
// Shift-JIS characters; the integer conversion must agree with the standard library's digit reading under our
// prefix rules.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Cp932UpperTable.h"
#include "catalogue/IntegerText.h"
#include "catalogue/IoError.h"
#include "catalogue/TextCodec.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

// Which bytes start a character, walking from the first byte.
std::vector<bool> CharacterStarts(std::string_view text, const TextCodec& codec) {
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t at = 0; at < text.size();) {
        starts[at] = true;
        at += codec.IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    }
    return starts;
}

// The upper case that a table of the letters beyond ASCII gives, looked up one pair after another.
std::uint16_t TableUpper(const cp932::UpperCasePair* table, std::size_t count, std::uint32_t lower) {
    for (std::size_t i = 0; i < count; ++i)
        if (table[i].lower == lower) return table[i].upper;
    return 0;
}

// Upper-casing followed character by character: ASCII a-z where a character starts; in Shift-JIS a
// two-byte character by its code, in UTF-8 a well-formed character by its code point, each to the
// table's upper case when it has one.
std::string PlainUpper(std::string_view text, const TextCodec& codec) {
    std::string upper(text);
    const auto starts = CharacterStarts(text, codec);
    const bool utf8 = &codec == &Utf8Codec();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!starts[i]) continue;
        if (byte >= 'a' && byte <= 'z') {
            upper[i] = static_cast<char>(byte - 0x20);
        } else if (!utf8 && codec.IsLeadByte(byte) && i + 1 < text.size()) {
            const std::uint32_t code = byte << 8 | static_cast<unsigned char>(text[i + 1]);
            if (const auto to = TableUpper(cp932::kUpperCaseCodes, cp932::kUpperCaseCodeCount, code)) {
                upper[i] = static_cast<char>(to >> 8);
                upper[i + 1] = static_cast<char>(to & 0xFF);
            }
        } else if (utf8 && byte >= 0x80) {
            std::size_t next = i;
            const char32_t character = DecodeUtf8(text, next);
            const auto to =
                TableUpper(cp932::kUpperCaseCharacters, cp932::kUpperCaseCharacterCount, character);
            std::string encoded;
            if (to) AppendUtf8(encoded, to);
            if (to && encoded.size() == next - i) upper.replace(i, encoded.size(), encoded);
        }
    }
    return upper;
}

void CheckUpperAndFind(std::string_view text, std::string_view needle, std::size_t from,
                       const TextCodec& codec) {
    const auto starts = CharacterStarts(text, codec);
    const std::string upper = codec.ToUpper(text);
    FUZZ_CHECK(upper.size() == text.size());
    FUZZ_CHECK(upper == PlainUpper(text, codec));
    // Upper-casing moves no character boundary, so the search finds the same starts in the copy.
    FUZZ_CHECK(CharacterStarts(upper, codec) == starts);

    std::size_t expected = std::string_view::npos;
    if (!needle.empty())
        for (std::size_t i = from; i + needle.size() <= text.size(); ++i)
            if (starts[i] && text.substr(i).starts_with(needle)) {
                expected = i;
                break;
            }
    FUZZ_CHECK(codec.Find(text, needle, from) == expected);
}

// Well-formed UTF-8: every sequence decodes, and U+FFFD only where it is written out.
bool WellFormedUtf8(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t at = offset;
        const char32_t cp = DecodeUtf8(text, offset);
        FUZZ_CHECK(offset > at && offset <= at + 4 && offset <= text.size());
        if (cp == 0xFFFD && text.substr(at, 3) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

std::optional<std::int32_t> PlainInteger(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) return std::nullopt;
    text.remove_prefix(i);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    int base = 10;
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value > (negative ? 0x80000000ULL : 0x7FFFFFFFULL)) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value)
                                              : static_cast<std::int64_t>(value));
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    const std::string_view text = AsText(data, size);

    // A needle cut from the text itself, and a start offset, chosen by the first bytes.
    const std::size_t start = size > 0 ? data[0] % (size + 1) : 0;
    const std::size_t length = size > 1 ? data[1] % 9 : 0;
    const std::string_view needle = text.substr(start, length);
    const std::size_t from = size > 2 ? data[2] % (size + 1) : 0;
    for (const TextCodec* codec : {&ShiftJisCodec(), &Utf8Codec()}) {
        CheckUpperAndFind(text, needle, from, *codec);
        CheckUpperAndFind(text, codec->ToUpper(needle), 0, *codec);
    }

    const TextCodec& sjis = ShiftJisCodec();
    const std::string utf8 = sjis.ToUtf8(text);
    FUZZ_CHECK(WellFormedUtf8(utf8));
    if (utf8.find("\xEF\xBF\xBD") == std::string::npos) FUZZ_CHECK(sjis.ToUtf8(sjis.FromUtf8(utf8)) == utf8);
    const std::string sjisText = sjis.FromUtf8(text);
    FUZZ_CHECK(sjis.ToUtf8(sjisText).find("\xEF\xBF\xBD") == std::string::npos);
    FUZZ_CHECK(Utf8Codec().ToUtf8(text) == text && Utf8Codec().FromUtf8(text) == text);
    WellFormedUtf8(text);

    const auto line = text.substr(0, text.find('\n'));
    const auto value = TryParseInteger(line);
    FUZZ_CHECK(value == PlainInteger(line));
    bool converted = true;
    try {
        const std::int32_t parsed = ParseInteger(line);
        FUZZ_CHECK(value && parsed == *value);
    } catch (const ConversionError&) {
        converted = false;
    }
    FUZZ_CHECK(converted == value.has_value());
    return 0;
}
