// The downloader against the stand-in service: whole files staged and checked, bad content of
// every kind, a missing list, hostile names and a stop request; the program folder never
// changes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include <unistd.h>

#include "SettingsTestSupport.h"
#include "service/HttpTransport.h"
#include "support/SimProcess.h"
#include "update/Sha256.h"
#include "update/UpdateDownloader.h"
#include "update/UpdateStaging.h"
#include "url/Endpoints.h"

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
    // Publishes a file of the list (through a file: an executable is too long for a query).
    void Publish(const std::string& name, const std::string& content,
                 const std::string& extra = "") {
        const std::string path = published.File(name);
        test::WriteBytes(path, content);
        sim.Control("/__sim/update_files?name=" + SimProcess::Encode(name) +
                    "&file=" + SimProcess::Encode(path) + extra);
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
        DownloadRequest request{Endpoints(sim.Root()).UpdateDescriptor(), folder.Path()};
        request.exeName = exeName;
        request.limits = limits;
        return RunUpdateDownload(*transport, request, stop, notifications);
    }

    SimProcess sim;
    test::ScratchFolder folder;
    test::ScratchFolder published;
    std::unique_ptr<HttpTransport> transport;
    std::atomic<bool> stop{false};
    bool stopAtFirstProgress = false;
    std::string exeName = "kelvra";
    DownloadLimits limits;
    std::vector<std::uint64_t> starts;
    std::uint64_t lastReceived = 0;
    std::uint64_t lastTotal = 0;
};

// The bytes of a real executable of this machine, with its ELF machine field set to another
// one when `machine` is given.
std::string RealProgram(const char* path, int machine = 0) {
    std::string bytes = ReadBytes(path);
    if (machine != 0 && bytes.size() > 20) {
        bytes[18] = static_cast<char>(machine & 0xff);
        bytes[19] = static_cast<char>(machine >> 8);
    }
    return bytes;
}

TEST_F(UpdateDownloadTest, StagesAndChecksEveryFileAndChangesNothing) {
    const std::string program = RealProgram("/bin/true");
    Publish("data.bin", "data one");
    Publish("kelvra", program, "&temp_name=kelvra.new&main_program=1&sha256=" + Sha256Hex(program));
    test::WriteBytes(folder.File("data.bin"), "old data");
    const DownloadResult result = Run();
    ASSERT_EQ(result.end, DownloadEnd::Completed) << result.error;
    EXPECT_EQ(result.ver, "1.0.0.4");
    EXPECT_EQ(result.mainProgram, "kelvra.new");
    EXPECT_TRUE(result.mainProgramSaved);
    EXPECT_EQ(ReadBytes(folder.File("data.bin")), "old data"); // only the script installs
    const std::string staging = StagingFolder(folder.Path());
    EXPECT_EQ(test::EntriesOf(folder.Path()),
              (std::set<std::string>{kStagingFolderName, "data.bin"}));
    EXPECT_EQ(ReadBytes(staging + "/data.bin"), "data one");
    EXPECT_EQ(ReadBytes(staging + "/kelvra.new"), program);
    ASSERT_EQ(result.staged.size(), 2u);
    EXPECT_EQ(result.staged[0].target, folder.File("data.bin"));
    EXPECT_EQ(result.staged[1].target, folder.File("kelvra")); // the main program replaces it
    EXPECT_EQ(starts, (std::vector<std::uint64_t>{8, program.size()}));
    EXPECT_EQ(lastReceived, program.size());
    EXPECT_EQ(lastTotal, program.size());
}

// Whatever is wrong with a file, the run ends in "Download Error!" and the program folder holds
// exactly what it held: no file replaced, no staging folder left.
TEST_F(UpdateDownloadTest, BadContentChangesNothing) {
    const std::string program = RealProgram("/bin/true");
    const std::string library = RealProgram("/bin/true");
    struct BadCase {
        const char* name;
        std::string library; // the engine library's bytes
        std::string program; // the main program's bytes
        std::string extra;   // more attributes of the main program's entry
        const char* fault;   // fault on the main program's file, or nullptr
        const char* faulted = "kelvra";
    };
    const BadCase cases[] = {
        {"cut with a length", library, program, "", "truncated"},
        {"cut chunked", library, program, "", "cut_chunked"},
        {"cut without a length", library, program, "", "cut_unannounced"},
        // No start test loads this library: only the missing length tells.
        {"library cut without a length", library, program, "", "cut_unannounced", "engine.so"},
        {"HTML instead of the program", library, program, "", "malformed"},
        {"program of 0 bytes", library, "", "", nullptr},
        {"library of 0 bytes", "", program, "", nullptr},
        {"library for another machine", RealProgram("/bin/true", 183), program, "", nullptr},
        {"junk library",
         "\x7f"
         "ELF but nothing after that",
         program, "", nullptr},
        {"second file not found", library, program, "", "404"},
        {"server error", library, program, "", "500"},
        {"wrong checksum", library, program, "&sha256=" + Sha256Hex("other bytes"), nullptr},
        {"program that fails its start test", library, RealProgram("/bin/false"), "", nullptr},
    };
    for (const BadCase& c : cases) {
        sim.Control("/__sim/update_files?clear=1");
        Publish("engine.so", c.library);
        Publish("kelvra", c.program, "&temp_name=kelvra.new&main_program=1" + c.extra);
        Publish("after.bin", "never fetched");
        if (c.fault != nullptr) {
            sim.InjectFault(kFilesPath + c.faulted, c.fault);
        }
        test::WriteBytes(folder.File("kelvra"), "old program");
        test::WriteBytes(folder.File("engine.so"), "old engine");
        const DownloadResult result = Run();
        EXPECT_EQ(result.end, DownloadEnd::DownloadError) << c.name;
        EXPECT_FALSE(result.mainProgramSaved) << c.name;
        EXPECT_TRUE(result.staged.empty()) << c.name;
        EXPECT_EQ(ReadBytes(folder.File("kelvra")), "old program") << c.name;
        EXPECT_EQ(ReadBytes(folder.File("engine.so")), "old engine") << c.name;
        EXPECT_EQ(test::EntriesOf(folder.Path()), (std::set<std::string>{"engine.so", "kelvra"}))
            << c.name << ": " << result.error;
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
    EXPECT_EQ(test::EntriesOf(folder.Path()), std::set<std::string>{"slow.bin"}); // no staging
}

TEST_F(UpdateDownloadTest, ListThatWouldSaveOverTheExecutableIsRefusedBeforeAnyDownload) {
    struct CollisionCase {
        const char* name;
        std::string files; // update_files control queries, ";"-free
        bool refused;
    };
    const CollisionCase cases[] = {
        {"data file named like the program", "name=kelvra&content=not+a+program", true},
        {"main program saved as the program", "name=k&content=p&temp_name=kelvra&main_program=1",
         true},
#ifdef _WIN32
        {"name differing in case only", "name=k&content=p&temp_name=KELVRA", true},
#else
        {"name differing in case only (another file here)", "name=k&content=p&temp_name=KELVRA",
         false},
#endif
        {"data file under a name of its own", "name=k&content=p&temp_name=kelvra.txt", false},
    };
    for (const CollisionCase& c : cases) {
        sim.Control("/__sim/update_files?clear=1");
        Publish("first.bin", "first");
        sim.Control("/__sim/update_files?" + c.files);
        test::WriteBytes(folder.File("kelvra"), "old executable");
        sim.ClearRequests();
        const DownloadResult result = Run();
        EXPECT_EQ(result.end == DownloadEnd::DownloadError, c.refused)
            << c.name << ": " << result.error;
        EXPECT_EQ(ReadBytes(folder.File("kelvra")), "old executable") << c.name;
        if (c.refused) {
            EXPECT_EQ(test::EntriesOf(folder.Path()), std::set<std::string>{"kelvra"}) << c.name;
            for (const std::string& target : sim.Requests()) {
                EXPECT_EQ(target.find(kFilesPath), std::string::npos) << c.name << ": " << target;
            }
        }
        for (const std::string& entry : test::EntriesOf(folder.Path())) {
            if (entry != "kelvra") {
                std::filesystem::remove_all(folder.File(entry));
            }
        }
    }
}

TEST_F(UpdateDownloadTest, StallsAndStopsEndListLoadsAndFilesQuickly) {
    limits.stallSeconds = 2;
    Publish("stalled.bin", "never arrives");
    struct StallCase {
        const char* name;
        std::string path; // the request that hangs with its connection open
        bool stopAfter300ms;
        DownloadEnd end;
        double atMostSeconds;
    };
    const std::string updateList = "/kelvra_cd/kelvra_update/update.xml";
    const StallCase cases[] = {
        {"stalled file", kFilesPath + "stalled.bin", false, DownloadEnd::DownloadError, 2 + 3},
        {"stop during the update list", updateList, true, DownloadEnd::Stopped, 0.3 + 1},
        {"stop during the file list", "/kelvra_cd/kelvra_update/files.xml", true,
         DownloadEnd::Stopped, 0.3 + 1},
    };
    for (const StallCase& c : cases) {
        stop = false;
        sim.Control("/__sim/fault?path=" + c.path + "&kind=hang&ms=60000");
        std::thread stopper;
        if (c.stopAfter300ms) {
            stopper = std::thread([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                stop = true;
            });
        }
        const auto start = std::chrono::steady_clock::now();
        const DownloadResult result = Run();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (stopper.joinable()) {
            stopper.join();
        }
        EXPECT_EQ(result.end, c.end) << c.name << ": " << result.error;
        EXPECT_LT(seconds, c.atMostSeconds) << c.name;
        EXPECT_FALSE(test::IsExistingFileForTest(folder.File("stalled.bin"))) << c.name;
    }
}

TEST(UpdateCleanUpTest, RemovesOnlyWhatInterruptedSavesLeft) {
    test::ScratchFolder folder;
    const std::string own = "kelvra.kelvra-part-" + std::to_string(::getpid());
    const std::set<std::string> kept = {"kelvra",           "kelvra.new",     own,
                                        "kelvra.tmp-123",   "a.kelvra-part-", "a.kelvra-part-12x",
                                        "kelvra-part-1.txt"};
    for (const std::string& name : kept) {
        test::WriteBytes(folder.File(name), "x");
    }
    test::WriteBytes(folder.File("kelvra.kelvra-part-123"), "half");
    test::WriteBytes(folder.File("data.bin.kelvra-part-99999999"), "half");
    RemoveInterruptedSaves(folder.Path());
    EXPECT_EQ(test::EntriesOf(folder.Path()), kept);
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
    EXPECT_EQ(result.end, DownloadEnd::DownloadError) << result.error;
    EXPECT_EQ(result.mainProgram, "other.bin");
    EXPECT_FALSE(result.mainProgramSaved);
    EXPECT_TRUE(test::EntriesOf(folder.Path()).empty());
}

} // namespace
} // namespace kelvra
