#include <gtest/gtest.h>
#include <string>

#include "catalogue/TextCodec.h"
#include "replace/ReplacePatterns.h"
#include "replace/TitleReplace.h"

namespace kanaroll {
namespace {

std::string Replace(std::string_view text, std::string_view search, std::string_view replacement) {
    return ReplaceAllIgnoreCase(text, search, replacement, ShiftJisCodec());
}

TEST(DefaultReplaceRules, EightRulesInOrderInTheCatalogueCodec) {
    const ReplaceRuleList expected = {
        {"Japan", Sjis("日本版"), true},    {"US", Sjis("米国版"), true},
        {"World", Sjis("海外版"), true},    {"Asia", Sjis("アジア版"), true},
        {"Europe", Sjis("欧州版"), true},   {"bootleg", Sjis("海賊版"), true},
        {"[BET]", Sjis("[メダル]"), false}, {"prototype", Sjis("プロトタイプ"), true},
    };
    EXPECT_EQ(DefaultReplaceRules(), expected);
    EXPECT_EQ(DefaultReplaceRules(ShiftJisCodec()), expected);
    EXPECT_EQ(DefaultReplaceRules()[0].replacementText, "\x93\xfa\x96\x7b\x94\xc5");

    const ReplaceRuleList utf8 = DefaultReplaceRules(Utf8Codec());
    ASSERT_EQ(utf8.size(), 8u);
    EXPECT_EQ(utf8[3], (TReplacePatterns{"Asia", "アジア版", true}));
    EXPECT_EQ(utf8[6], (TReplacePatterns{"[BET]", "[メダル]", false}));
}

TEST(ReplaceAllIgnoreCase, ReplacesEveryMatchInAnyLetterCaseKeepingTheRest) {
    EXPECT_EQ(Replace("Japan JAPAN japan", "japan", "X"), "X X X");
    EXPECT_EQ(Replace("aBcabcABC", "B", "-"), "a-ca-cA-C");  // text between matches keeps its case
    EXPECT_EQ(Replace("Bonus", "US", "!"), "Bon!");
    EXPECT_EQ(Replace("no match", "xyz", "!"), "no match");
    EXPECT_EQ(Replace("cut", "cut", ""), "");
}

TEST(ReplaceAllIgnoreCase, MatchesLeftToRightWithoutOverlapAndNeverSearchesTheReplacement) {
    EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
    EXPECT_EQ(Replace("aaaa", "AA", "b"), "bb");
    EXPECT_EQ(Replace("ab", "a", "aa"), "aab");
    EXPECT_EQ(Replace("xx", "x", "xyx"), "xyxxyx");
    EXPECT_EQ(Replace("US", "us", "usus"), "usus");
}

TEST(ReplaceAllIgnoreCase, EmptyTextOrSearchGivesTheTextUnchanged) {
    EXPECT_EQ(Replace("", "US", "X"), "");
    EXPECT_EQ(Replace("Title", "", "X"), "Title");
    EXPECT_EQ(Replace("", "", "X"), "");
}

TEST(ReplaceAllIgnoreCase, SkipsCandidatesOnSecondBytesOfShiftJis) {
    const std::string za = Sjis("ザ");  // 0x83 0x55: its second byte is 'U'
    EXPECT_EQ(Replace(za + "S", "US", "X"), za + "S");
    EXPECT_EQ(Replace(za + "US" + za + "S", "us", "X"), za + "X" + za + "S");
    // ヂ (0x83 0x61) keeps its second byte when upper-cased, so it is not a match for "a" or "A".
    EXPECT_EQ(Replace(Sjis("ヂ") + "a", "A", "X"), Sjis("ヂ") + "X");
    // Japanese search texts match only whole characters.
    EXPECT_EQ(Replace(Sjis("日本版の日本"), Sjis("日本"), "JP"), "JP" + Sjis("版の") + "JP");
}

TEST(ReplaceAllIgnoreCase, CountsCharacterBoundariesAfreshBehindEachMatch) {
    // A search text that ends in a lead byte (only a settings file can hold one) takes the first
    // byte of a character; the rest after it is searched as a text of its own.
    EXPECT_EQ(Replace("\x83\x83\x83", "\x83", "X"), "XXX");
}

TEST(ReplaceAllIgnoreCase, Utf8TextHasNoSecondBytesThatLookLikeAscii) {
    const TextCodec& utf8 = Utf8Codec();
    EXPECT_EQ(ReplaceAllIgnoreCase("ザUS", "us", "米国版", utf8), "ザ米国版");
    EXPECT_EQ(ReplaceAllIgnoreCase("éclair ÉCLAIR", "éclair", "x", utf8), "x ÉCLAIR");  // only ASCII folds
    EXPECT_EQ(ReplaceAllIgnoreCase("日本版の日本", "日本", "JP", utf8), "JP版のJP");
}

struct TitleCase {
    const char* title;
    const char* expected;
};

// The F3 table with the eight default rules, in UTF-8 here and Shift-JIS in the catalogue.
TEST(ApplyRulesToTitle, DefaultRulesRewriteTheQualifiersOfATitle) {
    const TitleCase cases[] = {
        {"Title (Japan)", "Title (日本版)"},
        {"Title (JAPAN)", "Title (日本版)"},
        {"Title (Japan, US)", "Title (日本版, 米国版)"},
        {"Title (Bonus)", "Title (Bon米国版)"},
        {"Title [BET]", "Title [メダル]"},
        {"Title US", "Title US"},
        {"Japan Title (Japan)", "日本版 Title (日本版)"},
        {"Title (Japan) (US)", "Title (日本版) (US)"},
        {"Title) (Japan)", "Title) (Japan)"},
        {"Japan) Title", "日本版) Title"},
        {"Title (ザS)", "Title (ザS)"},
        {"Title (World, bootleg, prototype)", "Title (海外版, 海賊版, プロトタイプ)"},
        {"Title (Asia) [bet]", "Title (アジア版) [メダル]"},
        {"Title (Europe", "Title (Europe"},
        {"Title ()", "Title ()"},
    };
    const ReplaceRuleList rules = DefaultReplaceRules();
    for (const auto& test : cases) {
        SCOPED_TRACE(test.title);
        EXPECT_EQ(ShiftJisCodec().ToUtf8(ApplyRulesToTitle(Sjis(test.title), rules, ShiftJisCodec())),
                  test.expected);
    }
}

TEST(ApplyRulesToTitle, TheParenthesisedTextIsPutBackWhereverItStands) {
    // The search text is not in the parentheses, yet every occurrence of their text takes their
    // letter case: a change for the caller.
    const ReplaceRuleList us = {{"US", Sjis("米国版"), true}};
    EXPECT_EQ(ApplyRulesToTitle("JAPAN Title (Japan)", us, ShiftJisCodec()), "Japan Title (Japan)");
    // Each rule works on what the rules before it left.
    const ReplaceRuleList chain = {{"a", "b", false}, {"B", "c", true}, {"(c)", "[d]", false}};
    EXPECT_EQ(ApplyRulesToTitle("x (a) a", chain, ShiftJisCodec()), "x [d] c");
}

TEST(ApplyRulesToTitle, NoRulesOrNoTitleLeaveTheTitleAlone) {
    EXPECT_EQ(ApplyRulesToTitle("Title (Japan)", {}, ShiftJisCodec()), "Title (Japan)");
    EXPECT_EQ(ApplyRulesToTitle("", DefaultReplaceRules(), ShiftJisCodec()), "");
    const ReplaceRuleList emptyTexts = {{"", "X", false}, {"", "X", true}, {"Title", "", false}};
    EXPECT_EQ(ApplyRulesToTitle("Title (x)", emptyTexts, ShiftJisCodec()), " (x)");
}

TEST(ApplyRulesToTitle, ALetterCaseChangeIsADifferentTitle) {
    // Whether the title changed is the caller's case-sensitive comparison.
    const ReplaceRuleList upper = {{"japan", "JAPAN", true}};
    const std::string title = "Title (Japan)";
    const std::string result = ApplyRulesToTitle(title, upper, ShiftJisCodec());
    EXPECT_EQ(result, "Title (JAPAN)");
    EXPECT_NE(result, title);
}

TEST(ApplyRulesToTitle, Utf8CatalogueWithJapaneseTitles) {
    const TextCodec& utf8 = Utf8Codec();
    const ReplaceRuleList rules = DefaultReplaceRules(utf8);
    EXPECT_EQ(ApplyRulesToTitle("パックマン (Japan)", rules, utf8), "パックマン (日本版)");
    EXPECT_EQ(ApplyRulesToTitle("ゲーム (ザUS, é)", rules, utf8), "ゲーム (ザ米国版, é)");
    EXPECT_EQ(ApplyRulesToTitle("メダル [BET]", rules, utf8), "メダル [メダル]");
    EXPECT_EQ(ApplyRulesToTitle("（全角） (World)", rules, utf8), "（全角） (海外版)");
}

}  // namespace
}  // namespace kanaroll
