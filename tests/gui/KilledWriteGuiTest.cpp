// Under Windows (Wine here): another process holds the file, or dies in the middle of writing it.
// Only another process can do either; the helper is this test program started again.
#include <cwchar>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "tests/gui/HelperProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WriteTargets.h"

namespace kanaroll::testing {
namespace {

// The writer's process is killed just before the write of the second block, the sync or the
// rename. The previous file is whole; the next write takes over what the killed one left.
TEST(KilledWriteWindows, LeavesThePreviousFileWholeAndTheNextWriteWorks) {
    for (const WriteTarget& target : AllWriteTargets()) {
        for (const wchar_t* step : {L"Write", L"Sync", L"Rename"}) {
            SCOPED_TRACE(std::string(target.fileName) + " " + std::string(step, step + wcslen(step)));
            TempFolder folder;
            const auto file = folder / target.fileName;
            target.write(file, 10, 'a');
            const std::string previous = folder.Read(target.fileName);
            {
                HelperProcess writer("WriteUntilKilled", file.wstring(), step);
                ASSERT_TRUE(writer.Started());
                ASSERT_TRUE(writer.WaitUntilReady());
                writer.Kill();
            }
            EXPECT_EQ(folder.Read(target.fileName), previous);
            const auto leftover = folder / (std::string(target.fileName) + ".kanaroll-new");
            EXPECT_TRUE(std::filesystem::exists(leftover));

            target.write(file, 10, 'b');
            target.write(folder / "expected", 10, 'b');
            EXPECT_EQ(folder.Read(target.fileName), folder.Read("expected"));
            EXPECT_FALSE(std::filesystem::exists(leftover));
        }
    }
}

}  // namespace
}  // namespace kanaroll::testing
