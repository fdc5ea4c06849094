// Letter case as a Japanese Windows folds code page 932 text: ASCII, full-width Latin, Greek,
// Cyrillic and the small Roman numerals, by the program's own table and never by the machine's
// code page; the same letters in a UTF-8 catalogue. The replace rules and the game list's
// type-ahead search both match by it; the sort does not (it folds a-z only).
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/Cp932UpperTable.h"
#include "catalogue/GameList.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/GameOrder.h"
#include "replace/TitleReplace.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kanaroll {
namespace {

// Lower case and upper case, one character of each kind that folds, then some that do not: kana,
// kanji, symbols, half-width katakana, the full-width digits, and letters that code page 932 has
// only in upper case or not at all.
const std::string kLower = "aｕｓαωаяёⅰⅹ";
const std::string kUpper = "AＵＳΑΩАЯЁⅠⅩ";
const std::string kUnfolded = "ぁアｧ漢①№１ÅＡΣ";

TEST(LetterCase, ShiftJisFoldsTheLettersOfCodePage932) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(sjis.ToUpper(Sjis(kLower)), Sjis(kUpper));
    EXPECT_EQ(sjis.ToUpper(Sjis(kUpper)), Sjis(kUpper));
    EXPECT_EQ(sjis.ToUpper(Sjis(kUnfolded)), Sjis(kUnfolded));
    // The small Roman numerals have two codes each, NEC's and IBM's; both fold to the one code page
    // 932 writes for the capital numeral.
    EXPECT_EQ(sjis.ToUpper("\xEE\xEF\xFA\x40\xFA\x49"), "\x87\x54\x87\x54\x87\x5D");
}

TEST(LetterCase, ShiftJisFoldsWholeCharactersOnly) {
    const TextCodec& sjis = ShiftJisCodec();
    // 0x82 0x81 is "ａ" only where 0x82 leads: after the lead byte 0x81 the 0x82 is a second byte,
    // and the 0x81 that follows stands alone.
    EXPECT_EQ(sjis.ToUpper("\x81\x82\x81"), "\x81\x82\x81");
    EXPECT_EQ(sjis.ToUpper("a\x82\x81"
                           "a\x82"),
              "A\x82\x60"
              "A\x82");  // a lead byte at the end stays
    const std::string mixed = Sjis("ｓｏｎｉｃ") + "\x83";
    EXPECT_EQ(sjis.ToUpper(mixed).size(), mixed.size());
}

TEST(LetterCase, Utf8FoldsTheSameLetters) {
    const TextCodec& utf8 = Utf8Codec();
    EXPECT_EQ(utf8.ToUpper(kLower), kUpper);
    EXPECT_EQ(utf8.ToUpper(kUnfolded), kUnfolded);
    // Letters beyond code page 932 are left as they are, as are bytes that form no character.
    EXPECT_EQ(utf8.ToUpper("éςǆ\xCE\xFF"
                           "a"),
              "éςǆ\xCE\xFF"
              "A");
    EXPECT_EQ(utf8.ToUpper("\xEF\xBD"), "\xEF\xBD");  // half of "ｕ"
}

TEST(LetterCase, TheTableKeepsLengthsAndIsSorted) {
    ASSERT_GT(cp932::kUpperCaseCodeCount, 100u);
    for (std::size_t i = 0; i < cp932::kUpperCaseCodeCount; ++i) {
        const cp932::UpperCasePair pair = cp932::kUpperCaseCodes[i];
        if (i > 0) {
            EXPECT_LT(cp932::kUpperCaseCodes[i - 1].lower, pair.lower);
        }
        // Both are characters of code page 932 that lead with a lead byte, and both come back as
        // the table's characters in UTF-8.
        const std::string lower{static_cast<char>(pair.lower >> 8), static_cast<char>(pair.lower & 0xFF)};
        const std::string upper{static_cast<char>(pair.upper >> 8), static_cast<char>(pair.upper & 0xFF)};
        EXPECT_TRUE(ShiftJisCodec().IsLeadByte(static_cast<unsigned char>(upper[0])));
        const std::string lowerUtf8 = ShiftJisCodec().ToUtf8(lower);
        const std::string upperUtf8 = ShiftJisCodec().ToUtf8(upper);
        EXPECT_EQ(Utf8Codec().ToUpper(lowerUtf8), upperUtf8) << std::hex << pair.lower;
        EXPECT_EQ(lowerUtf8.size(), upperUtf8.size());
        EXPECT_EQ(ShiftJisCodec().FromUtf8(upperUtf8), upper);
    }
    for (std::size_t i = 1; i < cp932::kUpperCaseCharacterCount; ++i) {
        EXPECT_LT(cp932::kUpperCaseCharacters[i - 1].lower, cp932::kUpperCaseCharacters[i].lower);
    }
}

TEST(LetterCase, ReplaceRulesMatchFullWidthAndGreekLettersInAnyCase) {
    const TextCodec& sjis = ShiftJisCodec();
    EXPECT_EQ(ReplaceAllIgnoreCase(Sjis("Title (ｕｓ)"), Sjis("ＵＳ"), Sjis("米国版"), sjis),
              Sjis("Title (米国版)"));
    EXPECT_EQ(ReplaceAllIgnoreCase(Sjis("Title (Ｕｓ) ｕＳ"), Sjis("ｕｓ"), "x", sjis), Sjis("Title (x) x"));
    // What lies between the matches keeps its own case.
    EXPECT_EQ(ReplaceAllIgnoreCase(Sjis("αβγ ΑΒΓ ⅱ"), Sjis("ΒΓ"), "-", sjis), Sjis("α- Α- ⅱ"));
    EXPECT_EQ(ApplyRulesToTitle(Sjis("Ｔｉｔｌｅ (ｊａｐａｎ)"), {{Sjis("ＪＡＰＡＮ"), Sjis("日本版"), true}},
                                sjis),
              Sjis("Ｔｉｔｌｅ (日本版)"));
    EXPECT_EQ(ReplaceAllIgnoreCase("Title (ｕｓ)", "ＵＳ", "米国版", Utf8Codec()), "Title (米国版)");
}

GameList ZipNames(std::initializer_list<std::string> zipNames) {
    GameList games;
    for (const std::string& zipName : zipNames) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = zipName;
        games.Append(std::move(game));
    }
    return games;
}

TEST(LetterCase, TheTypeAheadSearchFoldsTheSameLetters) {
    const GameList sjis = ZipNames({"pacman", Sjis("ｓｏｎｉｃ"), Sjis("ΣΩ")});
    EXPECT_EQ(FindZipPrefix(sjis, Sjis("ＳＯ"), 0, true, ShiftJisCodec()), 1);
    EXPECT_EQ(FindZipPrefix(sjis, Sjis("σω"), 0, true, ShiftJisCodec()), 2);
    EXPECT_EQ(FindZipPrefix(sjis, Sjis("ｐ"), 0, true, ShiftJisCodec()), -1);  // not the same letter as p
    const GameList utf8 = ZipNames({"pacman", "ｓｏｎｉｃ"});
    EXPECT_EQ(FindZipPrefix(utf8, "ＳＯＮ", 0, true, Utf8Codec()), 1);
}

// The search tests each ZIP name against the typed text without upper-casing a copy of the name;
// it must answer as the copy would, also where the typed text ends inside a character and where
// the bytes form no character.
TEST(LetterCase, ThePrefixTestAnswersAsTheUpperCasedCopyWould) {
    const std::vector<std::string> sjisPieces = {"a",        "Z",        Sjis("ｕ"), Sjis("Ｕ"),
                                                 Sjis("ω"),  Sjis("ⅰ"),  Sjis("ア"), "\x82",
                                                 "\x81\x82", "\xEE\xEF", "\xFA\x40"};
    const std::vector<std::string> utf8Pieces = {"a",  "Z", "ｕ",   "Ｕ",       "ω",   "ⅰ",
                                                 "ア", "ё", "\xCE", "\xEF\xBD", "\xFF"};
    std::mt19937 random(932);
    for (const auto& [codec, pieces] :
         {std::pair{&ShiftJisCodec(), sjisPieces}, std::pair{&Utf8Codec(), utf8Pieces}}) {
        const auto text = [&](int most) {
            std::string made;
            for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n)
                made += pieces[random() % pieces.size()];
            return made;
        };
        for (int round = 0; round < 3000; ++round) {
            const std::string name = text(5);
            const std::string upperName = codec->ToUpper(name);
            // Typed text of its own, and every prefix of the name's upper case, as it is and with its
            // last byte changed.
            std::vector<std::string> prefixes = {codec->ToUpper(text(3))};
            for (std::size_t length = 0; length <= upperName.size(); ++length) {
                prefixes.push_back(upperName.substr(0, length));
                if (length > 0) prefixes.push_back(prefixes.back().substr(0, length - 1) + "A");
            }
            for (const std::string& prefix : prefixes)
                ASSERT_EQ(codec->UpperCaseStartsWith(name, prefix), upperName.starts_with(prefix))
                    << "code page " << codec->CodePage() << ": " << ::testing::PrintToString(name) << " "
                    << ::testing::PrintToString(prefix);
        }
    }
}

// The sort keeps its own rule: a-z byte by byte, so "ｂ" still sorts after "Ｃ" by its code.
TEST(LetterCase, TheSortDoesNotFoldBeyondAscii) {
    EXPECT_GT(CompareText(Sjis("ｂ"), Sjis("Ｃ")), 0);
    EXPECT_NE(CompareText(Sjis("ａ"), Sjis("Ａ")), 0);
}

#ifdef _WIN32
// The table against the system: each two-byte character of code page 932 upper-cased by Windows
// (CharUpperBuffW) and written back in code page 932, where the result is another character of two
// bytes, is the table's pair; every other character has none.
TEST(LetterCase, TheTableIsWhatWindowsDoes) {
    std::size_t pairs = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!ShiftJisCodec().IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            wchar_t wide[2] = {};
            if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, code, 2, wide, 2) != 1) continue;
            const wchar_t character = wide[0];
            CharUpperBuffW(wide, 1);
            std::string expected(code, 2);
            if (wide[0] != character) {
                char back[4] = {};
                BOOL lossy = FALSE;
                const int length = WideCharToMultiByte(932, 0, wide, 1, back, sizeof back, nullptr, &lossy);
                if (length == 2 && !lossy) {
                    expected.assign(back, 2);
                    ++pairs;
                }
            }
            EXPECT_EQ(ShiftJisCodec().ToUpper(std::string(code, 2)), expected) << std::hex << lead << trail;
        }
    }
    EXPECT_EQ(pairs, cp932::kUpperCaseCodeCount);
}
#endif

}  // namespace
}  // namespace kanaroll
