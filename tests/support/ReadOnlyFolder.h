#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace kanaroll::testing {

// Makes a folder refuse new files for its lifetime. Wine ignores the read-only attribute of a
// folder, so under Wine the folder's Unix permissions are taken away by the system's chmod and,
// since permissions do not stop root, the folder is also made immutable by chattr. Elsewhere, or
// when neither works, Made() is false.
//
// Wine starts a Unix program without a handle to wait on, so the effect is waited for by trying
// to create a file, for a bounded time: the one wait of its kind in the window tests.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::filesystem::path folder)
        : m_folder(std::move(folder)), m_unixPath(UnixPath(m_folder)) {
        if (m_unixPath.empty()) return;
        for (int attempt = 0; attempt < kAttempts && !m_made; ++attempt) {
            Start(L"Z:\\bin\\chmod", L"a-w");
            Start(L"Z:\\usr\\bin\\chattr", L"+i");
            m_made = WaitUntilCreating(false);
        }
    }
    ~ReadOnlyFolder() {
        if (m_unixPath.empty()) return;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            Start(L"Z:\\usr\\bin\\chattr", L"-i");
            Start(L"Z:\\bin\\chmod", L"u+w");
            if (WaitUntilCreating(true)) return;
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Made() const { return m_made; }

private:
    // A loaded machine starts the programs late, and now and then one of them is lost: each attempt
    // starts them again.
    static constexpr int kAttempts = 4;
    static constexpr int kWaitSteps = 500;
    static constexpr DWORD kWaitStepMs = 10;

    // Wine's own conversion, which only Wine's kernel32 has.
    static std::string UnixPath(const std::filesystem::path& folder) {
        using ToUnix = char*(CDECL*)(const wchar_t*);
        const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (!toUnix) return {};
        char* converted = toUnix(folder.c_str());
        if (!converted) return {};
        std::string path(converted);
        HeapFree(GetProcessHeap(), 0, converted);
        return path;
    }

    bool CanCreateFile() const {
        const auto probe = m_folder / "kanaroll-read-only-probe";
        const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
        DeleteFileW(probe.c_str());
        return true;
    }

    bool WaitUntilCreating(bool possible) const {
        for (int step = 0; step < kWaitSteps; ++step) {
            if (CanCreateFile() == possible) return true;
            Sleep(kWaitStepMs);
        }
        return false;
    }

    // A Unix program named by its path on the Z: drive, which maps the Unix root.
    void Start(const wchar_t* program, const wchar_t* argument) const {
        std::wstring commandLine = L"tool " + std::wstring(argument) + L" \"" +
                                   std::wstring(m_unixPath.begin(), m_unixPath.end()) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process)) {
            if (process.hThread) CloseHandle(process.hThread);
            if (process.hProcess && process.hProcess != INVALID_HANDLE_VALUE) CloseHandle(process.hProcess);
        }
    }

    std::filesystem::path m_folder;
    std::string m_unixPath;
    bool m_made = false;
};

}  // namespace kanaroll::testing
