#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/BenchContext.h"
#include "bench/BenchSummary.h"
#include "bench/CoreBenchmarks.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/TextFile.h"
#include "mainwindow/GameOrder.h"

namespace kanaroll::bench {

namespace {

constexpr int kCatalogueOrder = 0;
constexpr int kShuffled = 1;
constexpr int kSortedByReading = 1;

// Puts every record of `work` back to the contents of the same record of `original`: each
// iteration merges into a fresh copy of the catalogue, and assigning reuses the strings' memory,
// so the untimed part stays short.
void Refresh(GameList& work, const GameList& original) {
    for (int i = 0; i < original.Count(); ++i) work[i] = original[i];
}

void MergeNameListBenchmark(benchmark::State& state) {
    const BenchContext& context = Context();
    const bool shuffled = state.range(0) == kShuffled;
    const std::filesystem::path& list = shuffled ? context.files.shuffledNameList : context.files.nameList;
    GameList work = CopyOf(context.catalogue);
    int translated = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Refresh(work, context.catalogue);
        translated = 0;
        state.ResumeTiming();
        MergeNameList(list, work, translated);
    }
    if (translated != context.files.nameListLines) state.SkipWithError("the merge missed games of the list");
    state.SetItemsProcessed(state.iterations() * context.files.nameListLines);
}

// The catalogue the writers write: every game translated, in file order or sorted by reading (the
// writers must then put the lines back into file order).
const GameList& WriterInput(int order) {
    static GameList sorted;
    const BenchContext& context = Context();
    if (order != kSortedByReading) return context.merged;
    if (sorted.Empty()) {
        sorted = CopyOf(context.merged);
        SortGames(sorted, 3);
    }
    return sorted;
}

template <void (*Write)(const std::filesystem::path&, const GameList&)>
void WriterBenchmark(benchmark::State& state, const char* fileName) {
    const GameList& games = WriterInput(static_cast<int>(state.range(0)));
    const std::filesystem::path path = Context().scratch / fileName;
    Write(path, games);  // once untimed, for the size of what is written
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) Write(path, games);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void WriteMame32JBenchmark(benchmark::State& state) {
    WriterBenchmark<WriteMame32J>(state, "mame32j.lst");
}

void WriteMane32JBenchmark(benchmark::State& state) {
    WriterBenchmark<WriteMane32J>(state, "MANE32J.lst");
}

// What writing the MANE32J bytes costs without building them: the file layer alone (temporary
// file, flush to disk, rename).
void WriteBaseline(benchmark::State& state) {
    const std::filesystem::path source = Context().scratch / "MANE32J-baseline-source.lst";
    WriteMane32J(source, Context().merged);
    std::ifstream in(source, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::filesystem::path path = Context().scratch / "baseline.lst";
    for (auto _ : state) {
        ReplacingFileWriter writer(path);
        writer.Write(bytes);
        writer.Commit();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

}  // namespace

void RegisterNameListBenchmarks() {
    WithMinMax(benchmark::RegisterBenchmark("MergeNameList", MergeNameListBenchmark))
        ->ArgName("shuffled")
        ->Arg(kCatalogueOrder)
        ->Arg(kShuffled)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("WriteMame32J", WriteMame32JBenchmark))
        ->ArgName("sorted")
        ->Arg(kCatalogueOrder)
        ->Arg(kSortedByReading)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("WriteMane32J", WriteMane32JBenchmark))
        ->ArgName("sorted")
        ->Arg(kCatalogueOrder)
        ->Arg(kSortedByReading)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("WriteBaseline", WriteBaseline))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    AddSummaryLine(TimeLine("MergeNameList/shuffled:0", "MergeNameList, a line per game, file order", 20));
    AddSummaryLine(TimeLine("MergeNameList/shuffled:1", "MergeNameList, a line per game, shuffled", 20));
    AddSummaryLine(TimeLine("WriteMame32J/sorted:0", "WriteMame32J, every game translated", 30));
    AddSummaryLine(TimeLine("WriteMame32J/sorted:1", "WriteMame32J, list sorted by reading", 30));
    AddSummaryLine(TimeLine("WriteMane32J/sorted:0", "WriteMane32J", 30));
    AddSummaryLine(TimeLine("WriteMane32J/sorted:1", "WriteMane32J, list sorted by reading", 30));
    AddSummaryLine(TimeLine("WriteBaseline", "file layer alone, MANE32J bytes (fsync)"));
}

}  // namespace kanaroll::bench
