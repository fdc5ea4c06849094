#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <string>

#include "bench/BenchContext.h"
#include "bench/BenchSummary.h"
#include "bench/CoreBenchmarks.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/TextFile.h"

namespace kanaroll::bench {

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The floor for any line-based reader: every line of the file into one std::string.
std::size_t GetlineLoop(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    std::size_t bytes = 0;
    while (std::getline(in, line)) bytes += line.size();
    benchmark::DoNotOptimize(bytes);
    return bytes;
}

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

// ReadListInfo, with the getline loop run between its iterations (untimed) so that the ratio of the
// two comes from the same moments of the same run.
void ReadListInfoBenchmark(benchmark::State& state) {
    const BenchContext& context = Context();
    NoLoadProgress progress;
    GameList games;
    double readSeconds = 0;
    double getlineSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const bool read = ReadListInfo(context.files.listInfo, games, progress);
        readSeconds += SecondsSince(start);

        state.PauseTiming();
        const bool complete = read && games.Count() == context.files.facts.games;
        games.Clear();  // freeing the records is not part of reading
        const auto getlineStart = Clock::now();
        GetlineLoop(context.files.listInfo);
        getlineSeconds += SecondsSince(getlineStart);
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("ReadListInfo did not read every game");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(context.files.facts.listInfoBytes));
    if (readSeconds > 0) state.counters["vs_getline"] = getlineSeconds / readSeconds;
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
