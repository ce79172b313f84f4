#include "platform/Platform.h"

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
                             "127.5.5.5", "http://user@127.0.0.1/"}) {
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

TEST(MachineIdentity, LocalIpAddressIsDottedDecimalOrEmpty) {
    const std::string ip = LocalIpAddress();
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
