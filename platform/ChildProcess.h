#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ListXmlCapture.h"
#include "platform/Handles.h"

namespace kanaroll {

// A console program started without a console window, in a job of its own, with its standard
// output read through a pipe by a thread of this object, so that the window's thread never waits
// for it. Stopping the program stops what it started too.
//
// The thread hands each piece of output to `sink` and then calls `notify(false)`, and calls
// `notify(true)` once the program has ended; both run on that thread and must touch nothing of the window's
// but what they own (post a message, set an event).
class ChildProcess {
public:
    // False from the sink: the output must not go on, and the program is stopped.
    using Sink = std::function<bool(std::string_view bytes)>;
    using Notify = std::function<void(bool ended)>;

    // Starts `program` with `arguments` in `workingDirectory`. Throws IoError when it cannot start
    // (no such file: 2; not a program: 193).
    ChildProcess(const std::filesystem::path& program, const std::vector<std::wstring>& arguments,
                 const std::filesystem::path& workingDirectory, Sink sink, Notify notify);
    // Stops the program if it still runs and waits for the thread.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Stops the program and everything it started; returns at once, and the end comes as usual.
    void Cancel();
    // True once the output has ended and the program has gone.
    bool Ended() const { return m_ended.load(std::memory_order_acquire); }
    // How the program ended; waits for the end (at once when Ended()).
    OutputEnd Wait();

private:
    static DWORD WINAPI ReaderMain(void* self);
    void Read();
    void Stop();

    Sink m_sink;
    Notify m_notify;
    UniqueHandle m_job;
    UniqueHandle m_process;
    UniqueHandle m_output;     // our end of the pipe
    UniqueHandle m_cancelled;  // an event: the user stopped the program
    UniqueHandle m_thread;
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<bool> m_ended{false};
    OutputEnd m_end;  // written by the thread before m_ended
};

}  // namespace kanaroll
