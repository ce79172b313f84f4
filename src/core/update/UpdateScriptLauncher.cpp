// Writing and starting the update script: "$$update.sh" with a detached shell on POSIX,
// "$$update.bat" started hidden on Windows.
#include "update/UpdateScript.h"
#include "update/UpdateStaging.h"

#include <cstdio>

#include "settings/AtomicFile.h"
#include "settings/DataPaths.h"
#include "settings/SettingsError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kelvra {
namespace {

#ifdef _WIN32

HANDLE g_runningMark = INVALID_HANDLE_VALUE; // held for the life of the process

// Opens the running mark without sharing and keeps it (not inherited); the system closes and
// deletes it when this process ends, however it ends.
bool HoldRunningMark(const std::string& stagingFolder) {
    if (g_runningMark != INVALID_HANDLE_VALUE) {
        return true;
    }
    g_runningMark = CreateFileW(FileSystemPath(RunningMarkPath(stagingFolder)).wstring().c_str(),
                                GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    return g_runningMark != INVALID_HANDLE_VALUE;
}

// The path is quoted: the data folder may hold blanks ("Program Files").
bool StartHidden(const std::string& scriptPath) {
    const std::string commandLine = "\"" + scriptPath + "\"";
    return WinExec(commandLine.c_str(), SW_HIDE) > 31;
}

#else

// Starts "/bin/sh script" in a new session whose parent is not this program (double fork), with
// standard input and output on /dev/null and no other inherited descriptor (the script must not
// keep this program's sockets or its single-instance lock alive). Reports whether the shell was
// really executed.
bool StartHidden(const std::string& scriptPath) {
    long openMax = ::sysconf(_SC_OPEN_MAX);
    const int lastFd = static_cast<int>(openMax <= 0 || openMax > 65536 ? 65536 : openMax);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    const char* const argv[] = {"/bin/sh", scriptPath.c_str(), nullptr};
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on: the program may run other threads.
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            ::_exit(grandchild < 0 ? 1 : 0);
        }
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        // One call where the kernel has it; a loop over every possible descriptor otherwise.
        const auto keep = static_cast<unsigned>(report[1]);
        if ((keep > 3 && ::close_range(3, keep - 1, 0) != 0) ||
            ::close_range(keep + 1, ~0u, 0) != 0) {
            for (int fd = 3; fd < lastFd; ++fd) {
                if (fd != report[1]) {
                    ::close(fd);
                }
            }
        }
        ::execv(argv[0], const_cast<char* const*>(argv));
        const int error = errno;
        [[maybe_unused]] ssize_t ignored = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The write end closes at a successful exec; an errno arrives when it failed.
    int execError = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    const bool forked = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return forked && got == 0;
}

#endif

} // namespace

void ReleaseRunningMark() {
#ifdef _WIN32
    if (g_runningMark != INVALID_HANDLE_VALUE) {
        CloseHandle(g_runningMark);
        g_runningMark = INVALID_HANDLE_VALUE;
    }
#endif
}

bool WriteAndStartUpdateScript(const UpdateScriptRequest& request) {
    if (request.scriptPath.empty() || request.exePath.empty() || request.items.empty()) {
        return false;
    }
#ifdef _WIN32
    const std::string script = BuildWindowsUpdateScript(request);
    if (script.empty() || !HoldRunningMark(request.stagingFolder)) {
        return false; // a path cmd would misread: nothing is written, nothing will be replaced
    }
#else
    const std::string script = BuildPosixUpdateScript(request);
#endif
    try {
        WriteFileAtomically(request.scriptPath, script);
    } catch (const SettingsWriteError&) {
        ReleaseRunningMark();
        return false;
    }
#ifndef _WIN32
    ::chmod(request.scriptPath.c_str(), 0700);
#endif
    if (!StartHidden(request.scriptPath)) {
        std::remove(request.scriptPath.c_str());
        ReleaseRunningMark();
        return false;
    }
#ifdef _WIN32
    // The program may end at once: a start after that must find the script at work, not re-run it.
    for (int tries = 0; tries < 250 && !ScriptIsRunning(request.scriptPath); ++tries) {
        Sleep(20);
    }
#endif
    return true;
}

} // namespace kelvra
