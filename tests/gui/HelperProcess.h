#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/Handles.h"

namespace kanaroll::testing {

// Another process, for what only another process can do to a file: hold it open, or die in the
// middle of writing it. It is this test program started again to run one of the helper tests of
// HelperProcessTest.cpp (disabled, so that they run only when asked for), which finds its file in
// the environment and sets the named event once it has reached its point.
class HelperProcess {
public:
    HelperProcess(const char* helperTest, const std::wstring& file, const std::wstring& detail = L"") {
        static int serial = 0;
        const std::wstring event =
            L"KanarollHelper-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
        m_ready.Reset(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
        SetEnvironmentVariableW(L"KANAROLL_HELPER_FILE", file.c_str());
        SetEnvironmentVariableW(L"KANAROLL_HELPER_DETAIL", detail.c_str());
        SetEnvironmentVariableW(L"KANAROLL_HELPER_EVENT", event.c_str());

        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(program) +
                               L"\" --gtest_also_run_disabled_tests --gtest_filter=HelperProcess.DISABLED_";
        for (const char* c = helperTest; *c; ++c) command += static_cast<wchar_t>(*c);
        // Its report would mix with this program's: it goes nowhere.
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        const HANDLE nowhere = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           &inheritable, OPEN_EXISTING, 0, nullptr);
        if (nowhere != INVALID_HANDLE_VALUE) m_nowhere.Reset(nowhere);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = m_nowhere.Get();
        startup.hStdOutput = m_nowhere.Get();
        startup.hStdError = m_nowhere.Get();
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                           nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            m_process.Reset(process.hProcess);
        }
        for (const wchar_t* name :
             {L"KANAROLL_HELPER_FILE", L"KANAROLL_HELPER_DETAIL", L"KANAROLL_HELPER_EVENT"})
            SetEnvironmentVariableW(name, nullptr);
    }
    ~HelperProcess() { Kill(); }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    bool Started() const { return static_cast<bool>(m_process); }

    // Whether the helper reached its point within the time; false also when it ended before.
    bool WaitUntilReady(DWORD milliseconds = 60000) const {
        if (!m_process) return false;
        const HANDLE handles[] = {m_ready.Get(), m_process.Get()};
        return WaitForMultipleObjects(2, handles, FALSE, milliseconds) == WAIT_OBJECT_0;
    }

    // Ends the helper at once, as a kill from the task manager does, and waits until it is gone.
    void Kill() {
        if (!m_process) return;
        TerminateProcess(m_process.Get(), 9);
        WaitForSingleObject(m_process.Get(), 30000);
        m_process.Reset();
    }

private:
    UniqueHandle m_ready;
    UniqueHandle m_nowhere;
    UniqueHandle m_process;
};

// In the helper: its file, its detail and the signal that it has reached its point.
inline std::wstring HelperEnvironment(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value ? value : L"";
}
inline void SignalHelperReady() {
    const HANDLE event =
        OpenEventW(EVENT_MODIFY_STATE, FALSE, HelperEnvironment(L"KANAROLL_HELPER_EVENT").c_str());
    SetEvent(event);
    CloseHandle(event);
}

}  // namespace kanaroll::testing
