// The POSIX update script run for real: a waiting process stands in for the client; once it has
// ended, every staged file is moved in and every old one kept aside, or, when one step fails,
// every old file is back. A script cut short is finished by the next start.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include <sys/stat.h>

#include "SettingsTestSupport.h"
#include "UpdateTestSupport.h"
#include "settings/SettingsFile.h"
#include "update/UpdateScript.h"
#include "update/UpdateStaging.h"

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WaitFor;
using test::WriteBytes;

const std::string kNewProgram = "#!/bin/sh\nexit 7\n";

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// A program folder (a quote and a blank in its name: the script must quote its paths) with the
// old executable and library, and a staging folder with the new executable, library and a new
// data file.
class UpdateScriptRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(test::RealExecutable().empty());
        appFolder = scratch.File("it's app");
        dataFolder = scratch.File("data");
        fs::create_directories(appFolder);
        fs::create_directories(dataFolder);
        staging = StagingFolder(appFolder);
        fs::create_directories(staging);
        exe = appFolder + "/kelvra";
        fs::copy_file(test::RealExecutable(), exe);
        ::chmod(exe.c_str(), 0751);
        oldBytes = ReadBytes(exe);
        WriteBytes(appFolder + "/engine.so", "old engine");
        WriteBytes(staging + "/kelvra.new", kNewProgram);
        ::chmod((staging + "/kelvra.new").c_str(), 0751);
        WriteBytes(staging + "/engine.so", "new engine");
        WriteBytes(staging + "/readme.txt", "new readme");
        script = dataFolder + "/$$update.sh";
    }
    UpdateScriptRequest Request(long pid) const {
        UpdateScriptRequest request;
        request.scriptPath = script;
        request.exePath = exe;
        request.stagingFolder = staging;
        request.items = {{staging + "/engine.so", appFolder + "/engine.so"},
                         {staging + "/readme.txt", appFolder + "/readme.txt"},
                         {staging + "/kelvra.new", exe}};
        request.waitPid = pid;
        return request;
    }
    // The script as the launcher writes it, not started (as a kill would leave it).
    void WriteFileForScript(const UpdateScriptRequest& request) const {
        WriteBytes(script, BuildPosixUpdateScript(request));
    }
    // Every file of the program folder with its content (the executable as "old" or "new").
    std::map<std::string, std::string> Folder() const {
        std::map<std::string, std::string> files;
        for (const std::string& name : test::EntriesOf(appFolder)) {
            const std::string path = appFolder + "/" + name;
            const std::string bytes = fs::is_directory(path) ? "a folder" : ReadBytes(path);
            files[name] = bytes == oldBytes ? "old" : bytes == kNewProgram ? "new" : bytes;
        }
        return files;
    }
    const std::map<std::string, std::string> kNewFolder = {{"kelvra", "new"},
                                                           {"kelvra.kelvra-old", "old"},
                                                           {"engine.so", "new engine"},
                                                           {"engine.so.kelvra-old", "old engine"},
                                                           {"readme.txt", "new readme"}};
    const std::map<std::string, std::string> kOldFolder = {{"kelvra", "old"},
                                                           {"engine.so", "old engine"}};

    test::ScratchFolder scratch;
    std::string appFolder, dataFolder, staging, exe, script, oldBytes;
};

TEST_F(UpdateScriptRunTest, MovesEveryFileInAfterTheProcessEnds) {
    test::WaitingProcess client;
    ASSERT_TRUE(WriteAndStartUpdateScript(Request(client.Pid())));
    ASSERT_TRUE(test::IsExistingFileForTest(script));
    // While the client runs the script only waits.
    EXPECT_EQ(test::RunProgram(exe), 0);
    EXPECT_EQ(ReadBytes(appFolder + "/engine.so"), "old engine");

    client.End();
    ASSERT_TRUE(WaitFor([&] { return !test::IsExistingFileForTest(script); }));
    EXPECT_EQ(Folder(), kNewFolder);
    EXPECT_EQ(ModeOf(exe), 0751u);
    EXPECT_EQ(test::RunProgram(exe), 7);
    EXPECT_TRUE(test::EntriesOf(dataFolder).empty());
    // The next successful start removes the old files.
    RemoveUpdateBackups(dataFolder, appFolder);
    EXPECT_EQ(test::EntriesOf(appFolder),
              (std::set<std::string>{"engine.so", "kelvra", "readme.txt"}));
}

TEST_F(UpdateScriptRunTest, UnreapedProcessCountsAsEnded) {
    const pid_t zombie = ::fork();
    if (zombie == 0) {
        ::_exit(0);
    }
    ASSERT_TRUE(WriteAndStartUpdateScript(Request(zombie)));
    ASSERT_TRUE(WaitFor([&] { return !test::IsExistingFileForTest(script); }));
    EXPECT_EQ(ReadBytes(exe), kNewProgram);
    int status = 0;
    ::waitpid(zombie, &status, 0);
}

// A swap that fails at its last step (the folder of a new file is gone) puts every old file back,
// the new data file goes again; a backup that an earlier update left never comes back instead
// (it goes first, and one that cannot go stops the swap before it begins). The next start says
// that the update was not installed, and the settings name the installed version again.
TEST_F(UpdateScriptRunTest, FailedStepPutsEveryOldFileBack) {
    const struct {
        const char* name;
        std::function<void()> before;
        std::map<std::string, std::string> leftBesideTheOldFiles;
    } cases[] = {
        {"a step fails", [] {}, {}},
        {"a step fails beside an earlier update's backup",
         [this] { WriteBytes(appFolder + "/engine.so.kelvra-old", "engine of an earlier update"); },
         {}},
        {"an earlier update's backup cannot go",
         [this] { fs::create_directories(appFolder + "/engine.so.kelvra-old/inside"); },
         {{"engine.so.kelvra-old", "a folder"}}},
    };
    for (const auto& c : cases) {
        TearDown();
        fs::remove_all(appFolder);
        fs::remove_all(dataFolder);
        SetUp();
        SettingsFile(dataFolder).WriteVersion("1.0.0.3");
        WriteVersionOfStagedUpdate(dataFolder, appFolder, "1.0.0.4");
        c.before();
        UpdateScriptRequest request = Request(0);
        WriteBytes(staging + "/blocked", "new");
        request.items.push_back({staging + "/blocked", appFolder + "/no folder/blocked"});
        WriteFileForScript(request);
        EXPECT_TRUE(ResumeOrDiscardInterruptedUpdate(dataFolder, appFolder)) << c.name;
        std::map<std::string, std::string> expected = kOldFolder;
        expected.insert(c.leftBesideTheOldFiles.begin(), c.leftBesideTheOldFiles.end());
        EXPECT_EQ(Folder(), expected) << c.name;
        EXPECT_EQ(SettingsFile(dataFolder).ReadVersion(), "1.0.0.3") << c.name;
        EXPECT_FALSE(fs::exists(staging)) << c.name;
        EXPECT_FALSE(fs::exists(script)) << c.name;
    }
}

// The next start finishes a script that was killed: forward after a step that worked, back once
// a step had failed; a staging folder without a script (a cut download, or a kill before the
// script started) is dropped. The settings then name the version whose files are in place, and
// the start tells whether an update whose version was written is not installed.
TEST_F(UpdateScriptRunTest, NextStartFinishesWhatAKillCutShort) {
    struct Case {
        const char* name;
        std::function<void()> cut; // what had happened before the kill
        bool script;
        bool expectNew;
        bool versionWritten = true;
    };
    const Case cases[] = {
        {"killed after the first file",
         [this] {
             WriteBytes(staging + "/.swap-begun", "");
             fs::rename(appFolder + "/engine.so", appFolder + "/engine.so.kelvra-old");
             fs::rename(staging + "/engine.so", appFolder + "/engine.so");
         },
         true, true},
        {"killed with the executable aside",
         [this] {
             WriteBytes(staging + "/.swap-begun", "");
             fs::rename(exe, exe + ".kelvra-old");
         },
         true, true},
        {"killed while going back",
         [this] {
             WriteBytes(staging + "/.swap-begun", "");
             fs::rename(appFolder + "/engine.so", appFolder + "/engine.so.kelvra-old");
             fs::rename(staging + "/engine.so", appFolder + "/engine.so");
             fs::rename(staging + "/readme.txt", appFolder + "/readme.txt");
             WriteBytes(staging + "/.rollback", "");
         },
         true, false},
        {"killed before the script started", [] {}, false, false},
        {"download cut", [] {}, false, false, false},
    };
    for (const Case& c : cases) {
        TearDown();
        fs::remove_all(appFolder);
        fs::remove_all(dataFolder);
        SetUp();
        SettingsFile(dataFolder).WriteVersion("1.0.0.3");
        if (c.versionWritten) {
            WriteVersionOfStagedUpdate(dataFolder, appFolder, "1.0.0.4");
        }
        if (c.script) {
            WriteFileForScript(Request(0));
        }
        c.cut();
        EXPECT_EQ(ResumeOrDiscardInterruptedUpdate(dataFolder, appFolder),
                  c.versionWritten && !c.expectNew)
            << c.name;
        EXPECT_EQ(SettingsFile(dataFolder).ReadVersion(), c.expectNew ? "1.0.0.4" : "1.0.0.3")
            << c.name;
        EXPECT_EQ(Folder(), c.expectNew ? kNewFolder : kOldFolder) << c.name;
        EXPECT_FALSE(fs::exists(staging)) << c.name;
        EXPECT_FALSE(fs::exists(script)) << c.name;
    }
}

TEST_F(UpdateScriptRunTest, ScriptThatCannotBeWrittenIsReported) {
    UpdateScriptRequest request = Request(1);
    request.scriptPath = scratch.File("no such folder/$$update.sh");
    EXPECT_FALSE(WriteAndStartUpdateScript(request));
    request = Request(1);
    request.items.clear();
    EXPECT_FALSE(WriteAndStartUpdateScript(request));
    EXPECT_FALSE(test::IsExistingFileForTest(script));
}

} // namespace
} // namespace kelvra
