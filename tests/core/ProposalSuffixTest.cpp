// The lists' suffix codes, and readings derived from a family's own.
#include <gtest/gtest.h>

#include "proposals/FamilyReadings.h"
#include "proposals/SuffixConventions.h"

namespace kanaroll::proposals {
namespace {

TEST(SuffixConventionsTest, AReadingIsAStemAndACode) {
    EXPECT_EQ(SplitCode("ばとるがれっが_1").stem, "ばとるがれっが");
    EXPECT_EQ(SplitCode("ばとるがれっが_1").code, "_1");
    EXPECT_EQ(SplitCode("あすとろふぁいたー-b1").code, "-b1");
    EXPECT_EQ(SplitCode("れっどほっといびざbs4_07").code, "bs4_07");
    EXPECT_EQ(SplitCode("ぱっくまん").code, "");
    EXPECT_EQ(CodeTokens("Pin-Bot (L-5)"), (std::vector<std::string>{"pin", "bot", "l", "5"}));
    EXPECT_EQ(CodeTokens("v6.01"), (std::vector<std::string>{"v", "6", "01"}));
}

TEST(SuffixConventionsTest, ASiblingsCodeTurnedToTheGamesOwnTokens) {
    SuffixConventions suffixes;
    int changes = 0;
    EXPECT_EQ(suffixes.FromSibling("Red Hot Ibiza (Bellfruit) (Scorpion 4) (set 7)",
                                   "Red Hot Ibiza (Bellfruit) (Scorpion 4) (set 1)",
                                   "れっどほっといびざbs4_01", changes),
              "れっどほっといびざbs4_07");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(suffixes.FromSibling("Asterix (ver EAA)", "Asterix (ver EAD)", "あすてりくす_ead", changes),
              "あすてりくす_eaa");
    EXPECT_EQ(suffixes.FromSibling("Pin-Bot (L-3)", "Pin-Bot (L-5)", "ぴんぼっと_l5", changes),
              "ぴんぼっと_l3");
    EXPECT_EQ(suffixes.FromSibling("Touchmaster 4000 (v6.01 Standard)", "Touchmaster 4000 (v6.03 Standard)",
                                   "たっちますたー4000_603", changes),
              "たっちますたー4000_601");
}

TEST(SuffixConventionsTest, ASetNumberIsNotTheSeriesNumber) {
    SuffixConventions suffixes;
    suffixes.Learn("さむらいすぴりっつ_1", {}, "サムライスピリッツ");
    suffixes.Learn("さむらいすぴりっつ_2", {}, "真サムライスピリッツ");
    suffixes.Learn("めがたっち_3_1", {}, "メガタッチIII");
    suffixes.Learn("めがたっち_4_1", {}, "メガタッチIV");
    // Two sets of one game under the same name: their numbers are set numbers.
    suffixes.Learn("ぎんがにんきょうでん_1", {}, "銀河任侠伝");
    suffixes.Learn("ぎんがにんきょうでん_2", {}, "銀河任侠伝");
    int changes = 0;
    // "_1" numbers the series: the second set of the first game is still "_1".
    EXPECT_FALSE(suffixes.FromSibling("サムライスピリッツ (set 2)", "サムライスピリッツ (set 1)",
                                      "さむらいすぴりっつ_1", changes));
    // After the series number, a set number is the code's as before.
    EXPECT_EQ(
        suffixes.FromSibling("メガタッチIII (set 2)", "メガタッチIII (set 1)", "めがたっち_3_1", changes),
        "めがたっち_3_2");
    EXPECT_EQ(
        suffixes.FromSibling("銀河任侠伝 (set 2)", "銀河任侠伝 (set 1)", "ぎんがにんきょうでん_1", changes),
        "ぎんがにんきょうでん_2");
    // Digits within a short run still turn: "6.03" as "603".
    EXPECT_EQ(suffixes.FromSibling("Game (v6.01)", "Game (v6.03)", "げーむ_603", changes), "げーむ_601");
}

TEST(SuffixConventionsTest, ATokenTheCodeDoesNotShowNeedsThePartCodes) {
    SuffixConventions suffixes;
    int changes = 0;
    // "US" and "World" are not spelled in "_w" letter for letter.
    EXPECT_FALSE(suffixes.FromSibling("Mappy (US)", "Mappy (World)", "まっぴー_w", changes));
    suffixes.LearnPartCode("world", "_w");
    suffixes.LearnPartCode("world", "_w");
    suffixes.LearnPartCode("us", "_u");
    suffixes.LearnPartCode("us", "_u");
    EXPECT_EQ(suffixes.FromSibling("Mappy (US)", "Mappy (World)", "まっぴー_w", changes), "まっぴー_u");
    EXPECT_EQ(*suffixes.PartCode("us"), "_u");
    // Descriptions of different lengths are not compared.
    EXPECT_FALSE(suffixes.FromSibling("Mappy (US, bootleg)", "Mappy (World)", "まっぴー_w", changes));
}

TEST(SuffixConventionsTest, ExplainsAReadingByTheCodesTheListUses) {
    SuffixConventions suffixes;
    suffixes.Learn("ばとるがれっが_1", "");
    suffixes.Learn("ふぁいなるふぁいと_1", "");
    suffixes.Learn("あすとろふぁいたー-b1", "");
    EXPECT_TRUE(suffixes.Explains("ぱっくまん", "ぱっくまん"));
    EXPECT_TRUE(suffixes.Explains("えいりあんず", "えいりあんず_1"));
    EXPECT_FALSE(suffixes.Explains("えいりあんず", "えいりあんず-b1"));  // seen once only
    EXPECT_FALSE(suffixes.Explains("えいりあんず", "えいりあんずー"));
    EXPECT_FALSE(suffixes.Explains("えいりあんず", "ぱっくまん"));
}

TEST(SuffixConventionsTest, TheFirstOfANumberedSeriesGetsItsCode) {
    SuffixConventions suffixes;
    suffixes.Learn("ぱわーすとーん_2", "");
    suffixes.Learn("ぱっくまん", "");
    suffixes.Learn("ぱっくまん_2", "");
    EXPECT_EQ(suffixes.WithSeriesCode("ぱわーすとーん"), "ぱわーすとーん_1");
    EXPECT_EQ(suffixes.WithSeriesCode("ぱっくまん"), "ぱっくまん");
    EXPECT_EQ(suffixes.WithSeriesCode("ぎゃらが"), "ぎゃらが");
}

class FamilyReadingsTest : public testing::Test {
protected:
    SuffixConventions suffixes;
    FamilyReadings readings{suffixes};
};

TEST_F(FamilyReadingsTest, AFamilyThatCodesItsSetNumbers) {
    const std::vector<FamilyMember> members = {
        {"Cash Explosion (Bellfruit) (set 1) (Scorpion 1)", "Cash Explosion",
         "きゃっしゅえくすぷろーじょんbs1_01", true},
        {"Cash Explosion (Bellfruit) (set 2) (Scorpion 1)", "Cash Explosion",
         "きゃっしゅえくすぷろーじょんbs1_02", false},
        {"Cash Explosion (Bellfruit) (set 4) (Scorpion 1)", "Cash Explosion",
         "きゃっしゅえくすぷろーじょんbs1_04", false},
    };
    EXPECT_EQ(readings.Propose("Cash Explosion (Bellfruit) (set 3) (Scorpion 1)", "Cash Explosion", members),
              "きゃっしゅえくすぷろーじょんbs1_03");
}

TEST_F(FamilyReadingsTest, AFamilyThatGivesEveryCloneTheSameReading) {
    // The MPU4 sets all read "bm4", whatever their set number; replacing the 4 of "MPU4" would be
    // wrong.
    const std::vector<FamilyMember> members = {
        {"Spin The Bottle (Barcrest) (MPU4) (set 1)", "Spin The Bottle", "すぴんざぼとるbm4", true},
        {"Spin The Bottle (Barcrest) (MPU4) (set 2)", "Spin The Bottle", "すぴんざぼとるbm4", false},
        {"Spin The Bottle (Barcrest) (MPU4) (set 3)", "Spin The Bottle", "すぴんざぼとるbm4", false},
        {"Spin The Bottle (Barcrest) (MPU4) (set 5)", "Spin The Bottle", "すぴんざぼとるbm4", false},
    };
    EXPECT_EQ(readings.Propose("Spin The Bottle (Barcrest) (MPU4) (set 4)", "Spin The Bottle", members),
              "すぴんざぼとるbm4");
}

TEST_F(FamilyReadingsTest, OnlySiblingsOfTheSameNameCount) {
    const std::vector<FamilyMember> members = {
        {"Galaxian (Namco set 1)", "ギャラクシアン (Namco set 1)", "ぎゃらくしあん_n1", true},
    };
    EXPECT_EQ(readings.Propose("Galaxian (Namco set 2)", "ギャラクシアン", members), "ぎゃらくしあん_n2");
    EXPECT_FALSE(readings.Propose("Star Fighter (bootleg)", "Star Fighter", members));
}

TEST_F(FamilyReadingsTest, AFamilyOnWhichEveryWayFailsGivesNothing) {
    const std::vector<FamilyMember> members = {
        {"Sky Kid (new version)", "スカイキッド", "すかいきっど", true},
        {"Sky Kid (old version)", "スカイキッド", "すかいきっど_o1", false},
        {"Sky Kid (CUS60 version)", "スカイキッド", "すかいきっど_c", false},
    };
    EXPECT_FALSE(readings.Propose("Sky Kid (Sipem)", "スカイキッド", members));
}

TEST_F(FamilyReadingsTest, TheWayIsChosenOnTheMembersNearestTheGame) {
    // The Japanese sets all read as the master; the US ones code their version. A US set takes the
    // way of the US sets, however many Japanese ones come first.
    std::vector<FamilyMember> members;
    for (int set = 1; set <= 8; ++set)
        members.push_back({"Fighter's History (Japan ver 41-0" + std::to_string(set) + ")",
                           "Fighter's History", "ふぁいたーずひすとりー", set == 1});
    for (const char* version : {"9", "8", "7", "6", "3", "2"})
        members.push_back({std::string("Fighter's History (US ver 42-0") + version + ")", "Fighter's History",
                           std::string("ふぁいたーずひすとりー_u") + version, false});
    EXPECT_EQ(readings.Propose("Fighter's History (US ver 42-05)", "Fighter's History", members),
              "ふぁいたーずひすとりー_u5");
    EXPECT_EQ(readings.Propose("Fighter's History (Japan ver 41-09)", "Fighter's History", members),
              "ふぁいたーずひすとりー");
}

}  // namespace
}  // namespace kanaroll::proposals
