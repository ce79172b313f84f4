#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/FileBytes.h"

namespace kelvra::test {

// A fresh folder under the temporary folder; emptied and removed at the end, read-only and
// hidden attributes taken off first.
class WindowsTempFolder {
public:
    explicit WindowsTempFolder(const std::string& name = "kelvra-win") {
        char base[MAX_PATH + 1] = {};
        GetTempPathA(sizeof base, base);
        static int count = 0;
        m_path = std::string(base) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++count);
        if (!CreateDirectoryA(m_path.c_str(), nullptr)) {
            throw std::runtime_error("cannot create " + m_path);
        }
    }
    ~WindowsTempFolder() { RemoveTree(m_path); }
    WindowsTempFolder(const WindowsTempFolder&) = delete;
    WindowsTempFolder& operator=(const WindowsTempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& relative) const { return m_path + "\\" + relative; }

    static void RemoveTree(const std::string& path) {
        std::error_code ignored;
        for (auto it = std::filesystem::recursive_directory_iterator(path, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(path, ignored);
    }

private:
    std::string m_path;
};

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Polls the condition until it holds or the deadline passes; its last answer.
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return condition();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// The folder of this test program, with a trailing backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1);
}

// Starts `program` with the command line `arguments`; the process handle, or nullptr.
inline HANDLE StartProcess(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    return info.hProcess;
}

// Runs the process to its end (at most 30 s); its exit code, or -1.
inline long RunProcess(const std::string& program, const std::string& arguments) {
    HANDLE process = StartProcess(program, arguments);
    if (process == nullptr) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &code);
    } else {
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    return static_cast<long>(code);
}

// The ids of the running processes started by this process whose program is `exeName`
// (compared without regard to case).
inline std::vector<DWORD> ChildProcesses(const std::string& exeName) {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return ids;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() &&
            lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return ids;
}

} // namespace kelvra::test
