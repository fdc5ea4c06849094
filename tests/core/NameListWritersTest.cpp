#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>

#include "catalogue/IoError.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/TextCodec.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

TRecordset& Add(GameList& games, std::string zipName, std::string englishName) {
    auto game = std::make_unique<TRecordset>();
    game->zipName = std::move(zipName);
    game->englishName = game->japaneseName = std::move(englishName);
    game->listOrder = games.Count();
    games.Append(std::move(game));
    return games[games.Count() - 1];
}

void Translate(TRecordset& game, std::string title, std::string reading) {
    game.japaneseName = std::move(title);
    game.reading = std::move(reading);
    game.translated = true;
}

// One game of each kind the columns tell apart.
GameList SampleCatalogue() {
    GameList games;
    TRecordset& pacman = Add(games, "pacman", "Pac-Man");
    Translate(pacman, Sjis("パックマン"), Sjis("ぱっくまん"));
    pacman.manufacturer = "Namco";
    pacman.year = "1980";
    pacman.soundChannels = 1;
    pacman.controlType = "joy4way";
    pacman.statusGood = true;

    TRecordset& puckman = Add(games, "puckman", "PuckMan (Japan)");
    puckman.isMaster = false;
    puckman.parentName = "pacman";
    puckman.isNeoGeo = true;  // a clone names its master even when marked NeoGeo
    puckman.hasSamples = true;
    puckman.manufacturer = "Namco";

    TRecordset& mslug = Add(games, "mslug", "Metal Slug");
    Translate(mslug, Sjis("メタルスラッグ"), "");
    mslug.manufacturer = "SNK";
    mslug.year = "1996";
    mslug.isNeoGeo = true;
    mslug.soundChannels = 12;

    TRecordset& asteroid = Add(games, "asteroid", "Asteroids");
    asteroid.isVector = true;
    return games;
}

const std::string kSampleMame32J = "pacman\t" + Sjis("パックマン") + "\t" + Sjis("ぱっくまん") +
                                   "\tNamco\r\n" + "mslug\t" + Sjis("メタルスラッグ") + "\t\tSNK\r\n";

const std::string kSampleMane32J =
    "pacman\t" + Sjis("パックマン") + "\t" + Sjis("ぱっくまん") +
    "\tNamco\t1980\t\t\traster\t1\tjoy4way\tgood\r\n" +
    "puckman\tPuckMan (Japan)\tPuckMan (Japan)\tNamco\t????\tpacman\tSample\traster\t0\t\tpreliminary\r\n" +
    "mslug\t" + Sjis("メタルスラッグ") + "\t\tSNK\t1996\tneogeo\t\traster\t12\t\tpreliminary\r\n" +
    "asteroid\tAsteroids\tAsteroids\t\t????\t\t\tvector\t0\t\tpreliminary\r\n";

TEST(NameListWriters, WriteEveryColumnByteForByteInFileOrderWhateverTheListOrder) {
    TempFolder folder;
    GameList games = SampleCatalogue();
    const auto expectSampleFiles = [&] {
        WriteMame32J(folder / "mame32j.lst", games);
        WriteMane32J(folder / "MANE32J.lst", games);
        EXPECT_EQ(folder.Read("mame32j.lst"), kSampleMame32J);
        EXPECT_EQ(folder.Read("MANE32J.lst"), kSampleMane32J);
    };
    expectSampleFiles();
    // As a sort leaves the list: mslug, pacman, asteroid, puckman.
    auto& items = games.Items();
    std::swap(items[0], items[2]);
    std::swap(items[1], items[2]);
    std::swap(items[2], items[3]);
    ASSERT_EQ(games[0].zipName, "mslug");
    expectSampleFiles();
}

TEST(NameListWriters, WriteEmptyFilesWhenThereIsNothingToList) {
    TempFolder folder;
    folder.Write("old.lst", "old contents\r\n");
    WriteMane32J(folder / "old.lst", GameList{});
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "old.lst"));
    EXPECT_EQ(folder.Read("old.lst"), "");

    GameList untranslated;
    Add(untranslated, "a", "A");
    WriteMame32J(folder / "mame32j.lst", untranslated);
    EXPECT_EQ(folder.Read("mame32j.lst"), "");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "mame32j.lst"));
}

// What the writers produce is what the next start merges: exactly the translated games come back.
TEST(NameListWriters, ReadBackMarkingExactlyTheTranslatedGames) {
    TempFolder folder;
    const GameList written = SampleCatalogue();
    WriteMame32J(folder / "mame32j.lst", written);
    WriteMane32J(folder / "mane32j.lst", written);

    GameList fromMame32J;
    for (const auto& game : written.Items()) Add(fromMame32J, game->zipName, game->englishName);
    int count = 0;
    MergeNameList(folder / "mame32j.lst", fromMame32J, count);
    EXPECT_EQ(count, 2);
    for (int i = 0; i < written.Count(); ++i) {
        SCOPED_TRACE(written[i].zipName);
        EXPECT_EQ(fromMame32J[i].translated, written[i].translated);
        EXPECT_EQ(fromMame32J[i].japaneseName, written[i].japaneseName);
        EXPECT_EQ(fromMame32J[i].reading, written[i].reading);
    }

    // A MANE32J list names every game, so every game comes back translated.
    GameList fromMane32J;
    for (const auto& game : written.Items()) Add(fromMane32J, game->zipName, game->englishName);
    count = 0;
    MergeNameList(folder / "mane32j.lst", fromMane32J, count);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(fromMane32J[1].japaneseName, "PuckMan (Japan)");
    EXPECT_EQ(fromMane32J[1].reading, "PuckMan (Japan)");
    EXPECT_EQ(fromMane32J[2].reading, "");
}

// Texts from listinfo.txt or -listxml may hold a TAB, a line break or a Ctrl-Z (a character
// reference such as "&#9;" in the XML). Written as they are they would shift the columns of the line
// or end the file early; each becomes a blank, and every other byte stays.
TEST(NameListWriters, SeparatorsInsideAFieldBecomeBlanksSoTheColumnsHold) {
    TempFolder folder;
    GameList games;
    TRecordset& odd = Add(games, "odd\tzip",
                          "Tab\there\r\nand\x1A"
                          "end");
    odd.manufacturer = "Maker\nLine";
    odd.year = "19\t9";
    odd.controlType = "joystick8\r";  // past the first eight bytes, which are looked at together
    TRecordset& translated = Add(games, "ok", "Okay");
    Translate(translated, Sjis("長い題名の\t題"), Sjis("よみ\r"));
    translated.manufacturer = "M\x1A";
    WriteMame32J(folder / "mame32j.lst", games);
    WriteMane32J(folder / "mane32j.lst", games);

    EXPECT_EQ(folder.Read("mame32j.lst"), "ok\t" + Sjis("長い題名の 題") + "\t" + Sjis("よみ ") + "\tM \r\n");
    EXPECT_EQ(folder.Read("mane32j.lst"),
              "odd zip\tTab here  and end\tTab here  and end\tMaker Line\t19 9\t\t\traster\t0\tjoystick8 "
              "\tpreliminary\r\n"
              "ok\t" +
                  Sjis("長い題名の 題") + "\t" + Sjis("よみ ") +
                  "\tM \t????\t\t\traster\t0\t\tpreliminary\r\n");
}

TEST(NameListWriters, AFailedWriteThrowsAndKeepsTheOldFile) {
    TempFolder folder;
    const GameList games = SampleCatalogue();
    EXPECT_THROW(WriteMame32J(folder / "missing" / "mame32j.lst", games), IoError);
    EXPECT_THROW(WriteMane32J(folder / "missing" / "MANE32J.lst", games), IoError);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

    // The new file is written beside the target; where that cannot be created the old list stays.
    folder.Write("mame32j.lst", "old\tlist\t\r\n");
    std::filesystem::create_directory(folder / "mame32j.lst.kanaroll-new");
    EXPECT_THROW(WriteMame32J(folder / "mame32j.lst", games), IoError);
    EXPECT_THROW(WriteMane32J(folder / "mame32j.lst", games), IoError);
    EXPECT_EQ(folder.Read("mame32j.lst"), "old\tlist\t\r\n");
}

}  // namespace
}  // namespace kanaroll
