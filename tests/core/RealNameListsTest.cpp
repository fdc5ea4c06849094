// The name lists people keep, when they are at hand: the folder named by KANAROLL_REAL_LISTS, or
// the shared data folder beside the repository on the developers' machines. The lists are never part
// of the repository; without them these tests are skipped.
//
// Each list is read with a catalogue of every other game it names, as happens when a list was made
// for another MAME than the user's, and saved: no translation may be lost, every line no game took
// must come back as it stood, and further saves must change nothing.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "catalogue/ListChecks.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/TextCodec.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

std::filesystem::path RealListsFolder() {
    if (const char* folder = std::getenv("KANAROLL_REAL_LISTS")) return folder;
    const auto repository = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    return repository.parent_path() / "shared" / "data" / "real" / "namelists";
}

std::vector<std::filesystem::path> RealLists() {
    std::vector<std::filesystem::path> lists;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(RealListsFolder(), error))
        if (entry.path().extension() == ".lst") lists.push_back(entry.path());
    std::sort(lists.begin(), lists.end());
    return lists;
}

// The lines of a list as the merge sees them: the byte-order mark gone, LF or CR LF ends a line.
std::vector<std::string> Lines(std::string bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The distinct ZIP names of the list, in the order they first appear.
std::vector<std::string> ZipNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const std::string& line : lines) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string name = line.substr(0, tab);
        if (seen.insert(name).second) names.push_back(std::move(name));
    }
    return names;
}

GameList Catalogue(const std::vector<std::string>& zipNames, std::size_t step) {
    GameList games;
    for (std::size_t at = 0; at < zipNames.size(); at += step) {
        auto game = std::make_unique<TRecordset>();
        game->zipName = zipNames[at];
        game->englishName = game->japaneseName = "English title";
        game->listOrder = games.Count();
        games.Append(std::move(game));
    }
    return games;
}

struct Merged {
    GameList games;
    int translated = 0;
    LoadedNameList loaded;
};

Merged Merge(const std::filesystem::path& list, GameList games) {
    Merged merged{std::move(games)};
    const TextCodec& codec = NameListCodec(list);
    merged.loaded = MergeNameList(list, merged.games, merged.translated, codec);
    return merged;
}

// Every game's title and reading as a catalogue of all the list's games takes them from `list`.
std::map<std::string, std::pair<std::string, std::string>> Translations(
    const std::filesystem::path& list, const std::vector<std::string>& zipNames) {
    const Merged merged = Merge(list, Catalogue(zipNames, 1));
    std::map<std::string, std::pair<std::string, std::string>> translations;
    for (const auto& game : merged.games.Items())
        if (game->translated) translations[game->zipName] = {game->japaneseName, game->reading};
    return translations;
}

class RealNameLists : public ::testing::Test {
protected:
    void SetUp() override {
        m_lists = RealLists();
        if (m_lists.empty()) GTEST_SKIP() << "no real name lists in " << RealListsFolder().string();
    }
    std::vector<std::filesystem::path> m_lists;
};

TEST_F(RealNameLists, ASaveWithACatalogueOfHalfTheGamesLosesNoTranslationAndNoLine) {
    for (const auto& list : m_lists) {
        SCOPED_TRACE(list.filename().string());
        TempFolder folder;
        const std::string input = TempFolder::ReadFile(list);
        const std::vector<std::string> inputLines = Lines(input);
        const std::vector<std::string> zipNames = ZipNames(inputLines);
        const auto saved = folder / "mame32j.lst";
        std::filesystem::copy_file(list, saved);

        Merged half = Merge(saved, Catalogue(zipNames, 2));
        const TextCodec& codec = *half.loaded.format.codec;
        EXPECT_EQ(half.translated, half.games.CountTranslated());
        EXPECT_EQ(half.translated, half.games.Count());  // every game of the catalogue is in the list
        WriteMame32J(saved, half.games, half.loaded, codec);
        const std::string first = folder.Read("mame32j.lst");

        // Every line no game took is in the output as it stood, and no line went missing.
        const std::vector<std::string> outputLines = Lines(first);
        EXPECT_EQ(outputLines.size(), inputLines.size());
        const std::unordered_set<std::string> output(outputLines.begin(), outputLines.end());
        for (const KeptNameListLine& kept : half.loaded.keptLines)
            ASSERT_TRUE(output.contains(kept.bytes)) << kept.bytes;

        // Read with a catalogue of every game, the saved list translates every game as the original.
        EXPECT_EQ(Translations(saved, zipNames), Translations(list, zipNames));

        // A second save changes nothing.
        Merged again = Merge(saved, Catalogue(zipNames, 2));
        WriteMame32J(saved, again.games, again.loaded, codec);
        EXPECT_EQ(folder.Read("mame32j.lst"), first);
    }
}

TEST_F(RealNameLists, AUtf8ListInCatalogueOrderComesBackByteForByte) {
    bool anyUtf8 = false;
    for (const auto& list : m_lists) {
        if (&NameListCodec(list) != &Utf8Codec()) continue;
        anyUtf8 = true;
        SCOPED_TRACE(list.filename().string());
        TempFolder folder;
        const std::string input = TempFolder::ReadFile(list);
        const auto saved = folder / "mame32j.lst";
        std::filesystem::copy_file(list, saved);
        Merged all = Merge(saved, Catalogue(ZipNames(Lines(input)), 1));
        EXPECT_EQ(all.loaded.format.columns, 3);
        // Each list line took its game, or stayed as it was: either way it is written where it was
        // when no later line of a game comes before a taken one.
        WriteMame32J(saved, all.games, all.loaded, Utf8Codec());
        if (all.loaded.keptLines.empty()) {
            EXPECT_EQ(folder.Read("mame32j.lst"), input);
        }
        EXPECT_EQ(Lines(folder.Read("mame32j.lst")).size(), Lines(input).size());
    }
    if (!anyUtf8) GTEST_SKIP() << "no UTF-8 list among the real lists";
}

// Written for MAME's UI from a catalogue of half the games, a list reads back (as the UTF-8 list it
// is) with every translation of the original, each character converted there and back exactly.
TEST_F(RealNameLists, AListForMamesUiHoldsEveryTranslationConvertedExactly) {
    for (const auto& list : m_lists) {
        SCOPED_TRACE(list.filename().string());
        TempFolder folder;
        const std::vector<std::string> zipNames = ZipNames(Lines(TempFolder::ReadFile(list)));
        const Merged half = Merge(list, Catalogue(zipNames, 2));
        const TextCodec& codec = *half.loaded.format.codec;
        const auto written = folder / "mameui.lst";
        WriteMameUiList(written, half.games, half.loaded, codec);
        ASSERT_EQ(&NameListCodec(written), &Utf8Codec());

        const auto original = Translations(list, zipNames);
        auto expected = original;
        for (auto& [zipName, texts] : expected) {
            texts.first = codec.ToUtf8(texts.first);
            texts.second = codec.ToUtf8(texts.second);
        }
        const auto readBack = Translations(written, zipNames);
        EXPECT_EQ(readBack, expected);
        for (const auto& [zipName, texts] : readBack) {
            ASSERT_EQ(codec.FromUtf8(texts.first), original.at(zipName).first) << zipName;
            ASSERT_EQ(codec.FromUtf8(texts.second), original.at(zipName).second) << zipName;
        }
    }
}

// The real lists are clean but for a ZIP name one of them names twice and a few readings mistyped:
// the checks find the duplicate as such, in both formats a save writes for MAME, so that they do
// not cry wolf on real titles and readings.
TEST_F(RealNameLists, TheChecksFindTheDuplicatesAndOnlyTypingErrorsBesides) {
    for (const auto& list : m_lists) {
        SCOPED_TRACE(list.filename().string());
        const std::vector<std::string> lines = Lines(TempFolder::ReadFile(list));
        const std::vector<std::string> zipNames = ZipNames(lines);
        const std::size_t namingLines =
            static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
                return line.find('\t') != std::string::npos;
            }));
        const Merged all = Merge(list, Catalogue(zipNames, 1));
        const TextCodec& codec = *all.loaded.format.codec;

        const auto others = [](const ListCheckReport& report) {
            std::vector<ListFinding> findings;
            for (const ListFinding& finding : report.findings)
                if (finding.problem != ListProblem::KatakanaReading) findings.push_back(finding);
            return findings;
        };
        const std::vector<ListFinding> findings =
            others(CheckList(ListLines(all.games, all.loaded, codec, ListFormat::Mame32J)));
        EXPECT_EQ(findings.size(), namingLines - zipNames.size());
        for (const ListFinding& finding : findings) {
            EXPECT_EQ(finding.problem, ListProblem::DuplicateZipName) << DescribeFinding(finding);
            EXPECT_GE(finding.game, 0);
        }
        EXPECT_TRUE(others(CheckList(ListLines(all.games, all.loaded, codec, ListFormat::MameUi))).empty());
    }
}

// Readings mistyped in the real lists, which the check of katakana titles must find; each finding
// is printed, for a look at what else it finds.
TEST_F(RealNameLists, TheKatakanaCheckFindsKnownTypingErrors) {
    const std::map<std::string, std::vector<std::string>> known{
        {"mameplus_jplist0128u3_mame32jp.lst", {"asylum", "vivdolls", "cndypuzl", "syscheck", "guts"}},
        {"kospin_mamep0122_mame32jp.lst", {"asylum"}},
    };
    for (const auto& list : m_lists) {
        SCOPED_TRACE(list.filename().string());
        const Merged all = Merge(list, Catalogue(ZipNames(Lines(TempFolder::ReadFile(list))), 1));
        std::vector<std::unique_ptr<ListCheck>> checks;
        checks.push_back(KatakanaReadingCheck());
        const ListCheckReport report =
            CheckList(ListLines(all.games, all.loaded, *all.loaded.format.codec, ListFormat::MameUi), checks);
        std::unordered_set<std::string> found;
        for (const ListFinding& finding : report.findings) {
            found.insert(finding.zipName);
            const TRecordset& game = all.games[finding.game];
            const TextCodec& codec = *all.loaded.format.codec;
            std::cout << list.filename().string() << ": " << DescribeFinding(finding) << " | "
                      << codec.ToUtf8(game.japaneseName) << " | " << codec.ToUtf8(game.reading) << "\n";
        }
        std::cout << list.filename().string() << ": " << report.findings.size() << " katakana findings\n";
        const auto expected = known.find(list.filename().string());
        if (expected == known.end()) continue;
        for (const std::string& zipName : expected->second) EXPECT_TRUE(found.contains(zipName)) << zipName;
    }
}

}  // namespace
}  // namespace kanaroll
