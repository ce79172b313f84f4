// The processes an update runs on its own account: the start test of a staged main program, and
// at the next start the script of a swap that was cut short.
#include "update/UpdateStaging.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#include "settings/AtomicFile.h"
#include "settings/DataPaths.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "update/UpdateScript.h"

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

bool ScriptIsRunning(const std::string& script) {
#ifdef _WIN32
    HANDLE mark = CreateFileW(Wide(ScriptRunningMarkPath(script)).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE) {
        CloseHandle(mark);
        return false;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
#else
    const int fd = ::open(script.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno != ENOENT;
    }
    const bool idle = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return !idle;
#endif
}

namespace {

// A version as the settings hold it: one short line of printable characters.
bool IsVersionText(const std::string& text) {
    if (text.empty() || text.size() > 64) {
        return false;
    }
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ResumeOrDiscardInterruptedUpdate(const std::string& dataFolder,
                                      const std::string& programFolder) {
    const std::string script = UpdateScriptPath(dataFolder);
    if (IsExistingFile(script)) {
        if (ScriptIsRunning(script)) {
            return false; // it finishes on its own
        }
#ifdef _WIN32
        // The script's wait ends at once: the program it waited for has ended.
        RunHidden(L"cmd.exe /d /c \"\"" + Wide(script) + L"\" now\"", 60);
#else
        const char* const argv[] = {"/bin/sh", script.c_str(), "now", nullptr};
        RunQuiet(argv, 0);
#endif
        if (IsExistingFile(script)) {
            return false; // it did not get to its end: the next start tries again
        }
    }
    if (programFolder.empty()) {
        return false;
    }
    // No script: the update went forward (its staging folder is gone with the version file in
    // it), or it never ran, or it went back; in the last two the installed version comes back.
    const std::string staging = StagingFolder(programFolder);
    const std::string mark = NotInstalledMarkPath(staging);
    std::error_code ignored;
    const bool wentBack = std::filesystem::exists(FileSystemPath(mark), ignored);
    std::optional<std::string> installed = ReadWholeFile(InstalledVersionPath(mark));
    if (!installed) {
        installed = ReadWholeFile(InstalledVersionPath(staging));
    }
    if (installed && IsVersionText(*installed)) {
        try {
            SettingsFile(dataFolder).WriteVersion(*installed);
        } catch (const SettingsWriteError&) {
            return false; // the marks stay for the next start
        }
    }
    std::filesystem::remove_all(FileSystemPath(mark), ignored);
    RemoveStagingFolder(programFolder); // a download that was cut: no script will use it
    return wentBack || installed.has_value();
}

} // namespace kelvra
