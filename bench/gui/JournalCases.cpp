// The recovery journal's share of the window's figures, under Wine: what a keystroke's record adds,
// the flush when the next game is selected, and the read and replay of a long journal at start-up.
// The journals of these cases are files of their own in the program folder, written with the same
// code as the window's (the window's own is in every keystroke and Enter figure before them).
#include "bench/gui/JournalCases.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "bench/TypingJournal.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/NameListReader.h"
#include "catalogue/RecoveryJournal.h"
#include "catalogue/RecoveryPlan.h"
#include "catalogue/TextCodec.h"

namespace kanaroll::bench::gui {

namespace {

constexpr int kAppendsPerRepetition = 1000;  // a single record is below the clock's step
constexpr double kAppendsTargetMs = 0.1 * kAppendsPerRepetition;
constexpr int kKeystrokesBeforeFlush = 10;  // a title typed a character at a time
constexpr double kFlushTargetMs = 2;
constexpr int kReplayRecords = 10'000;
constexpr double kReplayTargetMs = 200;

// A journal of its own beside the window's, for the catalogue the window has loaded.
struct OwnJournal {
    explicit OwnJournal(Bench& bench, const char* name)
        : journal(bench.Folder() / name),
          identity{IdentifyCatalogue(bench.Session().Form().Games()),
                   IdentifyNameList(bench.Folder() / "mame32j.lst"), 932},
          game(bench.Session().Form().Games()[1234 % bench.Session().Form().Games().Count()]) {
        journal.Start(identity);
    }
    ~OwnJournal() {
        try {
            journal.Delete();
        } catch (const std::exception&) {
            // The program folder is removed with the benchmark's files.
        }
    }
    OwnJournal(const OwnJournal&) = delete;
    OwnJournal& operator=(const OwnJournal&) = delete;

    void CheckOpen() const {
        if (!journal.IsOpen()) throw std::runtime_error("the journal failed");
    }

    RecoveryJournal journal;
    JournalIdentity identity;
    TRecordset game;
    std::size_t length = 0;
};

// The title grows by one character each time, as typing makes it.
void AppendKeystroke(OwnJournal& own) {
    static const std::string title = Sjis("ストリートファイターII ダッシュ (日本版)");
    own.length = own.length + 2 > title.size() ? 2 : own.length + 2;
    own.game.japaneseName.assign(title, 0, own.length);
    own.journal.Append(own.game, EditedField::JapaneseName);
}

GuiCase JournalAppend() {
    auto own = std::make_shared<std::unique_ptr<OwnJournal>>();
    return {
        .name = "  journal: 1,000 keystroke records appended",
        .targetMs = kAppendsTargetMs,
        .repetitions = 10,
        .setUp = [own](Bench& bench) { *own = std::make_unique<OwnJournal>(bench, "bench-append.journal"); },
        .measured =
            [own](Bench&, int) {
                for (int k = 0; k < kAppendsPerRepetition; ++k) AppendKeystroke(**own);
            },
        .afterEach = [own](Bench&, int) { (*own)->CheckOpen(); },
    };
}

GuiCase JournalFlush() {
    auto own = std::make_shared<std::unique_ptr<OwnJournal>>();
    return {
        .name = "  journal: flush after a game's 10 keystrokes",
        .targetMs = kFlushTargetMs,
        .repetitions = 20,
        .setUp = [own](Bench& bench) { *own = std::make_unique<OwnJournal>(bench, "bench-flush.journal"); },
        .beforeEach =
            [own](Bench&, int) {
                for (int k = 0; k < kKeystrokesBeforeFlush; ++k) AppendKeystroke(**own);
            },
        .measured = [own](Bench&, int) { (*own)->journal.Flush(); },
        .afterEach = [own](Bench&, int) { (*own)->CheckOpen(); },
    };
}

// The catalogue and list of the program folder read as the start-up reads them, a journal of
// 10,000 records of typing on it (a game after another, its title and reading a key at a time),
// and a copy of the catalogue to put back after each replay.
struct ReplayData {
    GameList loaded;
    GameList games;
    JournalIdentity identity;
    std::filesystem::path journal;
};

void ReadCatalogue(const std::filesystem::path& folder, GameList& games) {
    NoLoadProgress quiet;
    if (!ReadListInfo(folder / "listinfo.txt", games, quiet))
        throw std::runtime_error("listinfo.txt could not be read");
    int translated = 0;
    MergeNameList(folder / "mame32j.lst", games, translated);
}

GuiCase JournalReplay() {
    auto data = std::make_shared<ReplayData>();
    return {
        .name = "  journal: 10,000 records read, planned and replayed",
        .targetMs = kReplayTargetMs,
        .setUp =
            [data](Bench& bench) {
                ReadCatalogue(bench.Folder(), data->loaded);
                ReadCatalogue(bench.Folder(), data->games);
                data->identity = {IdentifyCatalogue(data->loaded),
                                  IdentifyNameList(bench.Folder() / "mame32j.lst"), 932};
                data->journal = bench.Folder() / "bench-replay.journal";
                WriteTypingJournal(data->journal, data->identity, data->loaded, kReplayRecords);
            },
        .beforeEach =
            [data](Bench&, int) {
                for (int k = 0; k < data->loaded.Count(); ++k) data->games[k] = data->loaded[k];
            },
        .measured =
            [data](Bench&, int) {
                const auto journal = ReadJournal(data->journal);
                if (!journal || journal->edits.size() != static_cast<std::size_t>(kReplayRecords))
                    throw std::runtime_error("the journal did not give its 10,000 records");
                const RecoveryPlan plan = PlanRecovery(*journal, data->games, data->identity);
                int translated = 0;
                if (ReplayRecovery(plan, data->games, translated) == 0)
                    throw std::runtime_error("the replay changed nothing");
            },
    };
}

}  // namespace

void AddJournalCases(std::vector<GuiCase>& cases) {
    cases.push_back(JournalAppend());
    cases.push_back(JournalFlush());
    cases.push_back(JournalReplay());
}

}  // namespace kanaroll::bench::gui
