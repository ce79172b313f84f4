// The processes an update runs on its own account: the start test of a staged main program, and
// at the next start the script of a swap that was cut short.
#include "update/UpdateStaging.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "settings/DataPaths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kelvra {
namespace {

#ifdef _WIN32

std::wstring Wide(const std::string& text) {
    return FileSystemPath(text).wstring(); // the same conversion as a path's
}

// Runs the command line without a window; the exit code, or -1 when it could not start or was
// ended at the time limit.
long RunHidden(const std::wstring& commandLine, int seconds) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    long code = -1;
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000u) ==
        WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        if (GetExitCodeProcess(process.hProcess, &exitCode)) {
            code = static_cast<long>(exitCode);
        }
    } else {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    return code;
}

#else

// Runs the program with the arguments, output to /dev/null; its exit status, or -1 when it could
// not run, was ended by a signal or killed at the time limit (seconds <= 0: no limit).
int RunQuiet(const char* const* argv, int seconds) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        ::execv(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, seconds > 0 ? WNOHANG : 0);
        if (done == child) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        if (seconds > 0 && std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

#endif

} // namespace

std::string RunStartTest(const std::string& program, const std::string& programFolder,
                         int seconds) {
#ifdef _WIN32
    const long code = RunHidden(L"\"" + Wide(program) + L"\" " + Wide(kSelfTestFlag) + L" \"" +
                                    Wide(programFolder) + L"\"",
                                seconds);
#else
    const char* const argv[] = {program.c_str(), kSelfTestFlag, programFolder.c_str(), nullptr};
    const int code = RunQuiet(argv, seconds);
#endif
    if (code == 0) {
        return {};
    }
    return code < 0 ? "the new program did not start, crashed or hung"
                    : "the new program's self-test failed with status " + std::to_string(code);
}

void ResumeOrDiscardInterruptedUpdate(const std::string& dataFolder,
                                      const std::string& programFolder) {
    const std::string script = UpdateScriptPath(dataFolder);
    if (!IsExistingFile(script)) {
        RemoveStagingFolder(programFolder); // a download that was cut: no script will use it
        return;
    }
#ifdef _WIN32
    // The script's wait ends at once: the program it waited for has ended.
    RunHidden(L"cmd.exe /d /c \"\"" + Wide(script) + L"\" now\"", 60);
#else
    // A script that holds its lock is still at work: it finishes on its own.
    const int fd = ::open(script.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    const bool idle = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    if (idle) {
        const char* const argv[] = {"/bin/sh", script.c_str(), "now", nullptr};
        RunQuiet(argv, 0);
    }
#endif
}

} // namespace kelvra
