#include "platform/ChildProcess.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "catalogue/IoError.h"
#include "platform/CommandLine.h"

namespace kanaroll {

namespace {

constexpr DWORD kPipeBytes = 1 << 20;
// What a program stopped by the user or by its sink exits with.
constexpr UINT kStoppedExitCode = 1;
// How long a stopped program may take to go before the thread stops waiting for it.
constexpr DWORD kStopWaitMilliseconds = 30000;
// How often the end of the thread asks again for a read to stop.
constexpr DWORD kCancelRetryMilliseconds = 100;

// The I/O error number of a Windows error: 2 to 5 are the same numbers, a full disk is 101.
int IoErrorNumber(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return io::kDiskFull;
        case ERROR_HANDLE_EOF:
            return io::kReadPastEnd;
        default:
            return static_cast<int>(error);
    }
}

// NUL, inheritable, for the program's standard input and error.
UniqueHandle NulDevice(DWORD access) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE nul = CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                   OPEN_EXISTING, 0, nullptr);
    if (nul == INVALID_HANDLE_VALUE) throw IoError(IoErrorNumber(GetLastError()));
    return UniqueHandle(nul);
}

// A job whose programs all go when the job is closed or stopped; none when the system refuses
// one (a job inside a job before Windows 8): the program is then stopped alone.
UniqueHandle KillingJob() {
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

// The program inherits its three standard handles and nothing else of this process (the files a
// save has open, the temporary file of the output), where the system lets a list of them be given.
class InheritedHandles {
public:
    explicit InheritedHandles(const HANDLE (&handles)[3]) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_storage = std::make_unique<unsigned char[]>(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_storage.get());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        m_list = list;
        std::copy(std::begin(handles), std::end(handles), m_handles);
        if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, m_handles,
                                       sizeof m_handles, nullptr, nullptr)) {
            DeleteProcThreadAttributeList(list);
            m_list = nullptr;
        }
    }
    ~InheritedHandles() {
        if (m_list) DeleteProcThreadAttributeList(m_list);
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST List() const { return m_list; }

private:
    std::unique_ptr<unsigned char[]> m_storage;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
    HANDLE m_handles[3] = {};
};

}  // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::wstring>& arguments,
                           const std::filesystem::path& workingDirectory, Sink sink, Notify notify)
    : m_sink(std::move(sink)),
      m_notify(std::move(notify)),
      m_job(KillingJob()),
      m_cancelled(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!m_cancelled) throw IoError(IoErrorNumber(GetLastError()));
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, kPipeBytes))
        throw IoError(IoErrorNumber(GetLastError()));
    m_output.Reset(readEnd);
    const UniqueHandle output(writeEnd);  // the program's; ours closes once it has it
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    const UniqueHandle input = NulDevice(GENERIC_READ);
    const UniqueHandle errors = NulDevice(GENERIC_WRITE);

    const HANDLE standard[3] = {input.Get(), output.Get(), errors.Get()};
    const InheritedHandles inherited(standard);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.Get();
    startup.StartupInfo.hStdOutput = output.Get();
    startup.StartupInfo.hStdError = errors.Get();
    startup.lpAttributeList = inherited.List();
    DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT;
    if (inherited.List()) flags |= EXTENDED_STARTUPINFO_PRESENT;

    std::wstring commandLine = CommandLine(program.wstring(), arguments);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                        workingDirectory.c_str(), &startup.StartupInfo, &started)) {
        throw IoError(IoErrorNumber(GetLastError()));
    }
    m_process.Reset(started.hProcess);
    const UniqueHandle mainThread(started.hThread);
    // In the job before it runs a single instruction, so that whatever it starts is in it too.
    if (m_job && !AssignProcessToJobObject(m_job.Get(), m_process.Get())) m_job.Reset();
    ResumeThread(mainThread.Get());

    m_thread.Reset(CreateThread(nullptr, 0, &ChildProcess::ReaderMain, this, 0, nullptr));
    if (!m_thread) {
        const DWORD error = GetLastError();
        Stop();
        WaitForSingleObject(m_process.Get(), kStopWaitMilliseconds);
        throw IoError(IoErrorNumber(error));
    }
}

ChildProcess::~ChildProcess() {
    if (!m_thread) return;
    Cancel();
    // A read the thread began right after Cancel looked for one is stopped the next time round.
    while (WaitForSingleObject(m_thread.Get(), kCancelRetryMilliseconds) == WAIT_TIMEOUT)
        CancelSynchronousIo(m_thread.Get());
}

void ChildProcess::Cancel() {
    m_cancelRequested.store(true);
    SetEvent(m_cancelled.Get());
    Stop();
    // A read goes on while anything outside the job still holds the pipe's other end.
    if (m_thread && !Ended()) CancelSynchronousIo(m_thread.Get());
}

void ChildProcess::Stop() {
    if (m_job) TerminateJobObject(m_job.Get(), kStoppedExitCode);
    TerminateProcess(m_process.Get(), kStoppedExitCode);
}

OutputEnd ChildProcess::Wait() {
    WaitForSingleObject(m_thread.Get(), INFINITE);
    return m_end;
}

DWORD WINAPI ChildProcess::ReaderMain(void* self) {
    static_cast<ChildProcess*>(self)->Read();
    return 0;
}

void ChildProcess::Read() {
    std::unique_ptr<char[]> buffer(new char[kPipeBytes]);
    while (!m_cancelRequested.load()) {
        DWORD got = 0;
        if (!ReadFile(m_output.Get(), buffer.get(), kPipeBytes, &got, nullptr)) {
            const DWORD error = GetLastError();
            // The end of the output: every holder of the pipe's other end has gone.
            if (error != ERROR_BROKEN_PIPE && !m_cancelRequested.load())
                m_end.readError = IoErrorNumber(error);
            break;
        }
        if (got == 0) continue;
        const bool more = m_sink(std::string_view(buffer.get(), got));
        m_notify(false);
        if (!more) {
            Stop();
            break;
        }
    }
    if (m_end.readError != 0) Stop();
    // A program may go on after it closed its output; it ends, or the user stops it.
    const HANDLE waits[] = {m_process.Get(), m_cancelled.Get()};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        Stop();
        WaitForSingleObject(m_process.Get(), kStopWaitMilliseconds);
    }
    m_end.cancelled = m_cancelRequested.load();
    DWORD exitCode = 0;
    m_end.exitCode = GetExitCodeProcess(m_process.Get(), &exitCode) && exitCode != STILL_ACTIVE
                         ? exitCode
                         : kStoppedExitCode;
    m_output.Reset();
    m_ended.store(true, std::memory_order_release);
    m_notify(true);
}

}  // namespace kanaroll
