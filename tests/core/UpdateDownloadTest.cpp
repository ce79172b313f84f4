// The downloader against the stand-in service: whole files, a cut transfer, a wrong checksum,
// a missing list, hostile names and a stop request; nothing incomplete is ever saved.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>

#include "SettingsTestSupport.h"
#include "service/Endpoints.h"
#include "service/HttpTransport.h"
#include "support/SimProcess.h"
#include "update/Sha256.h"
#include "update/UpdateDownloader.h"

namespace kelvra {
namespace {

using test::ReadBytes;
using test::SimProcess;

const std::string kFilesPath = "/kelvra_cd/kelvra_update/files/";

class UpdateDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim.Control("/__sim/version?v=1.0.0.4");
        transport = MakeCurlTransport();
    }
    void Publish(const std::string& name, const std::string& content,
                 const std::string& extra = "") {
        sim.Control("/__sim/update_files?name=" + SimProcess::Encode(name) +
                    "&content=" + SimProcess::Encode(content) + extra);
    }
    DownloadResult Run() {
        DownloadNotifications notifications;
        notifications.transferStarted = [this](std::uint64_t total) { starts.push_back(total); };
        notifications.progress = [this](std::uint64_t received, std::uint64_t total) {
            lastReceived = received;
            lastTotal = total;
            if (stopAtFirstProgress) {
                stop = true;
            }
        };
        const DownloadRequest request{Endpoints(sim.Root()).UpdateDescriptor(), folder.Path()};
        return RunUpdateDownload(*transport, request, stop, notifications);
    }

    SimProcess sim;
    test::ScratchFolder folder;
    std::unique_ptr<HttpTransport> transport;
    std::atomic<bool> stop{false};
    bool stopAtFirstProgress = false;
    std::vector<std::uint64_t> starts;
    std::uint64_t lastReceived = 0;
    std::uint64_t lastTotal = 0;
};

TEST_F(UpdateDownloadTest, SavesEveryFileWhole) {
    const std::string program = "#!/bin/sh\nexit 7\n";
    Publish("data.bin", "data one");
    Publish("kelvra", program, "&temp_name=kelvra.new&main_program=1&sha256=" + Sha256Hex(program));
    test::WriteBytes(folder.File("data.bin"), "old data");
    const DownloadResult result = Run();
    ASSERT_EQ(result.end, DownloadEnd::Completed) << result.error;
    EXPECT_EQ(result.ver, "1.0.0.4");
    EXPECT_EQ(result.mainProgram, "kelvra.new");
    EXPECT_TRUE(result.mainProgramSaved);
    EXPECT_EQ(ReadBytes(folder.File("data.bin")), "data one"); // an existing file is overwritten
    EXPECT_EQ(ReadBytes(folder.File("kelvra.new")), program);
    EXPECT_EQ(test::EntriesOf(folder.Path()), (std::set<std::string>{"data.bin", "kelvra.new"}));
    EXPECT_EQ(starts, (std::vector<std::uint64_t>{8, program.size()}));
    EXPECT_EQ(lastReceived, program.size());
    EXPECT_EQ(lastTotal, program.size());
}

TEST_F(UpdateDownloadTest, FailedTransfersNeverReplaceTheOldFile) {
    const std::string program = "new program bytes, long enough to be cut in half";
    struct FailureCase {
        const char* name;
        std::string extra; // more attributes of the executable's entry
        const char* fault; // fault on the executable's file, or nullptr
    };
    const FailureCase cases[] = {
        {"cut transfer", "", "truncated"},
        {"wrong checksum", "&sha256=" + Sha256Hex("other bytes"), nullptr},
        {"server error", "", "500"},
        {"not found", "", "404"},
        {"refused", "", "refuse"},
    };
    for (const FailureCase& c : cases) {
        sim.Control("/__sim/update_files?clear=1");
        Publish("data.bin", "data one");
        Publish("kelvra", program, "&temp_name=kelvra&main_program=1" + c.extra);
        Publish("after.bin", "never fetched");
        if (c.fault != nullptr) {
            sim.InjectFault(kFilesPath + "kelvra", c.fault);
        }
        test::WriteBytes(folder.File("kelvra"), "old executable");
        const DownloadResult result = Run();
        EXPECT_EQ(result.end, DownloadEnd::DownloadError) << c.name;
        EXPECT_FALSE(result.mainProgramSaved) << c.name;
        EXPECT_EQ(ReadBytes(folder.File("kelvra")), "old executable") << c.name;
        // The file before stays, nothing after it is fetched, no partial copy is left.
        EXPECT_EQ(test::EntriesOf(folder.Path()), (std::set<std::string>{"data.bin", "kelvra"}))
            << c.name;
    }
}

TEST_F(UpdateDownloadTest, MissingOrRefusedListsDownloadNothing) {
    Publish("data.bin", "data");
    struct ListCase {
        const char* name;
        std::string control; // control call before the run
    };
    const ListCase cases[] = {
        {"no published version: no update list", "/__sim/version?v="},
        {"file list answers 404", "/__sim/fault?path=/kelvra_cd/kelvra_update/files.xml&kind=404"},
        {"file list malformed",
         "/__sim/fault?path=/kelvra_cd/kelvra_update/files.xml&kind=malformed"},
        {"hostile temp_name", "/__sim/update_files?name=x&content=evil&temp_name=..%2Fescape"},
        {"absolute main program",
         "/__sim/update_files?name=y&content=evil&temp_name=%2Ftmp%2Fkelvra-evil&main_program=1"},
    };
    for (const ListCase& c : cases) {
        sim.Control("/__sim/version?v=1.0.0.4");
        sim.Control(c.control);
        const DownloadResult result = Run();
        EXPECT_EQ(result.end, DownloadEnd::FileListFailed) << c.name;
        EXPECT_TRUE(test::EntriesOf(folder.Path()).empty()) << c.name;
        EXPECT_TRUE(starts.empty()) << c.name;
    }
    EXPECT_FALSE(test::IsExistingFileForTest(folder.File("../escape")));
}

TEST_F(UpdateDownloadTest, StopCutsTheTransferAndSavesNothing) {
    Publish("slow.bin", std::string(4000, 's'));
    Publish("next.bin", "next");
    sim.Control("/__sim/fault?path=" + kFilesPath + "slow.bin&kind=slow&ms=3000");
    test::WriteBytes(folder.File("slow.bin"), "old");
    stopAtFirstProgress = true;
    const DownloadResult result = Run();
    EXPECT_EQ(result.end, DownloadEnd::Stopped);
    EXPECT_EQ(ReadBytes(folder.File("slow.bin")), "old");
    EXPECT_EQ(test::EntriesOf(folder.Path()), std::set<std::string>{"slow.bin"});
}

TEST_F(UpdateDownloadTest, MainProgramNotAmongTheSavedFiles) {
    sim.Control("/__sim/update_files?name=a.bin&content=a");
    // A canned file list whose main program names a file no entry saves.
    const std::string list = "<files><updateFile file_name=\"" + sim.Root() + kFilesPath +
                             "a.bin\" temp_name=\"a.bin\" main_program=\"\"/>"
                             "<updateFile file_name=\"" +
                             sim.Root() + kFilesPath +
                             "a.bin\" temp_name=\"b.bin\" main_program=\"other.bin\"/></files>";
    sim.Control("/__sim/list?path=/kelvra_cd/kelvra_update/files.xml&body=" +
                SimProcess::Encode(list));
    const DownloadResult result = Run();
    ASSERT_EQ(result.end, DownloadEnd::Completed) << result.error;
    EXPECT_EQ(result.mainProgram, "other.bin");
    EXPECT_FALSE(result.mainProgramSaved);
}

} // namespace
} // namespace kelvra
