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
            const std::string bytes = ReadBytes(appFolder + "/" + name);
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

// A swap that fails at its last step (the executable's name is taken by a folder that cannot be
// replaced) puts every old file back, the new data file goes again.
TEST_F(UpdateScriptRunTest, FailedStepPutsEveryOldFileBack) {
    const std::string blocked = appFolder + "/blocked";
    fs::create_directories(blocked + "/inside");
    WriteBytes(blocked + kUpdateBackupSuffix, "taken");
    UpdateScriptRequest request = Request(0);
    WriteBytes(staging + "/blocked", "new");
    request.items.push_back({staging + "/blocked", blocked});
    WriteFileForScript(request);
    ResumeOrDiscardInterruptedUpdate(dataFolder, appFolder);
    fs::remove_all(blocked);
    fs::remove(blocked + kUpdateBackupSuffix);
    EXPECT_EQ(Folder(), kOldFolder);
    EXPECT_FALSE(fs::exists(staging));
    EXPECT_FALSE(fs::exists(script));
}

// The next start finishes a script that was killed: forward after a step that worked, back once
// a step had failed; a staging folder without a script (a cut download) is dropped.
TEST_F(UpdateScriptRunTest, NextStartFinishesWhatAKillCutShort) {
    struct Case {
        const char* name;
        std::function<void()> cut; // what had happened before the kill
        bool script;
        bool expectNew;
    };
    const Case cases[] = {
        {"killed after the first file",
         [this] {
             fs::rename(appFolder + "/engine.so", appFolder + "/engine.so.kelvra-old");
             fs::rename(staging + "/engine.so", appFolder + "/engine.so");
         },
         true, true},
        {"killed with the executable aside", [this] { fs::rename(exe, exe + ".kelvra-old"); }, true,
         true},
        {"killed while going back",
         [this] {
             fs::rename(appFolder + "/engine.so", appFolder + "/engine.so.kelvra-old");
             fs::rename(staging + "/engine.so", appFolder + "/engine.so");
             fs::rename(staging + "/readme.txt", appFolder + "/readme.txt");
             WriteBytes(staging + "/.rollback", "");
         },
         true, false},
        {"download cut", [] {}, false, false},
    };
    for (const Case& c : cases) {
        TearDown();
        fs::remove_all(appFolder);
        fs::remove_all(dataFolder);
        SetUp();
        if (c.script) {
            WriteFileForScript(Request(0));
        }
        c.cut();
        ResumeOrDiscardInterruptedUpdate(dataFolder, appFolder);
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
