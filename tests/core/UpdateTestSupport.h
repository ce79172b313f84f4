#pragma once

// Helpers of the updater tests: a stand-in for the waiting client process, a copy of a real
// executable, and waiting for a condition with a deadline.
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvra::test {

// Polls the condition until it holds or the time is up; true when it held.
inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds limit = std::chrono::seconds(15)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A child process that runs until End() (or the destructor) and is then reaped, standing in
// for the client the update script waits on.
class WaitingProcess {
public:
    WaitingProcess() {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[1]);
            char byte;
            while (::read(fds[0], &byte, 1) > 0) {
            }
            ::_exit(0);
        }
        ::close(fds[0]);
        m_release = fds[1];
    }
    ~WaitingProcess() { End(); }
    WaitingProcess(const WaitingProcess&) = delete;
    WaitingProcess& operator=(const WaitingProcess&) = delete;

    long Pid() const { return static_cast<long>(m_pid); }
    // Lets the process end and reaps it.
    void End() {
        if (m_release >= 0) {
            ::close(m_release);
            m_release = -1;
        }
        if (m_pid > 0) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
};

// The path of a small real executable of the system, to copy as "the client".
inline std::string RealExecutable() {
    for (const char* candidate : {"/usr/bin/true", "/bin/true"}) {
        if (std::filesystem::exists(candidate)) {
            return candidate;
        }
    }
    return {};
}

// Runs a program (no shell, output discarded) and gives its exit status; -1 when it could not
// run.
inline int RunProgram(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        ::_exit(126);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status) == 126 ? -1 : WEXITSTATUS(status);
}

} // namespace kelvra::test
