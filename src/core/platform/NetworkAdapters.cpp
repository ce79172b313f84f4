#include "platform/NetworkAdapters.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#ifndef _WIN32
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/socket.h>

#include <filesystem>
#endif

namespace kelvra {
namespace {

std::string FormatHardwareAddress(const unsigned char* bytes) {
    bool allZero = true;
    for (int i = 0; i < 6; ++i) {
        allZero = allZero && bytes[i] == 0;
    }
    if (allZero) {
        return {};
    }
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", bytes[0], bytes[1], bytes[2],
                  bytes[3], bytes[4], bytes[5]);
    return text;
}

// "aa:bb:cc:dd:ee:ff" (or with "-") as the 17-character form; empty when malformed.
std::string ParseHardwareAddress(const std::string& text) {
    unsigned char bytes[6];
    if (text.size() != 17) {
        return {};
    }
    for (int i = 0; i < 6; ++i) {
        const std::string pair = text.substr(std::size_t(i) * 3, 2);
        if (i < 5 && text[std::size_t(i) * 3 + 2] != ':' && text[std::size_t(i) * 3 + 2] != '-') {
            return {};
        }
        char* end = nullptr;
        const unsigned long value = std::strtoul(pair.c_str(), &end, 16);
        if (end != pair.c_str() + 2) {
            return {};
        }
        bytes[i] = static_cast<unsigned char>(value);
    }
    return FormatHardwareAddress(bytes);
}

AddressOrigin OriginFromKernel(int value) {
    switch (value) {
    case 0:
        return AddressOrigin::Permanent;
    case 1:
        return AddressOrigin::Random;
    case 2:
        return AddressOrigin::Stolen;
    case 3:
        return AddressOrigin::SetByUser;
    default:
        return AddressOrigin::Unknown;
    }
}

// The first adapter in index order that passes the test and has an address.
template <typename Test>
std::string FirstAddress(const std::vector<NetworkAdapter>& adapters, Test test) {
    for (const NetworkAdapter& adapter : adapters) {
        if (!adapter.loopback && !adapter.hardwareAddress.empty() && test(adapter)) {
            return adapter.hardwareAddress;
        }
    }
    return {};
}

#ifndef _WIN32
// One small sysfs attribute of an interface as an integer; fallback when it cannot be read (a
// down interface refuses to report its carrier, for example).
int ReadSysNumber(const std::string& name, const char* attribute, int fallback) {
    std::ifstream file("/sys/class/net/" + name + "/" + attribute);
    int value = fallback;
    if (!file || !(file >> value)) {
        return fallback;
    }
    return value;
}

// A bridge has a carrier only when one of its ports has one: the kernel keeps an empty bridge
// (docker0, virbr0) up, and the flag alone would count it as a network.
bool BridgeHasLivePort(const std::string& name) {
    std::error_code error;
    const std::filesystem::path ports = "/sys/class/net/" + name + "/brif";
    for (const auto& port : std::filesystem::directory_iterator(ports, error)) {
        if (ReadSysNumber(port.path().filename().string(), "carrier", 0) == 1) {
            return true;
        }
    }
    return false;
}

bool IsBridge(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_directory("/sys/class/net/" + name + "/bridge", error);
}

std::vector<NetworkAdapter> ReadSystemAdapters() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return {};
    }
    std::map<std::string, NetworkAdapter> byName;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr) {
            continue;
        }
        NetworkAdapter& adapter = byName[entry->ifa_name];
        adapter.name = entry->ifa_name;
        adapter.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
        adapter.up = (entry->ifa_flags & IFF_UP) != 0;
        adapter.carrier = (entry->ifa_flags & IFF_RUNNING) != 0;
        if (entry->ifa_addr == nullptr) {
            continue;
        }
        const int family = entry->ifa_addr->sa_family;
        if (family == AF_INET || family == AF_INET6) {
            adapter.hasIpAddress = true;
        } else if (family == AF_PACKET) {
            const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
            adapter.index = link->sll_ifindex;
            if (link->sll_halen == 6) {
                adapter.hardwareAddress = FormatHardwareAddress(link->sll_addr);
            }
        }
    }
    freeifaddrs(list);
    std::vector<NetworkAdapter> adapters;
    for (auto& [name, adapter] : byName) {
        if (adapter.index == 0) {
            adapter.index = static_cast<int>(if_nametoindex(name.c_str()));
        }
        adapter.origin = OriginFromKernel(ReadSysNumber(name, "addr_assign_type", -1));
        if (adapter.carrier && IsBridge(name)) {
            adapter.carrier = BridgeHasLivePort(name);
        }
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}
#else
std::vector<NetworkAdapter> ReadSystemAdapters() {
    return {}; // Windows takes its machine address and network state from its own calls
}
#endif

} // namespace

std::string ChooseMachineAddress(std::vector<NetworkAdapter> adapters) {
    std::stable_sort(
        adapters.begin(), adapters.end(),
        [](const NetworkAdapter& a, const NetworkAdapter& b) { return a.index < b.index; });
    std::string chosen = FirstAddress(adapters, [](const NetworkAdapter& a) {
        return a.up && a.carrier &&
               (a.origin == AddressOrigin::Permanent || a.origin == AddressOrigin::SetByUser);
    });
    if (chosen.empty()) {
        chosen = FirstAddress(adapters, [](const NetworkAdapter& a) {
            return a.up && a.origin != AddressOrigin::Random;
        });
    }
    if (chosen.empty()) {
        chosen = FirstAddress(adapters, [](const NetworkAdapter&) { return true; });
    }
    return chosen;
}

bool AnyAdapterConnected(const std::vector<NetworkAdapter>& adapters) {
    return std::any_of(adapters.begin(), adapters.end(), [](const NetworkAdapter& a) {
        return !a.loopback && a.up && a.carrier && a.hasIpAddress;
    });
}

bool AnyAdapterPresent(const std::vector<NetworkAdapter>& adapters) {
    return std::any_of(adapters.begin(), adapters.end(),
                       [](const NetworkAdapter& a) { return !a.loopback; });
}

std::vector<NetworkAdapter> ParseAdapterList(const std::string& text) {
    std::vector<NetworkAdapter> adapters;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        NetworkAdapter adapter;
        if (!(words >> adapter.name) || adapter.name.front() == '#') {
            continue;
        }
        std::string word;
        while (words >> word) {
            const std::size_t equals = word.find('=');
            const std::string key = word.substr(0, equals);
            const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
            if (key == "index") {
                adapter.index = std::atoi(value.c_str());
            } else if (key == "up") {
                adapter.up = true;
            } else if (key == "carrier") {
                adapter.carrier = true;
            } else if (key == "ip") {
                adapter.hasIpAddress = true;
            } else if (key == "loopback") {
                adapter.loopback = true;
            } else if (key == "mac") {
                adapter.hardwareAddress = ParseHardwareAddress(value);
            } else if (key == "origin" && value.size() == 1 && value[0] >= '0' && value[0] <= '9') {
                adapter.origin = OriginFromKernel(value[0] - '0');
            }
        }
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

std::vector<NetworkAdapter> ReadNetworkAdapters() {
    const char* override = std::getenv("KELVRA_NETWORK_ADAPTERS_FILE");
    if (override != nullptr && *override != '\0') {
        std::ifstream file(override, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return ParseAdapterList(text.str());
    }
    return ReadSystemAdapters();
}

} // namespace kelvra
