// Reading a listinfo.txt that holds MAME's -listxml output, on a generated catalogue of the size of
// today's MAME (45,000 machines, about 250 MB).
//
//   listxml_benchmarks [--kanaroll_data=FOLDER] [--kanaroll_games=N] [--kanaroll_summary[=FILE]]
//                      [Google Benchmark options]
//
// Before the first benchmark the same games are also written as -listinfo text and both files are
// read: the XML must give the catalogue that -listinfo gives, field by field, or the program stops.
// Without --kanaroll_data the files go to a temporary folder that is removed at the end.
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

#include "bench/BenchArguments.h"
#include "bench/BenchSummary.h"
#include "bench/BenchmarkFiles.h"
#include "bench/ListXmlGenerator.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/ListXmlElements.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/TextFile.h"

// Every allocation of the program is counted, so that a benchmark can tell the most memory its
// code held at once.
namespace {
std::atomic<std::size_t> g_liveBytes{0};
std::atomic<std::size_t> g_peakBytes{0};

void* Allocate(std::size_t size) {
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (!memory) throw std::bad_alloc();
    const std::size_t live = g_liveBytes += malloc_usable_size(memory);
    std::size_t peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
    return memory;
}

void Release(void* memory) {
    if (!memory) return;
    g_liveBytes -= malloc_usable_size(memory);
    std::free(memory);
}
}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    Release(memory);
}
void operator delete[](void* memory) noexcept {
    Release(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    Release(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    Release(memory);
}

namespace kanaroll::bench {
namespace {

struct Files {
    std::filesystem::path listXml;   // listinfo.txt, as "MAME -listxml > listinfo.txt" makes it
    std::filesystem::path listInfo;  // the same games as -listinfo text
    CatalogueFacts xmlFacts;
    CatalogueFacts textFacts;
};

Files& TheFiles() {
    static Files files;
    return files;
}

[[noreturn]] void SetUpFailed(const std::string& what) {
    std::fprintf(stderr, "\n*** listxml benchmarks: %s\n\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

// What the XML must give for a game that -listinfo gave as `text`. The <machine> layout has no
// " (sound)" CPUs and no palette size, and lists the speaker as a sound chip of its own.
void ExpectSameGame(const TRecordset& xml, const TRecordset& text) {
    const auto strip = [](std::string value, std::string_view what) {
        for (auto at = value.find(what); at != std::string::npos; at = value.find(what))
            value.erase(at, what.size());
        return value;
    };
    const std::string expectedSound = text.soundText.empty() ? "Speaker" : "Speaker, " + text.soundText;
    const std::string expectedVideo =
        text.isVector ? text.videoText : text.videoText.substr(0, text.videoText.rfind(", "));
    const struct {
        const char* field;
        bool same;
    } checks[] = {
        {"zipName", xml.zipName == text.zipName},
        {"englishName", xml.englishName == PlainDescription(text.englishName)},
        {"japaneseName", xml.japaneseName == xml.englishName},
        {"year", xml.year == text.year},
        {"manufacturer", xml.manufacturer == text.manufacturer},
        {"isMaster", xml.isMaster == text.isMaster},
        {"parentName", xml.parentName == text.parentName},
        {"isNeoGeo", xml.isNeoGeo == text.isNeoGeo},
        {"isVector", xml.isVector == text.isVector},
        {"hasSamples", xml.hasSamples == text.hasSamples},
        {"statusGood", xml.statusGood == text.statusGood},
        {"controlType", xml.controlType == text.controlType},
        {"soundChannels", xml.soundChannels == text.soundChannels},
        {"listOrder", xml.listOrder == text.listOrder},
        {"cpuText", xml.cpuText == strip(text.cpuText, " (sound)")},
        {"soundText", xml.soundText == expectedSound},
        {"videoText", xml.videoText == expectedVideo},
    };
    for (const auto& check : checks) {
        if (!check.same) SetUpFailed("game " + text.zipName + ": " + check.field + " differs from -listinfo");
    }
}

void SetUp(const std::filesystem::path& folder, const CatalogueOptions& options) {
    std::filesystem::create_directories(folder);
    Files& files = TheFiles();
    files.listXml = folder / "listinfo.txt";
    files.listInfo = folder / "listinfo-text.txt";
    files.xmlFacts = WriteListXml(files.listXml, options);
    files.textFacts = WriteListInfo(files.listInfo, options);

    NoLoadProgress progress;
    GameList xml;
    GameList text;
    if (!ReadListInfo(files.listXml, xml, progress)) SetUpFailed("the -listxml file did not read");
    if (!ReadListInfo(files.listInfo, text, progress)) SetUpFailed("the -listinfo file did not read");
    if (xml.Count() != files.xmlFacts.games || text.Count() != xml.Count())
        SetUpFailed("the number of games differs from the number generated");
    for (int i = 0; i < xml.Count(); ++i) ExpectSameGame(xml[i], text[i]);
}

std::int64_t XmlBytes() {
    return static_cast<std::int64_t>(TheFiles().xmlFacts.listInfoBytes);
}

// The floor for any reader: the file in 1 MiB chunks, nothing done with them.
void ReadFileBaseline(benchmark::State& state) {
    std::vector<char> chunk(std::size_t{1} << 20);
    for (auto _ : state) {
        InputFile file(TheFiles().listXml);
        std::size_t bytes = 0;
        while (const std::size_t read = file.Read(chunk.data(), chunk.size())) bytes += read;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * XmlBytes());
}

// Finding the machines without parsing them.
void SplitListXml(benchmark::State& state) {
    for (auto _ : state) {
        ListXmlElements elements(TheFiles().listXml);
        std::string_view name;
        std::string_view element;
        std::size_t count = 0;
        while (elements.Next(name, element)) ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * XmlBytes());
}

// ReadListInfo on the XML file, as the start-up calls it; the peak of the memory held while it
// runs, over what was held before, is the counter peak_MB.
void ReadListXml(benchmark::State& state) {
    NoLoadProgress progress;
    std::size_t peak = 0;
    for (auto _ : state) {
        GameList games;
        const std::size_t before = g_liveBytes.load();
        g_peakBytes = before;
        const bool read = ReadListInfo(TheFiles().listXml, games, progress);
        peak = std::max(peak, g_peakBytes.load() - before);
        state.PauseTiming();
        const bool complete = read && games.Count() == TheFiles().xmlFacts.games;
        games.Clear();  // freeing the records is not part of reading
        state.ResumeTiming();
        if (!complete) {
            state.SkipWithError("ReadListInfo did not read every machine");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * XmlBytes());
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
}

// The -listinfo text of the same games, for comparison.
void ReadListInfoText(benchmark::State& state) {
    NoLoadProgress progress;
    for (auto _ : state) {
        GameList games;
        benchmark::DoNotOptimize(ReadListInfo(TheFiles().listInfo, games, progress));
        state.PauseTiming();
        games.Clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(TheFiles().textFacts.listInfoBytes));
}

void Register() {
    WithMinMax(benchmark::RegisterBenchmark("ReadFileBaseline", ReadFileBaseline))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("SplitListXml", SplitListXml))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("ReadListXml", ReadListXml))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("ReadListInfoText", ReadListInfoText))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    AddSummaryLine(RateLine("ReadListXml", "ReadListInfo on -listxml (listinfo.txt)", 200));
    AddSummaryLine(TimeLine("ReadListXml", "ReadListInfo on -listxml, time"));
    AddSummaryLine({.benchmark = "ReadListXml",
                    .label = "ReadListInfo on -listxml, peak heap (MB)",
                    .measure = Measure::Ratio,
                    .counter = "peak_MB",
                    .limit = 150});
    AddSummaryLine(RateLine("SplitListXml", "finding the machines only"));
    AddSummaryLine(RateLine("ReadFileBaseline", "reading the file only"));
    AddSummaryLine(RateLine("ReadListInfoText", "ReadListInfo on -listinfo text of the same games"));
}

}  // namespace
}  // namespace kanaroll::bench

int main(int argc, char** argv) {
    using namespace kanaroll::bench;
    BenchArguments arguments = StartBenchmarks(argc, argv, 45'000);

    const BenchDataFolder data(arguments, "kanaroll-listxml-");
    const std::filesystem::path& folder = data.Path();
    kanaroll::bench::CatalogueOptions options;
    options.gameCount = arguments.games;
    const auto start = std::chrono::steady_clock::now();
    SetUp(folder, options);
    const auto& facts = TheFiles().xmlFacts;
    std::printf(
        "Generated and compared %d machines in %.1f s: listinfo.txt (-listxml) %.1f MB, FNV-1a %016llx\n",
        facts.games, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
        static_cast<double>(facts.listInfoBytes) / 1e6, static_cast<unsigned long long>(facts.listInfoHash));
    std::fflush(stdout);

    Register();
    char heading[200];
    std::snprintf(heading, sizeof heading,
                  "Summary: %d machines, listinfo.txt (-listxml) %.1f MB (wall clock)", facts.games,
                  static_cast<double>(facts.listInfoBytes) / 1e6);
    RunBenchmarks(arguments, heading);
    return 0;
}
