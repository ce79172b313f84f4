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

// A program folder and a data folder with blanks in their names, the running program
// "kelvra.exe" (the helper, waiting for an event) and the downloaded "kelvra-new.exe".
class UpdateScriptRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_programFolder = m_root.File("Program Files");
        m_dataFolder = m_root.File("data folder");
        ASSERT_TRUE(CreateDirectoryA(m_programFolder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(m_dataFolder.c_str(), nullptr));
        m_exe = m_programFolder + "\\kelvra.exe";
        m_new = m_programFolder + "\\kelvra-new.exe";
        m_script = m_dataFolder + "\\$$update.bat";
        ASSERT_TRUE(CopyFileA((test::ProgramFolder() + KELVRA_WINDOWS_HELPER).c_str(),
                              m_exe.c_str(), FALSE));
        m_oldBytes = ReadBytes(m_exe);
        WriteBytes(m_new, "the new program");

        const std::string eventName = "kelvra-update-" + std::to_string(GetCurrentProcessId());
        m_stop = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        m_program = test::StartProcess(m_exe, "wait " + eventName);
        ASSERT_NE(m_program, nullptr);
    }

    void TearDown() override {
        EndProgram();
        if (m_stop != nullptr) {
            CloseHandle(m_stop);
        }
    }

    bool StartScript() {
        return WriteAndStartUpdateScript(
            {m_script, m_exe, "kelvra-new.exe", static_cast<long>(GetProcessId(m_program))});
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

    WindowsTempFolder m_root{"kelvra-update"};
    std::string m_programFolder, m_dataFolder, m_exe, m_new, m_script, m_oldBytes;
    HANDLE m_stop = nullptr;
    HANDLE m_program = nullptr;
};

TEST_F(UpdateScriptRun, ReplacesTheProgramOnlyAfterItEnded) {
    ASSERT_TRUE(StartScript());
    // While the program runs its file stays as it is (a bounded look, not a wait for a result).
    EXPECT_FALSE(WaitUntil([&] { return ReadBytes(m_exe) != m_oldBytes; }, 1500ms))
        << "replaced while the program was still running";
    EndProgram();
    EXPECT_TRUE(
        WaitUntil([&] { return ReadBytes(m_exe) == "the new program" && !Exists(m_script); }, 30s))
        << "program: " << ReadBytes(m_exe).size() << " bytes; script left: " << Exists(m_script);
    EXPECT_TRUE(WaitUntil([&] { return !Exists(m_new); }, 5s)) << "downloaded copy left";
}

// The downloaded copy is locked by another process when the script gets to it: the copy fails,
// and the old program must still be there when the script has finished.
TEST_F(UpdateScriptRun, KeepsTheOldProgramWhenTheCopyFails) {
    HANDLE lock = CreateFileA(m_new.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(StartScript());
    EndProgram();
    const bool finished = WaitUntil([&] { return !Exists(m_script); }, 30s);
    CloseHandle(lock);
    EXPECT_TRUE(finished) << "the script did not finish";
    EXPECT_TRUE(Exists(m_exe)) << "no program left";
    EXPECT_TRUE(ReadBytes(m_exe) == m_oldBytes) << "the program is not the old one";
}

} // namespace
} // namespace kelvra
