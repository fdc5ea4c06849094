// Kana as the lists spell their readings, and the pieces a title is read in.
#include <gtest/gtest.h>

#include "proposals/KanaConversion.h"
#include "proposals/TitleTokens.h"
#include "proposals/Utf8Chars.h"

namespace kanaroll::proposals {
namespace {

TEST(KanaConversionTest, KatakanaBecomesHiraganaKeepingTheLongVowelAndSmallKana) {
    EXPECT_EQ(KanaToHiragana("パックマン"), "ぱっくまん");
    EXPECT_EQ(KanaToHiragana("ファイナルファイト"), "ふぁいなるふぁいと");
    EXPECT_EQ(KanaToHiragana("クラッシュローラー"), "くらっしゅろーらー");
    // Hiragana in a title stays as it is.
    EXPECT_EQ(KanaToHiragana("ぷにっきいず"), "ぷにっきいず");
}

TEST(KanaConversionTest, BlanksAndMiddleDotsAreLeftOut) {
    EXPECT_EQ(KanaToHiragana("ノーティ・マウス"), "のーてぃまうす");
    EXPECT_EQ(KanaToHiragana("シュート ザ ブル"), "しゅーとざぶる");
    EXPECT_EQ(KanaToHiragana("ザ･ブロックくずし"), "ざぶろっくくずし");
}

TEST(KanaConversionTest, HalfWidthKatakanaWithVoicingMarks) {
    EXPECT_EQ(KanaToHiragana("ﾊﾞﾝﾊﾞﾝ"), "ばんばん");
    EXPECT_EQ(KanaToHiragana("ﾎﾟﾝﾎﾟｺ"), "ぽんぽこ");
    EXPECT_EQ(KanaToHiragana("ｳﾞｧ"), "ば");
    EXPECT_EQ(WidenKatakana("ﾊﾟｯｸﾏﾝ 2"), "パックマン 2");
}

TEST(KanaConversionTest, VuFollowsTheList) {
    // A Shift-JIS list cannot hold "ゔ": "ヴァンパイア" reads "ばんぱいあ" there.
    EXPECT_EQ(KanaToHiragana("ヴァンパイアセイヴァー"), "ばんぱいあせいばー");
    EXPECT_EQ(KanaToHiragana("スネジュネーコロリヴァ"), "すねじゅねーころりば");
    EXPECT_EQ(KanaToHiragana("ヴ"), "ぶ");
    EXPECT_EQ(KanaToHiragana("ヴァイス", {.keepVu = true}), "ゔぁいす");
}

TEST(KanaConversionTest, AWaveDashAfterKanaIsTheLongVowelWhereTheListReadsItSo) {
    const KanaStyle reads{.waveAsLongVowel = true};
    EXPECT_EQ(KanaToHiragana("ポチッとにゃ～", reads), "ぽちっとにゃー");
    EXPECT_EQ(KanaToHiragana("ごんべえのあいむそ〜り〜", reads), "ごんべえのあいむそーりー");
    // Not before any kana, and not for a list that does not read it.
    EXPECT_EQ(KanaToHiragana("～ポチ", reads), "ぽち");
    EXPECT_EQ(KanaToHiragana("ポチッとにゃ～"), "ぽちっとにゃ");
    const auto tokens = TokenizeTitle("ま～じゃん吉本劇場", reads);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].kana, "まーじゃん");
    EXPECT_EQ(tokens[0].text, "ま～じゃん");
    EXPECT_EQ(TokenizeTitle("ま～じゃん", {})[0].kana, "ま");
}

TEST(KanaConversionTest, AnythingButKanaGivesNothing) {
    EXPECT_FALSE(KanaToHiragana("パックマン2"));
    EXPECT_FALSE(KanaToHiragana("麻雀ベガス"));
    EXPECT_FALSE(KanaToHiragana("Mr.TNT"));
    EXPECT_FALSE(KanaToHiragana(""));
    EXPECT_FALSE(KanaToHiragana("・ "));
}

TEST(TitleTokensTest, PiecesByKind) {
    const auto tokens = TokenizeTitle("R-タイプII 麻雀2 Mr.TNT", {});
    ASSERT_EQ(tokens.size(), 7u);
    EXPECT_EQ(tokens[0].text, "R");
    EXPECT_EQ(tokens[0].kind, TitleToken::Kind::Latin);
    EXPECT_EQ(tokens[1].kana, "たいぷ");
    EXPECT_EQ(tokens[2].text, "II");
    EXPECT_EQ(tokens[3].kind, TitleToken::Kind::Kanji);
    EXPECT_EQ(tokens[4].text, "2");
    EXPECT_EQ(tokens[5].text, "Mr");
    EXPECT_EQ(tokens[6].text, "TNT");
}

TEST(TitleTokensTest, FullWidthLettersDecimalsAndRomanCharacters) {
    const auto tokens = TokenizeTitle("ＧＰワールド 13.4 ⅡⅢ", {});
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[0].text, "GP");
    EXPECT_EQ(tokens[2].text, "13.4");
    EXPECT_EQ(tokens[2].kind, TitleToken::Kind::Digits);
    EXPECT_EQ(tokens[3].kind, TitleToken::Kind::Roman);
    EXPECT_EQ(tokens[4].kind, TitleToken::Kind::Roman);
}

TEST(TitleTokensTest, ATitleWithCharactersNoReadingHoldsGivesNoPieces) {
    EXPECT_TRUE(TokenizeTitle("Радио-86РК", {}).empty());
    EXPECT_TRUE(TokenizeTitle("", {}).empty());
}

}  // namespace
}  // namespace kanaroll::proposals
