// The Shift-JIS codec against the system's own code page 932: every code and every character of the
// Basic Multilingual Plane, converted by the codec and by MultiByteToWideChar and WideCharToMultiByte.
#include <windows.h>

#include <gtest/gtest.h>
#include <map>
#include <string>

#include "catalogue/TextCodec.h"

namespace kanaroll {
namespace {

std::string Utf8Of(char32_t c) {
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

// The bytes Windows writes for `c`, or "?" when it has no code for it.
std::string WindowsCode(char32_t c, DWORD flags) {
    const wchar_t wide = static_cast<wchar_t>(c);
    char bytes[4] = {};
    BOOL defaultUsed = FALSE;
    const int size = WideCharToMultiByte(932, flags, &wide, 1, bytes, sizeof bytes, nullptr, &defaultUsed);
    return size <= 0 || defaultUsed ? "?" : std::string(bytes, static_cast<std::size_t>(size));
}

bool IsLead(int byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(Cp932Table, DecodesEveryCodeAsWindowsDoes) {
    const TextCodec& sjis = ShiftJisCodec();
    int compared = 0;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (IsLead(byte)) continue;
        const char text = static_cast<char>(byte);
        wchar_t wide = 0;
        // Without MB_ERR_INVALID_CHARS, which refuses 0xA0 and 0xFD to 0xFF although they have
        // characters of their own.
        ASSERT_EQ(MultiByteToWideChar(932, 0, &text, 1, &wide, 1), 1);
        std::size_t offset = 0;
        EXPECT_EQ(sjis.DecodeCharacter(std::string_view(&text, 1), offset), static_cast<char32_t>(wide))
            << std::hex << byte;
        ++compared;
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) continue;
        for (int trail = 0x40; trail <= 0xFF; ++trail) {
            const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide = 0;
            const bool valid = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, code, 2, &wide, 1) == 1;
            std::size_t offset = 0;
            const char32_t decoded = sjis.DecodeCharacter(std::string_view(code, 2), offset);
            // Where Windows has no character, the codec decodes the lead byte alone as U+FFFD.
            EXPECT_EQ(offset == 2 ? decoded : 0, valid ? static_cast<char32_t>(wide) : 0)
                << std::hex << lead << ' ' << trail;
            ++compared;
        }
    }
    EXPECT_EQ(compared, 128 - 60 + 60 * 192);
}

// Windows writes a character with several codes by one of them, and the codec the same one. Beyond
// what Windows writes exactly, the codec takes the characters that converters following JIS X 0208
// give for nine of its codes; Windows' best fit writes four of them the same way.
TEST(Cp932Table, EncodesEveryCharacterAsWindowsDoes) {
    const std::map<char32_t, std::string> alternates{
        {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00A5, "\\"},
        {0x00AC, "\x81\xCA"}, {0x2014, "\x81\x5C"}, {0x2016, "\x81\x61"},
        {0x203E, "~"},        {0x2212, "\x81\x7C"}, {0x301C, "\x81\x60"},
    };
    const TextCodec& sjis = ShiftJisCodec();
    int writable = 0;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::string ours = sjis.FromUtf8(Utf8Of(c));
        const auto alternate = alternates.find(c);
        if (alternate != alternates.end()) {
            EXPECT_EQ(ours, alternate->second) << std::hex << static_cast<unsigned>(c);
            EXPECT_EQ(WindowsCode(c, WC_NO_BEST_FIT_CHARS), "?");
            const std::string bestFit = WindowsCode(c, 0);
            if (bestFit != "?") {
                EXPECT_EQ(ours, bestFit) << std::hex << static_cast<unsigned>(c);
            }
            continue;
        }
        ASSERT_EQ(ours, WindowsCode(c, WC_NO_BEST_FIT_CHARS)) << std::hex << static_cast<unsigned>(c);
        if (ours != "?") ++writable;
    }
    // JIS X 0208, NEC's and IBM's additions, half-width kana and the 1,880 user-defined characters.
    EXPECT_EQ(writable, 9274);
}

}  // namespace
}  // namespace kanaroll
