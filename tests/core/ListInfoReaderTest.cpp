#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/ListInfoReader.h"
#include "catalogue/TextCodec.h"
#include "tests/support/Catalogues.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using ::testing::ElementsAre;
using testing::TempFolder;

struct ReadOutcome {
    bool ok = false;
    GameList games;
};

ReadOutcome Read(std::string_view bytes) {
    TempFolder folder;
    ReadOutcome outcome;
    NoLoadProgress progress;
    outcome.ok = ReadListInfo(folder.Write("listinfo.txt", bytes), outcome.games, progress);
    return outcome;
}

// The one game of a block whose lines after the name line are `body`.
TRecordset ReadGame(const std::string& body) {
    const ReadOutcome outcome = Read("game (\n\tname g\n" + body + ")\n\n");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.games.Count(), 1);
    return outcome.games.Empty() ? TRecordset{} : outcome.games[0];
}

using testing::ZipNames;

using testing::RecordingProgress;

TEST(ReadListInfo, ReadsEveryFieldOfRealisticBlocks) {
    const ReadOutcome outcome = Read(
        "game (\r\n\tname pacman\r\n\tdescription \"Pac-Man (Midway)\"\r\n\tyear 1980\r\n"
        "\tmanufacturer \"[Namco] (Midway license)\"\r\n\tcloneof puckman\r\n\tromof puckman\r\n"
        "\trom ( name pacman.6e size 4096 crc c1e6ab10 )\r\n\tchip ( type cpu name Z80 clock 3072000 )\r\n"
        "\tchip ( type audio name Namco clock 96000 )\r\n"
        "\tvideo ( screen raster orientation vertical x 224 y 288 colors 16 freq 60.606060 )\r\n"
        "\tsound ( channels 1 )\r\n\tinput ( players 2 control joy4way buttons 1 coins 2 )\r\n"
        "\tdipswitch ( name \"Rack Test\" entry \"Off\" entry \"On\" default \"Off\" )\r\n"
        "\tdriver ( status good color good sound good palettesize 16 )\r\n)\r\n\r\n"
        "game (\r\n\tname mslug\r\n\tdescription \"Metal Slug\"\r\n\tromof neogeo\r\n"
        "\tchip ( type cpu name 68000 clock 12000000 )\r\n\tchip ( type cpu flags audio name Z80 clock "
        "4000000 )\r\n"
        "\tchip ( type audio name YM2610 clock 8000000 )\r\n\tsound ( channels 12 )\r\n"
        "\tdriver ( status preliminary palettesize 4096 )\r\n)\r\n\r\n"
        "game (\r\n\tname asteroid\r\n\tsampleof asteroid\r\n\tvideo ( screen vector x 400 y 300 freq 60 "
        ")\r\n"
        "\tdriver ( status good palettesize 0 )\r\n)\r\n\r\n");
    ASSERT_TRUE(outcome.ok);
    ASSERT_EQ(outcome.games.Count(), 3);

    const TRecordset& pacman = outcome.games[0];
    EXPECT_EQ(pacman.zipName, "pacman");
    EXPECT_EQ(pacman.englishName, "Pac-Man (Midway)");
    EXPECT_EQ(pacman.japaneseName, "Pac-Man (Midway)");
    EXPECT_EQ(pacman.year, "1980");
    EXPECT_EQ(pacman.manufacturer, "[Namco] (Midway license)");
    EXPECT_FALSE(pacman.isMaster);
    EXPECT_EQ(pacman.parentName, "puckman");
    EXPECT_EQ(pacman.cpuText, "Z80 @ 3.072000MHz");
    EXPECT_EQ(pacman.soundText, "Namco @ 96.000KHz");
    EXPECT_EQ(pacman.videoText, "224 x 288 @ 60.606060Hz, 16 Colors");
    EXPECT_EQ(pacman.soundChannels, 1);
    EXPECT_EQ(pacman.controlType, "joy4way");
    EXPECT_TRUE(pacman.statusGood);
    EXPECT_EQ(pacman.paletteSize, 16);
    EXPECT_FALSE(pacman.isNeoGeo || pacman.isVector || pacman.hasSamples || pacman.translated);
    EXPECT_EQ(pacman.reading, "");

    const TRecordset& mslug = outcome.games[1];
    EXPECT_TRUE(mslug.isNeoGeo);
    EXPECT_TRUE(mslug.isMaster);
    EXPECT_EQ(mslug.year, "????");
    EXPECT_EQ(mslug.cpuText, "68000 @ 12.000000MHz, Z80 @ 4.000000MHz (sound)");
    EXPECT_EQ(mslug.soundText, "YM2610 @ 8.000000MHz");
    EXPECT_EQ(mslug.soundChannels, 1);  // one digit only
    EXPECT_FALSE(mslug.statusGood);
    EXPECT_EQ(mslug.videoText, ", 4096 Colors");

    const TRecordset& asteroid = outcome.games[2];
    EXPECT_TRUE(asteroid.hasSamples);
    EXPECT_TRUE(asteroid.isVector);
    EXPECT_EQ(asteroid.videoText, "Vector Game");
    EXPECT_EQ(asteroid.englishName, "");
    EXPECT_EQ(ZipNames(outcome.games), (std::vector<std::string>{"pacman#0", "mslug#1", "asteroid#2"}));
}

TEST(ReadListInfo, TakesFixedPositionsEvenFromShortOrUnquotedLines) {
    EXPECT_EQ(ReadGame("\tdescription \"X\"\n").englishName, "X");
    EXPECT_EQ(ReadGame("\tdescription Galaga\n").japaneseName, "alag");  // no quotes: loses both ends
    EXPECT_EQ(ReadGame("\tdescription \"Short\n").englishName, "Shor");  // no closing quote
    for (const char* line : {"\tdescription \"\"\n", "\tdescription \"\n", "\tdescription\n", "\tde\n"}) {
        EXPECT_EQ(ReadGame(line).englishName, "") << line;
    }
    EXPECT_EQ(ReadGame("\tmanufacturer \"Y\"\n").manufacturer, "Y");
    EXPECT_EQ(ReadGame("\tmanufacturer Konami\n").manufacturer, "onam");
    EXPECT_EQ(ReadGame("\tmanufacturer\n").manufacturer, "");
    EXPECT_EQ(ReadGame("\tyear\n").year, "");
    EXPECT_EQ(ReadGame("\tyear 198?\n").year, "198?");
    const TRecordset clone = ReadGame("\tcloneof\n");
    EXPECT_FALSE(clone.isMaster);
    EXPECT_EQ(clone.parentName, "");
    EXPECT_FALSE(ReadGame("\tromof neogeo \n").isNeoGeo);  // only the exact line
}

TEST(ReadListInfo, SoundInputAndDriverLines) {
    EXPECT_EQ(ReadGame("\tsound ( channels 2 )\n").soundChannels, 2);
    EXPECT_EQ(ReadGame("\tsoXXXXX7\n").soundChannels, 7);  // without "chan", the ninth byte
    EXPECT_EQ(ReadGame("\tinput ( players 2 control joy8way buttons 2 )\n").controlType, "joy8way");
    EXPECT_EQ(ReadGame("\tinput ( players 2 control joy8way\n").controlType, "");
    // An input line is taken by its prefix even when it says nothing of controls.
    const TRecordset input = ReadGame("\tinput ( players 1 sample vector )\n");
    EXPECT_FALSE(input.hasSamples || input.isVector);

    const TRecordset driver = ReadGame("\tdriver ( status good palettesize 256 )\n");
    EXPECT_TRUE(driver.statusGood);
    EXPECT_EQ(driver.videoText, ", 256 Colors");
    EXPECT_FALSE(ReadGame("\tdriver ( status imperfect )\n").statusGood);
    EXPECT_EQ(ReadGame("\tdriver ( status good palettesize 0 )\n").videoText, ", 0 Colors");

    // A digit, a palette size or a clock that cannot be taken fails the whole read.
    for (const char* line :
         {"\tsound ( channels\n", "\tsound ( channels x )\n", "\tdriver ( palettesize 256\n",
          "\tdriver ( palettesize 1.5 )\n", "\tchip ( type cpu name Z80 clock 3.5 )\n"}) {
        EXPECT_FALSE(Read(std::string("game (\n\tname g\n") + line).ok) << line;
    }
}

TEST(ReadListInfo, FirstMatchingRuleWinsAndKeywordsCountAnywhere) {
    const TRecordset rom =
        ReadGame("\trom ( name vector.bin size 1 crc 0 )\n\trom ( name sample1 size 1 crc 0 )\n");
    EXPECT_TRUE(rom.isVector);
    EXPECT_TRUE(rom.hasSamples);
    // "vector" and "sample" come before the driver, chip and video rules.
    const TRecordset vectorChip = ReadGame("\tchip ( type cpu name vector clock 1 )\n");
    EXPECT_TRUE(vectorChip.isVector);
    EXPECT_EQ(vectorChip.cpuText, "");
    const TRecordset sampleDriver = ReadGame("\tdriver ( status good samples palettesize 8 )\n");
    EXPECT_TRUE(sampleDriver.hasSamples);
    EXPECT_FALSE(sampleDriver.statusGood);
    EXPECT_EQ(ReadGame("\tvideo ( x 1 y 2 ) sample\n").videoText, ", 0 Colors");
    // The driver rule comes before the chip rules, "cpu name" before "cpu flags" before "type audio".
    EXPECT_EQ(ReadGame("\tdriver ( status good cpu name X clock 1 )\n").cpuText, "");
    const TRecordset both = ReadGame("cpu flags type audio cpu name A clock 1000 )\n");
    EXPECT_EQ(both.cpuText, "A @ 1.000KHz");
    EXPECT_EQ(both.soundText, "");
    // Keywords at the very start or end of a line, and near misses.
    const TRecordset edges = ReadGame(
        "cpu flags name B clock 2000 )\ntype audio name C )\npu name D clock 1 )\np\n\tx cpu nam\n"
        "\ttype  audio name E )\n\tvideo ( x 1 y 2 type audio name F )\n");
    EXPECT_EQ(edges.cpuText, "B @ 2.000KHz (sound)");
    EXPECT_EQ(edges.soundText, "C, F");
    EXPECT_EQ(edges.videoText, ", 0 Colors");
    EXPECT_TRUE(ReadGame("sampleof x\n").hasSamples);
    EXPECT_TRUE(ReadGame("xvectox vector\n").isVector);
}

// Lines are looked at sixteen bytes at a time, the last block overlapping the one before it: the
// keywords count wherever they fall in both.
TEST(ReadListInfo, FindsKeywordsAtEveryOffsetOfALine) {
    constexpr int kPads = 34;
    std::string vectors;
    std::string samples;
    std::string chips = "game (\n\tname c\n";
    for (int pad = 0; pad < kPads; ++pad) {
        const std::string x(static_cast<std::size_t>(pad), 'x');
        vectors += "game (\n\tname v\n" + x + "vecto pvp vector" + x + "\n\trom ( name pv.bin )\n\n";
        samples += "game (\n\tname s\n" + x + "sampl ample sample\n\n";
        chips += x + "cpu name A clock 1000 )\n" + x + "cpu flags name B clock 1000 )\n" + x +
                 "type audio name C )\n";
    }
    const ReadOutcome vectorGames = Read(vectors);
    const ReadOutcome sampleGames = Read(samples);
    ASSERT_EQ(vectorGames.games.Count(), kPads);
    ASSERT_EQ(sampleGames.games.Count(), kPads);
    for (int i = 0; i < kPads; ++i) {
        EXPECT_TRUE(vectorGames.games[i].isVector) << i;
        EXPECT_TRUE(sampleGames.games[i].hasSamples) << i;
    }
    const ReadOutcome chipGame = Read(chips);
    ASSERT_EQ(chipGame.games.Count(), 1);
    EXPECT_EQ(chipGame.games[0].cpuText, "34 x A @ 1.000KHz, 34 x B @ 1.000KHz (sound)");
    EXPECT_EQ(chipGame.games[0].soundText, "34 x C");
    const TRecordset nearMisses =
        ReadGame("\trom ( name pvpvpvpvpvpvpvpv.bin size 1 crc 0 )\nvecto\nsampl\ncpu na\n");
    EXPECT_FALSE(nearMisses.isVector || nearMisses.hasSamples);
    EXPECT_EQ(nearMisses.cpuText, "");
}

TEST(ReadListInfo, CondensesChipsAndVideoAsDocumented) {
    const TRecordset game = ReadGame(
        "\tchip ( type cpu name Z80 clock 3072000 )\n\tchip ( type cpu flags audio name Z80 clock 3579545 )\n"
        "\tchip ( type cpu name M6809 clock 1500000 )\n\tchip ( type cpu name Z80 clock 3072000 )\n"
        "\tchip ( type audio name DAC )\n\tchip ( type audio name YM2203 clock 3000000 )\n"
        "\tchip ( type audio name DAC )\n\tchip ( type audio name AY-3-8910 clock 999999 )\n"
        "\tvideo ( screen raster orientation vertical x 224 y 288 colors 256 freq 60.606060 )\n"
        "\tdriver ( status good palettesize 256 )\n");
    EXPECT_EQ(game.cpuText, "2 x Z80 @ 3.072000MHz, Z80 @ 3.579545MHz (sound), M6809 @ 1.500000MHz");
    EXPECT_EQ(game.soundText, "2 x DAC, YM2203 @ 3.000000MHz, AY-3-8910 @ 999.999KHz");
    EXPECT_EQ(game.videoText, "224 x 288 @ 60.606060Hz, 256 Colors");
}

TEST(ReadListInfo, BlocksOpenOnlyOnTheExactLineAndEndAtAnEmptyLineOrTheFileEnd) {
    const ReadOutcome outcome = Read(
        "clrmamepro (\n\tname \"header\"\n)\n\nresource (\n\tname neogeo\n)\n\n"
        " game (\n\tname indented\n)\n\ngame ( \n\tname trailing\n)\n\n\tgame (\n\tname tabbed\n)\n\n"
        "game (\n\tname first\n\tyear 1981\n\n\tyear 1999\n\tname stray\n)\n\n"
        "game (\n\tcloneof notexamined\n\tyear 1990\n)\n\n"
        "game (\n\n\tname notaname\n\tyear 1991\n\n"
        "game (\n\tname last\n\tdescription \"Last\"");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(ZipNames(outcome.games), (std::vector<std::string>{"first#0", "#1", "#2", "last#3"}));
    EXPECT_EQ(outcome.games[0].year, "1981");  // the blank line ended the block
    EXPECT_TRUE(outcome.games[1].isMaster);    // the second line was dropped unexamined
    EXPECT_EQ(outcome.games[1].year, "1990");
    EXPECT_EQ(outcome.games[2].year, "1991");  // an empty second line does not end the block
    EXPECT_EQ(outcome.games[3].englishName, "Last");

    // A file that ends right after "game (", with or without a line end, still gives its game.
    for (const char* bytes :
         {"game (", "game (\n", "game (\r\n\tname z", "game (\n\tname z\n\x1A\tyear 1\n"}) {
        const ReadOutcome ended = Read(bytes);
        ASSERT_TRUE(ended.ok);
        ASSERT_EQ(ended.games.Count(), 1) << bytes;
        EXPECT_EQ(ended.games[0].year, "????");
        EXPECT_EQ(ended.games[0].videoText, ", 0 Colors");
    }
    EXPECT_TRUE(Read("").games.Empty());
    EXPECT_TRUE(Read("no games here\n").ok);
}

TEST(ReadListInfo, FailureKeepsEarlierGamesAndDropsTheOneBeingBuilt) {
    const ReadOutcome outcome = Read(
        "game (\n\tname good\n)\n\ngame (\n\tname bad\n\tsound ( channels ? )\n)\n\ngame (\n\tname "
        "after\n)\n");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(ZipNames(outcome.games), std::vector<std::string>{"good#0"});

    TempFolder folder;
    GameList games;
    NoLoadProgress quiet;
    EXPECT_FALSE(ReadListInfo(folder / "missing.txt", games, quiet));
    EXPECT_FALSE(ReadListInfo(folder.Path(), games, quiet));  // a folder cannot be read
    EXPECT_TRUE(games.Empty());
}

TEST(ReadListInfo, ShowsProgressAndRestoresTheCursorOnEveryWayOut) {
    TempFolder folder;
    GameList games;
    RecordingProgress success;
    EXPECT_TRUE(ReadListInfo(folder.Write("ok.txt", "game (\n\tname a\n"), games, success));
    EXPECT_THAT(success.calls, ElementsAre("text0:listinfo.txtを解析中...", "pump", "wait", "restore",
                                           "text0:", "text1:", "text2:"));
    RecordingProgress badNumber;
    EXPECT_FALSE(ReadListInfo(folder.Write("bad.txt", "game (\n\tname a\n\tdriver ( palettesize )\n"), games,
                              badNumber));
    EXPECT_THAT(badNumber.calls, ElementsAre("text0:listinfo.txtを解析中...", "pump", "wait", "restore"));
    RecordingProgress missing;
    EXPECT_FALSE(ReadListInfo(folder / "missing.txt", games, missing));
    EXPECT_THAT(missing.calls, ElementsAre("text0:listinfo.txtを解析中...", "pump", "wait", "restore"));
}

TEST(ReadListInfo, KeepsBytesAsTheyAreWhateverTheyHold) {
    const std::string nul("A\0B", 3);
    const TRecordset game = ReadGame("\tdescription \"" + nul + "\"\n\tmanufacturer \"" + Sjis("ナムコ") +
                                     "\"\r\n\tcloneof ab\x81\r\n\tyear 19\r84\n");
    EXPECT_EQ(game.englishName, nul);
    EXPECT_EQ(game.manufacturer, Sjis("ナムコ"));
    EXPECT_EQ(game.parentName, "ab\x81");  // a lone lead byte before CR LF still ends its line there
    EXPECT_EQ(game.year, "1984");          // a lone CR is dropped

    const std::string huge(1 << 20, 'a');
    const TRecordset big =
        ReadGame("\tdescription \"" + huge + "\"\n\trom ( name " + huge + " vector\n\tyear 2\n");
    EXPECT_EQ(big.englishName, huge);
    EXPECT_TRUE(big.isVector);
    EXPECT_EQ(big.year, "2");
}

}  // namespace
}  // namespace kanaroll
