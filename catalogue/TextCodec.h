#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kanaroll {

// Everything that depends on how the catalogue's bytes encode characters. Texts of the catalogue,
// the rules and the files are byte strings in one codec; the algorithms on top (search, upper-casing,
// byte limits) only ask the codec which bytes lead a two-byte character.
//
// For Shift-JIS (code page 932) the lead bytes are 0x81-0x9F and 0xE0-0xFC, and a second byte may
// look like ASCII, so searches must skip positions that fall on a second byte. For UTF-8 no byte is
// such a lead byte: every byte of a multi-byte sequence is 0x80 or above, so an ASCII byte always
// stands for itself and the same algorithms stay sound with a plain byte search.
class TextCodec {
public:
    virtual ~TextCodec() = default;
    TextCodec(const TextCodec&) = delete;
    TextCodec& operator=(const TextCodec&) = delete;

    // The Windows code page that converts this codec's bytes at the control boundary.
    virtual unsigned CodePage() const = 0;

    // Conversion to and from UTF-8. Characters the codec cannot hold become '?', and bytes that
    // form no character decode as U+FFFD. Shift-JIS converts as Windows' code page 932 does, and
    // also takes the characters that other converters give for its codes ("£" for "￡").
    std::string FromUtf8(std::string_view utf8) const {
        std::string out;
        AppendFromUtf8(utf8, out);
        return out;
    }
    std::string ToUtf8(std::string_view text) const {
        std::string out;
        AppendToUtf8(text, out);
        return out;
    }
    // FromUtf8 and ToUtf8 appended to `out`, which a caller converting many texts can keep and reuse.
    virtual void AppendFromUtf8(std::string_view utf8, std::string& out) const = 0;
    virtual void AppendToUtf8(std::string_view text, std::string& out) const = 0;
    // The code point of the character that starts at `offset`, which moves past it; bytes that form
    // no character give U+FFFD and move on by one byte, as ToUtf8 reads them.
    virtual char32_t DecodeCharacter(std::string_view text, std::size_t& offset) const = 0;

    bool IsLeadByte(unsigned char byte) const { return m_leadBytes[byte]; }

    // A copy upper-cased as a Japanese Windows upper-cases code page 932 text: ASCII a-z (never a
    // byte that is the second byte of a two-byte character), full-width Latin, Greek, Cyrillic and
    // the small Roman numerals; UTF-8 folds the same characters. The length never changes.
    std::string ToUpper(std::string_view text) const {
        std::string upper(text);
        UpperCaseInPlace(upper);
        return upper;
    }
    // ToUpper(text).starts_with(upperPrefix), without the copy: for a search that tests many texts
    // against one prefix, upper-cased once. ASCII bytes stand for themselves in both codecs, so the
    // ASCII start of a text, which decides most texts, is compared here without a call.
    bool UpperCaseStartsWith(std::string_view text, std::string_view upperPrefix) const {
        if (text.size() < upperPrefix.size()) return false;
        std::size_t i = 0;
        for (; i < upperPrefix.size() && static_cast<unsigned char>(text[i]) < 0x80; ++i) {
            const char c = text[i];
            if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c) != upperPrefix[i]) return false;
        }
        return i == upperPrefix.size() || RestUpperCaseStartsWith(text.substr(i), upperPrefix.substr(i));
    }

    // Byte offset of the first occurrence of needle in haystack, at or after `from`, that does not
    // start on the second byte of a two-byte character; npos when there is none or needle is empty.
    std::size_t Find(std::string_view haystack, std::string_view needle, std::size_t from = 0) const;

    // Offset just past the character that starts at `offset` (a lead byte at the very end counts
    // as a character of its own).
    std::size_t NextCharacter(std::string_view text, std::size_t offset) const {
        return offset +
               (IsLeadByte(static_cast<unsigned char>(text[offset])) && offset + 1 < text.size() ? 2 : 1);
    }

protected:
    explicit TextCodec(const std::array<bool, 256>& leadBytes) : m_leadBytes(leadBytes) {}

    virtual void UpperCaseInPlace(std::string& text) const = 0;
    // UpperCaseStartsWith from the first byte beyond ASCII, where a character starts.
    virtual bool RestUpperCaseStartsWith(std::string_view text, std::string_view upperPrefix) const = 0;

private:
    std::array<bool, 256> m_leadBytes;
};

// Code page 932, the codec of every file Kanaroll has always written.
const TextCodec& ShiftJisCodec();
// UTF-8, for name lists that are kept in UTF-8.
const TextCodec& Utf8Codec();

// Shorthands for program texts written in the sources (UTF-8) that must meet catalogue text.
inline std::string Sjis(std::string_view utf8) {
    return ShiftJisCodec().FromUtf8(utf8);
}

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);
// Decodes the code point at `offset` and advances it; malformed input gives U+FFFD and one byte.
char32_t DecodeUtf8(std::string_view text, std::size_t& offset);

}  // namespace kanaroll
