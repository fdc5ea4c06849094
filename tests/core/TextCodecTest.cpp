#include <gtest/gtest.h>

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
