// The benchmarks of the core on a generated catalogue: reading listinfo.txt, merging and writing
// the name lists, sorting and searching the game list.
//
//   core_benchmarks [--kanaroll_data=FOLDER] [--kanaroll_games=N] [--kanaroll_summary[=FILE]]
//                   [Google Benchmark options]
//
// Without --kanaroll_data the files go to a temporary folder that is removed at the end.
// --kanaroll_summary prints a table of the figures with their targets after the usual output, or
// writes it into FILE.
#include "bench/CoreBenchmarks.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/BenchArguments.h"
#include "bench/BenchContext.h"

int main(int argc, char** argv) {
    using namespace kanaroll::bench;
    BenchArguments arguments = StartBenchmarks(argc, argv, 50'000);

    const BenchDataFolder data(arguments, "kanaroll-bench-");
    const std::filesystem::path& folder = data.Path();
    CatalogueOptions options;
    options.gameCount = arguments.games;
    const auto start = std::chrono::steady_clock::now();
    SetUpContext(folder, options);
    const CatalogueFacts& facts = Context().files.facts;
    std::printf(
        "Generated and checked %d games (%d clones) in %.1f s: listinfo.txt %.1f MB (FNV-1a %016llx), %s\n",
        facts.games, facts.clones,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        static_cast<double>(facts.listInfoBytes) / 1e6, static_cast<unsigned long long>(facts.listInfoHash),
        folder.string().c_str());
    std::fflush(stdout);

    RegisterListInfoBenchmarks();
    RegisterNameListBenchmarks();
    RegisterNameListUtf8Benchmarks();
    RegisterGameOrderBenchmarks();
    RegisterListCheckBenchmarks();

    char heading[200];
    std::snprintf(heading, sizeof heading, "Summary: %d games, listinfo.txt %.1f MB (times are wall clock)",
                  facts.games, static_cast<double>(facts.listInfoBytes) / 1e6);
    RunBenchmarks(arguments, heading);
    return 0;
}
