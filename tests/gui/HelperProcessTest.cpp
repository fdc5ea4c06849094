// The helper tests that HelperProcess starts in a second copy of this program. They are disabled,
// so that they run only there; each finds its file in the environment.
#include <gtest/gtest.h>
#include <string>

#include "tests/gui/HelperProcess.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/WriteTargets.h"

namespace kanaroll::testing {
namespace {

constexpr DWORD kUntilKilled = 120000;

// Holds the file open without sharing, as another program can.
TEST(HelperProcess, DISABLED_HoldFileOpen) {
    const std::wstring file = HelperEnvironment(L"KANAROLL_HELPER_FILE");
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SignalHelperReady();
    Sleep(kUntilKilled);
    CloseHandle(held);
}

// Writes the file through its real writer and stops just before the step the detail names (the
// write of its second block, the sync or the rename), to be killed there.
TEST(HelperProcess, DISABLED_WriteUntilKilled) {
    const std::filesystem::path file(HelperEnvironment(L"KANAROLL_HELPER_FILE"));
    const std::wstring detail = HelperEnvironment(L"KANAROLL_HELPER_DETAIL");
    const FileStep step = detail == L"Rename" ? FileStep::Rename
                          : detail == L"Sync" ? FileStep::Sync
                                              : FileStep::Write;
    const int occurrence = step == FileStep::Write ? 2 : 1;
    const std::string name = file.filename().string();
    FileFaultInjection injection({{step, occurrence, 0, name}}, [&](FileStep reached, int count) {
        if (reached != step || count != occurrence) return;
        SignalHelperReady();
        Sleep(kUntilKilled);
    });
    for (const WriteTarget& target : AllWriteTargets()) {
        if (name == target.fileName) target.write(file, kLinesOfABigFile, 'b');
    }
}

}  // namespace
}  // namespace kanaroll::testing
