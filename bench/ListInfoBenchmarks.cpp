#include <benchmark/benchmark.h>

#include "bench/BenchContext.h"
#include "bench/BenchSummary.h"
#include "bench/CoreBenchmarks.h"
#include "bench/GetlineBaseline.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/TextFile.h"

namespace kanaroll::bench {

namespace {

void GetlineBaseline(benchmark::State& state) {
    const BenchContext& context = Context();
    for (auto _ : state) GetlineLoop(context.files.listInfo);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(context.files.facts.listInfoBytes));
}

// The file layer alone: every line through the LineReader that ReadListInfo reads with, which
// also looks for Ctrl-Z and lone CRs in every line.
void LineReaderBaseline(benchmark::State& state) {
    const BenchContext& context = Context();
    for (auto _ : state) {
        LineReader lines(context.files.listInfo);
        std::string_view line;
        std::size_t bytes = 0;
        while (lines.Next(line)) bytes += line.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(context.files.facts.listInfoBytes));
}

// ReadListInfo, paired with the getline loop over the same file.
void ReadListInfoBenchmark(benchmark::State& state) {
    const BenchContext& context = Context();
    NoLoadProgress progress;
    GameList games;
    bool read = false;
    TimeAgainstGetline(
        state, context.files.listInfo, [&] { read = ReadListInfo(context.files.listInfo, games, progress); },
        [&]() -> const char* {
            const bool complete = read && games.Count() == context.files.facts.games;
            games.Clear();  // freeing the records is not part of reading
            return complete ? nullptr : "ReadListInfo did not read every game";
        });
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(context.files.facts.listInfoBytes));
}

}  // namespace

void RegisterListInfoBenchmarks() {
    WithMinMax(benchmark::RegisterBenchmark("GetlineBaseline", GetlineBaseline))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("LineReaderBaseline", LineReaderBaseline))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("ReadListInfo", ReadListInfoBenchmark))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    AddSummaryLine(RateLine("ReadListInfo", "ReadListInfo (listinfo.txt)", 500));
    AddSummaryLine(RateLine("GetlineBaseline", "std::getline loop over the same file"));
    AddSummaryLine(RateLine("LineReaderBaseline", "LineReader loop over the same file"));
    // Two views of the same ratio: paired, from the getline loop run between the iterations of
    // ReadListInfo (steady under a changing load, but that loop runs slower there than on its own),
    // and from the two benchmarks' means.
    AddSummaryLine(RatioLine("ReadListInfo", "ReadListInfo / getline speed, paired", "vs_getline", 0.5));
    AddSummaryLine(
        RateRatioLine("ReadListInfo", "GetlineBaseline", "ReadListInfo / getline speed, means", 0.5));
    AddSummaryLine(TimeLine("ReadListInfo", "ReadListInfo time"));
}

}  // namespace kanaroll::bench
