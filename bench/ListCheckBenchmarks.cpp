// The checks a save runs before it writes, over every translated game of the catalogue: for the
// Shift-JIS list, for the list for MAME's UI (every Japanese text converted to UTF-8 first) and for
// a list kept in UTF-8; and the writer of the list for MAME's UI beside the Mame32J writer.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/BenchContext.h"
#include "bench/BenchSummary.h"
#include "bench/CoreBenchmarks.h"
#include "catalogue/ListChecks.h"
#include "catalogue/NameListWriters.h"
#include "catalogue/Recode.h"

namespace kanaroll::bench {

namespace {

constexpr int kShiftJisList = 0;
constexpr int kForMameUi = 1;
constexpr int kUtf8List = 2;

struct CheckInput {
    const GameList* games;
    LoadedNameList list;
    const TextCodec* codec;
    ListFormat format;
};

CheckInput Input(int kind) {
    static const GameList utf8 = [] {
        GameList games = CopyOf(Context().merged);
        for (auto& game : games.Items()) RecodeTexts(*game, ShiftJisCodec(), Utf8Codec());
        return games;
    }();
    if (kind == kUtf8List) {
        LoadedNameList list;
        list.format = {.codec = &Utf8Codec(), .byteOrderMark = true, .columns = 3, .lineEnd = "\n"};
        return {&utf8, list, &Utf8Codec(), ListFormat::Mame32J};
    }
    return {&Context().merged,
            {},
            &ShiftJisCodec(),
            kind == kForMameUi ? ListFormat::MameUi : ListFormat::Mame32J};
}

void CheckListBenchmark(benchmark::State& state) {
    const CheckInput input = Input(static_cast<int>(state.range(0)));
    const ListLines lines(*input.games, input.list, *input.codec, input.format);
    std::size_t findings = 0;
    for (auto _ : state) findings = CheckList(lines).findings.size();
    // The generated catalogue is clean: a finding would mean a check is wrong.
    if (findings != 0) state.SkipWithError("the checks found something in a clean catalogue");
    state.SetItemsProcessed(state.iterations() * input.games->Count());
}

// What making the lines costs without checking them.
void ListLinesBenchmark(benchmark::State& state) {
    const CheckInput input = Input(static_cast<int>(state.range(0)));
    const ListLines lines(*input.games, input.list, *input.codec, input.format);
    const std::vector<std::unique_ptr<ListCheck>> none;
    for (auto _ : state) benchmark::DoNotOptimize(CheckList(lines, none));
    state.SetItemsProcessed(state.iterations() * input.games->Count());
}

void WriteMameUiListBenchmark(benchmark::State& state) {
    const GameList& games = Context().merged;
    const std::filesystem::path path = Context().scratch / "mameui.lst";
    const LoadedNameList list;
    WriteMameUiList(path, games, list, ShiftJisCodec());
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) WriteMameUiList(path, games, list, ShiftJisCodec());
    state.SetBytesProcessed(state.iterations() * bytes);
}

}  // namespace

void RegisterListCheckBenchmarks() {
    WithMinMax(benchmark::RegisterBenchmark("CheckList", CheckListBenchmark))
        ->ArgName("list")
        ->Arg(kShiftJisList)
        ->Arg(kForMameUi)
        ->Arg(kUtf8List)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("ListLines", ListLinesBenchmark))
        ->ArgName("list")
        ->Arg(kShiftJisList)
        ->Arg(kForMameUi)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("WriteMameUiList", WriteMameUiListBenchmark))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    AddSummaryLine(TimeLine("CheckList/list:0", "CheckList, Shift-JIS Mame32J list", 30));
    AddSummaryLine(TimeLine("CheckList/list:1", "CheckList, list for MAME's UI (to UTF-8)", 30));
    AddSummaryLine(TimeLine("CheckList/list:2", "CheckList, UTF-8 Mame32J list", 30));
    AddSummaryLine(TimeLine("ListLines/list:0", "  the Shift-JIS lines alone, unchecked"));
    AddSummaryLine(TimeLine("ListLines/list:1", "  the lines for MAME's UI alone, unchecked"));
    AddSummaryLine(TimeLine("WriteMameUiList", "WriteMameUiList from Shift-JIS"));
}

}  // namespace kanaroll::bench
