// The input's first line is a catalogue: ZIP names separated by TABs, repeats and empty names
// allowed; a name written with a leading "*" belongs to a game that is translated already. The rest
// of the input is a name list. The merge looks games up through an index; it must give exactly what
// the plain scan gives (first untranslated game of that ZIP name, from index 0 on), for all the
// lines and when the source fails halfway: the games merged before the failure stay
// merged and counted. Other fields of the games are never touched.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/IoError.h"
#include "catalogue/NameListReader.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

void BuildCatalogue(std::string_view firstLine, GameList& games, int& translatedCount) {
    translatedCount = 0;
    int index = 0;
    for (auto name : Split(firstLine, '\t')) {
        auto game = std::make_unique<TRecordset>();
        if (name.starts_with('*')) {
            name.remove_prefix(1);
            game->translated = true;
            game->japaneseName = "before";
            game->reading = "before";
            ++translatedCount;
        }
        game->zipName = name;
        game->englishName = "game " + std::to_string(index);
        if (!game->translated) game->japaneseName = game->englishName;
        game->listOrder = index++;
        games.Append(std::move(game));
        if (index == 512) break;
    }
}

// The merge as a plain scan over the games for every line.
void PlainMerge(const std::vector<std::string>& lines, std::size_t lineCount, GameList& games,
                int& translatedCount) {
    for (std::size_t l = 0; l < lineCount; ++l) {
        std::string_view rest = lines[l];
        std::string_view fields[3];
        for (auto& field : fields) {
            const auto tab = rest.find('\t');
            if (tab == std::string_view::npos) break;  // this field and the later ones stay empty
            field = rest.substr(0, tab);
            rest.remove_prefix(tab + 1);
        }
        for (int i = 0; i < games.Count(); ++i) {
            TRecordset& game = games[i];
            if (game.translated || game.zipName != fields[0]) continue;
            game.japaneseName = fields[1];
            game.reading = fields[2];
            game.translated = true;
            ++translatedCount;
            break;
        }
    }
}

void CheckSame(const GameList& actual, int actualCount, const GameList& expected, int expectedCount) {
    FUZZ_CHECK(actualCount == expectedCount);
    FUZZ_CHECK(actualCount == actual.CountTranslated());
    FUZZ_CHECK(actual.Count() == expected.Count());
    for (int i = 0; i < actual.Count(); ++i) {
        const TRecordset& a = actual[i];
        const TRecordset& e = expected[i];
        FUZZ_CHECK(a.zipName == e.zipName && a.englishName == e.englishName && a.listOrder == e.listOrder);
        FUZZ_CHECK(a.japaneseName == e.japaneseName);
        FUZZ_CHECK(a.reading == e.reading);
        FUZZ_CHECK(a.translated == e.translated);
    }
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    std::string_view bytes = AsText(data, size);
    const auto lineEnd = bytes.find('\n');
    const std::string_view catalogue = bytes.substr(0, lineEnd);
    const std::string_view list =
        lineEnd == std::string_view::npos ? std::string_view{} : bytes.substr(lineEnd + 1);
    const std::vector<std::string> lines = ReferenceLineTexts(list);

    const auto expect = [&](std::size_t lineCount, GameList& games, int& count) {
        BuildCatalogue(catalogue, games, count);
        PlainMerge(lines, lineCount, games, count);
    };

    {  // Every line. (The file is read through the same merge: RoundTripFuzz reads files.)
        GameList games, expected;
        int count = 0, expectedCount = 0;
        BuildCatalogue(catalogue, games, count);
        std::size_t at = 0;
        MergeNameListLines(
            [&](std::string_view& line) {
                if (at == lines.size()) return false;
                line = lines[at++];
                return true;
            },
            games, count);
        expect(lines.size(), expected, expectedCount);
        CheckSame(games, count, expected, expectedCount);
    }
    {  // From a source that fails halfway: what came before stays merged and counted.
        const std::size_t failAt = lines.size() / 2;
        GameList games, expected;
        int count = 0, expectedCount = 0;
        BuildCatalogue(catalogue, games, count);
        std::size_t at = 0;
        bool thrown = false;
        try {
            MergeNameListLines(
                [&](std::string_view& line) {
                    if (at == failAt) throw IoError(io::kReadPastEnd);
                    line = lines[at++];
                    return true;
                },
                games, count);
        } catch (const IoError& error) {
            thrown = error.Number() == io::kReadPastEnd;
        }
        FUZZ_CHECK(thrown);
        expect(failAt, expected, expectedCount);
        CheckSame(games, count, expected, expectedCount);
    }
    return 0;
}
