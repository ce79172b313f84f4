// The POSIX update script run for real: a waiting process stands in for the client, a copy of a
// real executable is replaced once that process has ended.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "SettingsTestSupport.h"
#include "UpdateTestSupport.h"
#include "update/UpdateScript.h"

namespace kelvra {
namespace {

using test::ReadBytes;
using test::WaitFor;
using test::WriteBytes;

const std::string kNewProgram = "#!/bin/sh\nexit 7\n";

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

class UpdateScriptRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(test::RealExecutable().empty());
        // A quote and a blank in the folder name: the script must quote its paths.
        appFolder = scratch.File("it's app");
        dataFolder = scratch.File("data");
        std::filesystem::create_directories(appFolder);
        std::filesystem::create_directories(dataFolder);
        exe = appFolder + "/kelvra";
        std::filesystem::copy_file(test::RealExecutable(), exe);
        ::chmod(exe.c_str(), 0751);
        oldBytes = ReadBytes(exe);
        script = dataFolder + "/$$update.sh";
    }
    UpdateScriptRequest Request(long pid) const { return {script, exe, "kelvra.new", pid}; }

    test::ScratchFolder scratch;
    std::string appFolder;
    std::string dataFolder;
    std::string exe;
    std::string script;
    std::string oldBytes;
};

TEST_F(UpdateScriptRunTest, ReplacesTheExecutableAfterTheProcessEnds) {
    WriteBytes(appFolder + "/kelvra.new", kNewProgram);
    ::chmod((appFolder + "/kelvra.new").c_str(), 0600);
    test::WaitingProcess client;
    ASSERT_TRUE(WriteAndStartUpdateScript(Request(client.Pid())));
    ASSERT_TRUE(test::IsExistingFileForTest(script));
    // While the client runs the script only waits.
    EXPECT_EQ(ReadBytes(exe), oldBytes);
    EXPECT_EQ(test::RunProgram(exe), 0);

    client.End();
    ASSERT_TRUE(WaitFor([&] { return !test::IsExistingFileForTest(script); }));
    EXPECT_EQ(ReadBytes(exe), kNewProgram);
    EXPECT_EQ(ModeOf(exe), 0751u); // the executable's own permissions
    EXPECT_EQ(test::RunProgram(exe), 7);
    EXPECT_EQ(test::EntriesOf(appFolder), std::set<std::string>{"kelvra"});
    EXPECT_TRUE(test::EntriesOf(dataFolder).empty());
}

TEST_F(UpdateScriptRunTest, UnreapedProcessCountsAsEnded) {
    WriteBytes(appFolder + "/kelvra.new", kNewProgram);
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

TEST_F(UpdateScriptRunTest, MissingDownloadLeavesTheExecutable) {
    test::WaitingProcess client;
    ASSERT_TRUE(WriteAndStartUpdateScript(Request(client.Pid())));
    client.End();
    ASSERT_TRUE(WaitFor([&] { return !test::IsExistingFileForTest(script); }));
    EXPECT_EQ(ReadBytes(exe), oldBytes);
    EXPECT_EQ(test::RunProgram(exe), 0);
    EXPECT_EQ(test::EntriesOf(appFolder), std::set<std::string>{"kelvra"});
}

TEST_F(UpdateScriptRunTest, ScriptThatCannotBeWrittenIsReported) {
    UpdateScriptRequest request = Request(1);
    request.scriptPath = scratch.File("no such folder/$$update.sh");
    EXPECT_FALSE(WriteAndStartUpdateScript(request));
    request = Request(1);
    request.mainProgram.clear();
    EXPECT_FALSE(WriteAndStartUpdateScript(request));
    EXPECT_FALSE(test::IsExistingFileForTest(script));
}

} // namespace
} // namespace kelvra
