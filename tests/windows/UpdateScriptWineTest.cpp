// The Windows update script, written by the real builder and started by the real launcher, run by
// Wine's cmd against a stand-in program that is still running when the script starts; and the
// name and content rules of the update on Windows.
//
// The code pages are those of the locale Wine runs in: CTest runs these tests once more under a
// Western (1252/850) and a Chinese (936) locale, so the non-ASCII folders meet each.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>

#include "WindowsTestSupport.h"
#include "update/UpdateLists.h"
#include "update/UpdateScript.h"
#include "update/UpdateStaging.h"

namespace kelvra {
namespace {

using namespace std::chrono_literals;
using test::Exists;
using test::ReadBytes;
using test::WaitUntil;
using test::WindowsTempFolder;
using test::WriteBytes;

// The wide text in the program's narrow (ANSI) code page; nullopt when it has no exact form.
std::optional<std::string> Narrow(const std::wstring& wide) {
    BOOL lossy = FALSE;
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                        text.data(), size, nullptr, &lossy);
    return lossy ? std::nullopt : std::optional<std::string>(text);
}

// A program folder named `folderName` with the running program "kelvra.exe" (the helper, waiting
// for an event) and its old "engine.dll"; beside it the staging folder with the new program, the
// new library and a new data file; a data folder for the script.
class UpdateScene {
public:
    explicit UpdateScene(const std::string& folderName) {
        programFolder = m_root.File(folderName);
        const std::string dataFolder = m_root.File("data folder");
        CreateDirectoryA(programFolder.c_str(), nullptr);
        CreateDirectoryA(dataFolder.c_str(), nullptr);
        exe = programFolder + "\\kelvra.exe";
        engine = programFolder + "\\engine.dll";
        readme = programFolder + "\\readme.txt";
        staging = StagingFolder(programFolder);
        script = dataFolder + "\\$$update.bat";
        data = dataFolder;
        CreateDirectoryA(staging.c_str(), nullptr);
        CopyFileA((test::ProgramFolder() + KELVRA_WINDOWS_HELPER).c_str(), exe.c_str(), FALSE);
        oldBytes = ReadBytes(exe);
        WriteBytes(engine, "old engine");
        WriteBytes(staging + "\\kelvra_tmp.exe", "the new program");
        WriteBytes(staging + "\\engine.dll", "new engine");
        WriteBytes(staging + "\\readme.txt", "new readme");
        WriteBytes(InstalledVersionPath(staging), "1.0.0.3");
        const std::string eventName = "kelvra-update-" + std::to_string(GetCurrentProcessId());
        m_stop = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        m_program = test::StartProcess(exe, "wait " + eventName);
    }

    ~UpdateScene() {
        EndProgram();
        KillScript(); // a script still looping
        CloseHandle(m_stop);
    }

    // Ends the command interpreter that runs the script, as a kill or a power cut would.
    static void KillScript() {
        for (DWORD id : test::ChildProcesses("cmd.exe")) {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
        }
    }

    // No process holds the script's running mark any more (a command the killed script had
    // started may hold it a moment longer).
    bool ScriptMarkFree() const {
        HANDLE mark = CreateFileA(ScriptRunningMarkPath(script).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (mark != INVALID_HANDLE_VALUE) {
            CloseHandle(mark);
            return true;
        }
        return GetLastError() != ERROR_SHARING_VIOLATION;
    }
    UpdateScene(const UpdateScene&) = delete;
    UpdateScene& operator=(const UpdateScene&) = delete;

    bool ProgramRuns() const { return !oldBytes.empty() && m_program != nullptr; }

    UpdateScriptRequest Request(int waitTries = kScriptWaitTries) const {
        UpdateScriptRequest request;
        request.scriptPath = script;
        request.exePath = exe;
        request.stagingFolder = staging;
        request.items = {{staging + "\\engine.dll", engine},
                         {staging + "\\readme.txt", readme},
                         {staging + "\\kelvra_tmp.exe", exe}};
        request.waitPid = static_cast<long>(GetProcessId(m_program));
        request.waitTries = waitTries;
        return request;
    }

    // The real builder and launcher, as the update window calls them. The script's own output
    // goes to NUL, not into the test log.
    bool StartScript(int waitTries = kScriptWaitTries) const {
        HANDLE null = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
        SetStdHandle(STD_OUTPUT_HANDLE, null);
        SetStdHandle(STD_ERROR_HANDLE, null);
        const bool started = WriteAndStartUpdateScript(Request(waitTries));
        SetStdHandle(STD_OUTPUT_HANDLE, out);
        SetStdHandle(STD_ERROR_HANDLE, err);
        CloseHandle(null);
        return started;
    }

    // Ends the running program; this process, which started the script in its place, lets go
    // of the running mark as the program's end would.
    void EndProgram() {
        ReleaseRunningMark();
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

    // The old files exactly: the old program and library, no new file, no backup, no staging.
    ::testing::AssertionResult HoldsTheOldFiles() const {
        if (ReadBytes(exe) != oldBytes || ReadBytes(engine) != "old engine" || Exists(readme) ||
            Exists(exe + kUpdateBackupSuffix) || Exists(engine + kUpdateBackupSuffix) ||
            Exists(staging) || Exists(script)) {
            return ::testing::AssertionFailure()
                   << "program " << ReadBytes(exe).size() << " bytes, engine '" << ReadBytes(engine)
                   << "', readme " << Exists(readme) << ", backups "
                   << Exists(exe + kUpdateBackupSuffix) << Exists(engine + kUpdateBackupSuffix)
                   << ", staging " << Exists(staging) << ", script " << Exists(script);
        }
        return ::testing::AssertionSuccess();
    }

    std::string programFolder, exe, engine, readme, staging, script, data, oldBytes;

private:
    WindowsTempFolder m_root{"kelvra-update"};
    HANDLE m_stop = nullptr;
    HANDLE m_program = nullptr;
};

// In a folder with blanks and in non-ASCII folders (where this locale's code pages can name
// them; a folder the OEM code page cannot name is refused before anything is written), every
// file is moved in only after the program ended, the old ones kept aside until the next start.
// A start while the script waits leaves it alone; in the first folder the script is killed while
// it waits, and the next start after the program's end finishes it.
TEST(WindowsUpdateScript, ReplacesEveryFileOnlyAfterTheProgramEnded) {
    std::printf("code pages: ANSI %u, OEM %u\n", GetACP(), GetOEMCP());
    bool killScript = true;
    for (const std::wstring& name :
         {std::wstring(L"Program Files"), std::wstring(L"B\u00fcro K\u00f6ln"),
          std::wstring(L"\u7a0b\u5e8f\u6587\u4ef6"), std::wstring(L"Preis \u20ac")}) {
        const std::optional<std::string> folderName = Narrow(name);
        if (!folderName) {
            continue; // this ANSI code page cannot name it: the program could not run from it
        }
        SCOPED_TRACE(*folderName);
        UpdateScene scene(*folderName);
        ASSERT_TRUE(scene.ProgramRuns());
        if (!ScriptCanNamePaths({scene.exe, scene.script, scene.staging})) {
            std::printf("refused (not in the OEM code page): %s\n", folderName->c_str());
            EXPECT_EQ(BuildWindowsUpdateScript(scene.Request()), "");
            EXPECT_FALSE(scene.StartScript());
            scene.EndProgram();
            RemoveStagingFolder(scene.programFolder);
            EXPECT_TRUE(scene.HoldsTheOldFiles());
            continue;
        }
        std::printf("replaced in: %s\n", folderName->c_str());
        ASSERT_TRUE(scene.StartScript());
        ASSERT_FALSE(UpdateScene::ScriptFinished()) << "no command interpreter runs the script";
        EXPECT_FALSE(ResumeOrDiscardInterruptedUpdate(scene.data, scene.programFolder));
        // While the program runs nothing changes (a bounded look, not a wait for a result).
        EXPECT_FALSE(WaitUntil([&] { return ReadBytes(scene.exe) != scene.oldBytes; }, 1500ms))
            << "replaced while the program was still running";
        EXPECT_EQ(ReadBytes(scene.engine), "old engine");
        if (killScript) {
            UpdateScene::KillScript();
        }
        scene.EndProgram();
        if (killScript) {
            ASSERT_TRUE(WaitUntil([&] { return scene.ScriptMarkFree(); }, 10s));
            EXPECT_FALSE(ResumeOrDiscardInterruptedUpdate(scene.data, scene.programFolder));
            killScript = false;
        }
        ASSERT_TRUE(WaitUntil(UpdateScene::ScriptFinished, 30s)) << "the script did not finish";
        EXPECT_EQ(ReadBytes(scene.exe), "the new program");
        EXPECT_EQ(ReadBytes(scene.engine), "new engine");
        EXPECT_EQ(ReadBytes(scene.readme), "new readme");
        EXPECT_TRUE(ReadBytes(scene.exe + kUpdateBackupSuffix) == scene.oldBytes);
        EXPECT_FALSE(Exists(scene.staging)) << "staging folder left";
        EXPECT_FALSE(Exists(scene.script)) << "script left";
        EXPECT_FALSE(Exists(NotInstalledMarkPath(scene.staging)));
        // The next successful start removes the old files.
        RemoveUpdateBackups(scene.data, scene.programFolder);
        EXPECT_FALSE(Exists(scene.exe + kUpdateBackupSuffix));
        EXPECT_FALSE(Exists(scene.engine + kUpdateBackupSuffix));
        EXPECT_TRUE(Exists(scene.exe));
    }
}

// The script gives up after its tries (a shortened limit here), and a step that fails puts
// every old file back, never a backup an earlier update left: in each case the folder holds
// exactly the old files again, and the installed version waits in the not-installed mark.
TEST(WindowsUpdateScript, GivesUpOrGoesBackLeavingExactlyTheOldFiles) {
    const struct {
        const char* name;
        bool endProgram;
        bool lockNewProgram;
        bool earlierBackup = false;
    } cases[] = {
        {"program never ends", false, false},
        {"new program cannot be moved", true, true},
        {"new program cannot be moved, an earlier update's backup beside", true, true, true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        UpdateScene scene("Program Files");
        ASSERT_TRUE(scene.ProgramRuns());
        HANDLE lock = INVALID_HANDLE_VALUE;
        if (row.lockNewProgram) {
            lock = CreateFileA((scene.staging + "\\kelvra_tmp.exe").c_str(), GENERIC_READ, 0,
                               nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        }
        if (row.earlierBackup) {
            WriteBytes(scene.engine + kUpdateBackupSuffix, "engine of an earlier update");
        }
        ASSERT_TRUE(scene.StartScript(3));
        if (row.endProgram) {
            scene.EndProgram();
        }
        EXPECT_TRUE(WaitUntil(UpdateScene::ScriptFinished, 60s)) << "the script did not give up";
        if (lock != INVALID_HANDLE_VALUE) {
            CloseHandle(lock);
        }
        ReleaseRunningMark();
        EXPECT_TRUE(scene.HoldsTheOldFiles());
        EXPECT_EQ(ReadBytes(InstalledVersionPath(NotInstalledMarkPath(scene.staging))), "1.0.0.3");
    }
}

// The rules an update list and its files meet on Windows.
TEST(WindowsUpdateRules, NamesAndContent) {
    EXPECT_TRUE(SameFileName("KELVRA.EXE", "kelvra.exe")); // one file on Windows
    for (const char* bad :
         {"a?b.exe", "a*.dll", "CON", "nul.txt", "a\\b", "a:b", "a.exe.", "x%y"}) {
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    }
    EXPECT_TRUE(IsPlainFileName("kelvra_tmp.exe"));
    const std::string helper = ReadBytes(test::ProgramFolder() + KELVRA_WINDOWS_HELPER);
    EXPECT_EQ(BinaryMismatch(helper), "");
    EXPECT_NE(BinaryMismatch("\x7f"
                             "ELF" +
                             std::string(60, '\2')),
              "");
    EXPECT_NE(ContentProblem("engine.DLL", false, "<html>404</html>", true), "");
    EXPECT_NE(ContentProblem("kelvra.new", true, helper, false), ""); // no declared end
    EXPECT_NE(ContentProblem("readme.txt", false, "", true), "");
    EXPECT_EQ(ContentProblem("KELVRA.EXE", false, helper, true), "");
}

} // namespace
} // namespace kelvra
