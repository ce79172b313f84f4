#include "platform/Platform.h"
#include "platform/NetworkAdapters.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>

#include "support/ScopedEnv.h"

namespace kelvra {
namespace {

using test::ScopedEnv;

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelvra-platform-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

TEST(FindDataFolder, TakesTheFirstFixedDrive) {
    using D = DriveType;
    const struct {
        const char* name;
        std::map<char, DriveType> drives; // letters not listed: no root directory
        std::string folder;
    } cases[] = {
        {"removable_then_fixed",
         {{'A', D::Removable}, {'C', D::Fixed}},
         "C:\\Program Files\\kelvra"},
        {"first_of_several_fixed", {{'D', D::Fixed}, {'E', D::Fixed}}, "D:\\Program Files\\kelvra"},
        {"fixed_after_cdrom_and_remote",
         {{'C', D::CdRom}, {'D', D::Remote}, {'F', D::Fixed}},
         "F:\\Program Files\\kelvra"},
        {"last_letter", {{'Z', D::Fixed}}, "Z:\\Program Files\\kelvra"},
        {"network_and_removable_only", {{'A', D::Removable}, {'X', D::Remote}}, ""},
        {"ram_disk_and_unknown_are_not_fixed", {{'C', D::RamDisk}, {'D', D::Unknown}}, ""},
        {"no_drives", {}, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> asked;
        const std::string folder = FindDataFolder([&](const std::string& root) {
            asked.push_back(root);
            const auto it = c.drives.find(root[0]);
            return it == c.drives.end() ? DriveType::NoRootDir : it->second;
        });
        EXPECT_EQ(folder, c.folder) << c.name;
        ASSERT_FALSE(asked.empty()) << c.name;
        EXPECT_EQ(asked.front(), "A:\\") << c.name;
        if (c.folder.empty()) {
            EXPECT_EQ(asked.size(), 26u) << c.name;
            EXPECT_EQ(asked.back(), "Z:\\") << c.name;
        } else {
            EXPECT_EQ(asked.back(), c.folder.substr(0, 3)) << c.name << ": asked past the drive";
        }
    }
}

TEST(FindDataFolder, PosixFolderFollowsTheEnvironment) {
    const struct {
        std::optional<std::string> dataDir, xdg, home;
        std::string folder;
    } cases[] = {
        {"/srv/kelvra-data", "/x", "/home/u", "/srv/kelvra-data"},
        {std::nullopt, "/xdg", "/home/u", "/xdg/kelvra"},
        {"", "/xdg", "/home/u", "/xdg/kelvra"},
        {std::nullopt, std::nullopt, "/home/u", "/home/u/.local/share/kelvra"},
        {std::nullopt, "relative/xdg", "/home/u", "/home/u/.local/share/kelvra"},
    };
    for (const auto& c : cases) {
        ScopedEnv data("KELVRA_DATA_DIR", c.dataDir);
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(FindDataFolder(), c.folder);
    }
    ScopedEnv data("KELVRA_DATA_DIR", std::nullopt);
    ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
    ScopedEnv home("HOME", std::nullopt);
    EXPECT_FALSE(FindDataFolder().empty());
}

TEST(NetworkState, OverrideFileIsReadAtEveryCall) {
    TempFolder temp;
    const std::string stateFile = temp.Path() + "/network";
    ScopedEnv state("KELVRA_NETWORK_STATE_FILE", stateFile);
    ScopedEnv service("KELVRA_SERVICE_URL", "http://127.0.0.1:1");
    auto write = [&](const std::string& content) { std::ofstream(stateFile) << content; };

    // A loopback service host counts as connected, whatever the adapters say.
    EXPECT_TRUE(InternetConnected()) << "missing file: no override";
    EXPECT_TRUE(NetworkPresent());
    const struct {
        const char* content;
        bool connected;
    } cases[] = {{"down\n", false}, {"  down because of test", false},
                 {"DOWN", false},   {"up", true},
                 {"", true},        {"downstairs", true},
                 {"down", false}};
    for (const auto& c : cases) {
        write(c.content);
        EXPECT_EQ(InternetConnected(), c.connected) << "'" << c.content << "'";
        EXPECT_EQ(NetworkPresent(), c.connected) << "'" << c.content << "'";
    }
    std::filesystem::remove(stateFile);
    EXPECT_TRUE(InternetConnected());
}

TEST(NetworkState, LoopbackServiceHostsCountAsConnected) {
    ScopedEnv state("KELVRA_NETWORK_STATE_FILE", std::nullopt);
    for (const char* root : {"http://127.0.0.1:8780", "http://localhost:9", "http://[::1]:80",
                             "127.5.5.5", "http://user@127.0.0.1/", "HTTP://LocalHost:9/x"}) {
        ScopedEnv service("KELVRA_SERVICE_URL", root);
        EXPECT_TRUE(InternetConnected()) << root;
        EXPECT_TRUE(NetworkPresent()) << root;
    }
}

TEST(MachineIdentity, MacAddressHasTheSeventeenCharacterForm) {
    const std::string mac = GetMacAddress();
    if (mac.empty()) {
        GTEST_SKIP() << "no adapter with a hardware address on this machine";
    }
    EXPECT_TRUE(std::regex_match(mac, std::regex("([0-9A-F]{2}-){5}[0-9A-F]{2}"))) << mac;
    EXPECT_NE(mac, "00-00-00-00-00-00");
    EXPECT_EQ(GetMacAddress(), mac) << "stable between calls";
}

// Adapters as "name index=N [up] [carrier] [ip] mac=.. origin=N" lines (the kernel's
// addr_assign_type: 0 permanent, 1 random, 2 stolen, 3 set by the user).
TEST(MachineIdentity, AdapterChoiceAndNetworkState) {
    struct Case {
        const char* name;
        const char* adapters;
        const char* mac;
        bool connected;
    };
    const Case cases[] = {
        {"random down adapter first, then the wired one in use",
         "ifb0 index=2 mac=fe:59:15:7a:a3:70 origin=1\n"
         "eth0 index=4 up carrier ip mac=02:fc:00:00:00:01 origin=0",
         "02-FC-00-00-00-01", true},
        {"listing order does not matter, index order does",
         "eth1 index=5 up carrier ip mac=00:00:00:00:00:05 origin=0\n"
         "eth0 index=3 up carrier ip mac=00:00:00:00:00:03 origin=0",
         "00-00-00-00-00-03", true},
        {"address set by the user counts like a permanent one",
         "eth0 index=2 up carrier ip mac=02:00:00:00:00:aa origin=3", "02-00-00-00-00-AA", true},
        {"Wi-Fi with a randomised address: the wired one without carrier wins",
         "eth0 index=2 up mac=00:11:22:33:44:55 origin=0\n"
         "wlan0 index=3 up carrier ip mac=da:11:22:33:44:66 origin=1",
         "00-11-22-33-44-55", true},
        {"bridge without a live port: no carrier, no network",
         "docker0 index=3 up ip mac=02:42:ac:11:00:02 origin=3", "02-42-AC-11-00-02", false},
        {"pulled cable: up with an address but no carrier",
         "eth0 index=2 up ip mac=00:11:22:33:44:55 origin=0", "00-11-22-33-44-55", false},
        {"carrier but no IP address yet", "eth0 index=2 up carrier mac=00:11:22:33:44:55 origin=0",
         "00-11-22-33-44-55", false},
        {"only random addresses: the first by index, as before",
         "ifb1 index=4 mac=fe:00:00:00:00:02 origin=1\nifb0 index=3 mac=fe:00:00:00:00:01 origin=1",
         "FE-00-00-00-00-01", false},
        {"loopback and all-zero addresses never count",
         "lo index=1 up carrier ip loopback mac=00:00:00:00:00:01 origin=0\n"
         "tun0 index=2 up carrier ip mac=00:00:00:00:00:00 origin=0",
         "", true},
        {"no adapters", "", "", false},
    };
    for (const Case& c : cases) {
        const std::vector<NetworkAdapter> adapters = ParseAdapterList(c.adapters);
        EXPECT_EQ(ChooseMachineAddress(adapters), c.mac) << c.name;
        EXPECT_EQ(AnyAdapterConnected(adapters), c.connected) << c.name;
    }
}

// On this machine: the address is that of the first up adapter with a carrier and a
// non-random address, as /sys reports them, and the override file replaces the system's list.
TEST(MachineIdentity, ThisMachineAndTheOverrideFile) {
    std::string expected;
    std::map<int, std::string> byIndex;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net")) {
        auto read = [&](const char* attribute) {
            std::ifstream file(entry.path() / attribute);
            std::string word;
            file >> word;
            return word;
        };
        const std::string name = entry.path().filename().string();
        if (name == "lo" || read("carrier") != "1" || read("operstate") != "up" ||
            (read("addr_assign_type") != "0" && read("addr_assign_type") != "3")) {
            continue;
        }
        std::string mac = read("address");
        for (char& ch : mac) {
            ch = ch == ':' ? '-' : static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        }
        byIndex[std::stoi(read("ifindex"))] = mac;
    }
    ScopedEnv none("KELVRA_NETWORK_ADAPTERS_FILE", std::nullopt);
    if (byIndex.empty()) {
        GTEST_SKIP() << "no up adapter with a carrier and a fixed address on this machine";
    }
    EXPECT_EQ(GetMacAddress(), byIndex.begin()->second);

    TempFolder temp;
    const std::string file = temp.Path() + "/adapters";
    std::ofstream(file) << "eth9 index=9 up carrier ip mac=02:00:00:00:09:09 origin=0\n";
    ScopedEnv adapters("KELVRA_NETWORK_ADAPTERS_FILE", file);
    ScopedEnv service("KELVRA_SERVICE_URL", "http://192.0.2.77:80");
    EXPECT_EQ(GetMacAddress(), "02-00-00-00-09-09");
    EXPECT_TRUE(InternetConnected());
    std::ofstream(file) << "eth9 index=9 up ip mac=02:00:00:00:09:09 origin=0\n";
    EXPECT_FALSE(InternetConnected()) << "carrier lost while running";
    EXPECT_TRUE(NetworkPresent());
}

TEST(MachineIdentity, LocalIpAddressIsTheSourceTowardsTheServiceHost) {
    for (const char* root : {"http://127.0.0.1:9", "http://127.3.4.5", "http://localhost:8780"}) {
        ScopedEnv service("KELVRA_SERVICE_URL", root);
        EXPECT_EQ(LocalIpAddress(), "127.0.0.1") << root << ": not the host name's 127.0.1.1";
    }
    ScopedEnv service("KELVRA_SERVICE_URL", "http://service.invalid");
    const std::string ip = LocalIpAddress(); // falls back to the host name
    if (!ip.empty()) {
        in_addr parsed{};
        EXPECT_EQ(inet_pton(AF_INET, ip.c_str(), &parsed), 1) << ip;
    }
}

TEST(ExePath, IsThisRunningProgram) {
    const std::string path = ExePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
    struct stat self {};
    struct stat reported {};
    ASSERT_EQ(stat("/proc/self/exe", &self), 0);
    ASSERT_EQ(stat(path.c_str(), &reported), 0);
    EXPECT_EQ(self.st_ino, reported.st_ino);
}

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstEnds) {
    TempFolder temp;
    ScopedEnv runtime("XDG_RUNTIME_DIR", temp.Path());
    {
        SingleInstanceLock first("Kelvra");
        ASSERT_TRUE(first.Acquired());
        EXPECT_TRUE(std::filesystem::exists(temp.Path() + "/Kelvra"));
        SingleInstanceLock second("Kelvra");
        EXPECT_FALSE(second.Acquired());
        SingleInstanceLock other("OtherName");
        EXPECT_TRUE(other.Acquired());
    }
    SingleInstanceLock again("Kelvra");
    EXPECT_TRUE(again.Acquired());
}

TEST(SingleInstanceLock, UnusableRuntimeFolderStillLetsTheProgramRun) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/nonexistent/kelvra-runtime");
    SingleInstanceLock lock("Kelvra");
    EXPECT_TRUE(lock.Acquired());
}

TEST(SingleInstanceLock, WithoutRuntimeFolderUsesAPrivateTmpFolder) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
    const std::string name = "KelvraTest" + std::to_string(getpid());
    {
        SingleInstanceLock first(name);
        ASSERT_TRUE(first.Acquired());
        SingleInstanceLock second(name);
        EXPECT_FALSE(second.Acquired());
    }
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : P_tmpdir) +
                               "/kelvra-" + std::to_string(getuid());
    struct stat info {};
    ASSERT_EQ(lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
    std::filesystem::remove(folder + "/" + name);
}

} // namespace
} // namespace kelvra
