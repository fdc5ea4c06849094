// The proposal engine on small catalogues as the window holds them, the texts it hands out and the
// search for the next untranslated game.
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "catalogue/GameList.h"
#include "catalogue/TextCodec.h"
#include "proposals/ProposalEngine.h"
#include "proposals/ProposalText.h"
#include "proposals/UntranslatedSearch.h"
#include "replace/ReplacePatterns.h"

namespace kanaroll {
namespace {

struct Line {
    std::string zip;
    std::string parent;
    std::string english;
    std::string title;  // empty: untranslated
    std::string reading;
};

// A catalogue whose texts are given in UTF-8 and held in `codec`.
GameList Catalogue(const std::vector<Line>& lines, const TextCodec& codec) {
    GameList games;
    for (const Line& line : lines) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = line.zip;
        game->parentName = line.parent;
        game->isMaster = line.parent.empty();
        game->englishName = codec.FromUtf8(line.english);
        game->japaneseName = codec.FromUtf8(line.title.empty() ? line.english : line.title);
        game->reading = codec.FromUtf8(line.reading);
        game->translated = !line.title.empty();
        game->listOrder = games.Count();
        games.Append(std::move(game));
    }
    return games;
}

const TRecordset& Game(const GameList& games, std::string_view zip) {
    for (const auto& game : games.Items())
        if (game->zipName == zip) return *game;
    throw std::logic_error("no such game");
}

// The reading proposed for game `zip` of a Shift-JIS catalogue of `lines`, for the typed `title`, in
// UTF-8.
std::string ReadingOf(const std::vector<Line>& lines, std::string_view zip, std::string_view title) {
    const TextCodec& codec = ShiftJisCodec();
    const GameList games = Catalogue(lines, codec);
    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec));
    return codec.ToUtf8(engine.ProposeReadingForTitle(Game(games, zip), Sjis(title)));
}

// A family as a UTF-8 list holds it, with two clones left to translate.
std::vector<Line> AlienFamily() {
    return {
        {"aliens", "", "Aliens (World set 1)", "エイリアンズ (海外版 set 1)", "えいりあんず_w1"},
        {"aliens2", "aliens", "Aliens (World set 2)", "エイリアンズ (海外版 set 2)", "えいりあんず_w2"},
        {"aliensj", "aliens", "Aliens (Japan set 1)", "エイリアンズ (日本版 set 1)", "えいりあんず_j1"},
        {"aliensu", "aliens", "Aliens (US)", "エイリアンズ (US版)", "えいりあんず_u"},
        {"aliens3", "aliens", "Aliens (World set 3)", "", ""},
        {"aliensj2", "aliens", "Aliens (Japan set 2)", "", ""},
        {"crimfght", "", "Crime Fighters (World 2 players)", "クライムファイターズ (海外版 2 players)",
         "くらいむふぁいたーず"},
        {"crimfghtj", "crimfght", "Crime Fighters (Japan 2 Players)",
         "クライムファイターズ (日本版 2 Players)", "くらいむふぁいたーず"},
    };
}

TEST(ProposalEngineTest, AClonesTitleAndReadingFromItsFamily) {
    for (const TextCodec* codec : {&ShiftJisCodec(), &Utf8Codec()}) {
        SCOPED_TRACE(codec->CodePage());
        const GameList games = Catalogue(AlienFamily(), *codec);
        ProposalEngine engine;
        engine.Learn(games, *codec, DefaultReplaceRules(*codec));
        EXPECT_EQ(engine.ProposeTitle(Game(games, "aliens3")),
                  codec->FromUtf8("エイリアンズ (海外版 set 3)"));
        EXPECT_EQ(engine.ProposeReading(Game(games, "aliens3")), codec->FromUtf8("えいりあんず_w3"));
        EXPECT_EQ(engine.ProposeTitle(Game(games, "aliensj2")),
                  codec->FromUtf8("エイリアンズ (日本版 set 2)"));
        EXPECT_EQ(engine.ProposeReading(Game(games, "aliensj2")), codec->FromUtf8("えいりあんず_j2"));
    }
}

TEST(ProposalEngineTest, AReadingForATypedTitle) {
    const TextCodec& codec = ShiftJisCodec();
    const GameList games = Catalogue(
        {
            {"pacman", "", "Pac-Man (Midway)", "パックマン (Midway)", "ぱっくまん"},
            {"mjvegas", "", "Mahjong Vegas (Japan)", "麻雀ベガス (日本版)", "まーじゃんべがす"},
            {"cafedoll", "", "Mahjong Cafe Doll (Japan)", "", ""},
            {"nmouse", "", "Naughty Mouse (set 1)", "", ""},
        },
        codec);
    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec));
    EXPECT_EQ(engine.ProposeReadingForTitle(Game(games, "cafedoll"), Sjis("麻雀カフェドール (日本版)")),
              Sjis("まーじゃんかふぇどーる"));
    EXPECT_EQ(engine.ProposeReadingForTitle(Game(games, "nmouse"), Sjis("ノーティ・マウス (set 1)")),
              Sjis("のーてぃまうす"));
    // Same main part as a translated game: its reading.
    EXPECT_EQ(engine.ProposeReadingForTitle(Game(games, "nmouse"), Sjis("パックマン (Falcom?)")),
              Sjis("ぱっくまん"));
    // Nothing to go by: no guess.
    EXPECT_EQ(engine.ProposeReadingForTitle(Game(games, "nmouse"), "Naughty Mouse (set 1)"), "");
    EXPECT_EQ(engine.ProposeTitle(Game(games, "nmouse")), "");
}

TEST(ProposalEngineTest, ANameTheListReadsInManyWaysGetsNoReadingOfThem) {
    const auto readingOf = [](std::vector<Line> lines) {
        lines.push_back({"smstrv", "", "Trivia (SMS)", "", ""});
        return ReadingOf(lines, "smstrv", "トリビア (SMS)");
    };
    // Each of these games has a code of its own: none of them is this game's.
    std::vector<Line> trivia = {
        {"gt507uk", "", "Trivia (UK Version 5.07)", "トリビア (UK Version 5.07)", "とりびあ_1_507"},
        {"gt101c", "", "Trivia (Version 1.01C)", "トリビア (ver 1.01C)", "とりびあ_1_101C"},
        {"gtsers1", "", "Trivia (Questions Series 1)", "トリビア (questions series 1)", "とりびあ_0_1"},
    };
    EXPECT_EQ(readingOf(trivia), "");
    // Most of them read alike: that reading.
    trivia.push_back({"gt103a", "", "Trivia (Version 1.03a)", "トリビア (ver 1.03a)", "とりびあ_1_507"});
    trivia.push_back({"gt103b", "", "Trivia (Version 1.03b)", "トリビア (ver 1.03b)", "とりびあ_1_507"});
    EXPECT_EQ(readingOf(trivia), "とりびあ_1_507");
}

TEST(ProposalEngineTest, ASecondNameTellsApartWhatTheMainPartDoesNot) {
    const TextCodec& codec = ShiftJisCodec();
    const GameList games = Catalogue(
        {
            {"kof2001", "", "", "ザ・キング・オブ・ファイターズ 2001 (set 1)",
             "ざきんぐおぶふぁいたーず_08_1_2001"},
            {"kof2001h", "", "", "ザ・キング・オブ・ファイターズ 2001 (set 2)",
             "ざきんぐおぶふぁいたーず_08_1_2001"},
            {"kf2k1pls", "", "",
             "ザ・キング・オブ・ファイターズ 2001 / The King of Fighters 2001 Plus (海賊版 set 1)",
             "ざきんぐおぶふぁいたーず_08_2_2001"},
            // The list reads the sets of a second name alike.
            {"mslug3b6", "", "", "メタルスラッグ3 / Metal Slug 6 (海賊版 set 1)", "めたるすらっぐ_3_2"},
            {"mslug3b6a", "", "", "メタルスラッグ3 / Metal Slug 6 (海賊版 set 2)", "めたるすらっぐ_3_2"},
            {"kf2k1pa", "", "", "", ""},
        },
        codec);
    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec));
    const TRecordset& game = Game(games, "kf2k1pa");
    EXPECT_EQ(
        codec.ToUtf8(engine.ProposeReadingForTitle(
            game,
            Sjis("ザ・キング・オブ・ファイターズ 2001 / The King of Fighters 2001 Plus (海賊版 set 2)"))),
        "ざきんぐおぶふぁいたーず_08_2_2001");
    // Without the second name, the main part's reading.
    EXPECT_EQ(codec.ToUtf8(
                  engine.ProposeReadingForTitle(game, Sjis("ザ・キング・オブ・ファイターズ 2001 (set 3)"))),
              "ざきんぐおぶふぁいたーず_08_1_2001");
}

TEST(ProposalEngineTest, AListThatCodesTheSetsOfASecondNameLeavesThemToTheFamily) {
    const TextCodec& codec = Utf8Codec();
    const GameList games = Catalogue(
        {
            {"junglek", "", "Jungle King (Japan)", "ジャングルキング (日本版)", "じゃんぐるきんぐ"},
            {"jungleh", "junglek", "Jungle Hunt (US)", "ジャングルキング / Jungle Hunt (US版)",
             "じゃんぐるきんぐ_u"},
            {"junglehbr", "junglek", "Jungle Hunt (Brazil)", "", ""},
            {"twincobr", "", "Twin Cobra (World)", "究極タイガー / Twin Cobra (海外版)",
             "きゅうきょくたいがー_w"},
            {"twincobru", "twincobr", "Twin Cobra (US)", "究極タイガー / Twin Cobra (US版)",
             "きゅうきょくたいがー_u"},
            {"ktiger", "", "Kyukyoku Tiger (Japan)", "究極タイガー (日本版)", "きゅうきょくたいがー_j"},
        },
        codec);
    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec));
    // The list reads "究極タイガー / Twin Cobra" in two ways: a second name does not name one game
    // here, so the lone "_u" of "Jungle Hunt" is no reading for the Brazilian set.
    EXPECT_NE(engine.ProposeReadingForTitle(Game(games, "junglehbr"),
                                            "ジャングルキング / Jungle Hunt (ブラジル版)"),
              "じゃんぐるきんぐ_u");
}

TEST(ProposalEngineTest, TheFirstGameOfASeriesWhoseSequelTheCatalogueHolds) {
    std::vector<Line> lines = {
        {"sf", "", "Street Fighter (US)", "ストリートファイター", "すとりーとふぁいたー_1"},
        {"sf2", "", "Street Fighter II", "ストリートファイターII", "すとりーとふぁいたー_2"},
        {"rt", "", "Rolling Thunder", "ローリングサンダー", "ろーりんぐさんだー_1"},
        {"rt2", "", "Rolling Thunder 2", "ローリングサンダー2", "ろーりんぐさんだー_2"},
        {"pstone", "", "Power Stone (Japan)", "", ""},
        {"pstone2", "", "Power Stone 2 (Japan)", "", ""},
        {"bass", "", "Bass Angler (GE765 ver. JAA)", "", ""},
    };
    // "Power Stone 2" waits in the catalogue: "Power Stone" is the first of a series.
    EXPECT_EQ(ReadingOf(lines, "pstone", "パワーストーン (日本版)"), "ぱわーすとーん_1");
    // Nothing numbers "Bass Angler".
    EXPECT_EQ(ReadingOf(lines, "bass", "バスアングラー"), "ばすあんぐらー");
    // A list that leaves the first games of its series without a code.
    lines[0].reading = "すとりーとふぁいたー";
    lines[2].reading = "ろーりんぐさんだー";
    EXPECT_EQ(ReadingOf(lines, "pstone", "パワーストーン (日本版)"), "ぱわーすとーん");
}

TEST(ProposalEngineTest, ANewGameOfANumberedSeriesTakesTheNextNumber) {
    const TextCodec& codec = ShiftJisCodec();
    const GameList games = Catalogue(
        {
            {"tekken", "", "", "鉄拳 (TE1/VER.C)", "てっけん_1"},
            {"tekken2", "", "", "鉄拳2 (TES3/VER.B)", "てっけん_2"},
            {"tekken3", "", "", "鉄拳3 (TET1/VER.E1)", "てっけん_3"},
            {"tgm", "", "", "タッグマッチ", "たっぐまっち"},
            {"tourn", "", "", "トーナメントゴルフ", "とーなめんとごるふ"},
            {"srally2", "", "", "セガラリー2", "せがらりー_2"},
            {"srally", "", "", "セガラリー", "せがらりー_1"},
            {"dx", "", "", "デラックスボウリング", "でらっくすぼうりんぐ"},
            {"new", "", "", "", ""},
        },
        codec);
    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec));
    const auto readingOf = [&](std::string_view title) {
        return codec.ToUtf8(engine.ProposeReadingForTitle(Game(games, "new"), Sjis(title)));
    };
    // The series' name ends where the script changes, or at a blank.
    EXPECT_EQ(readingOf("鉄拳タッグトーナメント (TEG3/VER.C1)"), "てっけん_4たっぐとーなめんと");
    EXPECT_EQ(readingOf("鉄拳 タッグトーナメント"), "てっけん_4たっぐとーなめんと");
    // A name with its own number is that game's version, not a new game of the series.
    EXPECT_EQ(readingOf("セガラリー2 デラックス"), "せがらりー_2でらっくす");
    // Within one word of one script there is no telling where the series' name ends: the word's kana.
    EXPECT_EQ(readingOf("セガラリーデラックス"), "せがらりーでらっくす");
}

TEST(ProposalEngineTest, ASubtitleIsReadAsTheListReadsSubtitles) {
    const auto readingOf = [](std::vector<Line> lines, std::string_view title) {
        lines.push_back({"invasn", "", "Invasion - The Abductors (version 5.0)", "", ""});
        return ReadingOf(lines, "invasn", title);
    };
    // The Shift-JIS lists leave subtitles out of their readings.
    const std::vector<Line> leftOut = {
        {"asurabus", "", "Asura Buster - Eternal Warriors (Japan)",
         "アシュラバスター -Eternal Warriors (日本版)", "あしゅらばすたー"},
        {"wlstar", "", "Wonder League Star (Korea)",
         "ワンダーリーグスター -続マジックボールファイティング (韓国版)", "わんだーりーぐすたー"},
    };
    EXPECT_EQ(readingOf(leftOut, "インベージョン -The Abductors (ver 5.0)"), "いんべーじょん");
    EXPECT_EQ(readingOf(leftOut, "インベージョン -アブダクターズ"), "いんべーじょん");
    // The words of a name before a subtitle left out are read all the same.
    std::vector<Line> words = leftOut;
    words.push_back({"mjvegas", "", "Mahjong Vegas (Japan)", "麻雀ベガス (日本版)", "まーじゃんべがす"});
    words.push_back({"mjmyster", "", "Mahjong The Mysterious World", "麻雀 世界の神秘 -The Mysterious World",
                     "まーじゃんせかいのしんぴ"});
    EXPECT_EQ(readingOf(words, "神秘の世界"), "しんぴのせかい");
    // A list that reads them reads this one too, or gives nothing for words it cannot read.
    const std::vector<Line> read = {
        {"wlstar", "", "Wonder League Star (Korea)", "ワンダーリーグスター -マジックボール (韓国版)",
         "わんだーりーぐすたーまじっくぼーる"},
    };
    EXPECT_EQ(readingOf(read, "インベージョン -アブダクターズ"), "いんべーじょんあぶだくたーず");
    EXPECT_EQ(readingOf(read, "インベージョン -The Abductors"), "");
}

TEST(ProposalEngineTest, AMasterTranslatedAfterLearningShapesItsClones) {
    const TextCodec& codec = Utf8Codec();
    GameList games = Catalogue(
        {
            {"puzznic", "", "Puzznic (World)", "", ""},
            {"puzznicj", "puzznic", "Puzznic (Japan)", "", ""},
            {"other", "", "Other (Japan)", "アザー (日本版)", "あざー"},
            {"other2", "", "Other 2 (World)", "アザー2 (海外版)", "あざー2"},
        },
        codec);
    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec));
    EXPECT_EQ(engine.ProposeTitle(Game(games, "puzznicj")), "");
    TRecordset& master = games[0];
    master.japaneseName = "パズニック (海外版)";
    master.reading = "ぱずにっく";
    master.translated = true;
    EXPECT_EQ(engine.ProposeTitle(Game(games, "puzznicj")), "パズニック (日本版)");
    EXPECT_EQ(engine.ProposeReading(Game(games, "puzznicj")), "ぱずにっく");
}

TEST(ProposalEngineTest, ReplaceRulesOnlyWhereTheListAgreesWithThem) {
    const TextCodec& codec = Utf8Codec();
    const GameList games = Catalogue(
        {
            {"a", "", "Alpha (US)", "アルファ (US版)", "あるふぁ"},
            {"a2", "a", "Alpha (US, bootleg)", "", ""},
            {"b", "", "Beta (Ace) (sp.ACE)", "Beta (Ace) (sp.ACE)", "べーた"},
            {"b2", "b", "Beta (Ace) (sp.ACE) (set 2)", "", ""},
            {"c", "", "Gamma (hack of bootleg)", "ガンマ (海賊版のハック)", "がんま"},
        },
        codec);
    ProposalEngine engine;
    engine.Learn(games, codec, DefaultReplaceRules(codec));
    // "US" stays "US版", not the default rule's "米国版", which this list never writes; the rule
    // for "bootleg" is one the list agrees with, and rewrites what the list never lined up.
    EXPECT_EQ(engine.ProposeTitle(Game(games, "a2")), "アルファ (US版, 海賊版)");
    // A rule that finds nothing in the parentheses changes nothing elsewhere.
    EXPECT_EQ(engine.ProposeTitle(Game(games, "b2")), "Beta (Ace) (sp.ACE) (set 2)");
}

TEST(ProposalEngineTest, WithoutLearningOrGamesThereIsNothingToPropose) {
    ProposalEngine engine;
    TRecordset game;
    game.zipName = "pacman";
    game.englishName = game.japaneseName = "Pac-Man";
    EXPECT_EQ(engine.ProposeTitle(game), "");
    EXPECT_EQ(engine.ProposeReading(game), "");
    EXPECT_EQ(engine.ProposeReadingForTitle(game, ""), "");
    engine.Learn(GameList{}, ShiftJisCodec(), {});
    EXPECT_EQ(engine.ProposeReadingForTitle(game, Sjis("パックマン")), Sjis("ぱっくまん"));
}

TEST(ProposalTextTest, WhatAFieldCanHold) {
    using proposals::ToCatalogueText;
    EXPECT_EQ(ToCatalogueText("パックマン", ShiftJisCodec()), Sjis("パックマン"));
    EXPECT_EQ(ToCatalogueText("a\tb\rc\nd\x1A", Utf8Codec()), "a b c d ");
    // Shift-JIS holds no "é" and no "ゔ": better no proposal than a "?".
    EXPECT_FALSE(ToCatalogueText("Pokémon", ShiftJisCodec()));
    EXPECT_FALSE(ToCatalogueText("ゔぁいす", ShiftJisCodec()));
    EXPECT_EQ(ToCatalogueText("ゔぁいす", Utf8Codec()), "ゔぁいす");
    EXPECT_FALSE(ToCatalogueText("\xE3\x81", Utf8Codec()));
    EXPECT_FALSE(ToCatalogueText("", Utf8Codec()));
    // 255 bytes as stored: 127 kana are 254 bytes in Shift-JIS, 381 in UTF-8.
    std::string kana;
    for (int i = 0; i < 127; ++i) kana += "ぱ";
    EXPECT_TRUE(ToCatalogueText(kana, ShiftJisCodec()));
    EXPECT_FALSE(ToCatalogueText(kana + "ぱ", ShiftJisCodec()));
    EXPECT_FALSE(ToCatalogueText(kana, Utf8Codec()));
    EXPECT_TRUE(ToCatalogueText(std::string(255, 'a'), Utf8Codec()));
    EXPECT_FALSE(ToCatalogueText(std::string(256, 'a'), Utf8Codec()));
}

class UntranslatedSearchTest : public testing::Test {
protected:
    // Rows 1 and 3 untranslated.
    GameList games = Catalogue({{"a", "", "A", "ア", "あ"},
                                {"b", "", "B", "", ""},
                                {"c", "", "C", "シ", "し"},
                                {"d", "", "D", "", ""},
                                {"e", "", "E", "イ", "い"}},
                               ShiftJisCodec());
};

TEST_F(UntranslatedSearchTest, NextAndPreviousWithTheWrap) {
    EXPECT_EQ(FindUntranslated(games, 0), 1);
    EXPECT_EQ(FindUntranslated(games, 1), 3);
    EXPECT_EQ(FindUntranslated(games, 3), 1);  // round past the end
    EXPECT_EQ(FindUntranslated(games, 4), 1);
    EXPECT_EQ(FindUntranslated(games, 3, false), 1);
    EXPECT_EQ(FindUntranslated(games, 1, false), 3);  // round past the start
    EXPECT_EQ(FindUntranslated(games, -1), 1);
    EXPECT_EQ(FindUntranslated(games, -1, false), 3);
}

TEST_F(UntranslatedSearchTest, TheCurrentGameAloneAndNoneLeft) {
    games[3].translated = true;
    EXPECT_EQ(FindUntranslated(games, 1), 1);
    EXPECT_EQ(FindUntranslated(games, 1, false), 1);
    games[1].translated = true;
    EXPECT_EQ(FindUntranslated(games, 1), -1);
    EXPECT_EQ(FindUntranslated(games, 2, false), -1);
    EXPECT_EQ(FindUntranslated(GameList{}, -1), -1);
}

}  // namespace
}  // namespace kanaroll
