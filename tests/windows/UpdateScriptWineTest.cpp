// The Windows update script, written by the real builder and started by the real launcher, run by
// Wine's cmd against a stand-in program that is still running when the script starts.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "WindowsTestSupport.h"
#include "update/UpdateScript.h"

namespace kelvra {
namespace {

using namespace std::chrono_literals;
using test::Exists;
using test::ReadBytes;
using test::WaitUntil;
using test::WindowsTempFolder;
using test::WriteBytes;

constexpr const char* kNewProgram = "the new program";

// A program folder and a data folder with blanks in their names, the running program
// "kelvra.exe" (the helper, waiting for an event) and the downloaded "kelvra-new.exe".
class UpdateScene {
public:
    UpdateScene() {
        const std::string programFolder = m_root.File("Program Files");
        const std::string dataFolder = m_root.File("data folder");
        CreateDirectoryA(programFolder.c_str(), nullptr);
        CreateDirectoryA(dataFolder.c_str(), nullptr);
        exe = programFolder + "\\kelvra.exe";
        download = programFolder + "\\kelvra-new.exe";
        script = dataFolder + "\\$$update.bat";
        CopyFileA((test::ProgramFolder() + KELVRA_WINDOWS_HELPER).c_str(), exe.c_str(), FALSE);
        oldBytes = ReadBytes(exe);
        WriteBytes(download, kNewProgram);
        const std::string eventName = "kelvra-update-" + std::to_string(GetCurrentProcessId());
        m_stop = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        m_program = test::StartProcess(exe, "wait " + eventName);
    }

    ~UpdateScene() {
        EndProgram();
        for (DWORD id : test::ChildProcesses("cmd.exe")) { // a script still looping
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
        CloseHandle(m_stop);
    }
    UpdateScene(const UpdateScene&) = delete;
    UpdateScene& operator=(const UpdateScene&) = delete;

    bool ProgramRuns() const { return !oldBytes.empty() && m_program != nullptr; }

    // The real builder and launcher, as the update window calls them.
    // The script's own output goes to NUL, not into the test log.
    bool StartScript() const {
        HANDLE null = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
        SetStdHandle(STD_OUTPUT_HANDLE, null);
        SetStdHandle(STD_ERROR_HANDLE, null);
        const bool started = WriteAndStartUpdateScript(
            {script, exe, "kelvra-new.exe", static_cast<long>(GetProcessId(m_program))});
        SetStdHandle(STD_OUTPUT_HANDLE, out);
        SetStdHandle(STD_ERROR_HANDLE, err);
        CloseHandle(null);
        return started;
    }

    void EndProgram() {
        if (m_program == nullptr) {
            return;
        }
        SetEvent(m_stop);
        if (WaitForSingleObject(m_program, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(m_program, 1);
        }
        CloseHandle(m_program);
        m_program = nullptr;
    }

    // The command interpreter that runs the script has ended.
    static bool ScriptFinished() { return test::ChildProcesses("cmd.exe").empty(); }

    std::string exe, download, script, oldBytes;

private:
    WindowsTempFolder m_root{"kelvra-update"};
    HANDLE m_stop = nullptr;
    HANDLE m_program = nullptr;
};

TEST(WindowsUpdateScript, ReplacesTheProgramOnlyAfterItEnded) {
    UpdateScene scene;
    ASSERT_TRUE(scene.ProgramRuns());
    ASSERT_TRUE(scene.StartScript());
    ASSERT_FALSE(UpdateScene::ScriptFinished()) << "no command interpreter runs the script";
    // While the program runs its file stays as it is (a bounded look, not a wait for a result).
    EXPECT_FALSE(WaitUntil([&] { return ReadBytes(scene.exe) != scene.oldBytes; }, 1500ms))
        << "replaced while the program was still running";
    scene.EndProgram();
    ASSERT_TRUE(WaitUntil(UpdateScene::ScriptFinished, 30s)) << "the script did not finish";
    EXPECT_TRUE(ReadBytes(scene.exe) == kNewProgram) << ReadBytes(scene.exe).size() << " bytes";
    EXPECT_FALSE(Exists(scene.download)) << "downloaded copy left";
    EXPECT_FALSE(Exists(scene.script)) << "script left";
}

// The new program cannot be put in place: the downloaded copy is locked by another process (the
// copy fails: the script must finish and put the old program back), or the program file is
// read-only (the script cannot delete it and keeps waiting as for a running program; the old
// program must stay whole meanwhile).
TEST(WindowsUpdateScript, KeepsTheOldProgramWhenItCannotBeReplaced) {
    const struct {
        const char* name;
        bool lockDownload;
        bool finishes;
    } cases[] = {
        {"download_locked", true, true},
        {"program_read_only", false, false},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        UpdateScene scene;
        ASSERT_TRUE(scene.ProgramRuns());
        HANDLE lock = INVALID_HANDLE_VALUE;
        if (row.lockDownload) {
            lock = CreateFileA(scene.download.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        } else {
            SetFileAttributesA(scene.exe.c_str(), FILE_ATTRIBUTE_READONLY);
        }
        ASSERT_TRUE(scene.StartScript());
        scene.EndProgram();
        const bool finished = WaitUntil(UpdateScene::ScriptFinished, row.finishes ? 20s : 3s);
        if (lock != INVALID_HANDLE_VALUE) {
            CloseHandle(lock);
        }
        EXPECT_EQ(finished, row.finishes);
        EXPECT_TRUE(Exists(scene.exe)) << "no program left";
        EXPECT_TRUE(ReadBytes(scene.exe) == scene.oldBytes)
            << "the program is not the old one: " << ReadBytes(scene.exe).size() << " bytes";
    }
}

} // namespace
} // namespace kelvra
