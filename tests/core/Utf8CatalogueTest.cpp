// The byte-level rules over a catalogue held in UTF-8, with text beyond ASCII: the sort's ASCII
// folding, the upper-casing, the replace's search and the prefix search.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/TextCodec.h"
#include "mainwindow/GameOrder.h"
#include "replace/TitleReplace.h"

namespace kanaroll {
namespace {

GameList WithReadings(std::initializer_list<const char*> readings) {
    GameList games;
    for (const char* reading : readings) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = std::string("z") + std::to_string(games.Count());
        game->reading = reading;
        game->listOrder = games.Count();
        games.Append(std::move(game));
    }
    return games;
}

std::vector<std::string> Readings(const GameList& games) {
    std::vector<std::string> readings;
    for (int i = 0; i < games.Count(); ++i) readings.push_back(games[i].reading);
    return readings;
}

// UTF-8 sorts in code point order byte by byte, and no byte of a multi-byte character lies in a-z:
// only ASCII letters fold.
TEST(Utf8Catalogue, SortsInCodePointOrderFoldingOnlyAsciiLetters) {
    EXPECT_EQ(CompareText("ゔa", "ゔA"), 0);
    EXPECT_GT(CompareText("é", "É"), 0);    // C3 A9 against C3 89: not folded
    EXPECT_NE(CompareText("ａ", "Ａ"), 0);  // full-width letters are not folded either
    EXPECT_LT(CompareText("한", "🎮"), 0);

    GameList games = WithReadings({"ア", "🎮", "ゔ", "b", "あ", "A", "한"});
    SortGames(games, 3);  // the Japanese title column sorts by reading
    EXPECT_EQ(Readings(games), (std::vector<std::string>{"A", "b", "あ", "ゔ", "ア", "한", "🎮"}));
}

TEST(Utf8Catalogue, UpperCasingAndSearchesLeaveMultiByteCharactersAlone) {
    const TextCodec& utf8 = Utf8Codec();
    EXPECT_EQ(utf8.ToUpper("ゔabc한é"), "ゔABC한é");
    EXPECT_EQ(utf8.Find("한국 kor", "KOR"), std::string::npos);
    EXPECT_EQ(utf8.Find("한국 KOR", "KOR"), 7u);
    EXPECT_EQ(ReplaceAllIgnoreCase("ゔ (korea) 한 (Korea)", "KOREA", "韓国版", utf8),
              "ゔ (韓国版) 한 (韓国版)");

    GameList games;
    for (const char* zip : {"ゔzip", "éa", "ゔab"}) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = zip;
        games.Append(std::move(game));
    }
    EXPECT_EQ(FindZipPrefix(games, "ゔA", 0, true, utf8), 2);
    EXPECT_EQ(FindZipPrefix(games, "ÉA", 0, true, utf8), -1);  // é is no ASCII letter
    EXPECT_EQ(FindZipPrefix(games, "éA", 0, true, utf8), 1);
}

}  // namespace
}  // namespace kanaroll
