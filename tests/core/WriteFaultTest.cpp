// A failure at any step of writing mame32j.lst, a MANE32J list or kanaroll.ini leaves the previous
// file byte for byte and no temporary file (or one that the next write takes over), and the next
// write works. The failures are injected through the file layer, as the disk or the system would
// report them.
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <tuple>

#include "catalogue/IoError.h"
#include "catalogue/SettingsFile.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WriteTargets.h"

namespace kanaroll {
namespace {

using testing::AllWriteTargets;
using testing::FileFaultInjection;
using testing::kLinesOfABigFile;
using testing::StepName;
using testing::TempFolder;
using testing::WriteTarget;

struct StepFault {
    FileStep step;
    int occurrence;
    int error;   // the errno value the system gives
    int number;  // the I/O error number the user is shown
};

// Each step with a failure it meets in life: a folder that refuses new files, a disk that fills up
// while the file is written, flushed, synced or closed (quota and network file systems report
// late), a disk that fails, a target held open by another program, and a number the table has no
// message for.
const StepFault kStepFaults[] = {
    {FileStep::Create, 1, EACCES, io::kAccessDenied},
    {FileStep::Create, 1, EROFS, io::kAccessDenied},
    {FileStep::Write, 1, ENOSPC, io::kDiskFull},
    {FileStep::Write, 2, ENOSPC, io::kDiskFull},
    {FileStep::Write, 2, EIO, io::kCLibraryErrorBase + EIO},
    {FileStep::Flush, 1, ENOSPC, io::kDiskFull},
    {FileStep::Sync, 1, ENOSPC, io::kDiskFull},
    {FileStep::Sync, 1, EIO, io::kCLibraryErrorBase + EIO},
    {FileStep::Close, 1, EMLINK, io::kCLibraryErrorBase + EMLINK},
    {FileStep::Rename, 1, EACCES, io::kAccessDenied},
};

std::set<std::string> Names(const TempFolder& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

class WriteFaultTest : public ::testing::TestWithParam<std::tuple<WriteTarget, StepFault>> {
protected:
    // The second write step comes only with a file of more than one block.
    int Lines() const { return std::get<1>(GetParam()).occurrence > 1 ? kLinesOfABigFile : 3; }

    // Writes the file with the fault injected; expects the fault's I/O error.
    void WriteFailing(const std::filesystem::path& file) {
        const auto& [target, fault] = GetParam();
        FileFaultInjection injection({fault.step, fault.occurrence, fault.error, target.fileName});
        try {
            target.write(file, Lines(), 'b');
            ADD_FAILURE() << "the write succeeded";
        } catch (const IoError& error) {
            EXPECT_EQ(error.Number(), fault.number);
        }
        EXPECT_EQ(injection.Fired(), 1) << "the writer has no such step";
    }
};

TEST_P(WriteFaultTest, KeepsThePreviousFileAndLeavesNoTemporaryFileBehind) {
    const auto& [target, fault] = GetParam();
    TempFolder folder;
    target.write(folder / "expected", Lines(), 'b');
    const std::string expected = folder.Read("expected");
    const auto file = folder / target.fileName;
    target.write(file, 5, 'a');
    const std::string previous = folder.Read(target.fileName);

    WriteFailing(file);
    EXPECT_EQ(folder.Read(target.fileName), previous);
    EXPECT_EQ(Names(folder), (std::set<std::string>{"expected", target.fileName}));

    target.write(file, Lines(), 'b');
    EXPECT_EQ(folder.Read(target.fileName), expected);
    EXPECT_EQ(Names(folder), (std::set<std::string>{"expected", target.fileName}));
}

TEST_P(WriteFaultTest, ANewFileAppearsOnlyWhole) {
    const auto& target = std::get<0>(GetParam());
    TempFolder folder;
    WriteFailing(folder / target.fileName);
    EXPECT_TRUE(Names(folder).empty());
}

std::string FaultName(const ::testing::TestParamInfo<WriteFaultTest::ParamType>& info) {
    const auto& [target, fault] = info.param;
    std::string name = std::string(target.fileName) + "_" + StepName(fault.step) +
                       std::to_string(fault.occurrence) + "_errno" + std::to_string(fault.error);
    for (char& c : name)
        if (c == '.') c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryStep, WriteFaultTest,
                         ::testing::Combine(::testing::ValuesIn(AllWriteTargets()),
                                            ::testing::ValuesIn(kStepFaults)),
                         FaultName);

// A temporary file that could not be removed (or that a killed run left) is written over by the
// next write, whatever it held, and goes with it.
TEST(WriteFault, ATemporaryFileLeftBehindIsTakenOverByTheNextWrite) {
    for (const WriteTarget& target : AllWriteTargets()) {
        SCOPED_TRACE(target.fileName);
        TempFolder folder;
        const auto file = folder / target.fileName;
        const std::string temporary = std::string(target.fileName) + ".kanaroll-new";
        target.write(folder / "expected", 4, 'b');
        target.write(file, 5, 'a');
        const std::string previous = folder.Read(target.fileName);
        {
            FileFaultInjection injection({{FileStep::Write, 2, ENOSPC, target.fileName},
                                          {FileStep::RemoveTemporary, 1, EACCES, target.fileName}});
            EXPECT_THROW(target.write(file, kLinesOfABigFile, 'c'), IoError);
            EXPECT_EQ(injection.Fired(), 2);
        }
        EXPECT_EQ(folder.Read(target.fileName), previous);
        ASSERT_TRUE(std::filesystem::exists(folder / temporary));
        EXPECT_GE(std::filesystem::file_size(folder / temporary), 1u << 20);  // the first block made it

        target.write(file, 4, 'b');
        EXPECT_EQ(folder.Read(target.fileName), folder.Read("expected"));
        EXPECT_FALSE(std::filesystem::exists(folder / temporary));
    }
}

// Nothing is read from a settings file that cannot be opened, and what came before a line that
// cannot be read stays in effect.
TEST(ReadFault, ASettingsFileThatFailsReportsItsErrorAndKeepsWhatWasRead) {
    TempFolder folder;
    const auto ini = folder / "kanaroll.ini";
    SaveSettings(ini, "", testing::ManyRules(kLinesOfABigFile));
    std::string mamePath = "kept?";
    ReplaceRuleList rules;
    {
        FileFaultInjection injection({FileStep::OpenForReading, 1, EACCES, "kanaroll.ini"});
        try {
            LoadSettings(ini, mamePath, rules);
            ADD_FAILURE() << "no error";
        } catch (const IoError& error) {
            EXPECT_EQ(error.Number(), io::kAccessDenied);
        }
    }
    EXPECT_TRUE(rules.empty());
    {
        FileFaultInjection injection({FileStep::Read, 2, EIO, "kanaroll.ini"});
        try {
            LoadSettings(ini, mamePath, rules);
            ADD_FAILURE() << "no error";
        } catch (const IoError& error) {
            EXPECT_EQ(error.Number(), io::kCLibraryErrorBase + EIO);
        }
    }
    // The first block of 1 MiB held whole rules; the line it cut is not taken.
    EXPECT_GT(rules.size(), 1000u);
    EXPECT_LT(rules.size(), static_cast<std::size_t>(kLinesOfABigFile));
    EXPECT_EQ(rules[0], testing::ManyRules(1)[0]);
}

}  // namespace
}  // namespace kanaroll
