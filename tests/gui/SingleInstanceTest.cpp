// Two copies of the real program: the second hands over to the first and ends. This is the one GUI
// test that starts processes, finds windows by class and waits with Sleep, because the windows it
// looks at belong to other processes.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "catalogue/RecoveryJournal.h"
#include "mainwindow/ControlIds.h"
#include "tests/support/ListInfoText.h"
#include "tests/support/TempFolder.h"

namespace kanaroll::testing {
namespace {

constexpr DWORD kTimeoutMs = 30000;

std::filesystem::path ProgramBesideTests() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return std::filesystem::path(path).parent_path().parent_path() / L"kanaroll.exe";
}

// A started copy of the program, ended by its handle if the test leaves it running.
class Process {
public:
    explicit Process(const std::filesystem::path& program) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + program.wstring() + L"\"";
        const std::wstring folder = program.parent_path().wstring();
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           folder.c_str(), &startup, &m_info)) {
            CloseHandle(m_info.hThread);
        } else {
            m_info = {};
        }
    }
    ~Process() {
        if (!m_info.hProcess) return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_info.hProcess, 1);
        CloseHandle(m_info.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool WaitForExit() const { return WaitForSingleObject(m_info.hProcess, kTimeoutMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION m_info{};
};

// Polls until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition) {
    for (DWORD waited = 0; waited < kTimeoutMs; waited += 50) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

// The visible top-level windows of a class, and the processes they belong to.
std::vector<std::pair<HWND, DWORD>> TopLevelWindows(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        std::vector<std::pair<HWND, DWORD>> found;
    } search{className, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (std::wstring(name) == search.className) {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                search.found.emplace_back(window, process);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control of another process's window, by its identifier, at any depth.
HWND ControlOf(HWND window, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) != search.id) return TRUE;
            search.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Bytes(const std::filesystem::path& file) {
    std::string bytes;
    if (FILE* in = _wfopen(file.c_str(), L"rb")) {
        char block[4096];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, in)) > 0;) bytes.append(block, got);
        std::fclose(in);
    }
    return bytes;
}

HWND VisibleMainWindowOf(DWORD processId) {
    HWND mainWindow = nullptr;
    WaitUntil([&] {
        for (const auto& [window, process] : TopLevelWindows(L"TForm1")) {
            if (process == processId && IsWindowVisible(window)) mainWindow = window;
        }
        return mainWindow != nullptr;
    });
    return mainWindow;
}

TEST(SingleInstanceTest, ASecondStartBringsTheFirstBackAndEndsWithoutAWindow) {
    TempFolder folder;
    const auto program = folder / "kanaroll.exe";
    ASSERT_TRUE(CopyFileW(ProgramBesideTests().c_str(), program.c_str(), FALSE)) << ProgramBesideTests();
    folder.Write("listinfo.txt", ListInfoText({{.zip = "pacman", .description = "Pac-Man"}}));

    Process first(program);
    ASSERT_TRUE(first.Started());
    HWND mainWindow = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& [window, process] : TopLevelWindows(L"TForm1")) {
            if (process == first.Id() && IsWindowVisible(window)) mainWindow = window;
        }
        return mainWindow != nullptr;
    }));
    const HWND owner = GetWindow(mainWindow, GW_OWNER);
    ASSERT_NE(owner, nullptr);

    PostMessageW(mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(owner) != FALSE; }));

    Process second(program);
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);

    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(owner) && IsWindowVisible(mainWindow); }));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mainWindow; }));
    const auto mainWindows = TopLevelWindows(L"TForm1");
    ASSERT_EQ(mainWindows.size(), 1u);
    EXPECT_EQ(mainWindows[0].second, first.Id());
    // A copy that had made its windows would have written its settings on the way out.
    EXPECT_FALSE(std::filesystem::exists(folder / "kanaroll.ini"));

    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit());
    EXPECT_TRUE(std::filesystem::exists(folder / "kanaroll.ini"));
}

// The running copy's journal holds edits nobody has saved: a second start must neither read it
// (and ask about it, or set it aside) nor start a journal of its own in its place.
TEST(SingleInstanceTest, ASecondStartLeavesTheRunningCopysJournalAsItIs) {
    TempFolder folder;
    const auto program = folder / "kanaroll.exe";
    ASSERT_TRUE(CopyFileW(ProgramBesideTests().c_str(), program.c_str(), FALSE)) << ProgramBesideTests();
    folder.Write("listinfo.txt", ListInfoText({{.zip = "pacman", .description = "Pac-Man"}}));
    const auto journal = folder / kJournalFileName;

    Process first(program);
    ASSERT_TRUE(first.Started());
    const HWND mainWindow = VisibleMainWindowOf(first.Id());
    ASSERT_NE(mainWindow, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(journal); }));
    const HWND title = ControlOf(mainWindow, ids::kEdit1);
    ASSERT_NE(title, nullptr);
    for (const wchar_t c : std::wstring(L"xyz")) PostMessageW(title, WM_CHAR, c, 1);
    ASSERT_TRUE(WaitUntil([&] {
        const auto read = ReadJournal(journal);
        return read && read->edits.size() == 3;
    }));
    const std::string typed = Bytes(journal);

    Process second(program);
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(Bytes(journal), typed);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        files.push_back(entry.path().filename());
    EXPECT_EQ(files.size(), 3u) << "only the program, listinfo.txt and the journal";
    // The first copy is ended as a crash would: its unsaved title would bring up the question.
}

}  // namespace
}  // namespace kanaroll::testing
