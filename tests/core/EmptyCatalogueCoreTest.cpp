// The catalogue of a listinfo.txt without a game, under everything the windows do with it, and the
// index of "no game current" asked of any catalogue.
#include <gtest/gtest.h>
#include <stdexcept>

#include "catalogue/GameList.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "mainwindow/GameOrder.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

TEST(EmptyCatalogue, SortsSearchesMergesAndWritesWithoutAGame) {
    GameList games;
    for (int sortKey : {1, -1, 3, -7}) SortGames(games, sortKey);
    EXPECT_EQ(FindZipPrefix(games, "pac", 0, true, ShiftJisCodec()), -1);
    EXPECT_EQ(FindZipPrefix(games, "", -1, false, ShiftJisCodec()), -1);
    EXPECT_TRUE(games.InFileOrder().empty());

    testing::TempFolder folder;
    int translated = 0;
    MergeNameList(folder.Write("mame32j.lst", "pacman\tPac\tpa\t\r\n\tnameless\t\t\r\n"), games, translated);
    EXPECT_EQ(translated, 0);
    WriteMane32J(folder / "MANE32J.lst", games);
    EXPECT_EQ(folder.Read("MANE32J.lst"), "");
}

// An index that names no game is refused where the games are kept, whoever asks.
TEST(EmptyCatalogue, AnIndexOutsideTheCatalogueIsRefused) {
    GameList games;
    EXPECT_THROW(games[-1], std::out_of_range);
    EXPECT_THROW(games[0], std::out_of_range);
    games.Append(std::make_unique<TRecordset>());
    EXPECT_NO_THROW(games[0]);
    EXPECT_THROW(games[1], std::out_of_range);
    const GameList& constant = games;
    EXPECT_THROW(constant[-1], std::out_of_range);
}

}  // namespace
}  // namespace kanaroll
