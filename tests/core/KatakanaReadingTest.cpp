// A katakana title against its reading: typing errors found, the list's own conventions let pass.
#include <gtest/gtest.h>
#include <string>

#include "catalogue/KatakanaReading.h"
#include "catalogue/ListChecks.h"
#include "catalogue/NameListReader.h"
#include "catalogue/TextCodec.h"
#include "tests/support/Catalogues.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

bool Fits(std::u32string_view title, std::u32string_view reading) {
    return ReadingFitsTitle(title, reading);
}

TEST(KatakanaReading, TheHiraganaOfTheHeadFitsWhateverFollowsIt) {
    EXPECT_TRUE(Fits(U"パックマン", U"ぱっくまん"));
    EXPECT_TRUE(Fits(U"パックマン (日本版 set 1)", U"ぱっくまん"));
    EXPECT_TRUE(Fits(U"パックマン / Hangly-Man (set 1)", U"ぱっくまん"));
    EXPECT_TRUE(Fits(U"パックマン（ハック）", U"ぱっくまん"));
    EXPECT_TRUE(Fits(U"ヶ", U"ゖ"));  // the ends of the katakana letters
    EXPECT_TRUE(Fits(U"ァ", U"ぁ"));
}

TEST(KatakanaReading, BlanksMiddleDotsAndLongVowelsAreTakenAsTheListWritesThem) {
    EXPECT_TRUE(Fits(U"ミズ・パックマン", U"みずぱっくまん"));
    EXPECT_TRUE(Fits(U"ミズパックマン", U"みず・ぱっくまん"));
    EXPECT_TRUE(Fits(U"シュート ザ ブル", U"しゅーとざぶる"));
    EXPECT_TRUE(Fits(U"シュート　ザ　ブル", U"しゅーと ざ ぶる"));
    EXPECT_FALSE(Fits(U"ガッツアンドグローリー", U"がっつあんどぐろーり－"));  // a minus for the mark
    EXPECT_FALSE(Fits(U"シグマポーカー", U"しぐまぽーか"));
}

TEST(KatakanaReading, VuMayBeReadAsTheBaRow) {
    EXPECT_TRUE(Fits(U"シュライク・アヴェンジャー", U"しゅらいくあべんじゃー"));
    EXPECT_TRUE(Fits(U"シュライク・アヴェンジャー", U"しゅらいくあゔぇんじゃー"));
    EXPECT_TRUE(Fits(U"ヴァンパイア", U"ばんぱいあ"));
    EXPECT_TRUE(Fits(U"ヴ", U"ぶ"));
    EXPECT_FALSE(Fits(U"ヴァンパイア", U"ぶあんぱいあ"));
}

// The list's suffix codes tell apart games of one reading, wherever they stand in it.
TEST(KatakanaReading, ASuffixCodeStandsForAnyTextOrNone) {
    EXPECT_TRUE(Fits(U"ディグダグ (rev 2)", U"でぃぐだぐ_1"));
    EXPECT_TRUE(Fits(U"スペースインベーダー", U"すぺーすいんべーだー_1_1"));
    EXPECT_TRUE(Fits(U"アサルトプラス (日本版)", U"あさると_2ぷらす"));
    EXPECT_TRUE(Fits(U"ゴールデンアックス・ザ・デュエル", U"ごーるでんあっくす_4"));
    EXPECT_TRUE(Fits(U"キングピンマルチゲーム", U"きんぐぴん_2_まるちげーむ"));
    EXPECT_TRUE(Fits(U"テトリス (set 1)", U"てとりすa_1"));
    EXPECT_TRUE(Fits(U"ペンゴ", U"ぺんご~b"));
    // A code explains only what it stands in for: the kana around it must still fit.
    EXPECT_FALSE(Fits(U"ドラゴンボウル", U"どらごんぼーる_1どらごんぼうる"));
    EXPECT_FALSE(Fits(U"アサイラム (prototype)", U"あらいさむ_1"));
    // At the end it stands for any rest of the title; within the reading, for whole words only.
    EXPECT_TRUE(Fits(U"セガラリーチャンピオンシップ", U"せがらりー1_c"));
    EXPECT_TRUE(Fits(U"ゴールデンアックス ザ デュエル", U"ごーるでんあっくす_4でゅえる"));
    EXPECT_FALSE(Fits(U"ゴールデンアックスザデュエル", U"ごーるでん_4でゅえる"));
    EXPECT_FALSE(Fits(U"ゴールデンアックス・ザ・デュエル", U"ごーるでんあっ_4でゅえる"));
}

TEST(KatakanaReading, AReadingMayCoverTheFirstWordsOrReadOnIntoWhatFollows) {
    EXPECT_TRUE(Fits(U"ジャンプショット エンジニアリングサンプル", U"じゃんぷしょっと"));
    EXPECT_TRUE(Fits(U"グリーンベレー (Irem)", U"ぐりーんべれーあいれむ"));
    EXPECT_TRUE(Fits(U"ミズ・パックマン / ギャラガ", U"みずぱっくまんぎゃらが"));
    // Without anything after it, the title gives no room to read on.
    EXPECT_FALSE(Fits(U"アクシスフォージョーカー", U"あくしすふぉーじょーかーず"));
    // Nor does a word cut in the middle.
    EXPECT_FALSE(Fits(U"ジャンプショット", U"じゃんぷ"));
    EXPECT_FALSE(Fits(U"ビビッドドールズ", U"びびっどどーるす"));
    EXPECT_FALSE(Fits(U"ネオシステムチェック (ver 1.0b)", U"ねおちぇっくしすてむ"));
}

TEST(KatakanaReading, OnlyAnAllKatakanaHeadIsChecked) {
    EXPECT_TRUE(Fits(U"アリババと40人の盗賊", U"ありばばとよんじゅうにんのとうぞく"));
    EXPECT_TRUE(Fits(U"ゼビウス", U"ぜびうす"));
    EXPECT_TRUE(Fits(U"Pac-Man", U"ぱっくまん"));
    EXPECT_TRUE(Fits(U"マージャン学園", U"ちがう"));
    EXPECT_TRUE(Fits(U"ｿﾞﾝﾋﾞ", U"ちがう"));   // half-width katakana is left alone
    EXPECT_TRUE(Fits(U"ー・ー", U"ちがう"));  // no letter at all
    EXPECT_TRUE(Fits(U"", U""));
    EXPECT_TRUE(Fits(U"(パックマン)", U"ちがう"));  // the head is empty
    EXPECT_FALSE(Fits(U"パックマン", U""));
    EXPECT_FALSE(Fits(U"パックマン", U"_1"));  // a code alone stands for text, not for the head
}

// The check over a list, in either codec; a reading without kana is the other check's to tell.
TEST(KatakanaReading, TheSaveCheckFindsTheLineInEitherCodec) {
    for (const TextCodec* codec : {&ShiftJisCodec(), &Utf8Codec()}) {
        SCOPED_TRACE(codec->CodePage());
        const auto encode = [&](std::string_view utf8) { return codec->FromUtf8(utf8); };
        std::string list = "pacman\t" + encode("パックマン") + "\t" + encode("ぱっくまん") + "\tNamco\r\n" +
                           "asylum\t" + encode("アサイラム (prototype)") + "\t" + encode("あらいさむ") +
                           "\tLeland\r\n" + "xevious\t" + encode("ゼビウス") + "\t" + encode("ぜびうす") +
                           "\tNamco\r\n" + "galaga\t" + encode("ギャラガ") + "\t\tNamco\r\n";
        if (codec == &Utf8Codec()) list = "\xEF\xBB\xBF" + list;
        const testing::TempFolder folder;
        GameList games = testing::UntranslatedCatalogue({"pacman", "asylum", "xevious", "galaga"}, "Maker");
        int translated = 0;
        const LoadedNameList loaded =
            MergeNameList(folder.Write("mame32j.lst", list), games, translated, *codec);
        ASSERT_EQ(translated, 4);
        const std::vector<std::unique_ptr<ListCheck>> checks = [] {
            std::vector<std::unique_ptr<ListCheck>> only;
            only.push_back(KatakanaReadingCheck());
            return only;
        }();
        for (const ListFormat format : {ListFormat::Mame32J, ListFormat::MameUi}) {
            const ListCheckReport report = CheckList(ListLines(games, loaded, *codec, format), checks);
            ASSERT_EQ(report.findings.size(), 1u);
            const ListFinding& finding = report.findings[0];
            EXPECT_EQ(finding.problem, ListProblem::KatakanaReading);
            EXPECT_EQ(finding.zipName, "asylum");
            EXPECT_EQ(finding.lineNumber, 2);
            ASSERT_GE(finding.game, 0);
            EXPECT_EQ(games[finding.game].zipName, "asylum");
            EXPECT_EQ(DescribeFinding(finding),
                      "2行目 (asylum): 読みがカタカナのタイトルのひらがなと合いません");
        }
    }
}

}  // namespace
}  // namespace kanaroll
