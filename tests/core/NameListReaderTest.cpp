#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/NameListReader.h"
#include "catalogue/TextCodec.h"
#include "tests/support/Catalogues.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

// A catalogue as listinfo.txt would give it: every game untranslated, its Japanese title the English one.
GameList Catalogue(std::initializer_list<std::string> zipNames) {
    return testing::UntranslatedCatalogue(zipNames);
}

class RecordingProgress final : public LoadProgress {
public:
    void SetStatusText(int panel, std::string_view text) override {
        calls.push_back("text " + std::to_string(panel) + " " + std::string(text));
    }
    void ProcessPendingMessages() override {
        calls.emplace_back("pump");
        if (onPump) onPump();
    }
    void BeginWaitCursor() override { calls.emplace_back("wait"); }
    void EndWaitCursor() override { calls.emplace_back("restore"); }

    std::vector<std::string> calls;
    std::function<void()> onPump;
};

using Calls = std::vector<std::string>;

TEST(MergeNameList, TakesOnlyTabEndedFieldsByteForByte) {
    TempFolder folder;
    GameList games = Catalogue({"full", "noend", "title", "pacman", "lead", "mane", "", "untouched"});
    int count = 0;
    MergeNameList(folder.Write("mame32j.lst",
                               "full\t" + Sjis("パックマン") + "\t" + Sjis("ぱっくまん") + "\tNamco\r\n" +
                                   "noend\tTitle\tReading\r\n"  // no TAB after the reading: empty reading
                                   "title\tTitle\n"             // no TAB after the title: both empty
                                   "PacMan\tCase\tcase\t\n"     // ZIP names are case-sensitive
                                   "lead\t\x81\tr\x82\t\n"      // a lead byte before a TAB does not hide it
                                   "mane\tEnglish mane\tEnglish mane\tMaker\t1980\t\t\traster\t1\t\tgood\n"
                                   "no tab at all\n"  // an empty ZIP name: matches only a game without one
                                   "\n"
                                   "unknown\tX\tY\t\n"),
                  games, count);

    const auto expect = [&games](int index, std::string_view title, std::string_view reading) {
        SCOPED_TRACE(games[index].zipName);
        EXPECT_TRUE(games[index].translated);
        EXPECT_EQ(games[index].japaneseName, title);
        EXPECT_EQ(games[index].reading, reading);
    };
    expect(0, Sjis("パックマン"), Sjis("ぱっくまん"));
    expect(1, "Title", "");
    expect(2, "", "");
    expect(4, "\x81", "r\x82");
    expect(5, "English mane", "English mane");
    expect(6, "", "");
    EXPECT_FALSE(games[3].translated);
    EXPECT_EQ(games[3].japaneseName, "English pacman");
    EXPECT_FALSE(games[7].translated);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(games[0].manufacturer, "");  // nothing but the three fields is taken
}

TEST(MergeNameList, FirstLineWinsAndTranslatedGamesAreSkipped) {
    TempFolder folder;
    // Duplicate ZIP names do not come from listinfo.txt, but the merge still gives each line to the
    // first untranslated game of the name.
    GameList games = Catalogue({"dup", "solo", "dup", "dup"});
    games[0].translated = true;
    int count = 1;
    MergeNameList(folder.Write("list",
                               "solo\tFirst\tfirst\t\nsolo\tSecond\tsecond\t\n"
                               "dup\tA\ta\t\ndup\tB\tb\t\ndup\tC\tc\t\n"),
                  games, count);
    EXPECT_EQ(games[1].japaneseName, "First");
    EXPECT_EQ(games[1].reading, "first");
    EXPECT_EQ(games[0].japaneseName, "English dup");
    EXPECT_EQ(games[2].japaneseName, "A");
    EXPECT_EQ(games[3].japaneseName, "B");
    EXPECT_EQ(count, 4);
}

// The lookup by name must pick the very game that a scan from index 0 over untranslated games picks.
TEST(MergeNameList, GivesTheSameGamesAsAPlainScan) {
    std::mt19937 random(20240601);
    const auto name = [&random] { return std::string(1, static_cast<char>('a' + random() % 6)); };
    for (int round = 0; round < 50; ++round) {
        GameList games, expected;
        for (int i = 0; i < 12; ++i) {
            const bool translated = random() % 4 == 0;
            for (GameList* list : {&games, &expected}) {
                auto game = std::make_unique<TRecordset>();
                game->zipName = name();
                game->translated = translated;
                list->Append(std::move(game));
            }
            expected[i].zipName = games[i].zipName;
        }
        std::vector<std::string> lines;
        for (int i = 0; i < 20; ++i) lines.push_back(name() + "\tt" + std::to_string(i) + "\tr\t");

        int count = 0, expectedCount = 0;
        std::size_t next = 0;
        MergeNameListLines(
            [&](std::string_view& line) { return next < lines.size() && (line = lines[next++], true); },
            games, count);
        for (const std::string& line : lines) {
            for (int i = 0; i < expected.Count(); ++i) {
                if (expected[i].translated || expected[i].zipName != line.substr(0, 1)) continue;
                expected[i].japaneseName = line.substr(2, line.find('\t', 2) - 2);
                expected[i].translated = true;
                ++expectedCount;
                break;
            }
        }
        ASSERT_EQ(count, expectedCount);
        for (int i = 0; i < games.Count(); ++i) {
            ASSERT_EQ(games[i].translated, expected[i].translated) << round << " " << i;
            ASSERT_EQ(games[i].japaneseName, expected[i].japaneseName) << round << " " << i;
        }
    }
}

TEST(MergeNameList, ToleratesNulLeadBytesAtLineEndsAndLongLines) {
    TempFolder folder;
    GameList games = Catalogue({"nul", "lead", "long", "after", std::string("n\0x", 3)});
    const std::string longTitle(1500000, '\x88');
    int count = 0;
    MergeNameList(
        folder.Write("list", std::string("nul\tti\0tle\tre\0ad\t\r\n", 19) + "lead\tT\tR\t\x82\r\n" +
                                 "long\t" + longTitle + "\tr\t\n" + "after\tA\ta\t\x81"),
        games, count);
    EXPECT_EQ(games[0].japaneseName, std::string("ti\0tle", 6));
    EXPECT_EQ(games[0].reading, std::string("re\0ad", 5));
    EXPECT_EQ(games[1].reading, "R");
    EXPECT_EQ(games[2].japaneseName, longTitle);
    EXPECT_EQ(games[3].japaneseName, "A");  // a last line without its line end
    EXPECT_FALSE(games[4].translated);
    EXPECT_EQ(count, 4);
}

TEST(MergeNameList, AnErrorKeepsTheGamesMergedBeforeIt) {
    GameList games = Catalogue({"a", "b", "c"});
    int count = 0;
    int served = 0;
    const auto failOnThird = [&served](std::string_view& line) {
        if (served == 2) throw IoError(io::kAccessDenied);
        line = served++ == 0 ? "a\tA\ta\t" : "b\tB\tb\t";
        return true;
    };
    EXPECT_THROW(MergeNameListLines(failOnThird, games, count), IoError);
    EXPECT_EQ(games[0].japaneseName, "A");
    EXPECT_EQ(games[1].japaneseName, "B");
    EXPECT_FALSE(games[2].translated);
    EXPECT_EQ(count, 2);

    TempFolder folder;  // a folder cannot be read as a list
    std::filesystem::create_directory(folder / "folder");
    EXPECT_THROW(MergeNameList(folder / "folder", games, count), IoError);
    EXPECT_EQ(count, 2);
}

TEST(ReadNameList, WithoutEitherListDoesNothing) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "mame32j.lst");  // a folder is no list
    GameList games = Catalogue({"a"});
    int count = 0;
    RecordingProgress progress;
    ReadNameList(folder.Path(), games, count, progress);
    EXPECT_EQ(progress.calls, Calls{});
    EXPECT_FALSE(games[0].translated);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(ChooseNameList(folder.Path()));
}

TEST(ReadNameList, PrefersMame32jAndShowsProgressWhileReading) {
    TempFolder folder;
    folder.Write("mane32j.lst", "a\tFromMane\tm\t\n");
    GameList games = Catalogue({"a"});
    int count = 0;
    RecordingProgress progress;
    ReadNameList(folder.Path(), games, count, progress);
    EXPECT_EQ(games[0].japaneseName, "FromMane");
    EXPECT_EQ(progress.calls,
              (Calls{"wait", "text 0 Mane32j.lstから読み込み中...", "pump", "text 0 ", "restore"}));

    folder.Write("mame32j.lst", "a\tFromMame\tm\t\n");
    games = Catalogue({"a"});
    count = 0;
    progress.calls.clear();
    ReadNameList(folder.Path(), games, count, progress);
    EXPECT_EQ(games[0].japaneseName, "FromMame");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(progress.calls,
              (Calls{"wait", "text 0 Mame32j.lstから読み込み中...", "pump", "text 0 ", "restore"}));
}

TEST(ReadNameList, AnErrorStillClearsTheTextAndRestoresTheCursor) {
    TempFolder folder;
    const auto list = folder.Write("mame32j.lst", "a\tA\ta\t\n");
    GameList games = Catalogue({"a"});
    int count = 0;
    RecordingProgress progress;
    progress.onPump = [&list] {  // the list turns into a folder between the choice and the read
        std::filesystem::remove(list);
        std::filesystem::create_directory(list);
    };
    EXPECT_THROW(ReadNameList(folder.Path(), games, count, progress), IoError);
    EXPECT_EQ(progress.calls,
              (Calls{"wait", "text 0 Mame32j.lstから読み込み中...", "pump", "text 0 ", "restore"}));
    EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace kanaroll
