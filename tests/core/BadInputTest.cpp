// Damaged and hostile input files, and what Kanaroll makes of each: the small ones lie in
// tests/badinput (written by make-badinput.py there), the large ones are made here at test time.
// Every read stays within a time bound that only a hang exceeds and, where the memory can be
// measured, within a bound that only a runaway allocation exceeds.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <string_view>

#include "catalogue/GameList.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/SettingsFile.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/GameOrder.h"
#include "replace/TitleReplace.h"
#include "tests/support/ResourceBounds.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using namespace std::string_literals;
using testing::Measure;
using testing::ResourceUse;
using testing::TempFolder;

std::filesystem::path BadInput(std::string_view relative) {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "badinput" / relative;
}

// Checks the bounds and keeps the figures in the test's XML results.
void ExpectWithinBounds(const ResourceUse& use, double maxMiB) {
    static int measurement = 0;
    const std::string suffix = "_" + std::to_string(++measurement);
    ::testing::Test::RecordProperty("seconds" + suffix, std::to_string(use.seconds));
    EXPECT_LT(use.seconds, testing::kHangSeconds);
    if (use.peakGrowthMiB) {
        ::testing::Test::RecordProperty("peakGrowthMiB" + suffix, std::to_string(*use.peakGrowthMiB));
        EXPECT_LT(*use.peakGrowthMiB, maxMiB);
    }
}

struct ListInfo {
    bool read = false;
    GameList games;
};

ListInfo ReadListInfoFile(const std::filesystem::path& file, double maxMiB = 16) {
    ListInfo result;
    NoLoadProgress quiet;
    ExpectWithinBounds(Measure([&] { result.read = ReadListInfo(file, result.games, quiet); }), maxMiB);
    return result;
}

// The catalogue the name lists below are merged into.
GameList PacmanAndGalaga() {
    GameList games;
    for (const char* zip : {"pacman", "galaga"}) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = zip;
        game->englishName = game->japaneseName = zip;
        game->listOrder = games.Count();
        games.Append(std::move(game));
    }
    return games;
}

struct Merged {
    GameList games = PacmanAndGalaga();
    int translatedCount = 0;
};

Merged MergeFile(const std::filesystem::path& file, Merged merged = {}, double maxMiB = 16) {
    ExpectWithinBounds(Measure([&] { MergeNameList(file, merged.games, merged.translatedCount); }), maxMiB);
    EXPECT_EQ(merged.translatedCount, merged.games.CountTranslated());
    return merged;
}

struct Settings {
    std::string mamePath;
    ReplaceRuleList rules;
};

Settings LoadSettingsFile(const std::filesystem::path& file, double maxMiB = 16) {
    Settings settings;
    ExpectWithinBounds(Measure([&] { LoadSettings(file, settings.mamePath, settings.rules); }), maxMiB);
    return settings;
}

// --- listinfo.txt ---------------------------------------------------------------------------

TEST(BadListInfo, ACutOffFileKeepsItsWholeBlocksAndWhatTheLastOneHas) {
    const ListInfo cut = ReadListInfoFile(BadInput("listinfo/truncated-block.txt"));
    EXPECT_TRUE(cut.read);
    ASSERT_EQ(cut.games.Count(), 2);
    const TRecordset& galaga = cut.games[1];
    EXPECT_EQ(galaga.zipName, "galaga");
    EXPECT_EQ(galaga.englishName, "Gal");  // its last byte goes as the closing quote would
    EXPECT_EQ(galaga.japaneseName, "Gal");
    EXPECT_EQ(galaga.year, "????");
    EXPECT_EQ(galaga.videoText, ", 0 Colors");
    EXPECT_EQ(galaga.listOrder, 1);

    EXPECT_EQ(ReadListInfoFile(BadInput("listinfo/truncated-after-game.txt")).games.Count(), 1);
}

// A number cut off is no number: the read fails, as the start-up then reports, and the blocks
// before it stay.
TEST(BadListInfo, ACutOffNumberFailsTheReadKeepingTheBlocksBefore) {
    const ListInfo cut = ReadListInfoFile(BadInput("listinfo/truncated-number.txt"));
    EXPECT_FALSE(cut.read);
    ASSERT_EQ(cut.games.Count(), 1);
    EXPECT_EQ(cut.games[0].zipName, "pacman");
}

TEST(BadListInfo, ABlockWithoutANameLineHasAnEmptyZipName) {
    ListInfo read = ReadListInfoFile(BadInput("listinfo/no-name-line.txt"));
    EXPECT_TRUE(read.read);
    ASSERT_EQ(read.games.Count(), 3);
    EXPECT_EQ(read.games[0].zipName, "");
    EXPECT_EQ(read.games[0].englishName, "");  // the line in the name's place is not looked at
    EXPECT_EQ(read.games[0].year, "1990");
    EXPECT_EQ(read.games[1].zipName, "");
    EXPECT_EQ(read.games[1].englishName, "Nameless");
    EXPECT_EQ(read.games[2].zipName, "pacman");
    // Nameless games are games like any other: written, sorted and searched without harm.
    SortGames(read.games, 1);
    EXPECT_EQ(read.games[2].zipName, "pacman");
    EXPECT_EQ(FindZipPrefix(read.games, "", 0, true, ShiftJisCodec()), 0);
}

TEST(BadListInfo, NulBytesAreKeptAsBytes) {
    const ListInfo read = ReadListInfoFile(BadInput("listinfo/nul-bytes.txt"));
    EXPECT_TRUE(read.read);
    ASSERT_EQ(read.games.Count(), 1);  // "game (" with a NUL behind it opens no block
    EXPECT_EQ(read.games[0].zipName, "pac\0man"s);
    EXPECT_EQ(read.games[0].englishName, "Pac\0Man"s);
    EXPECT_EQ(read.games[0].manufacturer, "Na\0mco"s);
}

TEST(BadListInfo, CtrlZEndsItsLineAndAtALineStartTheFile) {
    const ListInfo read = ReadListInfoFile(BadInput("listinfo/ctrl-z.txt"));
    EXPECT_TRUE(read.read);
    ASSERT_EQ(read.games.Count(), 2);
    EXPECT_EQ(read.games[0].englishName, "Pac-Ma");  // cut at the Ctrl-Z, then the quote's byte
    EXPECT_EQ(read.games[1].zipName, "gal");
    EXPECT_EQ(read.games[1].englishName, "Galaga");
}

TEST(BadListInfo, LoneCarriageReturnsVanishFromTheirLines) {
    const ListInfo read = ReadListInfoFile(BadInput("listinfo/lone-cr.txt"));
    EXPECT_TRUE(read.read);
    ASSERT_EQ(read.games.Count(), 1);  // the part with CR-only line ends is one line, no block
    EXPECT_EQ(read.games[0].zipName, "pacman");
    EXPECT_EQ(read.games[0].englishName, "PacMan");
    EXPECT_EQ(read.games[0].year, "19");
}

TEST(BadListInfo, ALeadByteAtALineEndStaysTheTextsLastByte) {
    const ListInfo read = ReadListInfoFile(BadInput("listinfo/lead-byte-at-line-end.txt"));
    EXPECT_TRUE(read.read);
    ASSERT_EQ(read.games.Count(), 1);
    const TRecordset& game = read.games[0];
    EXPECT_EQ(game.zipName, "pac\x82");
    EXPECT_EQ(game.englishName, "Title\x82");
    EXPECT_EQ(game.year, "19\x88");
    EXPECT_EQ(game.manufacturer, "\x82");
    EXPECT_EQ(game.parentName, "par\x82");
    EXPECT_FALSE(game.isMaster);
    // The text routines stop at the end of the text: a lone lead byte is a character of its own.
    const TextCodec& codec = ShiftJisCodec();
    EXPECT_EQ(codec.ToUpper(game.englishName), "TITLE\x82");
    EXPECT_EQ(codec.Find(game.englishName, "\x82"), 5u);
    EXPECT_EQ(ReplaceAllIgnoreCase(game.englishName, "\x82", "!", codec), "Title!");
    EXPECT_FALSE(codec.ToUtf8(game.englishName).empty());
}

TEST(BadListInfo, BytesThatAreNoShiftJisAreTakenAsTheyAre) {
    const ListInfo read = ReadListInfoFile(BadInput("listinfo/invalid-sjis.txt"));
    EXPECT_TRUE(read.read);
    ASSERT_EQ(read.games.Count(), 1);
    const TRecordset& game = read.games[0];
    EXPECT_EQ(game.zipName, "bad\x80\xA0");
    EXPECT_EQ(game.englishName, "\xFD\xFE\xFF \x81 x \x9F");
    EXPECT_EQ(game.manufacturer, "\x81");
    EXPECT_EQ(game.controlType, "\xE0\xFF");
    // Written back byte for byte.
    TempFolder folder;
    WriteMane32J(folder / "MANE32J.lst", read.games);
    EXPECT_EQ(folder.Read("MANE32J.lst").substr(0, 28),
              "bad\x80\xA0\t\xFD\xFE\xFF \x81 x \x9F\t\xFD\xFE\xFF \x81 x \x9F\t\x81\t");
    EXPECT_EQ(ShiftJisCodec().ToUpper(game.englishName).size(), game.englishName.size());
}

TEST(BadListInfo, AMillionEmptyLinesAreAnEmptyCatalogue) {
    TempFolder folder;
    for (const std::string_view lineEnd : {"\n", "\r\n"}) {
        std::string lines;
        for (int i = 0; i < 1000000; ++i) lines += lineEnd;
        const ListInfo read = ReadListInfoFile(folder.Write("listinfo.txt", lines));
        EXPECT_TRUE(read.read);
        EXPECT_TRUE(read.games.Empty());
    }
    // Empty lines of no bytes at all: an empty file.
    const ListInfo empty = ReadListInfoFile(folder.Write("listinfo.txt", ""));
    EXPECT_TRUE(empty.read);
    EXPECT_TRUE(empty.games.Empty());
}

// Lines of 1 MB: a name, a title, lines full of the bytes the keyword scan looks around, and a line
// outside any block.
TEST(BadListInfo, LinesOfAMegabyteAreReadWhole) {
    const std::string megabyte(1 << 20, 'p');
    const std::string title(1 << 20, 'T');
    std::string text = std::string(1 << 20, 'x') + "\r\n";
    text += "game (\r\n\tname " + std::string(1 << 20, 'n') + "\r\n\tdescription \"" + title + "\"\r\n";
    text += "\trom ( name " + megabyte + " )\r\n\t" + std::string(1 << 20, 'v') + "\r\n";
    text += ")\r\n\r\ngame (\r\n\tname pacman\r\n)\r\n";
    TempFolder folder;
    const ListInfo read = ReadListInfoFile(folder.Write("listinfo.txt", text), 64);
    EXPECT_TRUE(read.read);
    ASSERT_EQ(read.games.Count(), 2);
    EXPECT_EQ(read.games[0].zipName.size(), 1u << 20);
    EXPECT_EQ(read.games[0].englishName, title);
    EXPECT_FALSE(read.games[0].isVector);
    EXPECT_EQ(read.games[1].zipName, "pacman");
}

// --- name lists -----------------------------------------------------------------------------

TEST(BadNameList, ACutOffLastLineStillTranslatesItsGameWithEmptyTexts) {
    const Merged merged = MergeFile(BadInput("namelist/truncated.lst"));
    EXPECT_EQ(merged.translatedCount, 2);
    EXPECT_EQ(merged.games[0].japaneseName, Sjis("パックマン"));
    EXPECT_TRUE(merged.games[1].translated);
    EXPECT_EQ(merged.games[1].japaneseName, "");  // no TAB after the cut title
    EXPECT_EQ(merged.games[1].reading, "");
}

TEST(BadNameList, NulBytesAreKeptAndMatchNothingElse) {
    const Merged merged = MergeFile(BadInput("namelist/nul-bytes.lst"));
    EXPECT_EQ(merged.translatedCount, 1);
    EXPECT_FALSE(merged.games[0].translated);  // "pac\0man" is no pacman
    EXPECT_EQ(merged.games[1].japaneseName, Sjis("ギャ") + "\0"s + Sjis("ラガ"));
}

TEST(BadNameList, CtrlZEndsItsLineAndAtALineStartTheList) {
    const Merged merged = MergeFile(BadInput("namelist/ctrl-z.lst"));
    EXPECT_EQ(merged.translatedCount, 1);
    EXPECT_TRUE(merged.games[0].translated);
    EXPECT_EQ(merged.games[0].japaneseName, "");  // the TAB after the title was behind the Ctrl-Z
    EXPECT_FALSE(merged.games[1].translated);
}

TEST(BadNameList, LoneCarriageReturnsVanishFromTheFields) {
    const Merged merged = MergeFile(BadInput("namelist/lone-cr.lst"));
    EXPECT_EQ(merged.translatedCount, 2);
    EXPECT_EQ(merged.games[0].japaneseName, Sjis("パックマン"));
    EXPECT_EQ(merged.games[0].reading, Sjis("ぱっくまん"));
}

// A field that ends in a lead byte keeps it, and a save writes it back as it came.
TEST(BadNameList, ALeadByteBeforeATabOrALineEndStaysInItsField) {
    const Merged merged = MergeFile(BadInput("namelist/lead-byte-at-line-end.lst"));
    EXPECT_EQ(merged.translatedCount, 2);
    EXPECT_EQ(merged.games[0].japaneseName, Sjis("パック") + "\x82");
    EXPECT_EQ(merged.games[0].reading, Sjis("ぱっ") + "\x82");
    TempFolder folder;
    WriteMame32J(folder / "mame32j.lst", merged.games);
    EXPECT_EQ(folder.Read("mame32j.lst"), "pacman\t" + Sjis("パック") + "\x82\t" + Sjis("ぱっ") +
                                              "\x82\t\r\n" + "galaga\t" + Sjis("ギャラガ") + "\t" +
                                              Sjis("ぎゃらが") + "\t\r\n");
}

TEST(BadNameList, BytesThatAreNoShiftJisAreTakenAndWrittenAsTheyAre) {
    const Merged merged = MergeFile(BadInput("namelist/invalid-sjis.lst"));
    EXPECT_EQ(merged.translatedCount, 1);
    EXPECT_EQ(merged.games[0].japaneseName, "\x80\xA0\xFD\xFE\xFF\x81 ");
    EXPECT_EQ(merged.games[0].reading, "\x9F");
    TempFolder folder;
    WriteMame32J(folder / "mame32j.lst", merged.games);
    EXPECT_EQ(folder.Read("mame32j.lst"), "pacman\t\x80\xA0\xFD\xFE\xFF\x81 \t\x9F\t\r\n");
}

// 100,000 lines of one ZIP name: the first wins, the others are passed over one by one.
TEST(BadNameList, OneHundredThousandLinesOfOneZipNameTranslateItOnce) {
    std::string lines;
    for (int i = 0; i < 100000; ++i) lines += "pacman\tTitle " + std::to_string(i) + "\tReading\t\r\n";
    TempFolder folder;
    const Merged merged = MergeFile(folder.Write("mame32j.lst", lines), {}, 64);
    EXPECT_EQ(merged.translatedCount, 1);
    EXPECT_EQ(merged.games[0].japaneseName, "Title 0");
}

// 100,000 games of one ZIP name and as many lines of it: each line takes the next untranslated game
// of the name, in catalogue order, as a scan from the first game would, without the scan's time.
TEST(BadNameList, OneHundredThousandGamesOfOneZipNameTakeTheirLinesInOrder) {
    constexpr int kCount = 100000;
    std::string listInfo;
    std::string lines;
    for (int i = 0; i < kCount; ++i) {
        listInfo +=
            "game (\r\n\tname pacman\r\n\tdescription \"Pac-Man " + std::to_string(i) + "\"\r\n)\r\n\r\n";
        lines += "pacman\t" + std::to_string(i) + "\t\t\r\n";
    }
    TempFolder folder;
    // The catalogue itself: about 1 KB per game under AddressSanitizer, far less without it.
    ListInfo read = ReadListInfoFile(folder.Write("listinfo.txt", listInfo), 512);
    ASSERT_EQ(read.games.Count(), kCount);
    Merged merged{std::move(read.games), 0};
    merged = MergeFile(folder.Write("mame32j.lst", lines), std::move(merged), 128);
    EXPECT_EQ(merged.translatedCount, kCount);
    for (int i = 0; i < kCount; i += 9973) EXPECT_EQ(merged.games[i].japaneseName, std::to_string(i));
}

TEST(BadNameList, ATitleOfAMegabyteIsTakenWhole) {
    const std::string title(1 << 20, 'T');
    TempFolder folder;
    const Merged merged = MergeFile(folder.Write("mame32j.lst", "pacman\t" + title + "\tr\t\r\n"), {}, 64);
    EXPECT_EQ(merged.games[0].japaneseName, title);
    EXPECT_EQ(merged.games[0].reading, "r");
}

// --- kanaroll.ini ---------------------------------------------------------------------------

TEST(BadSettings, RuleLinesWithOtherTabCountsAreCutAtTheirFirstTwoTabs) {
    const Settings settings = LoadSettingsFile(BadInput("settings/rules-with-tabs.ini"));
    EXPECT_EQ(settings.mamePath, "");  // names no file; the "MAMEPath:" rule line also named none
    const ReplaceRuleList expected{{"a", "b", false},
                                   {"", "", false},
                                   {"x", "", true},
                                   {"", "", false},
                                   {"", "", true},
                                   {"ReplaceText:=y", "z", true},
                                   {"Japan", Sjis("日本版"), true}};
    EXPECT_EQ(settings.rules, expected);
    // Written again, every rule comes back as it was read.
    TempFolder folder;
    SaveSettings(folder / "kanaroll.ini", settings.mamePath, settings.rules);
    EXPECT_EQ(LoadSettingsFile(folder / "kanaroll.ini").rules, expected);
}

TEST(BadSettings, ACutOffRuleKeepsItsSearchTextWithAnEmptyReplacement) {
    const Settings settings = LoadSettingsFile(BadInput("settings/truncated.ini"));
    const ReplaceRuleList expected{{"US", Sjis("米国版"), true}, {"Japan", "", false}};
    EXPECT_EQ(settings.rules, expected);
}

TEST(BadSettings, NulCtrlZAndLoneCarriageReturns) {
    const Settings settings = LoadSettingsFile(BadInput("settings/nul-ctrl-z-cr.ini"));
    const ReplaceRuleList expected{
        {"Ja\0pan"s, Sjis("日本版"), true}, {"US", Sjis("米国版"), true}, {"World", Sjis("海外版"), true}};
    EXPECT_EQ(settings.rules, expected);
}

// Thousands of rules are read, written and applied by F3 in good time; so is a rule of 1 MB.
TEST(BadSettings, ThousandsOfRulesAndARuleOfAMegabyte) {
    std::string text = "MAMEPath:=\r\n";
    for (int i = 0; i < 5000; ++i)
        text += "ReplaceText:=word" + std::to_string(i) + "\tx\t" + (i % 2 ? "P" : "") + "\r\n";
    text += "ReplaceText:=" + std::string(1 << 20, 'S') + "\t" + std::string(1 << 20, 'R') + "\t\r\n";
    TempFolder folder;
    const Settings settings = LoadSettingsFile(folder.Write("kanaroll.ini", text), 64);
    ASSERT_EQ(settings.rules.size(), 5001u);
    EXPECT_EQ(settings.rules[4999], (TReplacePatterns{"word4999", "x", true}));
    EXPECT_EQ(settings.rules[5000].searchText.size(), 1u << 20);

    SaveSettings(folder / "again.ini", settings.mamePath, settings.rules);
    EXPECT_EQ(folder.Read("again.ini"), text);

    std::string title;
    ExpectWithinBounds(Measure([&] {
                           title = ApplyRulesToTitle("A word1 title (word3 word1) " + std::string(4096, 'S'),
                                                     settings.rules, ShiftJisCodec());
                       }),
                       64);
    EXPECT_EQ(title, "A word1 title (x x) " + std::string(4096, 'S'));
}

}  // namespace
}  // namespace kanaroll
