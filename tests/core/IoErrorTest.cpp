// The I/O error numbers the user is shown: every failure the error table names gets its number and
// message, whether the C library or Windows reported it, and every other failure a number of its
// own that no entry of the table has.
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "catalogue/IoError.h"
#include "catalogue/TextFile.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::FileFaultInjection;
using testing::TempFolder;

constexpr int kTableNumbers[] = {io::kFileNotFound, io::kPathNotFound, io::kTooManyOpenFiles,
                                 io::kAccessDenied, io::kReadPastEnd,  io::kDiskFull,
                                 io::kNotANumber};

bool IsTableNumber(int number) {
    for (const int entry : kTableNumbers)
        if (number == entry) return true;
    return false;
}

std::string Generic(int number) {
    return "I/O エラー (" + std::to_string(number) + ")";
}

TEST(IoErrorNumbers, FollowTheTableForTheCLibrarysErrors) {
    const struct {
        int error;
        int number;
    } cases[] = {{ENOENT, 2}, {ENOTDIR, 3}, {ENAMETOOLONG, 3}, {EMFILE, 4}, {ENFILE, 4},   {EACCES, 5},
                 {EPERM, 5},  {EROFS, 5},   {EISDIR, 5},       {EBUSY, 5},  {ENOSPC, 101}, {EFBIG, 101}};
    for (const auto& entry : cases) {
        const IoError error = IoErrorFromErrno(entry.error);
        EXPECT_EQ(error.Number(), entry.number) << entry.error;
        EXPECT_EQ(error.what(), IoError::MessageFor(entry.number)) << entry.error;
    }
}

// EIO is 5 and the access-denied number is 5 too: a failing disk must not read as a refusal. Nor
// may a failure without any errno, or one whose errno happens to equal another table number.
TEST(IoErrorNumbers, AnyOtherErrnoGetsANumberApartFromTheTable) {
    for (const int error : {EIO, 0, EINTR, EMLINK, EINVAL, ENOMEM, EAGAIN, EXDEV, 100, 101, 106}) {
        const IoError mapped = IoErrorFromErrno(error);
        EXPECT_FALSE(IsTableNumber(mapped.Number())) << error;
        EXPECT_EQ(mapped.Number(), io::kCLibraryErrorBase + error) << error;
        EXPECT_EQ(mapped.what(), Generic(mapped.Number())) << error;
    }
    EXPECT_STREQ(IoErrorFromErrno(EIO).what(), ("I/O エラー (" + std::to_string(1000 + EIO) + ")").c_str());
}

// The codes Windows itself gives, as the file layer passes them on there.
TEST(IoErrorNumbers, FollowTheTableForWindowsErrorCodes) {
    const struct {
        unsigned long code;
        int number;
    } cases[] = {{2, 2},       // ERROR_FILE_NOT_FOUND
                 {3, 3},       // ERROR_PATH_NOT_FOUND
                 {15, 3},      // ERROR_INVALID_DRIVE
                 {53, 3},      // ERROR_BAD_NETPATH
                 {123, 3},     // ERROR_INVALID_NAME
                 {161, 3},     // ERROR_BAD_PATHNAME
                 {206, 3},     // ERROR_FILENAME_EXCED_RANGE
                 {4, 4},       // ERROR_TOO_MANY_OPEN_FILES
                 {5, 5},       // ERROR_ACCESS_DENIED
                 {19, 5},      // ERROR_WRITE_PROTECT
                 {32, 5},      // ERROR_SHARING_VIOLATION
                 {33, 5},      // ERROR_LOCK_VIOLATION
                 {38, 100},    // ERROR_HANDLE_EOF
                 {39, 101},    // ERROR_HANDLE_DISK_FULL
                 {112, 101}};  // ERROR_DISK_FULL
    for (const auto& entry : cases) {
        const IoError error = IoErrorFromWindowsError(entry.code);
        EXPECT_EQ(error.Number(), entry.number) << entry.code;
        EXPECT_EQ(error.what(), IoError::MessageFor(entry.number)) << entry.code;
    }
}

// A read fault, a device that is not ready, a broken network connection, and the codes that equal
// a table number without meaning it.
TEST(IoErrorNumbers, AnyOtherWindowsCodeGetsANumberApartFromTheTable) {
    for (const unsigned long code : {30ul, 21ul, 23ul, 64ul, 1117ul, 100ul, 101ul, 106ul, 0ul}) {
        const IoError error = IoErrorFromWindowsError(code);
        EXPECT_FALSE(IsTableNumber(error.Number())) << code;
        EXPECT_EQ(error.Number(), io::kWindowsErrorBase + static_cast<int>(code)) << code;
        EXPECT_EQ(error.what(), Generic(error.Number())) << code;
    }
    // Neither range reaches into the other.
    EXPECT_GT(io::kWindowsErrorBase, io::kCLibraryErrorBase + 4095);
}

// What the file layer reports for failures the system gives it, not injected.
TEST(IoErrorNumbers, TheFileLayerReportsRealFailuresByTheTable) {
    TempFolder folder;
    const auto numberOf = [](auto&& action) {
        try {
            action();
        } catch (const IoError& error) {
            return error.Number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf([&] { InputFile file(folder / "missing"); }), io::kFileNotFound);
    // A folder on the way that is a file.
    folder.Write("plain", "x");
    EXPECT_EQ(numberOf([&] { InputFile file(folder / "plain" / "inside"); }), io::kPathNotFound);
    EXPECT_EQ(numberOf([&] { ReplacingFileWriter file(folder / "plain" / "inside"); }), io::kPathNotFound);
    // A folder where the file should be.
    std::filesystem::create_directory(folder / "folder");
    EXPECT_EQ(numberOf([&] {
                  LineWriter file(folder / "folder");
                  file.WriteLine("x");
                  file.Commit();
              }),
              io::kAccessDenied);
#ifdef _WIN32
    // Names Windows does not allow: the system's own code says so.
    EXPECT_EQ(numberOf([&] { InputFile file(folder / "a?b"); }), io::kPathNotFound);
    EXPECT_EQ(numberOf([&] { ReplacingFileWriter file(folder / "a<b"); }), io::kPathNotFound);
#endif
}

// The errno values tests inject go through the same mapping, at every step of the file layer.
TEST(IoErrorNumbers, InjectedFailuresAreNumberedAsRealOnes) {
    TempFolder folder;
    const auto file = folder.Write("list", "line\n");
    for (const int error : {ENOENT, EACCES, ENOSPC, EIO}) {
        FileFaultInjection injection({FileStep::Read, 1, error, "list"});
        try {
            LineReader reader(file);
            std::string_view line;
            reader.Next(line);
            ADD_FAILURE() << "no error";
        } catch (const IoError& thrown) {
            EXPECT_EQ(thrown.Number(), IoErrorFromErrno(error).Number());
        }
    }
}

}  // namespace
}  // namespace kanaroll
