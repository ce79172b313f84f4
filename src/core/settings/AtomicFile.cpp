#include "settings/AtomicFile.h"

#include <algorithm>
#include <filesystem>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "settings/DataPaths.h"
#include "settings/SettingsError.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvra {
namespace {

std::string TempPathFor(const std::string& path, std::string_view mark) {
#ifdef _WIN32
    return path + std::string(mark) + std::to_string(_getpid());
#else
    return path + std::string(mark) + std::to_string(getpid());
#endif
}

#ifdef _WIN32

// Paths are in the system's ANSI code page, like every other path the client handles here.
std::wstring Wide(const std::string& path) {
    const int size = static_cast<int>(path.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) {
        MultiByteToWideChar(CP_ACP, 0, path.data(), size, wide.data(), needed);
    }
    return wide;
}

// The temporary file is flushed, then moved over the old one in one step; the move is written
// through before it returns. The old file's attributes (hidden) are put back on the new one.
void WriteAndReplace(const std::string& path, const std::string& temp, std::string_view bytes) {
    const std::wstring target = Wide(path);
    const std::wstring beside = Wide(temp);
    const DWORD oldAttributes = GetFileAttributesW(target.c_str());
    if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY)) {
        throw SettingsWriteError(path);
    }
    HANDLE file = CreateFileW(beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw SettingsWriteError(path);
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file);
    CloseHandle(file);
    if (!ok || !MoveFileExW(beside.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(beside.c_str());
        throw SettingsWriteError(path);
    }
    if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(target.c_str(), oldAttributes);
    }
}

#else

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string ParentFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void WriteAndReplace(const std::string& path, const std::string& temp, std::string_view bytes) {
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    // A file without any write permission counts as read-only, also for a privileged user who
    // could otherwise rename over it.
    if (exists && S_ISREG(old.st_mode) && (old.st_mode & 0222) == 0) {
        throw SettingsWriteError(path);
    }
    const mode_t mode = exists && S_ISREG(old.st_mode) ? (old.st_mode & 07777) : 0644;
    const int fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        throw SettingsWriteError(path);
    }
    bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw SettingsWriteError(path);
    }
    // Make the rename itself durable; a failure here leaves a complete file either way.
    const int dir = ::open(ParentFolder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

#endif

} // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    if (!IsExistingFile(path)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, std::string_view mark) {
    WriteAndReplace(path, TempPathFor(path, mark), bytes);
}

void RemoveStaleTemporaries(const std::string& folder, std::string_view mark,
                            const std::vector<std::string>& onlyFor) {
    if (folder.empty())
        return; // never the working folder
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error), end;
    const std::string own = TempPathFor("", mark);
    for (; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const size_t at = name.rfind(mark);
        if (at == std::string::npos || at + mark.size() >= name.size() || name.substr(at) == own)
            continue;
        if (!onlyFor.empty() &&
            std::find(onlyFor.begin(), onlyFor.end(), name.substr(0, at)) == onlyFor.end())
            continue;
        if (name.find_first_not_of("0123456789", at + mark.size()) != std::string::npos)
            continue;
        std::error_code ignored;
        if (it->is_regular_file(ignored))
            std::filesystem::remove(it->path(), ignored);
    }
}

} // namespace kelvra
