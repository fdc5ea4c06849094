// Stands in for MAME in the tests and benchmarks of making listinfo.txt. Kanaroll starts it as it
// starts MAME, "FakeMame.exe -listxml" in its own folder; what it does comes from the environment
// variable KANAROLL_FAKE_MAME, fields separated by "|":
//
//   replay|FILE               FILE on standard output at full speed, then exit code 0
//   slow|FILE|BYTES|MS        FILE in pieces of BYTES with MS milliseconds between them
//   fail|CODE[|FILE]          FILE (if given), then exit code CODE
//   halfway|FILE              the first half of FILE, then exit code 0
//   silent                    nothing, exit code 0
//   hang[|FILE]               FILE (if given), then never exits
//   flood                     an endless stream of "x"
//   spawn|FILE|PIDFILE        starts a copy of itself that hangs holding standard output, writes
//                             the copy's process id into PIDFILE, then FILE, and exits with 0
//
// It ends with exit code 97 when its arguments are not exactly "-listxml" and 98 when its working
// directory is not its own folder, as a check of how it was started; 3 when its output breaks.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kWrongArguments = 97;
constexpr int kWrongDirectory = 98;
constexpr int kOutputBroken = 3;
constexpr DWORD kPiece = 1 << 16;

std::vector<std::wstring> Fields(const wchar_t* text) {
    std::vector<std::wstring> fields(1);
    for (; text && *text; ++text) {
        if (*text == L'|') {
            fields.emplace_back();
        } else {
            fields.back() += *text;
        }
    }
    return fields;
}

void Write(const char* bytes, DWORD size) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(out, bytes, size, &written, nullptr)) ExitProcess(kOutputBroken);
        bytes += written;
        size -= written;
    }
}

// Writes `file` (up to `limit` bytes) in pieces of `piece`, waiting `pause` milliseconds after each.
void Replay(const std::wstring& file, unsigned long long limit = ~0ULL, DWORD piece = kPiece,
            DWORD pause = 0) {
    const HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) ExitProcess(2);
    std::vector<char> buffer(piece);
    unsigned long long sent = 0;
    DWORD got = 0;
    while (sent < limit && ReadFile(in, buffer.data(), piece, &got, nullptr) && got > 0) {
        if (got > limit - sent) got = static_cast<DWORD>(limit - sent);
        Write(buffer.data(), got);
        sent += got;
        if (pause) Sleep(pause);
    }
    CloseHandle(in);
}

unsigned long long SizeOf(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) ExitProcess(2);
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring Folder(std::wstring path) {
    const auto slash = path.find_last_of(L"\\/");
    path.erase(slash == std::wstring::npos ? 0 : slash);
    return path;
}

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    wchar_t fullA[MAX_PATH * 2] = {};
    wchar_t fullB[MAX_PATH * 2] = {};
    GetFullPathNameW(a.c_str(), MAX_PATH * 2, fullA, nullptr);
    GetFullPathNameW(b.c_str(), MAX_PATH * 2, fullB, nullptr);
    std::wstring left = fullA;
    std::wstring right = fullB;
    for (std::wstring* path : {&left, &right})
        while (!path->empty() && (path->back() == L'\\' || path->back() == L'/')) path->pop_back();
    return CompareStringOrdinal(left.c_str(), -1, right.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// A copy of this program that hangs with this one's standard output.
void SpawnHangingCopy(const std::wstring& self, const std::wstring& pidFile) {
    SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", L"hang");
    std::wstring command = L"\"" + self + L"\" -listxml";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        ExitProcess(4);
    const std::string id = std::to_string(process.dwProcessId);
    const HANDLE out = CreateFileW(pidFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, id.data(), static_cast<DWORD>(id.size()), &written, nullptr);
    CloseHandle(out);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t selfBuffer[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, selfBuffer, MAX_PATH * 2);
    const std::wstring self = selfBuffer;
    if (argc != 2 || std::wcscmp(argv[1], L"-listxml") != 0) return kWrongArguments;
    wchar_t directory[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, directory);
    if (!SameFolder(directory, Folder(self))) return kWrongDirectory;

    const std::vector<std::wstring> f = Fields(_wgetenv(L"KANAROLL_FAKE_MAME"));
    const std::wstring& mode = f[0];
    const auto field = [&f](std::size_t i) { return i < f.size() ? f[i] : std::wstring(); };
    if (mode == L"replay") {
        Replay(field(1));
    } else if (mode == L"slow") {
        Replay(field(1), ~0ULL, static_cast<DWORD>(std::wcstoul(field(2).c_str(), nullptr, 10)),
               static_cast<DWORD>(std::wcstoul(field(3).c_str(), nullptr, 10)));
    } else if (mode == L"fail") {
        if (!field(2).empty()) Replay(field(2));
        return static_cast<int>(std::wcstol(field(1).c_str(), nullptr, 10));
    } else if (mode == L"halfway") {
        Replay(field(1), SizeOf(field(1)) / 2);
    } else if (mode == L"hang") {
        if (!field(1).empty()) Replay(field(1));
        for (;;) Sleep(INFINITE);
    } else if (mode == L"flood") {
        const std::vector<char> piece(kPiece, 'x');
        for (;;) Write(piece.data(), kPiece);
    } else if (mode == L"spawn") {
        SpawnHangingCopy(self, field(2));
        Replay(field(1));
    } else if (mode != L"silent") {
        return kWrongArguments;
    }
    return 0;
}
