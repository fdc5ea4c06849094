// The input's first line is a sort key (±1 to ±7 in the program; any integer here), every further
// line one game (see DecodeGame in FuzzSupport.h), repeats allowed. SortGames sorts prepared copies
// of the keys, not the records; its result must be a permutation of the games that CompareGames
// finds in order, sorting it again must keep it in order, and the opposite key must order it
// backwards. CompareGames must be antisymmetric, and CompareText must have the sign of a plain
// byte comparison that folds only a-z.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/GameOrder.h"
#include "tests/fuzz/FuzzSupport.h"

namespace kanaroll::fuzz {
namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

int PlainCompareText(std::string_view a, std::string_view b) {
    const auto fold = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 'a' && byte <= 'z' ? byte - 0x20 : byte;
    };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return fold(a[i]) < fold(b[i]) ? -1 : 1;
    return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

std::vector<const TRecordset*> Order(const GameList& games) {
    std::vector<const TRecordset*> order;
    for (const auto& game : games.Items()) order.push_back(game.get());
    return order;
}

void CheckSorted(const GameList& games, int sortKey) {
    for (int i = 0; i + 1 < games.Count(); ++i)
        FUZZ_CHECK(CompareGames(&games[i], &games[i + 1], sortKey) <= 0);
}

}  // namespace
}  // namespace kanaroll::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kanaroll;
    using namespace kanaroll::fuzz;
    auto lines = Split(AsText(data, size), '\n');
    const int sortKey = LeadingInteger(lines[0]);
    lines.erase(lines.begin());
    GameList games;
    DecodeCatalogue(lines, games, false, 512);

    auto before = Order(games);
    SortGames(games, sortKey);
    auto after = Order(games);
    CheckSorted(games, sortKey);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    FUZZ_CHECK(before == after);

    const auto sorted = Order(games);
    SortGames(games, sortKey);
    CheckSorted(games, sortKey);
    // Backwards, except from -1 to +1, which drops the tie-break by reading.
    if (sortKey != 0 && sortKey != INT32_MIN && sortKey != -1) {
        SortGames(games, -sortKey);
        CheckSorted(games, -sortKey);
        for (int i = 0; i + 1 < games.Count(); ++i)
            FUZZ_CHECK(CompareGames(&games[i], &games[i + 1], sortKey) >= 0);
    }

    // The comparisons themselves, on every pair of a bounded number of games.
    const int count = std::min(games.Count(), 48);
    for (int i = 0; i < count; ++i) {
        const TRecordset& a = *sorted[static_cast<std::size_t>(i)];
        FUZZ_CHECK(CompareGames(&a, &a, sortKey) == 0);
        FUZZ_CHECK(CompareGames(&a, nullptr, sortKey) == 0);
        for (int j = i + 1; j < count; ++j) {
            const TRecordset& b = *sorted[static_cast<std::size_t>(j)];
            FUZZ_CHECK(Sign(CompareGames(&a, &b, sortKey)) == -Sign(CompareGames(&b, &a, sortKey)));
            FUZZ_CHECK(Sign(CompareText(a.zipName, b.englishName)) ==
                       PlainCompareText(a.zipName, b.englishName));
            FUZZ_CHECK(Sign(CompareText(a.reading, b.reading)) == PlainCompareText(a.reading, b.reading));
        }
    }
    return 0;
}
