// Kills an update run of a two-file list (download, staging, checks, version, script, swap) at
// random moments, the update script and its commands included, all at once, then does what the
// next start does (finish or drop the cut update) and starts what is on disk: the program folder
// must always hold one whole working executable and exactly the old or exactly the new files.
//
// KELVRA_UPDATE_KILL_TRIALS=N sets the number of kills (default 1000) for longer runs by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/UpdateTestSupport.h"
#include "settings/DataPaths.h"
#include "settings/SettingsFile.h"
#include "support/SimProcess.h"
#include "update/Sha256.h"
#include "update/UpdateDownloader.h"
#include "update/UpdateStaging.h"
#include "url/Endpoints.h"

extern char** environ;

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test::SimProcess;

constexpr const char* kTrialMark = "KELVRA_KILL_TRIAL_MARK=";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteAll(const std::string& path, const std::string& bytes, mode_t mode) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    ::chmod(path.c_str(), mode);
}

// A real executable with a tag and padding after its end: it still runs, and two tags give two
// executables whose bytes differ everywhere a torn copy would show.
std::string TaggedExecutable(const std::string& tag, std::size_t size) {
    std::string bytes = ReadAll(test::RealExecutable());
    while (bytes.size() < size) {
        bytes += tag;
    }
    return bytes;
}

// How a broken executable relates to a build, for the failure message: the first byte where
// they differ out of the build's size ("old: same up to 524288 of 1048576").
std::string Likeness(const std::string& found, const std::string& build, const char* name) {
    std::size_t same = 0;
    while (same < found.size() && same < build.size() && found[same] == build[same]) {
        ++same;
    }
    return std::string(name) + ": same up to " + std::to_string(same) + " of " +
           std::to_string(build.size());
}

// The processes of this trial (the runner, its script and the script's commands), found by the
// mark in their environment.
std::vector<pid_t> TrialProcesses(const std::string& mark) {
    std::vector<pid_t> found;
    std::error_code error;
    for (fs::directory_iterator it("/proc", error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const std::string environment = ReadAll("/proc/" + name + "/environ");
        if (environment.find(mark + '\0') != std::string::npos ||
            (environment.size() >= mark.size() &&
             environment.compare(environment.size() - mark.size(), mark.size(), mark) == 0)) {
            found.push_back(static_cast<pid_t>(std::stoi(name)));
        }
    }
    return found;
}

// Reaps every ended child (this process adopts the detached scripts as their subreaper).
void ReapChildren() {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

// Kills every process of the trial until none is left. A process that is between fork and exec
// may not show its environment for a moment, so one empty scan is not enough: the trial is over
// after several in a row.
void KillTrial(const std::string& mark) {
    int emptyScans = 0;
    for (int round = 0; round < 400 && emptyScans < 5; ++round) {
        const std::vector<pid_t> alive = TrialProcesses(mark);
        if (alive.empty()) {
            ++emptyScans;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        emptyScans = 0;
        for (pid_t pid : alive) {
            ::kill(pid, SIGKILL);
        }
        ReapChildren();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

struct Trial {
    std::string marks; // progress reported by the runner before the kill
    bool ranToTheEnd = false;
};

// Starts the runner and kills the whole trial `delay` after its start mark; delay < 0 lets it
// run until the script has removed itself (for calibration).
Trial RunAndKill(const std::string& listUrl, const std::string& exe, const std::string& data,
                 const std::string& mark, std::chrono::microseconds delay) {
    Trial trial;
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) {
        return trial;
    }
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        environment.emplace_back(*entry);
    }
    environment.push_back(mark);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    const std::string program = KELVRA_UPDATE_KILL_RUNNER_PATH;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(listUrl.c_str()),
                    const_cast<char*>(exe.c_str()), const_cast<char*>(data.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(channel[1]);
    if (spawned != 0) {
        ::close(channel[0]);
        return trial;
    }
    pollfd ready{channel[0], POLLIN, 0};
    char first = 0;
    if (::poll(&ready, 1, 10000) > 0 && ::read(channel[0], &first, 1) == 1) {
        trial.marks += first;
    }
    const std::string script = UpdateScriptPath(data);
    if (delay.count() >= 0) {
        std::this_thread::sleep_for(delay);
    } else {
        test::WaitFor([&] { return !fs::exists(script) && TrialProcesses(mark).empty(); },
                      std::chrono::seconds(20));
    }
    KillTrial(mark);
    ::waitpid(pid, nullptr, 0);
    ReapChildren();
    char buffer[64];
    ssize_t n = 0;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0) {
        trial.marks.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    trial.ranToTheEnd = trial.marks.find('S') != std::string::npos && !fs::exists(script);
    return trial;
}

int TrialCount() {
    const char* text = std::getenv("KELVRA_UPDATE_KILL_TRIALS");
    const int count = text != nullptr ? std::atoi(text) : 0;
    return count > 0 ? count : 1000;
}

// Trials run in a few worker processes at once: most of a trial is waiting.
constexpr int kWorkers = 3;

// What a worker saw: counters by name ("old", "new", "lost", "part", "at <moment>") and the
// failures in words.
struct Tally {
    std::map<std::string, int> counts;
    std::vector<std::string> failures;

    std::string Serialise() const {
        std::string text;
        for (const auto& [name, count] : counts) {
            text += name + '\t' + std::to_string(count) + '\n';
        }
        for (const std::string& failure : failures) {
            text += "!" + failure + '\n';
        }
        return text;
    }
    void Add(const std::string& text) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t tab = line.rfind('\t');
            if (!line.empty() && line[0] == '!') {
                failures.push_back(line.substr(1));
            } else if (tab != std::string::npos) {
                counts[line.substr(0, tab)] += std::atoi(line.c_str() + tab + 1);
            }
        }
    }
};

struct KillSetup {
    std::string listUrl;
    std::string oldExe;
    std::string newExe;
    std::string oldLibrary;
    std::string newLibrary;
};

constexpr const char* kLibrary = "kelvra-browser-engine.so";
constexpr const char* kOldVersion = "1.0.0.3";
constexpr const char* kNewVersion = "1.0.0.4";

// A program folder and a data folder of one worker, the old build in place.
struct Folders {
    std::string program;
    std::string data;
    std::string exe;
    std::string library;

    explicit Folders(const fs::path& root)
        : program((root / "program folder").string()), data((root / "data").string()),
          exe(program + "/kelvra"), library(program + "/" + kLibrary) {
        fs::create_directories(program);
        fs::create_directories(data);
    }
    void Reset(const KillSetup& setup) const {
        for (const fs::directory_entry& entry : fs::directory_iterator(program)) {
            fs::remove_all(entry.path());
        }
        fs::remove(UpdateScriptPath(data));
        SettingsFile(data).WriteVersion(kOldVersion);
        WriteAll(exe, setup.oldExe, 0755);
        WriteAll(library, setup.oldLibrary, 0644);
    }
};

// Runs trials first..first+count-1, each killed at a random moment of the window, each followed
// by the next start: the client's clean-up of interrupted saves, then the executable run.
Tally RunTrials(const KillSetup& setup, const Folders& folders, int first, int count,
                std::chrono::microseconds window) {
    Tally tally;
    std::mt19937 random(std::random_device{}());
    // The machine's load changes the length of a run: every 25 trials the window shrinks while
    // many kills came after the end, and grows while few did.
    long windowUs = window.count();
    int afterTheEnd = 0;
    for (int i = first; i < first + count; ++i) {
        if ((i - first) % 25 == 24) {
            windowUs = afterTheEnd > 10  ? windowUs * 4 / 5
                       : afterTheEnd < 3 ? windowUs * 5 / 4
                                         : windowUs;
            afterTheEnd = 0;
        }
        folders.Reset(setup);
        const Trial trial = RunAndKill(
            setup.listUrl, folders.exe, folders.data, kTrialMark + std::to_string(i),
            std::chrono::microseconds(std::uniform_int_distribution<long>(0, windowUs)(random)));
        afterTheEnd += trial.ranToTheEnd ? 1 : 0;
        bool part = false;
        for (const fs::directory_entry& entry : fs::directory_iterator(folders.program)) {
            part =
                part || entry.path().filename().string().find(kUpdatePartMark) != std::string::npos;
        }
        tally.counts["part"] += part ? 1 : 0;
        // What the next start does before anything else.
        const bool scriptLeft = fs::exists(UpdateScriptPath(folders.data));
        ResumeOrDiscardInterruptedUpdate(folders.data, folders.program);
        RemoveInterruptedSaves(folders.program);
        for (const fs::directory_entry& entry : fs::directory_iterator(folders.program)) {
            if (entry.path().filename().string().find(kUpdatePartMark) != std::string::npos) {
                tally.failures.push_back("the clean-up left " + entry.path().string());
            }
        }
        const std::string now = fs::exists(folders.exe) ? ReadAll(folders.exe) : std::string();
        const bool whole = now == setup.oldExe || now == setup.newExe;
        const int ran = whole ? test::RunProgram(folders.exe) : -2;
        if (ran != 0) {
            ++tally.counts["lost"];
            const std::string what =
                now.empty() ? "no executable"
                : whole     ? "a whole executable that ran with status " + std::to_string(ran)
                            : "a broken executable";
            tally.failures.push_back("kill " + std::to_string(i) + " after marks '" + trial.marks +
                                     "' left " + what + " (" + std::to_string(now.size()) +
                                     " bytes; " + Likeness(now, setup.oldExe, "old") + ", " +
                                     Likeness(now, setup.newExe, "new") + ")");
            continue;
        }
        const std::string library = ReadAll(folders.library);
        const bool newFiles = now == setup.newExe && library == setup.newLibrary;
        if (!newFiles && !(now == setup.oldExe && library == setup.oldLibrary)) {
            ++tally.counts["mixed"];
            tally.failures.push_back("kill " + std::to_string(i) + " after marks '" + trial.marks +
                                     "' left a mixed folder (executable " +
                                     (now == setup.newExe ? "new" : "old") + ", library " +
                                     (library == setup.newLibrary   ? "new"
                                      : library == setup.oldLibrary ? "old"
                                                                    : "broken") +
                                     ")");
        }
        // The settings name the version whose files are in place.
        const std::string version = SettingsFile(folders.data).ReadVersion();
        if (version != (newFiles ? kNewVersion : kOldVersion)) {
            ++tally.counts["wrong version"];
            tally.failures.push_back("kill " + std::to_string(i) + " after marks '" + trial.marks +
                                     "' left version " + version + " with the " +
                                     (newFiles ? "new" : "old") + " files");
        }
        if (fs::exists(StagingFolder(folders.program))) {
            tally.failures.push_back("kill " + std::to_string(i) + " left the staging folder");
        }
        ++tally.counts[now == setup.newExe ? "new" : "old"];
        std::string moment = trial.marks.find('S') != std::string::npos   ? "script started"
                             : trial.marks.find('D') != std::string::npos ? "files saved"
                                                                          : "downloading";
        if (now == setup.newExe) {
            moment =
                scriptLeft ? "replaced: swap finished by the next start" : "replaced by the script";
        }
        ++tally.counts["at " + moment + (part ? " (part file left)" : "")];
    }
    return tally;
}

TEST(UpdateKillTest, KilledUpdateAlwaysLeavesOneWholeWorkingExecutable) {
    ASSERT_FALSE(test::RealExecutable().empty());
    SimProcess sim;
    // In memory where there is a memory file system: a kill is not a power cut, so the disk's
    // flushes add nothing but time.
    const fs::path base =
        ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path root = base / ("kelvra-kill-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);

    // Big enough that saving and copying take a while, so kills land inside them.
    KillSetup setup{{},
                    TaggedExecutable("old build ", 512 << 10),
                    TaggedExecutable("NEW BUILD ", 512 << 10),
                    TaggedExecutable("old engine ", 256 << 10),
                    TaggedExecutable("NEW ENGINE ", 256 << 10)};
    const std::string published = (root / "published").string();
    WriteAll(published, setup.newExe, 0644);
    const std::string publishedLibrary = (root / "published library").string();
    WriteAll(publishedLibrary, setup.newLibrary, 0644);
    sim.Control(std::string("/__sim/version?v=") + kNewVersion);
    sim.Control(std::string("/__sim/update_files?name=") + kLibrary +
                "&file=" + SimProcess::Encode(publishedLibrary));
    sim.Control("/__sim/update_files?name=kelvra&file=" + SimProcess::Encode(published) +
                "&temp_name=kelvra.new&main_program=1&sha256=" + Sha256Hex(setup.newExe));
    setup.listUrl = Endpoints(sim.Root()).UpdateDescriptor();

    // Calibration: the time of a whole run alone, start mark to the script's end (the median of
    // three).
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const Folders calibration(root / "calibration");
    std::vector<Clock::duration> runs;
    for (int run = 0; run < 3; ++run) {
        calibration.Reset(setup);
        const auto start = Clock::now();
        const Trial trial =
            RunAndKill(setup.listUrl, calibration.exe, calibration.data,
                       kTrialMark + std::string("cal"), std::chrono::microseconds(-1));
        runs.push_back(Clock::now() - start);
        ASSERT_TRUE(trial.ranToTheEnd) << trial.marks;
        ASSERT_EQ(ReadAll(calibration.exe), setup.newExe) << "an undisturbed run must install it";
        ASSERT_EQ(ReadAll(calibration.library), setup.newLibrary);
    }
    std::sort(runs.begin(), runs.end());
    // Runs side by side take longer than one alone: half as long again.
    const auto window = std::chrono::duration_cast<std::chrono::microseconds>(runs[1]) * 3 / 2;

    // Each worker is a process of its own, the subreaper of its scripts, reporting by a pipe.
    const int trials = TrialCount();
    const auto started = Clock::now();
    std::vector<std::pair<pid_t, int>> workers;
    for (int w = 0; w < kWorkers; ++w) {
        const int first = trials * w / kWorkers;
        const int count = trials * (w + 1) / kWorkers - first;
        int channel[2];
        ASSERT_EQ(::pipe(channel), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(channel[0]);
            ::prctl(PR_SET_CHILD_SUBREAPER, 1);
            const Folders folders(root / ("worker " + std::to_string(w)));
            const std::string report = RunTrials(setup, folders, first, count, window).Serialise();
            std::size_t done = 0;
            while (done < report.size()) {
                const ssize_t n = ::write(channel[1], report.data() + done, report.size() - done);
                if (n <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(n);
            }
            ::_exit(0);
        }
        ::close(channel[1]);
        workers.emplace_back(pid, channel[0]);
    }
    Tally tally;
    for (const auto& [pid, channel] : workers) {
        std::string report;
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(channel, buffer, sizeof buffer)) > 0) {
            report.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(channel);
        ::waitpid(pid, nullptr, 0);
        tally.Add(report);
    }
    ReapChildren();
    fs::remove_all(root);
    const long long seconds =
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started).count();

    std::printf(
        "update kill test (two-file list): %d trials in %lld s, kills 0..%ld us after "
        "the start; old build kept %d, new build in place %d, executable lost %d, mixed "
        "folders %d, wrong version %d; a part file was left (and cleaned up at the next start) %d "
        "times\n",
        trials, seconds, static_cast<long>(window.count()), tally.counts["old"],
        tally.counts["new"], tally.counts["lost"], tally.counts["mixed"],
        tally.counts["wrong version"], tally.counts["part"]);
    int moments = 0;
    for (const auto& [name, count] : tally.counts) {
        if (name.rfind("at ", 0) == 0) {
            std::printf("  killed %-45s %d\n", name.c_str(), count);
            ++moments;
        }
    }
    for (const std::string& failure : tally.failures) {
        ADD_FAILURE() << failure;
    }
    RecordProperty("trials", trials);
    RecordProperty("lost", tally.counts["lost"]);
    RecordProperty("mixed", tally.counts["mixed"]);
    EXPECT_EQ(tally.counts["old"] + tally.counts["new"] + tally.counts["lost"], trials)
        << "a worker did not report";
    EXPECT_EQ(tally.counts["lost"], 0);
    EXPECT_EQ(tally.counts["mixed"], 0);
    EXPECT_EQ(tally.counts["wrong version"], 0);
    // The kills must have spread over the run, or the checks above prove little.
    EXPECT_GT(tally.counts["old"], trials / 10);
    EXPECT_GT(tally.counts["new"], trials / 10);
    // Before the download ends, after it, and in both halves of the swap (the script's own or
    // finished at the next start); the short moment between staging and script may see none.
    EXPECT_GE(moments, 3);
}

} // namespace
} // namespace kelvra
