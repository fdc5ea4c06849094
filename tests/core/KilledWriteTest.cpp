// What a real disk and a real kill do to a write: a child process writes through the real writers
// and is killed part-way with SIGKILL, and a tiny tmpfs fills up under a write. The previous file
// stays byte for byte, and the next write works despite what the killed one left behind. Linux
// only: the Windows build kills its helper process in tests/gui/KilledWriteGuiTest.cpp.
#ifdef __linux__

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <tuple>

#include "catalogue/IoError.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TinyDisk.h"
#include "tests/support/WriteTargets.h"

namespace kanaroll {
namespace {

using testing::AllWriteTargets;
using testing::ChildProcess;
using testing::FileFaultInjection;
using testing::kLinesOfABigFile;
using testing::StepName;
using testing::TempFolder;
using testing::TinyDisk;
using testing::WriteTarget;

std::string Temporary(const WriteTarget& target) {
    return std::string(target.fileName) + ".kanaroll-new";
}

class KilledWriteTest : public ::testing::TestWithParam<std::tuple<WriteTarget, FileStep>> {};

// The child is killed just before the step: in the middle of the write (after its first block),
// before the flush, the sync, the close or the rename.
TEST_P(KilledWriteTest, LeavesThePreviousFileWholeAndTheNextWriteWorks) {
    const auto& [target, step] = GetParam();
    TempFolder folder;
    const auto file = folder / target.fileName;
    // Only the write in the middle needs a file of two blocks.
    const int lines = step == FileStep::Write ? kLinesOfABigFile : 300;
    target.write(folder / "expected", lines, 'b');
    const std::string expected = folder.Read("expected");
    target.write(file, 10, 'a');
    const std::string previous = folder.Read(target.fileName);

    const int occurrence = step == FileStep::Write ? 2 : 1;
    ChildProcess child([&](ChildProcess& self) {
        FileFaultInjection injection({{step, occurrence, 0, target.fileName}},
                                     [&](FileStep reached, int count) {
                                         if (reached == step && count == occurrence) self.Ready();
                                     });
        target.write(file, lines, 'b');
    });
    ASSERT_TRUE(child.WaitUntilReady(std::chrono::seconds(60)));
    ASSERT_TRUE(child.Kill());

    EXPECT_EQ(folder.Read(target.fileName), previous);
    const auto leftover = folder / Temporary(target);
    ASSERT_TRUE(std::filesystem::exists(leftover));
    if (step == FileStep::Write) {
        EXPECT_GE(std::filesystem::file_size(leftover), (1u << 20) - 65536);
    } else if (step != FileStep::Flush) {
        EXPECT_EQ(folder.Read(Temporary(target)), expected);  // whole, but never put in place
    }

    target.write(file, lines, 'b');
    EXPECT_EQ(folder.Read(target.fileName), expected);
    EXPECT_FALSE(std::filesystem::exists(leftover));
}

INSTANTIATE_TEST_SUITE_P(EveryFile, KilledWriteTest,
                         ::testing::Combine(::testing::ValuesIn(AllWriteTargets()),
                                            ::testing::Values(FileStep::Write, FileStep::Flush,
                                                              FileStep::Sync, FileStep::Close,
                                                              FileStep::Rename)),
                         [](const auto& info) {
                             std::string name = std::string(std::get<0>(info.param).fileName) + "_" +
                                                StepName(std::get<1>(info.param));
                             for (char& c : name)
                                 if (c == '.') c = '_';
                             return name;
                         });

// A child writes the list again and again, in two versions by turns, and is killed at moments
// that no hook chose. Whenever it dies, the file is one of the two versions, whole.
TEST(KilledWrite, AtAnyMomentTheFileIsOneOfTheVersionsWhole) {
    TempFolder folder;
    const auto file = folder / "mame32j.lst";
    const GameList versions[] = {testing::TranslatedCatalogue(kLinesOfABigFile, 'a'),
                                 testing::TranslatedCatalogue(kLinesOfABigFile, 'b')};
    WriteMame32J(folder / "a", versions[0]);
    WriteMame32J(folder / "b", versions[1]);
    const std::string whole[] = {folder.Read("a"), folder.Read("b")};
    WriteMame32J(file, versions[0]);

    int killedWhileWriting = 0;
    for (int round = 0; round < 8; ++round) {
        ChildProcess child([&](ChildProcess&) {
            for (int turn = 1;; ++turn) WriteMame32J(file, versions[turn % 2]);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30 + 23 * round));
        ASSERT_TRUE(child.Kill());
        const std::string now = folder.Read("mame32j.lst");
        EXPECT_TRUE(now == whole[0] || now == whole[1])
            << "round " << round << ": " << now.size() << " bytes";
        if (std::filesystem::exists(folder / "mame32j.lst.kanaroll-new")) ++killedWhileWriting;
    }
    EXPECT_GT(killedWhileWriting, 0);
    WriteMame32J(file, versions[1]);
    EXPECT_EQ(folder.Read("mame32j.lst"), whole[1]);
    EXPECT_FALSE(std::filesystem::exists(folder / "mame32j.lst.kanaroll-new"));
}

TEST(FullDisk, KeepsThePreviousFileAndTakesTheNextWriteThatFits) {
    TempFolder folder;
    TinyDisk disk(folder / "disk");
    if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs could be mounted (errno " << disk.Error() << ")";
    for (const WriteTarget& target : AllWriteTargets()) {
        SCOPED_TRACE(target.fileName);
        const auto file = folder / "disk" / target.fileName;
        target.write(file, 20, 'a');
        const std::string previous = TempFolder::ReadFile(file);
        try {
            target.write(file, kLinesOfABigFile, 'b');
            ADD_FAILURE() << "a file of more than 1 MiB fitted on a disk of 256 KiB";
        } catch (const IoError& error) {
            EXPECT_EQ(error.Number(), io::kDiskFull);
            EXPECT_STREQ(error.what(), "ディスクがいっぱいです");
        }
        EXPECT_EQ(TempFolder::ReadFile(file), previous);
        EXPECT_FALSE(std::filesystem::exists(folder / "disk" / Temporary(target)));

        target.write(file, 30, 'b');
        target.write(folder / "expected", 30, 'b');
        EXPECT_EQ(TempFolder::ReadFile(file), folder.Read("expected"));
        std::filesystem::remove(file);
    }
}

}  // namespace
}  // namespace kanaroll

#endif  // __linux__
