// The recovery journal's costs: appending the record of one keystroke, the flush on a change of
// game, reading and planning (and replaying) 10,000 records at start-up, and what identifying the
// catalogue and the name list adds to the start-up.
//
//   journal_benchmarks [--kanaroll_data=FOLDER] [--kanaroll_games=N] [--kanaroll_summary[=FILE]]
//                      [Google Benchmark options]
//
// The journal is written into FOLDER (a temporary folder without it), so the flush measures that
// folder's disk. The name list identified is today's 42,800-line UTF-8 list from the real data
// beside the repository (KANAROLL_REAL_LISTS names another folder), or a generated one of its size.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchArguments.h"
#include "bench/BenchSummary.h"
#include "bench/CatalogueGenerator.h"
#include "bench/TypingJournal.h"
#include "catalogue/RecoveryJournal.h"
#include "catalogue/RecoveryPlan.h"
#include "catalogue/TextCodec.h"
#include "catalogue/TextFile.h"

namespace kanaroll::bench {

namespace {

constexpr int kReplayRecords = 10'000;
constexpr int kKeystrokesPerField = 10;  // a title or reading typed a character at a time
constexpr int kSameCatalogue = 0;
constexpr int kChangedCatalogue = 1;

struct JournalData {
    std::filesystem::path folder;
    GameList games;
    JournalIdentity identity;
    std::filesystem::path nameList;
    std::string nameListOrigin;
    std::filesystem::path replayJournal;  // 10,000 records of typing
};

JournalData& Data() {
    static JournalData data;
    return data;
}

GameList GeneratedCatalogue(int count) {
    CatalogueOptions options;
    options.gameCount = count;
    CatalogueGenerator generator(options);
    GameList games;
    GeneratedGame game;
    while (generator.Next(game)) {
        auto record = std::make_unique<TRecordset>();
        record->zipName = game.name;
        record->englishName = record->japaneseName = game.description;
        record->listOrder = games.Count();
        games.Append(std::move(record));
    }
    return games;
}

std::filesystem::path RealUtf8List() {
    std::filesystem::path folder;
    if (const char* given = std::getenv("KANAROLL_REAL_LISTS")) {
        folder = given;
    } else {
        const auto repository = std::filesystem::path(__FILE__).parent_path().parent_path();
        folder = repository.parent_path() / "shared" / "data" / "real" / "namelists";
    }
    return folder / "retrofire_mame32j_utf8_3field.lst";
}

// 42,800 lines of ZIP name, title and reading, 3.5 MB, as the real list has them.
std::filesystem::path GeneratedList(const std::filesystem::path& folder, const GameList& games) {
    const auto path = folder / "mame32j-utf8.lst";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "\xEF\xBB\xBF";
    for (int i = 0; i < 42'800; ++i) {
        out << games[i % games.Count()].zipName << '\t' << "ゲームのタイトル（日本版）その" << i << '\t'
            << "げーむのたいとるにほんばん" << i << '\n';
    }
    return path;
}

void SetUp(const std::filesystem::path& folder, int games) {
    JournalData& data = Data();
    data.folder = folder;
    std::filesystem::create_directories(folder);  // a temporary folder is only named, not made
    data.games = GeneratedCatalogue(games);
    data.nameList = RealUtf8List();
    data.nameListOrigin = "the real UTF-8 list";
    if (!FileExists(data.nameList)) {
        data.nameList = GeneratedList(folder, data.games);
        data.nameListOrigin = "a generated list of its size (no real list beside the repository)";
    }
    data.identity = {IdentifyCatalogue(data.games), IdentifyNameList(data.nameList), 932};
    data.replayJournal = folder / "replay.journal";
    WriteTypingJournal(data.replayJournal, data.identity, data.games, kReplayRecords);
}

// One keystroke's record: the title grows by one character each time.
void AppendBenchmark(benchmark::State& state) {
    const JournalData& data = Data();
    RecoveryJournal journal(data.folder / "append.journal");
    journal.Start(data.identity);
    TRecordset game = data.games[1234];
    const std::string title = Sjis("ストリートファイターII ダッシュ (日本版)");
    std::size_t length = 0;
    std::int64_t appended = 0;
    for (auto _ : state) {
        length = length + 2 > title.size() ? 2 : length + 2;
        game.japaneseName.assign(title, 0, length);
        journal.Append(game, EditedField::JapaneseName);
        if (++appended % 100'000 == 0) {  // keeps the file of a long run small
            state.PauseTiming();
            journal.Start(data.identity);
            state.ResumeTiming();
        }
    }
    if (!journal.IsOpen()) state.SkipWithError("the journal failed");
    journal.Delete();
}

// The flush on a change of game, after the keystrokes typed on the game before.
void FlushBenchmark(benchmark::State& state) {
    const JournalData& data = Data();
    RecoveryJournal journal(data.folder / "flush.journal");
    journal.Start(data.identity);
    TRecordset game = data.games[1234];
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int key = 0; key < kKeystrokesPerField; ++key) {
            game.reading = "r" + std::to_string(round) + "-" + std::to_string(key);
            journal.Append(game, EditedField::Reading);
        }
        ++round;
        state.ResumeTiming();
        journal.Flush();
    }
    if (!journal.IsOpen()) state.SkipWithError("the journal failed");
    journal.Delete();
}

// A catalogue with the same games as the journal's, or one whose listinfo.txt changed since (every
// game moved one place on), where the edits are found by ZIP name.
const GameList& PlannedOn(int which) {
    static GameList changed;
    const JournalData& data = Data();
    if (which == kSameCatalogue) return data.games;
    if (changed.Empty()) {
        auto first = std::make_unique<TRecordset>();
        first->zipName = "newgame";
        changed.Append(std::move(first));
        for (int i = 0; i < data.games.Count(); ++i) {
            changed.Append(std::make_unique<TRecordset>(data.games[i]));
            changed[i + 1].listOrder = i + 1;
        }
    }
    return changed;
}

void ReadAndPlanBenchmark(benchmark::State& state) {
    const JournalData& data = Data();
    const GameList& games = PlannedOn(static_cast<int>(state.range(0)));
    const JournalIdentity current{IdentifyCatalogue(games), data.identity.nameList, 932};
    std::size_t planned = 0;
    for (auto _ : state) {
        const auto journal = ReadJournal(data.replayJournal);
        const RecoveryPlan plan = PlanRecovery(*journal, games, current);
        planned = plan.edits.size();
        benchmark::DoNotOptimize(plan.gamesChanged);
    }
    if (planned != static_cast<std::size_t>(kReplayRecords)) state.SkipWithError("edits were not planned");
    state.SetItemsProcessed(state.iterations() * kReplayRecords);
}

// Reading, planning and replaying into the catalogue, which is put back between the runs.
void ReplayBenchmark(benchmark::State& state) {
    const JournalData& data = Data();
    GameList games;
    for (int i = 0; i < data.games.Count(); ++i) games.Append(std::make_unique<TRecordset>(data.games[i]));
    int changed = 0;
    for (auto _ : state) {
        const auto journal = ReadJournal(data.replayJournal);
        const RecoveryPlan plan = PlanRecovery(*journal, games, data.identity);
        int translatedCount = 0;
        changed = ReplayRecovery(plan, games, translatedCount);
        state.PauseTiming();
        for (const ReplayEdit& edit : plan.edits) games[edit.game] = data.games[edit.game];
        state.ResumeTiming();
    }
    if (changed == 0) state.SkipWithError("the replay changed nothing");
    state.SetItemsProcessed(state.iterations() * kReplayRecords);
}

void IdentifyCatalogueBenchmark(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(IdentifyCatalogue(Data().games));
}

void IdentifyNameListBenchmark(benchmark::State& state) {
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(Data().nameList));
    for (auto _ : state) benchmark::DoNotOptimize(IdentifyNameList(Data().nameList));
    state.SetBytesProcessed(state.iterations() * bytes);
}

void Register(int games) {
    const auto millis = [](benchmark::internal::Benchmark* b) {
        return WithMinMax(b)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    WithMinMax(benchmark::RegisterBenchmark("JournalAppend", AppendBenchmark))
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    WithMinMax(benchmark::RegisterBenchmark("JournalFlush", FlushBenchmark))
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    millis(benchmark::RegisterBenchmark("JournalReadAndPlan", ReadAndPlanBenchmark))
        ->ArgName("changed")
        ->Arg(kSameCatalogue)
        ->Arg(kChangedCatalogue);
    millis(benchmark::RegisterBenchmark("JournalReadPlanAndReplay", ReplayBenchmark));
    millis(benchmark::RegisterBenchmark("IdentifyCatalogue", IdentifyCatalogueBenchmark));
    millis(benchmark::RegisterBenchmark("IdentifyNameList", IdentifyNameListBenchmark));

    AddSummaryLine(TimeLine("JournalAppend", "append one keystroke's record", 0.1));
    AddSummaryLine(TimeLine("JournalFlush", "flush after a game's keystrokes (sync)", 2));
    AddSummaryLine(TimeLine("JournalReadAndPlan/changed:0", "read and plan 10,000 records", 200));
    AddSummaryLine(
        TimeLine("JournalReadAndPlan/changed:1", "the same, listinfo.txt changed (by ZIP name)", 200));
    AddSummaryLine(TimeLine("JournalReadPlanAndReplay", "read, plan and replay 10,000 records", 200));
    AddSummaryLine(TimeLine("IdentifyCatalogue", "identify " + std::to_string(games) + " games"));
    AddSummaryLine(TimeLine("IdentifyNameList", "identify the 42,800-line list (cached)"));
}

}  // namespace
}  // namespace kanaroll::bench

int main(int argc, char** argv) {
    using namespace kanaroll::bench;
    BenchArguments arguments = StartBenchmarks(argc, argv, 45'000);

    const BenchDataFolder data(arguments, "kanaroll-journal-bench-");
    SetUp(data.Path(), arguments.games);
    std::printf("%d games; name list: %s, %s; journals in %s\n", arguments.games,
                Data().nameList.string().c_str(), Data().nameListOrigin.c_str(),
                data.Path().string().c_str());
    std::fflush(stdout);
    Register(arguments.games);
    RunBenchmarks(arguments, "Summary: the recovery journal (times are wall clock)");
    return 0;
}
