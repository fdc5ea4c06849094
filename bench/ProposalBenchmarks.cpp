// The proposal engine timed on today's catalogue: learning right after the name list is merged,
// one game's proposals as the window asks for them on a selection, a reading for a typed title,
// and the search for the next untranslated game (F8) over 50,000 games.
//
//   proposal_benchmarks [--kanaroll_listinfo=FILE] [--kanaroll_namelist=FILE] [benchmark flags]
//
// Without the flags it takes MAME 0.251's -listxml from build/eval (scripts/eval-proposals puts it
// there) and the 42,800-line UTF-8 list from the shared real data, when both are at hand, and
// otherwise a generated catalogue of 45,000 games with its Shift-JIS name list.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchmarkFiles.h"
#include "catalogue/GameList.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListReader.h"
#include "proposals/ProposalEngine.h"
#include "proposals/UntranslatedSearch.h"
#include "replace/ReplacePatterns.h"

namespace kanaroll::bench {
namespace {

struct Loaded {
    GameList games;
    const TextCodec* codec = &ShiftJisCodec();
    LoadedNameList list;
    std::string source;
};

std::filesystem::path g_listInfo;
std::filesystem::path g_nameList;

Loaded& Catalogue() {
    static Loaded* loaded = [] {
        auto* result = new Loaded;
        std::filesystem::path listInfo = g_listInfo;
        std::filesystem::path nameList = g_nameList;
        const auto repository = std::filesystem::path(__FILE__).parent_path().parent_path();
        if (listInfo.empty() && nameList.empty()) {
            listInfo = repository / "build" / "eval" / "mame0251-listxml.xml";
            nameList = repository.parent_path() / "shared" / "data" / "real" / "namelists" /
                       "retrofire_mame32j_utf8_3field.lst";
            std::error_code error;
            if (!std::filesystem::exists(listInfo, error) || !std::filesystem::exists(nameList, error)) {
                const auto folder = std::filesystem::temp_directory_path() / "kanaroll-proposal-bench";
                CatalogueOptions options;
                options.gameCount = 45'000;
                const BenchmarkFiles files = WriteBenchmarkFiles(folder, options);
                listInfo = files.listInfo;
                nameList = files.nameList;
            }
        }
        result->codec = &NameListCodec(nameList);
        NoLoadProgress progress;
        ReadListInfo(listInfo, result->games, progress, *result->codec);
        int translated = 0;
        result->list = MergeNameList(nameList, result->games, translated, *result->codec);
        result->source = listInfo.filename().string() + " + " + nameList.filename().string();
        return result;
    }();
    return *loaded;
}

ProposalEngine& LearnedEngine() {
    static ProposalEngine* engine = [] {
        auto* learned = new ProposalEngine;
        Loaded& loaded = Catalogue();
        learned->Learn(loaded.games, *loaded.codec, DefaultReplaceRules(*loaded.codec),
                       loaded.list.keptLines);
        return learned;
    }();
    return *engine;
}

void BM_Learn(benchmark::State& state) {
    Loaded& loaded = Catalogue();
    const ReplaceRuleList rules = DefaultReplaceRules(*loaded.codec);
    for (auto _ : state) {
        auto engine = std::make_unique<ProposalEngine>();
        engine->Learn(loaded.games, *loaded.codec, rules, loaded.list.keptLines);
        benchmark::DoNotOptimize(engine.get());
        // Freeing what was learned happens when the program closes, not at start-up.
        state.PauseTiming();
        engine.reset();
        state.ResumeTiming();
    }
    state.SetLabel(std::to_string(loaded.games.Count()) + " games, " + loaded.source);
}
BENCHMARK(BM_Learn)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Asks `propose` for every game in turn, in a stride that mixes the clones of large families with
// the others.
template <typename Propose>
void ForGamesInTurn(benchmark::State& state, Propose&& propose) {
    Loaded& loaded = Catalogue();
    ProposalEngine& engine = LearnedEngine();
    const auto& items = loaded.games.Items();
    std::size_t next = 0;
    for (auto _ : state) {
        const TRecordset& game = *items[next];
        next = (next + 7919) % items.size();
        propose(engine, game);
    }
}

// The proposals shown when a game is selected: its title, and its reading from that title.
void BM_ProposeForSelection(benchmark::State& state) {
    ForGamesInTurn(state, [](const ProposalEngine& engine, const TRecordset& game) {
        benchmark::DoNotOptimize(engine.ProposeTitle(game));
        benchmark::DoNotOptimize(engine.ProposeReading(game));
    });
}
BENCHMARK(BM_ProposeForSelection)->Unit(benchmark::kMicrosecond);

// The cue text that follows each keystroke in the title field.
void BM_ProposeReadingForTypedTitle(benchmark::State& state) {
    ForGamesInTurn(state, [](const ProposalEngine& engine, const TRecordset& game) {
        benchmark::DoNotOptimize(engine.ProposeReadingForTitle(game, game.japaneseName));
    });
}
BENCHMARK(BM_ProposeReadingForTypedTitle)->Unit(benchmark::kMicrosecond);

// F8 when the one game left untranslated is the current one: the search goes once round all
// 50,000 games, the longest it can take.
void BM_NextUntranslated(benchmark::State& state) {
    static GameList* games = [] {
        auto* list = new GameList;
        for (int i = 0; i < 50'000; ++i) {
            auto game = std::make_unique<TRecordset>();
            game->zipName = "game" + std::to_string(i);
            game->translated = i != 25'000;
            game->listOrder = i;
            list->Append(std::move(game));
        }
        return list;
    }();
    const bool forward = state.range(0) != 0;
    for (auto _ : state) benchmark::DoNotOptimize(FindUntranslated(*games, 25'000, forward));
}
BENCHMARK(BM_NextUntranslated)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kanaroll::bench

int main(int argc, char** argv) {
    // Our own flags go before Google Benchmark sees the rest.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--kanaroll_listinfo=", 20) == 0) {
            kanaroll::bench::g_listInfo = argv[i] + 20;
        } else if (std::strncmp(argv[i], "--kanaroll_namelist=", 20) == 0) {
            kanaroll::bench::g_nameList = argv[i] + 20;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (kanaroll::bench::g_listInfo.empty() != kanaroll::bench::g_nameList.empty()) {
        std::fprintf(stderr, "proposal_benchmarks: give both --kanaroll_listinfo and --kanaroll_namelist\n");
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
