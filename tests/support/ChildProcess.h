#pragma once

// Linux only: a child process for tests that kill a program in the middle of its work.
#include <chrono>
#include <functional>
#include <poll.h>
#include <signal.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace kanaroll::testing {

// A child process that runs `work` and can be killed. The work calls Ready() when it has reached
// the point where the test wants it killed.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<void(ChildProcess&)>& work) {
        if (pipe(m_pipe) != 0) throw std::runtime_error("pipe");
        m_pid = fork();
        if (m_pid == 0) {
            close(m_pipe[0]);
            try {
                work(*this);
            } catch (...) {
                _exit(2);
            }
            _exit(3);  // the work ended without being killed
        }
        close(m_pipe[1]);
    }
    ~ChildProcess() {
        if (m_pid > 0 && !m_reaped) Kill();
        close(m_pipe[0]);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // In the child: tells the test, then waits to be killed.
    [[noreturn]] void Ready() {
        const char byte = 1;
        if (write(m_pipe[1], &byte, 1) != 1) _exit(4);
        for (;;) pause();
    }

    // In the test: whether the child reached its point within the time.
    bool WaitUntilReady(std::chrono::milliseconds timeout) {
        pollfd ready{m_pipe[0], POLLIN, 0};
        char byte = 0;
        return poll(&ready, 1, static_cast<int>(timeout.count())) == 1 && read(m_pipe[0], &byte, 1) == 1;
    }

    // Kills the child with SIGKILL; true when that is what ended it.
    bool Kill() {
        kill(m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_reaped = true;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    int m_pipe[2] = {-1, -1};
    pid_t m_pid = -1;
    bool m_reaped = false;
};

}  // namespace kanaroll::testing
