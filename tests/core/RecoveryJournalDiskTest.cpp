// What a real kill and a real disk do to the journal: a child process journals edits and is killed
// with SIGKILL, without a flush and in the middle of an append; a tiny tmpfs fills up under it; a
// read-only disk holds it. Every edit stored before the end comes back. Linux only: the Windows
// build runs the same journal through the fault seam (RecoveryJournalTest).
#ifdef __linux__

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "catalogue/IoError.h"
#include "catalogue/RecoveryJournal.h"
#include "tests/support/Catalogues.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TinyDisk.h"

namespace kanaroll {
namespace {

using testing::ChildProcess;
using testing::FileFaultInjection;
using testing::TempFolder;
using testing::TinyDisk;
using testing::UntranslatedCatalogue;

constexpr int kEdits = 40;

// Journals a reading for game `i` of `games`, as typing does.
void TypeReading(RecoveryJournal& journal, GameList& games, int edit) {
    TRecordset& game = games[edit % games.Count()];
    game.reading = "reading " + std::to_string(edit);
    journal.Append(game, EditedField::Reading);
}

TEST(RecoveryJournalDisk, AKilledProcessLosesNoEditItHadStored) {
    TempFolder folder;
    const auto path = folder / kJournalFileName;
    GameList games = UntranslatedCatalogue({"a", "b", "c"});
    const JournalIdentity identity{IdentifyCatalogue(games), {}, 932};

    // After its last append, no flush.
    {
        ChildProcess child([&](ChildProcess& self) {
            RecoveryJournal journal(path);
            journal.Start(identity);
            for (int edit = 0; edit < kEdits; ++edit) TypeReading(journal, games, edit);
            self.Ready();
        });
        ASSERT_TRUE(child.WaitUntilReady(std::chrono::seconds(60)));
        ASSERT_TRUE(child.Kill());
        const auto found = ReadJournal(path);
        ASSERT_TRUE(found);
        ASSERT_EQ(found->edits.size(), static_cast<std::size_t>(kEdits));
        EXPECT_EQ(found->edits.back().text, "reading " + std::to_string(kEdits - 1));
        EXPECT_EQ(found->tornBytes, 0u);
    }
    // Just before the system gets the 31st record: the 30 before it are whole.
    {
        ChildProcess child([&](ChildProcess& self) {
            RecoveryJournal journal(path);
            journal.Start(identity);
            FileFaultInjection stop({{FileStep::Write, 31, 0, kJournalFileName}},
                                    [&](FileStep step, int count) {
                                        if (step == FileStep::Write && count == 31) self.Ready();
                                    });
            for (int edit = 0; edit < kEdits; ++edit) TypeReading(journal, games, edit);
        });
        ASSERT_TRUE(child.WaitUntilReady(std::chrono::seconds(60)));
        ASSERT_TRUE(child.Kill());
        EXPECT_EQ(ReadJournal(path)->edits.size(), 30u);
    }
}

TEST(RecoveryJournalDisk, AFullDiskStopsTheJournalAfterItsLastWholeRecord) {
    TempFolder folder;
    TinyDisk disk(folder / "disk", "64k");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs could be mounted (errno " << disk.Error() << ")";
    const auto path = folder / "disk" / kJournalFileName;
    GameList games = UntranslatedCatalogue({"a"});
    RecoveryJournal journal(path);
    journal.Start({IdentifyCatalogue(games), {}, 932});

    int stored = 0;
    try {
        for (;; ++stored) {
            games[0].japaneseName = std::to_string(stored) + std::string(3000, 'x');
            journal.Append(games[0], EditedField::JapaneseName);
        }
    } catch (const IoError& error) {
        EXPECT_EQ(error.Number(), io::kDiskFull);
    }
    EXPECT_FALSE(journal.IsOpen());
    const auto found = ReadJournal(path);
    ASSERT_TRUE(found);
    EXPECT_GT(stored, 5);
    EXPECT_EQ(found->edits.size(), static_cast<std::size_t>(stored));
    EXPECT_FALSE(found->Damaged());  // the record cut by the full disk is a torn tail
    EXPECT_NO_THROW(journal.Delete());
}

TEST(RecoveryJournalDisk, AJournalOnAReadOnlyDiskIsReadAndOtherwiseLeftAsItIs) {
    TempFolder folder;
    TinyDisk disk(folder / "disk");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs could be mounted (errno " << disk.Error() << ")";
    const auto path = folder / "disk" / kJournalFileName;
    GameList games = UntranslatedCatalogue({"a", "b"});
    const JournalIdentity identity{IdentifyCatalogue(games), {}, 932};
    RecoveryJournal journal(path);
    journal.Start(identity);
    TypeReading(journal, games, 0);
    TypeReading(journal, games, 1);
    journal.Close();
    const std::string bytes = TempFolder::ReadFile(path);
    if (!disk.MakeReadOnly()) GTEST_SKIP() << "the tmpfs could not be made read-only";

    EXPECT_EQ(ReadJournal(path)->edits.size(), 2u);
    for (const auto& act : {std::function<void()>([&] { journal.Start(identity); }),
                            std::function<void()>([&] { MoveJournalAside(path, LocalTimeNow()); }),
                            std::function<void()>([&] { CopyJournalAside(path, LocalTimeNow()); }),
                            std::function<void()>([&] { journal.Delete(); })}) {
        try {
            act();
            ADD_FAILURE() << "a read-only disk took a change";
        } catch (const IoError& error) {
            EXPECT_EQ(error.Number(), io::kAccessDenied);
        }
    }
    EXPECT_EQ(TempFolder::ReadFile(path), bytes);
}

}  // namespace
}  // namespace kanaroll

#endif  // __linux__
