// What reading MAME's -listxml output through Kanaroll's pipe costs beside MAME's own time, with
// FakeMame.exe replaying a real output at full speed in MAME's place. Rounds alternate between:
//
//   to NUL    the helper writing the output to NUL: the time the program itself takes
//   pipe      the same through a pipe whose reader throws the bytes away
//   capture   the whole path Kanaroll takes: MameListXml, the output into the temporary file
//             beside listinfo.txt, judged, written onto the disk (until Finish returns)
//
//   mame_pipe_bench FAKEMAME.EXE LISTXML.XML [ROUNDS [MAME_SECONDS]]
//
// Prints the median and the range of each, and the capture's share over the time to NUL.
//
// At full speed the helper takes a fraction of a second for what MAME takes tens of seconds to
// compute, so those rounds show what the reading costs, not what it adds to MAME's run. Given
// MAME_SECONDS (MAME's own time for the output, measured without a pipe), rounds follow in which the
// helper writes at MAME's pace, a megabyte at a time, to NUL and into the capture: the difference is
// what reading the pipe adds to a run of MAME.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ChildProcess.h"
#include "platform/MameListXml.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The helper started as MAME would be, its output going to NUL.
double ToNul(const std::filesystem::path& helper) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inheritable, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    std::wstring command = L"\"" + helper.wstring() + L"\" -listxml";
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessW(helper.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        helper.parent_path().c_str(), &startup, &process)) {
        std::fprintf(stderr, "cannot start the helper (%lu)\n", GetLastError());
        std::exit(1);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = Seconds(start);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(nul);
    return seconds;
}

double ThroughPipe(const std::filesystem::path& helper, std::uint64_t expected) {
    std::uint64_t received = 0;
    const HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const auto start = Clock::now();
    {
        kanaroll::ChildProcess process(
            helper, {L"-listxml"}, helper.parent_path(),
            [&received](std::string_view bytes) {
                received += bytes.size();
                return true;
            },
            [ended](bool end) {
                if (end) SetEvent(ended);
            });
        WaitForSingleObject(ended, INFINITE);
        process.Wait();
    }
    const double seconds = Seconds(start);
    CloseHandle(ended);
    if (received != expected) {
        std::fprintf(stderr, "the pipe gave %llu bytes of %llu\n", static_cast<unsigned long long>(received),
                     static_cast<unsigned long long>(expected));
        std::exit(1);
    }
    return seconds;
}

// Also adds to `judging` how long the verdict took once the output had ended: the wait for the
// thread and the temporary file's way onto the disk.
double Capture(const std::filesystem::path& helper, const std::filesystem::path& listInfo,
               std::vector<double>& judging) {
    const HANDLE notified = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const auto start = Clock::now();
    double seconds = 0;
    {
        kanaroll::MameListXml run(helper, listInfo, [notified] { SetEvent(notified); });
        while (!run.Ended()) {
            WaitForSingleObject(notified, INFINITE);
            run.TakeProgress();
        }
        const auto ended = Clock::now();
        const kanaroll::ListXmlVerdict verdict = run.Finish();
        seconds = Seconds(start);
        judging.push_back(Seconds(ended));
        if (!verdict.Good()) {
            std::fprintf(stderr, "the capture failed: %s\n", verdict.Message().c_str());
            std::exit(1);
        }
    }  // the temporary file goes
    CloseHandle(notified);
    return seconds;
}

struct Figures {
    const char* name;
    std::vector<double> seconds;

    double Median() const {
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    void Print() const {
        std::printf("  %-8s median %7.3f s   min %7.3f   max %7.3f   (%zu runs)\n", name, Median(),
                    *std::min_element(seconds.begin(), seconds.end()),
                    *std::max_element(seconds.begin(), seconds.end()), seconds.size());
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: mame_pipe_bench FAKEMAME.EXE LISTXML.XML [ROUNDS]\n");
        return 2;
    }
    const std::filesystem::path helper = argv[1];
    const std::filesystem::path xml = std::filesystem::absolute(argv[2]);
    const int rounds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 5;
    const std::uint64_t bytes = std::filesystem::file_size(xml);
    const std::wstring mode = L"replay|" + xml.wstring();
    SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", mode.c_str());
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"kanaroll-pipe-bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path listInfo = folder / L"listinfo.txt";

    Figures nul{"to NUL", {}};
    Figures pipe{"pipe", {}};
    Figures capture{"capture", {}};
    Figures judged{"  judged", {}};
    ToNul(helper);  // once untimed: the file into the system's cache
    for (int round = 0; round < rounds; ++round) {
        nul.seconds.push_back(ToNul(helper));
        pipe.seconds.push_back(ThroughPipe(helper, bytes));
        capture.seconds.push_back(Capture(helper, listInfo, judged.seconds));
    }
    std::printf("%.1f MB replayed at full speed, %d interleaved rounds\n", static_cast<double>(bytes) / 1e6,
                rounds);
    nul.Print();
    pipe.Print();
    capture.Print();
    judged.Print();
    std::printf("  pipe over to NUL: %+.3f s; capture over to NUL: %+.3f s\n", pipe.Median() - nul.Median(),
                capture.Median() - nul.Median());

    const double mameSeconds = argc > 4 ? _wtof(argv[4]) : 0;
    if (mameSeconds > 0) {
        constexpr std::uint64_t kPiece = 1 << 20;
        const std::uint64_t pieces = (bytes + kPiece - 1) / kPiece;
        const auto pause = static_cast<unsigned>(mameSeconds * 1000 / static_cast<double>(pieces));
        const std::wstring paced =
            L"slow|" + xml.wstring() + L"|" + std::to_wstring(kPiece) + L"|" + std::to_wstring(pause);
        SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", paced.c_str());
        Figures pacedNul{"to NUL", {}};
        Figures pacedCapture{"capture", {}};
        Figures pacedJudged{"  judged", {}};
        const int pacedRounds = std::max(1, rounds / 2);
        for (int round = 0; round < pacedRounds; ++round) {
            pacedNul.seconds.push_back(ToNul(helper));
            pacedCapture.seconds.push_back(Capture(helper, listInfo, pacedJudged.seconds));
        }
        std::printf("At MAME's pace (%.1f s: a megabyte every %u ms), %d interleaved rounds\n", mameSeconds,
                    pause, pacedRounds);
        pacedNul.Print();
        pacedCapture.Print();
        pacedJudged.Print();
        const double added = pacedCapture.Median() - pacedNul.Median();
        std::printf("  capture over to NUL: %+.3f s, %+.1f %% of the run to NUL (target < 10 %%)\n", added,
                    100 * added / pacedNul.Median());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
