#include <benchmark/benchmark.h>
#include <string>
#include <vector>

#include "bench/BenchContext.h"
#include "bench/BenchSummary.h"
#include "bench/CoreBenchmarks.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/FamilyIndex.h"
#include "mainwindow/GameOrder.h"

namespace kanaroll::bench {

namespace {

// Puts the records back into the order `order` lists (the same records, another order), so that
// every iteration of a sort starts from the same input.
void RestoreOrder(GameList& games, const std::vector<TRecordset*>& order) {
    auto& items = games.Items();
    for (auto& item : items) static_cast<void>(item.release());
    for (std::size_t i = 0; i < order.size(); ++i) items[i].reset(order[i]);
}

bool IsSorted(const GameList& games, int sortKey) {
    for (int i = 1; i < games.Count(); ++i)
        if (CompareGames(&games[i - 1], &games[i], sortKey) > 0) return false;
    return true;
}

// Sorts the partly translated catalogue, starting each time from listinfo.txt order: the first
// click on a column header.
void SortGamesBenchmark(benchmark::State& state) {
    const int sortKey = static_cast<int>(state.range(0));
    GameList games = CopyOf(Context().partial);
    std::vector<TRecordset*> fileOrder;
    for (auto& item : games.Items()) fileOrder.push_back(item.get());
    for (auto _ : state) {
        state.PauseTiming();
        RestoreOrder(games, fileOrder);
        state.ResumeTiming();
        SortGames(games, sortKey);
    }
    if (!IsSorted(games, sortKey)) state.SkipWithError("SortGames left the list out of order");
    state.SetItemsProcessed(state.iterations() * games.Count());
}

// Typing in the game list a prefix that no ZIP name has: every row is upper-cased and probed.
void FindZipPrefixMissBenchmark(benchmark::State& state) {
    const GameList& games = Context().partial;
    const int startRow = static_cast<int>(state.range(0));
    int row = 0;
    for (auto _ : state) {
        row = FindZipPrefix(games, "zzq", startRow, true, ShiftJisCodec());
        benchmark::DoNotOptimize(row);
    }
    if (row != -1) state.SkipWithError("FindZipPrefix found a ZIP name that no game has");
    state.SetItemsProcessed(state.iterations() * games.Count());
}

// Indexing every family of the catalogue, as the window does after a sort.
void FamilyIndexBuildBenchmark(benchmark::State& state) {
    const GameList& games = Context().partial;
    FamilyIndex index;
    for (auto _ : state) {
        index.Build(games);
        benchmark::DoNotOptimize(index);
    }
    if (!index.IsBuiltFor(games)) state.SkipWithError("the index does not cover the catalogue");
    state.SetItemsProcessed(state.iterations() * games.Count());
}

}  // namespace

void RegisterGameOrderBenchmarks() {
    auto* sort = WithMinMax(benchmark::RegisterBenchmark("SortGames", SortGamesBenchmark));
    sort->ArgName("key")->Unit(benchmark::kMillisecond)->UseRealTime();
    static const char* const kColumns[] = {"ZIP name", "English name", "reading",   "manufacturer",
                                           "year",     "master",       "translated"};
    for (int column = 1; column <= 7; ++column) {
        for (int sign : {1, -1}) {
            const int key = sign * column;
            sort->Arg(key);
            AddSummaryLine(TimeLine(
                "SortGames/key:" + std::to_string(key),
                std::string("SortGames by ") + kColumns[column - 1] + (sign < 0 ? ", descending" : ""), 30));
        }
    }
    const int middle = Context().files.facts.games / 2;
    WithMinMax(benchmark::RegisterBenchmark("FindZipPrefixMiss", FindZipPrefixMissBenchmark))
        ->ArgName("start")
        ->Arg(0)
        ->Arg(middle)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("FamilyIndexBuild", FamilyIndexBuildBenchmark))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    AddSummaryLine(TimeLine("FamilyIndexBuild", "FamilyIndex, every family (after a sort)"));
    AddSummaryLine(TimeLine("FindZipPrefixMiss/start:0", "FindZipPrefix, full miss from row 0", 20));
    AddSummaryLine(TimeLine("FindZipPrefixMiss/start:" + std::to_string(middle),
                            "FindZipPrefix, full miss from the middle", 20));
}

}  // namespace kanaroll::bench
