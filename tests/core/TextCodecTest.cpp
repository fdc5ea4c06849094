#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/TextCodec.h"

namespace kanaroll {
namespace {

const std::string kZa = "\x83\x55";  // ザ: its second byte is 'U'

TEST(ShiftJisCodec, ConvertsBothWaysByCodePage932) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(sjis.FromUtf8("日本版"), "\x93\xfa\x96\x7b\x94\xc5");
    EXPECT_EQ(sjis.ToUtf8("\x93\xfa\x96\x7b\x94\xc5"), "日本版");
    EXPECT_EQ(sjis.FromUtf8("ｱ～"), "\xb1\x81\x60");  // half-width kana, and the wave dash of code page 932
    EXPECT_EQ(sjis.ToUtf8("\x81\x60"), "～");
    EXPECT_EQ(sjis.FromUtf8("①"), "\x87\x40");
    EXPECT_EQ(sjis.ToUtf8("\xee\xf9\xfa\x54"), "￢￢");
    EXPECT_EQ(sjis.FromUtf8("￢"), "\x81\xca");  // one character, three codes: written as Windows writes it
    EXPECT_EQ(sjis.FromUtf8("中文한국어é"), "\x92\x86\x95\xb6????");
    EXPECT_EQ(sjis.ToUtf8("a\x81"), "a\xEF\xBF\xBD");  // a lead byte at the end
}

// Characters with several codes are written as Windows' WideCharToMultiByte writes them: JIS X
// 0208's code, else NEC's row 13, else the IBM extension, never NEC's copy of the IBM extensions.
TEST(ShiftJisCodec, WritesTheCodeWindowsWrites) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(sjis.FromUtf8("∵≒Ⅰ№"), "\x81\xe6\x81\xe0\x87\x54\x87\x82");
    EXPECT_EQ(sjis.FromUtf8("ⅰ纊髙￤＇＂"), "\xfa\x40\xfa\x5c\xfb\xfc\xfa\x55\xfa\x56\xfa\x57");
    // NEC's copies still read as their characters.
    EXPECT_EQ(sjis.ToUtf8("\xee\xef\xed\x40\xee\xe0\xee\xfa"), "ⅰ纊髙￤");
    // Every code that decodes comes back from UTF-8 as a code of the same character.
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = sjis.ToUtf8(code);
            if (utf8.find("\xEF\xBF\xBD") != std::string::npos) continue;
            ASSERT_EQ(sjis.ToUtf8(sjis.FromUtf8(utf8)), utf8) << std::hex << lead << ' ' << trail;
        }
    }
}

// Converters that follow JIS X 0208 (iconv's SHIFT_JIS, EUC-JP, Java) decode these codes as other
// characters, and UTF-8 lists made with them hold those: "£" for "￡" and the rest of the family.
TEST(ShiftJisCodec, TakesTheCharactersOtherConvertersGiveForItsCodes) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(sjis.FromUtf8("£¢¬‖−〜—"), "\x81\x92\x81\x91\x81\xca\x81\x61\x81\x7c\x81\x60\x81\x5c");
    EXPECT_EQ(sjis.FromUtf8("¥‾"), "\\~");
    EXPECT_EQ(sjis.ToUtf8(sjis.FromUtf8("£100〜")), "￡100～");
    // A character code page 932 has no code for still becomes "?".
    EXPECT_EQ(sjis.FromUtf8("¦é"), "??");
}

TEST(TextCodec, DecodesOneCharacterAtATime) {
    const std::string text = "a" + Sjis("ア") + "\xb1\x85\x40\x81";
    std::vector<char32_t> decoded;
    for (std::size_t offset = 0; offset < text.size();)
        decoded.push_back(ShiftJisCodec().DecodeCharacter(text, offset));
    // 0x85 0x40 is no character: the lead byte gives U+FFFD and its second byte reads as itself.
    EXPECT_EQ(decoded, (std::vector<char32_t>{U'a', U'ア', U'ｱ', 0xFFFD, U'@', 0xFFFD}));
    std::size_t offset = 1;
    EXPECT_EQ(Utf8Codec().DecodeCharacter("aア", offset), U'ア');
    EXPECT_EQ(offset, 4u);
}

// A sequence that is no character gives a "?" for each of its bytes; only whole characters count
// as one.
TEST(ShiftJisCodec, TurnsEachByteOfBrokenUtf8IntoAQuestionMark) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(sjis.FromUtf8("\xE0\x80\x80"), "???");  // too long a form of U+0000
    EXPECT_EQ(sjis.FromUtf8("\xED\xA0\x80"), "???");  // a surrogate
    EXPECT_EQ(sjis.FromUtf8("\xE3\x81"
                            "A"),
              "??A");  // cut short by a byte that begins a character
    EXPECT_EQ(sjis.FromUtf8("\xE3\x81\x82\xE3\x81"), "\x82\xa0??");  // "あ", then a cut at the end
    EXPECT_EQ(sjis.FromUtf8("\xEF\xBF\xBD"), "?");                   // U+FFFD itself is one character
}

TEST(TextCodec, UpperCasesAsciiButNotSecondBytes) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(sjis.ToUpper("pacman" + Sjis("ア") + "x"), "PACMAN" + Sjis("ア") + "X");
    // 0x83 0x61 is a character whose second byte looks like 'a'.
    EXPECT_EQ(sjis.ToUpper("a\x83\x61"
                           "a"),
              "A\x83\x61"
              "A");
    EXPECT_EQ(Utf8Codec().ToUpper("é-abc"), "é-ABC");
}

TEST(TextCodec, FindSkipsCandidatesOnSecondBytes) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(sjis.Find(kZa + "S", "US"), std::string::npos);
    EXPECT_EQ(sjis.Find(kZa + "US", "US"), 2u);
    EXPECT_EQ(sjis.Find("abcabc", "c", 3), 5u);
    EXPECT_EQ(sjis.Find("abc", ""), std::string::npos);
    EXPECT_EQ(Utf8Codec().Find("ザUS", "US"), 3u);
}

}  // namespace
}  // namespace kanaroll
