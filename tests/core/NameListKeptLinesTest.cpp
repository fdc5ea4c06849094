// What a save keeps of the list read at start: the lines no game took, byte for byte and in their
// order, after the catalogue's lines, through any number of saves.
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/TextCodec.h"
#include "tests/support/Catalogues.h"
#include "tests/support/ListInfoText.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

GameList Catalogue(std::initializer_list<std::string> zipNames) {
    return testing::UntranslatedCatalogue(zipNames, "Maker");
}

// Reads `list` into a fresh catalogue and writes it back as quick save does; the bytes written.
struct Cycle {
    GameList games;
    int translated = 0;
    LoadedNameList loaded;
    std::string written;
};

Cycle LoadAndSave(const TempFolder& folder, std::string_view list, GameList games) {
    Cycle cycle{std::move(games)};
    cycle.loaded = MergeNameList(folder.Write("mame32j.lst", list), cycle.games, cycle.translated);
    WriteMame32J(folder / "mame32j.lst", cycle.games, cycle.loaded, ShiftJisCodec());
    cycle.written = folder.Read("mame32j.lst");
    return cycle;
}

TEST(KeptNameListLines, EveryLineNoGameTookIsWrittenBackAsItStood) {
    TempFolder folder;
    const std::string title = Sjis("パックマン");
    const std::string list = "galaga\t" + Sjis("ギャラガ") + "\t" + Sjis("ぎゃらが") + "\tNamco\n" +
                             "missing\t" + Sjis("未知") + "\t" + Sjis("みち") + "\tSomeone\textra\n" +
                             "pacman\t" + title + "\t\t\n" +
                             "galaga\tLater\tlater\t\n"  // a later line of a game
                             "comment without a tab\n"
                             "\n"
                             "odd\rone\tT\tt\t\n"  // a lone CR stays in the kept line
                             "cut\x1A"
                             "after the mark\n"  // and so does what follows a Ctrl-Z
                             "last\tL\tl";       // no line end
    const Cycle first = LoadAndSave(folder,
                                    list +
                                        "\n\x1A"
                                        "after the end\r\n",
                                    Catalogue({"pacman", "galaga", "other"}));
    EXPECT_EQ(first.translated, 2);  // the counters count the catalogue's games only
    EXPECT_EQ(first.games.CountTranslated(), 2);
    EXPECT_EQ(first.written, "pacman\t" + title + "\t\tMaker\r\n" + "galaga\t" + Sjis("ギャラガ") + "\t" +
                                 Sjis("ぎゃらが") + "\tMaker\r\n" + "missing\t" + Sjis("未知") + "\t" +
                                 Sjis("みち") + "\tSomeone\textra\r\n" +
                                 "galaga\tLater\tlater\t\r\n"
                                 "comment without a tab\r\n"
                                 "\r\n"
                                 "odd\rone\tT\tt\t\r\n"
                                 "cut\x1A"
                                 "after the mark\r\n"
                                 "last\tL\tl\r\n"
                                 "\x1A"
                                 "after the end\r\n");

    // Saved again and again, the list neither loses nor gains a line.
    const Cycle second = LoadAndSave(folder, first.written, Catalogue({"pacman", "galaga", "other"}));
    EXPECT_EQ(second.written, first.written);
    EXPECT_EQ(second.translated, 2);
    EXPECT_EQ(second.games[0].japaneseName, title);
}

TEST(KeptNameListLines, ALaterLineDoesNotBringBackATranslationTheUserRemoved) {
    TempFolder folder;
    Cycle cycle =
        LoadAndSave(folder, "pacman\tFirst\tfirst\t\npacman\tSecond\tsecond\t\n", Catalogue({"pacman"}));
    EXPECT_EQ(cycle.written, "pacman\tFirst\tfirst\tMaker\r\npacman\tSecond\tsecond\t\r\n");

    // The user empties the reading: the game is untranslated, and so must it come back.
    cycle.games[0].reading.clear();
    cycle.games[0].translated = false;
    WriteMame32J(folder / "mame32j.lst", cycle.games, cycle.loaded, ShiftJisCodec());
    EXPECT_EQ(folder.Read("mame32j.lst"), "");

    // Translated again in the same run, the game has its line and the later line returns behind it.
    cycle.games[0].reading = "again";
    cycle.games[0].translated = true;
    WriteMame32J(folder / "mame32j.lst", cycle.games, cycle.loaded, ShiftJisCodec());
    EXPECT_EQ(folder.Read("mame32j.lst"), "pacman\tFirst\tagain\tMaker\r\npacman\tSecond\tsecond\t\r\n");
}

// A block of listinfo.txt without a name line gives a game whose ZIP name is empty, and a list line
// without a TAB names that game too. Translated by the first such line, typed and emptied by the
// user, the game must stay untranslated through the save and the next start: the second such line
// may not come back and translate it.
TEST(KeptNameListLines, ALineWithoutATabDoesNotTranslateTheNamelessGameAgain) {
    TempFolder folder;
    std::string listInfo = testing::ListInfoText({{.zip = "pacman", .description = "Pac-Man"}});
    listInfo += "game (\r\n\tdescription \"Nameless\"\r\n\tyear 1982\r\n)\r\n\r\n";
    const auto listInfoFile = folder.Write("listinfo.txt", listInfo);
    const auto start = [&](Cycle& cycle) {
        NoLoadProgress quiet;
        ASSERT_TRUE(ReadListInfo(listInfoFile, cycle.games, quiet));
        ASSERT_EQ(cycle.games.Count(), 2);
        ASSERT_EQ(cycle.games[1].zipName, "");
        cycle.loaded = MergeNameList(folder / "mame32j.lst", cycle.games, cycle.translated);
    };
    folder.Write("mame32j.lst", "pacman\tP\tp\t\r\nfirst without a tab\r\nsecond without a tab\r\n");

    Cycle first;
    start(first);
    ASSERT_TRUE(first.games[1].translated);  // the first line without a TAB took it
    first.games[1].reading = "yomi";
    first.games[1].reading.clear();
    first.games[1].translated = false;
    WriteMame32J(folder / "mame32j.lst", first.games, first.loaded, ShiftJisCodec());
    EXPECT_EQ(folder.Read("mame32j.lst"), "pacman\tP\tp\tNamco\r\n");

    Cycle next;
    start(next);
    EXPECT_FALSE(next.games[1].translated);
    EXPECT_EQ(next.translated, 1);
}

// Each line no game took keeps the ZIP name the merge read from it, in the catalogue's codec, so
// that a save decides by the same name the next start will read.
TEST(KeptNameListLines, EachKeptLineCarriesTheZipNameTheMergeRead) {
    TempFolder folder;
    GameList games = Catalogue({"a"});
    int translated = 0;
    const LoadedNameList loaded = MergeNameList(
        folder.Write("mame32j.lst", "a\tT\tt\t\nno tab\na\tagain\nb\r\rc\tT\nd\x1A\tafter the mark\n\n"),
        games, translated);
    ASSERT_EQ(loaded.keptLines.size(), 5u);
    const struct {
        const char* bytes;
        const char* zipName;
    } expected[] = {
        {"no tab", ""}, {"a\tagain", "a"}, {"b\r\rc\tT", "bc"}, {"d\x1A\tafter the mark", ""}, {"", ""}};
    for (std::size_t i = 0; i < loaded.keptLines.size(); ++i) {
        EXPECT_EQ(loaded.keptLines[i].bytes, expected[i].bytes) << i;
        ASSERT_TRUE(loaded.keptLines[i].zipName) << i;
        EXPECT_EQ(*loaded.keptLines[i].zipName, expected[i].zipName) << i;
    }
}

// The ZIP name a line names as the Shift-JIS rules read it: the text up to a Ctrl-Z and without its
// CRs, up to its first TAB; empty without a TAB.
std::string ZipNameRead(std::string_view raw) {
    std::string text(raw.substr(0, raw.find('\x1A')));
    std::erase(text, '\r');
    const auto tab = text.find('\t');
    return tab == std::string::npos ? "" : text.substr(0, tab);
}

// Random lists over a few ZIP names, some of them not in the catalogue, lines without a TAB among
// them, with games the user then leaves untranslated (the nameless game too): after the first save,
// reading and saving again changes nothing, every game comes back as the user left it, and every
// kept line is in the file in its order.
TEST(KeptNameListLines, LoadAndSaveCyclesLoseNothingAndAddNothing) {
    std::mt19937 random(20240612);
    const char* zipNames[] = {"a", "b", "c", "d", "x", "y", ""};
    const char* texts[] = {"T", "\x83\x5C", "t\rr", "\x1A", "", "\t", "U\tV"};
    const char* withoutTab[] = {"no tab", "", "t\rr", "x\x1A\tafter the mark"};
    TempFolder folder;
    for (int round = 0; round < 300; ++round) {
        std::string list;
        const int lines = static_cast<int>(random() % 8);
        for (int i = 0; i < lines; ++i) {
            if (random() % 4 == 0) {
                list += withoutTab[random() % 4];
                list += random() % 2 ? "\r\n" : "\n";
                continue;
            }
            list +=
                std::string(zipNames[random() % 7]) + "\t" + texts[random() % 7] + "\t" + texts[random() % 7];
            list += random() % 2 ? "\t\r\n" : "\n";
        }
        if (random() % 8 == 0)
            list +=
                "\x1A"
                "rest\n";  // an end-of-file mark
        SCOPED_TRACE(::testing::PrintToString(list));
        Cycle first = LoadAndSave(folder, list, Catalogue({"a", "b", "c", "d", ""}));
        for (int i = 0; i < first.games.Count(); ++i) {
            if (random() % 4 != 0) continue;
            first.games[i].reading.clear();
            first.games[i].translated = false;
        }
        WriteMame32J(folder / "mame32j.lst", first.games, first.loaded, ShiftJisCodec());
        const std::string saved = folder.Read("mame32j.lst");

        std::size_t from = 0;
        for (const KeptNameListLine& kept : first.loaded.keptLines) {
            const auto found = saved.find(kept.bytes + "\r\n", from);
            const bool leftOut = [&] {
                for (int i = 0; i < first.games.Count(); ++i)
                    if (!first.games[i].translated && first.games[i].zipName == ZipNameRead(kept.bytes))
                        return true;
                return false;
            }();
            if (leftOut) continue;
            ASSERT_NE(found, std::string::npos) << kept.bytes;
            from = found + kept.bytes.size();
        }

        const Cycle second = LoadAndSave(folder, saved, Catalogue({"a", "b", "c", "d", ""}));
        ASSERT_EQ(second.written, saved);
        for (int i = 0; i < first.games.Count(); ++i) {
            ASSERT_EQ(second.games[i].translated, first.games[i].translated) << i;
            if (!first.games[i].translated) continue;
            ASSERT_EQ(second.games[i].japaneseName, first.games[i].japaneseName) << i;
            ASSERT_EQ(second.games[i].reading, first.games[i].reading) << i;
        }
    }
}

}  // namespace
}  // namespace kanaroll
