// Kills a process that rewrites the settings and language files, hundreds of times at random
// moments, and checks after each kill that every file is still one of its two whole versions.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SettingsTestSupport.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsFile.h"

extern char** environ;

namespace kelvra {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using Clock = std::chrono::steady_clock;

constexpr int kKills = 300;
// Kill moments spread over the first rounds of each run; a round is three synced writes, a few
// milliseconds to tens of milliseconds on a busy disk.
constexpr int kMaxKillDelayUs = 100000;

// The two versions of one file, as the writers produce them when they flip it back and forth.
struct FileVersions {
    std::string relative;
    std::array<std::string, 2> bytes;
    std::array<int, 2> seen{0, 0};
};

// Puts the three files in `folder` into the state of a finished English round ("A") and returns
// that state and the state of a Chinese round ("B") for each file.
std::vector<FileVersions> SeedAndExpect(const std::string& folder) {
    std::filesystem::create_directories(folder + "/Language");
    const SettingsFile settings(folder);
    const std::string enu = folder + "/Language/" + LanguageFileName(false);
    const std::string chs = folder + "/Language/" + LanguageFileName(true);
    auto round = [&](bool toChinese) {
        settings.WriteLanguage(toChinese ? "Chinese" : "English");
        WriteLanguageFile(enu, toChinese);
        WriteLanguageFile(chs, !toChinese);
    };
    settings.CreateWithDefaults();
    round(false);
    round(true);
    round(false);
    const std::array<std::string, 3> paths{settings.Path(), enu, chs};
    std::array<std::string, 3> english;
    for (size_t i = 0; i < paths.size(); ++i) {
        english[i] = ReadBytes(paths[i]);
    }
    round(true);
    std::vector<FileVersions> files;
    for (size_t i = 0; i < paths.size(); ++i) {
        files.push_back({paths[i].substr(folder.size() + 1), {english[i], ReadBytes(paths[i])}});
    }
    round(false);
    for (size_t i = 0; i < paths.size(); ++i) {
        // The flip must be a true two-state cycle, or "old or new" would mean nothing.
        EXPECT_EQ(ReadBytes(paths[i]), english[i]) << paths[i];
        EXPECT_NE(files[i].bytes[0], files[i].bytes[1]) << paths[i];
        EXPECT_FALSE(files[i].bytes[0].empty()) << paths[i];
    }
    return files;
}

// One run of the writer: started, killed after `delayUs` microseconds of running, reaped.
// Returns the number of rounds it reported as finished; -1 when it never came up.
int RunAndKill(const std::string& folder, int delayUs) {
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    const std::string program = KELVRA_DURABILITY_WRITER_PATH;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(folder.c_str()), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(channel[1]);
    if (spawned != 0) {
        ::close(channel[0]);
        return -1;
    }
    // Wait for the start mark, with a deadline, so the random delay falls into the write loop.
    bool started = false;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!started && Clock::now() < deadline) {
        pollfd ready{channel[0], POLLIN, 0};
        if (::poll(&ready, 1, 100) > 0) {
            char mark = 0;
            started = ::read(channel[0], &mark, 1) == 1 && mark == 'R';
            if (!started) {
                break;
            }
        }
    }
    if (started) {
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    int rounds = 0;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        rounds += static_cast<int>(std::count(buffer, buffer + n, '.'));
    }
    ::close(channel[0]);
    const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    return started && killed ? rounds : -1;
}

TEST(DurabilityTest, KilledWriterLeavesEveryFileOldOrNewWhole) {
    ScratchFolder scratch;
    const std::string folder = scratch.Path();
    std::vector<FileVersions> files = SeedAndExpect(folder);
    ASSERT_EQ(files.size(), 3u);

    std::mt19937 random(std::random_device{}());
    // A round takes longer on a slow or instrumented build: widen the window of kill moments
    // while too few kills land after a finished round.
    int maxDelayUs = kMaxKillDelayUs;
    int totalRounds = 0;
    int killsMidRun = 0;
    int batchMidRun = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        if (kill > 0 && kill % 25 == 0) {
            if (batchMidRun < 5 && maxDelayUs < 2'000'000)
                maxDelayUs *= 2;
            batchMidRun = 0;
        }
        const int rounds =
            RunAndKill(folder, std::uniform_int_distribution<int>(0, maxDelayUs)(random));
        batchMidRun += rounds > 0 ? 1 : 0;
        ASSERT_GE(rounds, 0) << "the writer did not start, or ended before it was killed";
        totalRounds += rounds;
        killsMidRun += rounds > 0 ? 1 : 0;
        for (FileVersions& file : files) {
            const std::string now = ReadBytes(folder + "/" + file.relative);
            const int version = now == file.bytes[0] ? 0 : now == file.bytes[1] ? 1 : -1;
            ASSERT_NE(version, -1) << file.relative << " after kill " << kill << " is neither "
                                   << "version (" << now.size() << " bytes)";
            ++file.seen[version];
        }
    }
    // The kills must have landed inside the loop, with the files changing between them; else
    // the checks above prove nothing.
    EXPECT_GT(killsMidRun, kKills / 10);
    for (const FileVersions& file : files) {
        EXPECT_GT(file.seen[0], 0) << file.relative;
        EXPECT_GT(file.seen[1], 0) << file.relative;
    }
    // The settings file's reader still understands what is left.
    const std::string language = SettingsFile(folder).ReadLanguage();
    EXPECT_TRUE(language == "English" || language == "Chinese") << language;
    RecordProperty("rounds", totalRounds);
}

} // namespace
} // namespace kelvra
