// Words read as the list reads them, and numbers spelled as it spells them.
#include <gtest/gtest.h>

#include "proposals/NumberSpelling.h"
#include "proposals/ReadingDictionary.h"

namespace kanaroll::proposals {
namespace {

TEST(NumberSpellingTest, RomanNumerals) {
    EXPECT_EQ(RomanValue("II"), 2);
    EXPECT_EQ(RomanValue("III"), 3);
    EXPECT_EQ(RomanValue("IV"), 4);
    EXPECT_EQ(RomanValue("XIII"), 13);
    EXPECT_EQ(RomanValue("XXXIX"), 39);
    EXPECT_FALSE(RomanValue("I"));  // a letter far more often
    EXPECT_FALSE(RomanValue("V"));
    EXPECT_FALSE(RomanValue("IIII"));
    EXPECT_FALSE(RomanValue("VX"));
    EXPECT_FALSE(RomanValue("Ii"));
    EXPECT_EQ(RomanCharacterValue("Ⅱ"), 2);
    EXPECT_EQ(RomanCharacterValue("ⅻ"), 12);
    EXPECT_FALSE(RomanCharacterValue("あ"));
}

TEST(NumberSpellingTest, TheFormTheListUsesMost) {
    NumberSpelling numbers;
    EXPECT_FALSE(numbers.Spell("2"));
    numbers.Learn("2", "_2");
    numbers.Learn("3", "_3");
    numbers.Learn("20", "20");
    EXPECT_EQ(numbers.Spell("5"), "_5");
    // Numbers with a decimal point go by their own counts, and stand as they are without any.
    EXPECT_EQ(numbers.Spell("13.4"), "13.4");
    numbers.Learn("1.5", "_1.5");
    EXPECT_EQ(numbers.Spell("13.4"), "_13.4");
}

TEST(NumberSpellingTest, EachLengthOfNumberItsOwnWay) {
    // The Shift-JIS lists code a sequel's number and keep the others: "ふぁいなるふぁいと_2",
    // "らっきー74", "すーぱーすぺーす2001".
    NumberSpelling numbers;
    for (const char* sequel : {"2", "3", "4", "2"}) numbers.Learn(sequel, "_" + std::string(sequel));
    numbers.Learn("20", "20");
    numbers.Learn("2001", "2001");
    EXPECT_EQ(numbers.Spell("5"), "_5");
    EXPECT_EQ(numbers.Spell("74"), "74");
    EXPECT_EQ(numbers.Spell("2003"), "2003");
    // A length the list never showed goes by all the numbers it showed.
    EXPECT_EQ(numbers.Spell("500"), "_500");
}

class ReadingDictionaryTest : public testing::Test {
protected:
    KanaStyle style;
    ReadingDictionary dictionary{style};
};

TEST_F(ReadingDictionaryTest, AKanjiWordBetweenKanaAnchors) {
    dictionary.Learn("麻雀ベガス", "まーじゃんべがす");
    dictionary.Learn("華をやらねば！", "はなをやらねば");
    EXPECT_EQ(dictionary.Compose("麻雀カフェドール"), "まーじゃんかふぇどーる");
    // A run of kanji is read from the longest known words.
    EXPECT_EQ(dictionary.Compose("華麻雀"), "はなまーじゃん");
    EXPECT_FALSE(dictionary.Compose("雀王"));
}

TEST_F(ReadingDictionaryTest, AKanjiRunThatStartsOrEndsWithAKnownWordTeachesTheRest) {
    dictionary.Learn("麻雀ベガス", "まーじゃんべがす");
    dictionary.Learn("麻雀天開眼", "まーじゃんてんかいげん");
    dictionary.Learn("華をやらねば！", "はなをやらねば");
    dictionary.Learn("大革命華", "だいかくめいはな");
    // What is left would read as a code: no word.
    dictionary.Learn("雀ン", "じゃん");
    dictionary.Learn("雀王", "じゃん_2おう");
    dictionary.LearnAgain();
    EXPECT_EQ(dictionary.Compose("天開眼"), "てんかいげん");
    EXPECT_EQ(dictionary.Compose("大革命"), "だいかくめい");
    EXPECT_FALSE(dictionary.Compose("王"));
}

TEST_F(ReadingDictionaryTest, NumbersAndTheirCodes) {
    dictionary.Learn("ファイナルファイト2", "ふぁいなるふぁいと_2");
    dictionary.Learn("ソニックブラストマン2 スペシャルターボ", "そにっくぶらすとまん_2すぺしゃるたーぼ");
    dictionary.Learn("式神の城II", "しきがみのしろ_2");
    EXPECT_EQ(dictionary.Compose("バストアムーブ2"), "ばすとあむーぶ_2");
    EXPECT_EQ(dictionary.Compose("クイズパンチ3"), "くいずぱんち_3");
    EXPECT_EQ(dictionary.Compose("レールチェイスII"), "れーるちぇいす_2");
}

TEST_F(ReadingDictionaryTest, ANumberReadWithATitlesSeriesCodeTeachesNoReadingOfIt) {
    // The code stands between the name and the number's kana, or makes up the whole number.
    dictionary.Learn("マジックス10", "まじっくす_2_1てん");
    dictionary.Learn("ザ・キング・オブ・ファイターズ 2000", "ざきんぐおぶふぁいたーず_07_1_2000");
    dictionary.Learn("ラッキー74", "らっきー74");
    EXPECT_EQ(dictionary.Compose("プール10"), "ぷーる10");
    EXPECT_EQ(dictionary.Compose("ゴー2000"), "ごー2000");
    // A number read in kana, or as itself, still teaches its reading.
    dictionary.Learn("ビッグ10ボール", "びっぐてんぼーる");
    EXPECT_EQ(dictionary.Compose("プール10"), "ぷーるてん");
}

TEST_F(ReadingDictionaryTest, EnglishWordsAndLettersSpelledOut) {
    dictionary.Learn("Mr.TNT", "みすたーてぃーえぬてぃー");  // two words side by side: not yet
    dictionary.Learn("Mrドリラー", "みすたーどりらー");
    dictionary.Learn("Gダライアス", "じーだらいあす");
    dictionary.Learn("Pスタ", "ぴーすた");
    dictionary.LearnAgain();
    EXPECT_EQ(dictionary.Compose("TNTボーイ"), "てぃーえぬてぃーぼーい");
    EXPECT_EQ(dictionary.Compose("GPワールド"), "じーぴーわーるど");
    EXPECT_EQ(dictionary.Compose("Mr. ワールド"), "みすたーわーるど");
    // An unknown long English word is not spelled letter by letter.
    EXPECT_FALSE(dictionary.Compose("Galaga"));
}

TEST_F(ReadingDictionaryTest, AnAmpersandIsReadAsTheListReadsIt) {
    // Until the list has read one, a title with "&" has no reading: leaving it out would be wrong.
    EXPECT_FALSE(dictionary.Compose("タワー&シャフト"));
    dictionary.Learn("キング&バルーン", "きんぐあんどばるーん");
    EXPECT_EQ(dictionary.Compose("タワー&シャフト"), "たわーあんどしゃふと");
    EXPECT_EQ(dictionary.Compose("バルーン＆バルーン"), "ばるーんあんどばるーん");
}

TEST_F(ReadingDictionaryTest, TheListsCodeIsNoPartOfAWord) {
    dictionary.Learn("ラスタンサーガ麻雀", "らすたんさーがまーじゃん_1");
    EXPECT_EQ(dictionary.Compose("麻雀"), "まーじゃん");
    // A tag that reads as nothing but a code teaches nothing and is left out of a reading.
    dictionary.Learn("オープンマージャン [BET]", "おーぷんまーじゃん_1");
    EXPECT_EQ(dictionary.Compose("一発逆転 [BET]"), std::nullopt);
    EXPECT_EQ(dictionary.Compose("麻雀 [BET]"), "まーじゃん");
}

TEST_F(ReadingDictionaryTest, AmbiguousPlacesTeachNothing) {
    // Either word could take the "じゃん" in the middle.
    dictionary.Learn("雀ン雀ン", "じゃんじゃんじゃん");
    EXPECT_FALSE(dictionary.Compose("雀"));
}

}  // namespace
}  // namespace kanaroll::proposals
