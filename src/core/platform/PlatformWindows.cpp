#ifdef _WIN32

// The Windows side of the platform layer. Not built on Linux; kept beside the POSIX one so that
// both implement the same declarations.

#include "platform/Platform.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <cstdio>

namespace kelvra {
namespace {

DriveType FromWindowsDriveType(UINT type) {
    switch (type) {
    case DRIVE_NO_ROOT_DIR:
        return DriveType::NoRootDir;
    case DRIVE_REMOVABLE:
        return DriveType::Removable;
    case DRIVE_FIXED:
        return DriveType::Fixed;
    case DRIVE_REMOTE:
        return DriveType::Remote;
    case DRIVE_CDROM:
        return DriveType::CdRom;
    case DRIVE_RAMDISK:
        return DriveType::RamDisk;
    default:
        return DriveType::Unknown;
    }
}

using UuidCreateFunction = long(__stdcall*)(UUID*);

} // namespace

std::string FindDataFolder() {
    return FindDataFolder(
        [](const std::string& root) { return FromWindowsDriveType(GetDriveTypeA(root.c_str())); });
}

bool InternetConnected() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
}

bool NetworkPresent() {
    return (GetSystemMetrics(SM_NETWORK) & 1) != 0;
}

// Two time-based UUIDs carry the adapter's address in their node field; only when both agree is
// it a real address and not random bytes.
std::string GetMacAddress() {
    HMODULE library = LoadLibraryA("rpcrt4.dll");
    if (library == nullptr) {
        return {};
    }
    auto create = reinterpret_cast<UuidCreateFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "UuidCreateSequential")));
    if (create == nullptr) {
        create = reinterpret_cast<UuidCreateFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "UuidCreate")));
    }
    std::string result;
    UUID first{};
    UUID second{};
    if (create != nullptr && create(&first) == 0 && create(&second) == 0) {
        const unsigned char* a = first.Data4 + 2;
        const unsigned char* b = second.Data4 + 2;
        bool same = true;
        for (int i = 0; i < 6; ++i) {
            same = same && a[i] == b[i];
        }
        if (same) {
            char text[18];
            std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", a[0], a[1], a[2],
                          a[3], a[4], a[5]);
            result = text;
        }
    }
    FreeLibrary(library);
    return result;
}

std::string LocalIpAddress() {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        return {};
    }
    std::string result;
    char name[256] = {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (gethostname(name, sizeof name - 1) == 0 &&
        getaddrinfo(name, nullptr, &hints, &found) == 0 && found != nullptr) {
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
        if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
            result = text;
        }
        freeaddrinfo(found);
    }
    WSACleanup();
    return result;
}

std::string ExePath() {
    char buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) {
        return {};
    }
    return std::string(buffer, length);
}

std::string InstanceChannelName(const std::string& name) {
    return name + "-instance"; // a pipe of the session, beside the named mutex
}

// The named mutex, created owned by this process; its handle is kept in m_fd (kernel handles
// carry 32 significant bits, so the narrowing is safe).
SingleInstanceLock::SingleInstanceLock(const std::string& name) {
    m_acquired = true;
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    if (mutex == nullptr) {
        return; // no mutex at all: let the program run rather than refuse to start
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        m_acquired = false;
        CloseHandle(mutex);
        return;
    }
    m_fd = static_cast<int>(reinterpret_cast<std::intptr_t>(mutex));
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_fd != -1) {
        HANDLE mutex = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(m_fd));
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}

bool FolderWritable(const std::string& folder) {
    if (folder.empty())
        return false;
    // Folder attributes do not tell (Program Files is not read-only, yet closed to most users):
    // try to create a file there.
    const std::string probe = folder + "\\kelvra-write-test.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace kelvra

#endif // _WIN32
