#ifndef _WIN32

#include "platform/Platform.h"

#include "platform/NetworkAdapters.h"

#include "text/Ascii.h"
#include "url/Endpoints.h"
#include "url/Url.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace kelvra {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string HomeFolder() {
    std::string home = Env("HOME");
    if (!home.empty()) {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return {};
}

// True when the URL's host is this machine by name or by a loopback address.
bool HasLoopbackHost(const std::string& url) {
    const std::optional<UrlParts> parts = ParseUrl(url);
    const std::string host = parts ? AsciiLower(parts->host) : std::string();
    if (host == "localhost" || host == "localhost." || host == "::1") {
        return true;
    }
    in_addr address{};
    return inet_pton(AF_INET, host.c_str(), &address) == 1 && (ntohl(address.s_addr) >> 24) == 127;
}

// The test and demo override: a file whose first word is "down" means no network. Read at every
// call so that it can change while the program runs; a missing file means no override.
bool ForcedDown() {
    const std::string path = Env("KELVRA_NETWORK_STATE_FILE");
    if (path.empty()) {
        return false;
    }
    std::ifstream file(path);
    std::string word;
    if (!file || !(file >> word)) {
        return false;
    }
    return AsciiLower(word) == "down";
}

// $TMPDIR when it is an absolute path, else the system's temporary folder.
std::string TempFolder() {
    const std::string tmp = Env("TMPDIR");
    return !tmp.empty() && tmp.front() == '/' ? tmp : std::string(P_tmpdir);
}

// The folder that holds the single-instance lock file, made when missing; empty when there is
// none that belongs to this user.
std::string LockFolder() {
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    if (!runtime.empty()) {
        return runtime;
    }
    const std::string folder = TempFolder() + "/kelvra-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info {};
    // A shared /tmp: the folder must be ours and a real folder, not someone's symbolic link.
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) {
        return {};
    }
    return folder;
}

// The IPv4 address of this machine that the kernel would send from to reach the URL's host:
// a datagram socket is connected (which only picks a route; nothing is sent) and asked for its
// own address. Empty when the host does not resolve or no route leads there.
std::string SourceAddressTowards(const std::string& url) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const std::optional<UrlParts> parts = ParseUrl(url);
    if (!parts || getaddrinfo(parts->host.c_str(), parts->port.c_str(), &hints, &found) != 0 ||
        found == nullptr) {
        return {};
    }
    std::string result;
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        sockaddr_in local{};
        socklen_t length = sizeof local;
        char text[INET_ADDRSTRLEN] = {};
        if (connect(fd, found->ai_addr, found->ai_addrlen) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) == 0 &&
            local.sin_addr.s_addr != htonl(INADDR_ANY) &&
            inet_ntop(AF_INET, &local.sin_addr, text, sizeof text) != nullptr) {
            result = text;
        }
        close(fd);
    }
    freeaddrinfo(found);
    return result;
}

// The first IPv4 address the host name resolves to; empty when it resolves to none.
std::string HostNameAddress() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return {};
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) {
        return {};
    }
    std::string result;
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
        result = text;
    }
    freeaddrinfo(found);
    return result;
}

} // namespace

std::string FindDataFolder() {
    const std::string configured = Env("KELVRA_DATA_DIR");
    if (!configured.empty()) {
        return configured;
    }
    const std::string xdg = Env("XDG_DATA_HOME");
    if (!xdg.empty() && xdg.front() == '/') {
        return xdg + "/kelvra";
    }
    const std::string home = HomeFolder();
    if (!home.empty()) {
        return home + "/.local/share/kelvra";
    }
    return TempFolder() + "/kelvra-data-" + std::to_string(getuid());
}

bool InternetConnected() {
    if (ForcedDown()) {
        return false;
    }
    return HasLoopbackHost(ServiceRoot()) || AnyAdapterConnected(ReadNetworkAdapters());
}

bool NetworkPresent() {
    if (ForcedDown()) {
        return false;
    }
    return HasLoopbackHost(ServiceRoot()) || AnyAdapterPresent(ReadNetworkAdapters());
}

std::string GetMacAddress() {
    return ChooseMachineAddress(ReadNetworkAdapters());
}

std::string LocalIpAddress() {
    const std::string routed = SourceAddressTowards(ServiceRoot());
    return routed.empty() ? HostNameAddress() : routed;
}

std::string ExePath() {
    char buffer[PATH_MAX + 1];
    const ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string InstanceChannelName(const std::string& name) {
    const std::string folder = LockFolder();
    return folder.empty() ? name + "-" + std::to_string(getuid()) + ".channel"
                          : folder + "/" + name + ".channel";
}

SingleInstanceLock::SingleInstanceLock(const std::string& name) {
    // When the lock file cannot be made or locked for any reason other than another holder,
    // the lock counts as acquired: a broken runtime folder must not keep the program from
    // running at all; at worst two copies run.
    m_acquired = true;
    const std::string folder = LockFolder();
    if (folder.empty()) {
        return;
    }
    const std::string path = folder + "/" + name;
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        return;
    }
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        m_acquired = false;
        close(m_fd);
        m_fd = -1;
    }
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_fd >= 0) {
        close(m_fd); // releases the lock
    }
}

bool FolderWritable(const std::string& folder) {
    return !folder.empty() && access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace kelvra

#endif // _WIN32
