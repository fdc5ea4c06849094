// The name list kept in UTF-8, at the size of a current launcher's list: 42,800 lines of ZIP name,
// title and reading, with the byte-order mark, LF line ends and no final line end, some titles with
// characters Shift-JIS cannot hold. Merged into the catalogue read as UTF-8 and written back; the
// targets are those of the Shift-JIS list.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchContext.h"
#include "bench/BenchRandom.h"
#include "bench/BenchSummary.h"
#include "bench/CoreBenchmarks.h"
#include "catalogue/NameListReader.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/Recode.h"
#include "mainwindow/GameOrder.h"

namespace kanaroll::bench {

namespace {

constexpr int kUtf8ListLines = 42'800;
constexpr int kSmallCatalogue = 5'000;
constexpr int kCatalogueOrder = 0;
constexpr int kShuffled = 1;
constexpr int kSortedByReading = 1;

struct Utf8Data {
    GameList catalogue;  // listinfo.txt read as UTF-8, nothing translated
    GameList small;      // its first 5,000 games
    GameList merged;     // the catalogue after the list in catalogue order
    LoadedNameList loaded;
    std::filesystem::path list;
    std::filesystem::path shuffledList;
    int lines = 0;
};

// Characters of today's lists that Shift-JIS has no code for.
constexpr const char* kBeyondShiftJis[] = {"ゔ", "한국", "简体", "é", "ñ"};

void WriteUtf8List(const std::filesystem::path& path, std::vector<std::string> lines, bool shuffled) {
    if (shuffled) {
        BenchRandom random(0x55544638);
        for (std::size_t i = lines.size(); i > 1; --i)
            std::swap(lines[i - 1], lines[static_cast<std::size_t>(random.Below(static_cast<int>(i)))]);
    }
    std::string text = "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) SetUpFailed("cannot write " + path.string());
}

const Utf8Data& Data() {
    static const Utf8Data data = [] {
        const BenchContext& context = Context();
        Utf8Data made;
        made.catalogue = CopyOf(context.catalogue);
        for (auto& game : made.catalogue.Items()) RecodeTexts(*game, ShiftJisCodec(), Utf8Codec());
        for (int i = 0; i < kSmallCatalogue && i < made.catalogue.Count(); ++i)
            made.small.Append(std::make_unique<TRecordset>(made.catalogue[i]));

        // The titles and readings of the generated Shift-JIS list, in UTF-8, one game in 200 with a
        // character beyond Shift-JIS.
        std::vector<std::string> lines;
        const GameList& named = context.merged;
        for (int i = 0; i < named.Count() && i < kUtf8ListLines; ++i) {
            std::string line = named[i].zipName + '\t' + ShiftJisCodec().ToUtf8(named[i].japaneseName);
            if (i % 200 == 0) line += kBeyondShiftJis[(i / 200) % std::size(kBeyondShiftJis)];
            line += '\t' + ShiftJisCodec().ToUtf8(named[i].reading);
            lines.push_back(std::move(line));
        }
        made.lines = static_cast<int>(lines.size());
        made.list = context.scratch / "mame32j-utf8.lst";
        made.shuffledList = context.scratch / "mame32j-utf8-shuffled.lst";
        WriteUtf8List(made.list, lines, false);
        WriteUtf8List(made.shuffledList, lines, true);

        made.merged = CopyOf(made.catalogue);
        int translated = 0;
        made.loaded = MergeNameList(made.list, made.merged, translated, Utf8Codec());
        if (translated != made.lines || !made.loaded.keptLines.empty() || made.loaded.format.columns != 3 ||
            made.loaded.format.lineEnd != "\n" || made.loaded.format.finalLineEnd)
            SetUpFailed("the UTF-8 list did not read back as written");
        return made;
    }();
    return data;
}

void Refresh(GameList& work, const GameList& original) {
    for (int i = 0; i < original.Count(); ++i) work[i] = original[i];
}

void MergeUtf8Benchmark(benchmark::State& state) {
    const Utf8Data& data = Data();
    const std::filesystem::path& list = state.range(0) == kShuffled ? data.shuffledList : data.list;
    GameList work = CopyOf(data.catalogue);
    int translated = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Refresh(work, data.catalogue);
        translated = 0;
        state.ResumeTiming();
        benchmark::DoNotOptimize(MergeNameList(list, work, translated, Utf8Codec()));
    }
    if (translated != data.lines) state.SkipWithError("the merge missed games of the list");
    state.SetItemsProcessed(state.iterations() * data.lines);
}

// The same list into a catalogue of 5,000 games: most lines are kept for the save.
void MergeUtf8KeepingBenchmark(benchmark::State& state) {
    const Utf8Data& data = Data();
    GameList work = CopyOf(data.small);
    int translated = 0;
    std::size_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Refresh(work, data.small);
        translated = 0;
        state.ResumeTiming();
        kept = MergeNameList(data.list, work, translated, Utf8Codec()).keptLines.size();
    }
    if (static_cast<int>(kept) + translated != data.lines) state.SkipWithError("lines went missing");
    state.SetItemsProcessed(state.iterations() * data.lines);
}

const GameList& Utf8WriterInput(int order) {
    static GameList sorted;
    if (order != kSortedByReading) return Data().merged;
    if (sorted.Empty()) {
        sorted = CopyOf(Data().merged);
        SortGames(sorted, 3);
    }
    return sorted;
}

void WriteMame32JUtf8Benchmark(benchmark::State& state) {
    const GameList& games = Utf8WriterInput(static_cast<int>(state.range(0)));
    const std::filesystem::path path = Context().scratch / "mame32j-utf8-written.lst";
    WriteMame32J(path, games, Data().loaded, Utf8Codec());
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) WriteMame32J(path, games, Data().loaded, Utf8Codec());
    state.SetBytesProcessed(state.iterations() * bytes);
}

// MANE32J stays Shift-JIS: every Japanese text is converted on the way out.
void WriteMane32JFromUtf8Benchmark(benchmark::State& state) {
    const GameList& games = Utf8WriterInput(static_cast<int>(state.range(0)));
    const std::filesystem::path path = Context().scratch / "MANE32J-from-utf8.lst";
    WriteMane32J(path, games, Utf8Codec());
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) WriteMane32J(path, games, Utf8Codec());
    state.SetBytesProcessed(state.iterations() * bytes);
}

}  // namespace

void RegisterNameListUtf8Benchmarks() {
    WithMinMax(benchmark::RegisterBenchmark("MergeNameListUtf8", MergeUtf8Benchmark))
        ->ArgName("shuffled")
        ->Arg(kCatalogueOrder)
        ->Arg(kShuffled)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("MergeNameListUtf8Keeping", MergeUtf8KeepingBenchmark))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("WriteMame32JUtf8", WriteMame32JUtf8Benchmark))
        ->ArgName("sorted")
        ->Arg(kCatalogueOrder)
        ->Arg(kSortedByReading)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("WriteMane32JFromUtf8", WriteMane32JFromUtf8Benchmark))
        ->ArgName("sorted")
        ->Arg(kCatalogueOrder)
        ->Arg(kSortedByReading)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    AddSummaryLine(
        TimeLine("MergeNameListUtf8/shuffled:0", "MergeNameList, UTF-8 42,800 lines, file order", 20));
    AddSummaryLine(
        TimeLine("MergeNameListUtf8/shuffled:1", "MergeNameList, UTF-8 42,800 lines, shuffled", 20));
    AddSummaryLine(
        TimeLine("MergeNameListUtf8Keeping", "MergeNameList, UTF-8 into 5,000 games (kept lines)"));
    AddSummaryLine(TimeLine("WriteMame32JUtf8/sorted:0", "WriteMame32J, UTF-8 3 columns", 30));
    AddSummaryLine(TimeLine("WriteMame32JUtf8/sorted:1", "WriteMame32J, UTF-8, list sorted by reading", 30));
    AddSummaryLine(TimeLine("WriteMane32JFromUtf8/sorted:0", "WriteMane32J from a UTF-8 catalogue", 30));
    AddSummaryLine(
        TimeLine("WriteMane32JFromUtf8/sorted:1", "WriteMane32J from UTF-8, sorted by reading", 30));
}

}  // namespace kanaroll::bench
