// The catalogue of a real MAME: its -listxml output (Debian's mame 0.251 writes 269 MB for 45,294
// machines, most of it ROMs, DIP switches, ports and slots) read as the start-up reads listinfo.txt,
// timed against a std::getline loop over the same file in the same run; and a real name list merged
// into that catalogue.
//
//   real_catalogue_benchmarks --kanaroll_listxml=FILE [--kanaroll_namelist=FILE]
//                             [--kanaroll_summary[=FILE]] [Google Benchmark options]
//
// The catalogue is read in the codec of the name list, as the start-up reads it (Shift-JIS
// without one). scripts/bench makes the file with the installed MAME and checks the catalogue
// field by field against a reference build before it runs this.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "bench/BenchArguments.h"
#include "bench/BenchContext.h"
#include "bench/BenchSummary.h"
#include "bench/GetlineBaseline.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"

namespace kanaroll::bench {
namespace {

struct RealFiles {
    std::filesystem::path listXml;
    std::filesystem::path nameList;  // empty: none
    const TextCodec* codec = &ShiftJisCodec();
    std::int64_t bytes = 0;
    GameList catalogue;  // as read once before the benchmarks
    int translated = 0;  // by the name list
};

RealFiles& Files() {
    static RealFiles files;
    return files;
}

// Takes our own flags out of argv, leaving the rest to TakeBenchArguments and Google Benchmark.
void TakeFileArguments(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument.starts_with("--kanaroll_listxml=")) {
            Files().listXml = std::string(argument.substr(19));
        } else if (argument.starts_with("--kanaroll_namelist=")) {
            Files().nameList = std::string(argument.substr(20));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (Files().listXml.empty()) {
        std::fprintf(stderr, "real_catalogue_benchmarks: --kanaroll_listxml=FILE is needed\n");
        std::exit(2);
    }
}

void SetUp() {
    RealFiles& files = Files();
    files.bytes = static_cast<std::int64_t>(std::filesystem::file_size(files.listXml));
    if (!files.nameList.empty()) files.codec = &NameListCodec(files.nameList);
    NoLoadProgress progress;
    if (!ReadListInfo(files.listXml, files.catalogue, progress, *files.codec) || files.catalogue.Empty())
        SetUpFailed(files.listXml.string() + " did not read as a catalogue");
    if (!files.nameList.empty()) {
        GameList merged = CopyOf(files.catalogue);
        MergeNameList(files.nameList, merged, files.translated, *files.codec);
    }
}

void RealGetlineBaseline(benchmark::State& state) {
    for (auto _ : state) GetlineLoop(Files().listXml);
    state.SetBytesProcessed(state.iterations() * Files().bytes);
}

void RealReadListInfo(benchmark::State& state) {
    const RealFiles& files = Files();
    NoLoadProgress progress;
    GameList games;
    bool read = false;
    TimeAgainstGetline(
        state, files.listXml, [&] { read = ReadListInfo(files.listXml, games, progress, *files.codec); },
        [&]() -> const char* {
            const bool complete = read && games.Count() == files.catalogue.Count();
            games.Clear();  // freeing the records is not part of reading
            return complete ? nullptr : "ReadListInfo did not read the catalogue it read before";
        });
    state.SetBytesProcessed(state.iterations() * files.bytes);
}

void RealMergeNameList(benchmark::State& state) {
    const RealFiles& files = Files();
    GameList work = CopyOf(files.catalogue);
    int translated = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < work.Count(); ++i) work[i] = files.catalogue[i];
        translated = 0;
        state.ResumeTiming();
        benchmark::DoNotOptimize(MergeNameList(files.nameList, work, translated, *files.codec));
    }
    if (translated != files.translated) state.SkipWithError("the merge took other games than before");
}

void Register() {
    WithMinMax(benchmark::RegisterBenchmark("RealGetlineBaseline", RealGetlineBaseline))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("RealReadListInfo", RealReadListInfo))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    if (!Files().nameList.empty()) {
        WithMinMax(benchmark::RegisterBenchmark("RealMergeNameList", RealMergeNameList))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }

    SummaryLine paired =
        RatioLine("RealReadListInfo", "ReadListInfo / getline speed, paired", "vs_getline", 0.5);
    paired.aimOnly = false;
    AddSummaryLine(paired);
    AddSummaryLine(RatioLine("RealReadListInfo", "  the same, against the aim", "vs_getline", 0.8));
    AddSummaryLine(
        RateRatioLine("RealReadListInfo", "RealGetlineBaseline", "ReadListInfo / getline speed, means", 0.5));
    AddSummaryLine(RateLine("RealReadListInfo", "ReadListInfo on the -listxml file"));
    AddSummaryLine(TimeLine("RealReadListInfo", "ReadListInfo on the -listxml file, time"));
    AddSummaryLine(RateLine("RealGetlineBaseline", "std::getline loop over the same file"));
    AddSummaryLine(TimeLine("RealMergeNameList", "MergeNameList, the real list into it"));
}

}  // namespace
}  // namespace kanaroll::bench

int main(int argc, char** argv) {
    using namespace kanaroll::bench;
    TakeFileArguments(argc, argv);
    const BenchArguments arguments = StartBenchmarks(argc, argv, 0);

    SetUp();
    const RealFiles& files = Files();
    std::string heading = "Summary: " + files.listXml.filename().string() + ", " +
                          std::to_string(files.bytes / 1'000'000) + " MB, " +
                          std::to_string(files.catalogue.Count()) + " games";
    if (!files.nameList.empty()) {
        heading +=
            "; " + files.nameList.filename().string() + " translates " + std::to_string(files.translated);
    }
    heading += " (wall clock)";
    std::printf("%s\n", heading.c_str());
    std::fflush(stdout);
    Register();
    RunBenchmarks(arguments, heading);
    return 0;
}
