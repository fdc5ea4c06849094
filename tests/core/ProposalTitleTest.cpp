// The parts of the lists' titles and the rewrites of their qualifiers.
#include <gtest/gtest.h>

#include "proposals/QualifierRewrites.h"
#include "proposals/SiblingTitles.h"
#include "proposals/TitleParts.h"

namespace kanaroll::proposals {
namespace {

TEST(TitlePartsTest, HeadQualifierAndMainName) {
    const TitleParts parts = SplitTitle("天地を喰らう / Dynasty Wars (US版, B-Board 89624B-?)");
    EXPECT_EQ(parts.head, "天地を喰らう / Dynasty Wars");
    EXPECT_EQ(parts.qualifier, " (US版, B-Board 89624B-?)");
    EXPECT_EQ(MainName(parts.head), "天地を喰らう");
    EXPECT_EQ(MainName("海底大戦争/ In The Hunt"), "海底大戦争");
    EXPECT_EQ(SplitTitle("Puzznic").qualifier, "");
    EXPECT_EQ(MainPart("パックマン / Newpuc2 (set 1)"), "パックマン");
    EXPECT_EQ(MainPart("クラッシュローラー (Kural TWT)"), "クラッシュローラー");
}

TEST(TitlePartsTest, QualifierGroupsAndParts) {
    const auto groups = SplitQualifier(" (Japan, bootleg) (set 2)");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0], (std::vector<std::string_view>{"Japan", "bootleg"}));
    EXPECT_EQ(groups[1], (std::vector<std::string_view>{"set 2"}));
    // Nested parentheses stay inside their part.
    const auto nested = SplitQualifier(" ('Galaxian (Namco set 2)' hack)");
    ASSERT_EQ(nested.size(), 1u);
    EXPECT_EQ(nested[0], (std::vector<std::string_view>{"'Galaxian (Namco set 2)' hack"}));
    // Not a plain sequence of groups.
    EXPECT_TRUE(SplitQualifier(" (unclosed").empty());
    EXPECT_TRUE(SplitQualifier(" (a) b").empty());
    EXPECT_EQ(JoinQualifier({{"日本版", "海賊版"}, {"set 2"}}), " (日本版, 海賊版) (set 2)");
}

TEST(TitlePartsTest, AGroupsTextAndThePartsWords) {
    // The text inside each group's parentheses, as it stands, whatever its parts and nesting.
    for (const std::string_view inner :
         {"Japan, bootleg", "'Galaxian (Namco, set 2)' hack, set 3", "", "a, ", "US版 v1.1"}) {
        const std::string qualifier = " (x) (" + std::string(inner) + ")";
        const auto groups = SplitQualifier(qualifier);
        ASSERT_EQ(groups.size(), 2u) << inner;
        EXPECT_EQ(GroupText(groups[1]), inner);
    }
    EXPECT_EQ(SplitQualifier(" ('Galaxian (Namco, set 2)' hack, set 3)")[0].size(), 2u);
    // Words between blanks, however many blanks stand between them.
    EXPECT_EQ(CountWords(" Hong  Kong v2 "), 3u);
    EXPECT_EQ(CountWords("  "), 0u);
    std::size_t at = 0;
    EXPECT_EQ(NextWord(" Hong  Kong", at), "Hong");
    EXPECT_EQ(NextWord(" Hong  Kong", at), "Kong");
    EXPECT_EQ(NextWord(" Hong  Kong", at), "");
}

class QualifierRewritesTest : public testing::Test {
protected:
    QualifierRewrites rewrites;
};

TEST_F(QualifierRewritesTest, WordsTheListRewritesCombineInNewQualifiers) {
    rewrites.Learn(" (Japan)", " (日本版)");
    rewrites.Learn(" (bootleg)", " (海賊版)");
    rewrites.Learn(" (Japan, set 2)", " (日本版, set 2)");
    EXPECT_EQ(rewrites.Rewrite(" (Japan, bootleg)"), " (日本版, 海賊版)");
    EXPECT_EQ(rewrites.Rewrite(" (bootleg) (set 3)"), " (海賊版) (set 3)");
    EXPECT_EQ(rewrites.Rewrite(" (Japan v1.5, 92.12.07)"), " (日本版 v1.5, 92.12.07)");
    EXPECT_EQ(rewrites.Rewrite(""), "");
}

TEST_F(QualifierRewritesTest, AWordTheListMostlyKeepsStays) {
    rewrites.Learn(" (French)", " (French)");
    rewrites.Learn(" (French)", " (French)");
    rewrites.Learn(" (French)", " (フランス版)");
    EXPECT_EQ(rewrites.Rewrite(" (French)"), " (French)");
}

TEST_F(QualifierRewritesTest, AGroupOfItsOwnIsRewrittenApartFromTheSamePartAmongOthers) {
    // "(UK)" alone becomes "(UK版)", while "UK" among other parts stays.
    rewrites.Learn(" (UK)", " (UK版)");
    rewrites.Learn(" (set 6, UK, Protocol)", " (set 6, UK, Protocol)");
    rewrites.Learn(" (set 7, UK)", " (set 7, UK)");
    rewrites.Learn(" (set 2, UK)", " (set 2, UK)");
    EXPECT_EQ(rewrites.Rewrite(" (UK)"), " (UK版)");
    EXPECT_EQ(rewrites.Rewrite(" (set 4, UK)"), " (set 4, UK)");
}

TEST_F(QualifierRewritesTest, QualifiersThatDoNotLineUpTeachNothing) {
    rewrites.Learn(" (Japan) (set 2)", " (日本版)");
    rewrites.Learn(" (Japan set 2)", " (日本版, set 2, 海賊版)");
    EXPECT_EQ(rewrites.Rewrite(" (Japan)"), " (Japan)");
    EXPECT_EQ(rewrites.Rewrite(" (no groups"), " (no groups");
}

class SiblingTitlesTest : public testing::Test {
protected:
    SiblingTitlesTest() {
        // What the whole list does with these words.
        rewrites.Learn(" (Japan)", " (日本版)");
        rewrites.Learn(" (Euro)", " (Euro版)");
        rewrites.Learn(" (German)", " (ドイツ版)");
        rewrites.Learn(" (Italian)", " (イタリア版)");
        rewrites.Learn(" (bootleg)", " (海賊版)");
    }
    QualifierRewrites rewrites;
    SiblingTitles siblings{rewrites};
};

TEST_F(SiblingTitlesTest, TheOneWordThatDiffersTakesTheSiblingsPlace) {
    EXPECT_EQ(siblings.FromSibling("Buena Suerte (Spanish, set 21)", "Buena Suerte (Spanish, set 20)",
                                   "Buena Suerte (スペイン版, set 20)"),
              "Buena Suerte (スペイン版, set 21)");
    // Punctuation and blanks are words of their own: "Ver.E" and "Ver. E" line up.
    EXPECT_EQ(
        siblings.FromSibling("Gun Survivor 2 (Japan, BHF1 Ver.E)", "Gun Survivor 2 (Japan, BHF1 Ver. D)",
                             "ガンサバイバー2 (日本版, BHF1 Ver.D)"),
        "ガンサバイバー2 (日本版, BHF1 Ver.E)");
    // The same description: the sibling's title.
    EXPECT_EQ(siblings.FromSibling("Galaxian (set 2)", "Galaxian (set 2)", "ギャラクシアン (set 2)"),
              "ギャラクシアン (set 2)");
}

TEST_F(SiblingTitlesTest, AWordTheListRewritesFollowsWhatTheFamilyDoes) {
    // The sibling's region rewritten: this one rewritten in its place.
    EXPECT_EQ(siblings.FromSibling("Vampire Savior (Japan 970519)", "Vampire Savior (Euro 970519)",
                                   "ヴァンパイアセイヴァー (Euro版 970519)"),
              "ヴァンパイアセイヴァー (日本版 970519)");
    // A family that keeps MAME's words keeps this one too.
    EXPECT_EQ(siblings.FromSibling("Jolly Card (Italian, set 1)", "Jolly Card (German, set 1)",
                                   "Jolly Card (German, set 1)"),
              "Jolly Card (Italian, set 1)");
    EXPECT_EQ(
        siblings.FromSibling("Jolly Card (Italian, bootleg, set 3)", "Jolly Card (Italian, bootleg, set 2)",
                             "Jolly Card (Italian, bootleg, set 2)"),
        "Jolly Card (Italian, bootleg, set 3)");
    // A kept number says nothing of how the family writes a region.
    EXPECT_EQ(siblings.FromSibling("Gee Bee (Japan)", "Gee Bee (2)", "ジー・ビー (2)"), std::nullopt);
}

TEST_F(SiblingTitlesTest, NothingWhenTheSiblingIsNoTemplate) {
    // Two words differ.
    EXPECT_EQ(
        siblings.FromSibling("Aliens (Japan set 2)", "Aliens (World set 1)", "エイリアンズ (海外版 set 1)"),
        std::nullopt);
    // A word more.
    EXPECT_EQ(siblings.FromSibling("Aliens (set 2, bootleg)", "Aliens (set 1)", "エイリアンズ (set 1)"),
              std::nullopt);
    // The title does not show the sibling's word, or shows it twice.
    EXPECT_EQ(siblings.FromSibling("Ikari III (Rotary Joystick)", "Ikari III (8-Way Joystick)",
                                   "怒III (8方向ジョイスティック)"),
              std::nullopt);
    EXPECT_EQ(siblings.FromSibling("Pool 10 (set 2)", "Pool 10 (set 10)", "Pool 10 (set 10)"), std::nullopt);
}

}  // namespace
}  // namespace kanaroll::proposals
