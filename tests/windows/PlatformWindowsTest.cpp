// The Windows side of the platform layer against Wine's implementation of the Windows API.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <rpc.h>

#include <cctype>
#include <cstdio>
#include <memory>

#include "WindowsTestSupport.h"
#include "app/ApplyLanguage.h"
#include "settings/DataPaths.h"
#include "state/AppState.h"

namespace kelvra {
namespace {

using test::RunProcess;
using test::WindowsTempFolder;

std::string Helper() {
    return test::ProgramFolder() + KELVRA_WINDOWS_HELPER;
}

TEST(WindowsSingleInstance, ASecondProcessSeesTheLockUntilItIsReleased) {
    const std::string name = "Kelvra-test-" + std::to_string(GetCurrentProcessId());
    auto first = std::make_unique<SingleInstanceLock>(name);
    ASSERT_TRUE(first->Acquired());
    EXPECT_EQ(RunProcess(Helper(), "lock " + name), 3) << "a second process must see the mutex";
    first.reset();
    EXPECT_EQ(RunProcess(Helper(), "lock " + name), 0) << "released with the first lock";
}

// The prefix has a floppy drive A: before the fixed C:, so the rule must skip a drive that exists.
TEST(WindowsDataFolder, FirstFixedDriveCreatedAndHidden) {
    ASSERT_EQ(GetDriveTypeA("A:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    const std::string folder = FindDataFolder();
    ASSERT_EQ(folder, "C:\\Program Files\\kelvra");
    WindowsTempFolder::RemoveTree(folder);

    AppState state;
    state.dataFolder = folder;
    PrepareSettingsFiles(state);
    EXPECT_EQ(state.language, "English");
    const struct {
        std::string path;
        DWORD kind;
    } entries[] = {
        {folder, FILE_ATTRIBUTE_DIRECTORY},
        {SettingsFilePath(folder), 0},
        {LanguageFolderPath(folder), FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const auto& entry : entries) {
        const DWORD attributes = GetFileAttributesA(entry.path.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << entry.path;
        EXPECT_EQ(attributes & ~FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN | entry.kind)
            << entry.path;
    }
    EXPECT_TRUE(IsExistingFile(LanguageFilePath(folder, "enu.ini")));
    WindowsTempFolder::RemoveTree(folder);
}

// The address is the node field of two sequential UUIDs, upper-case and dash-separated; empty
// when the UUIDs carry no adapter address.
TEST(WindowsMachineAddress, NodeOfSequentialUuidsInTheSeventeenCharacterForm) {
    UUID first{};
    UUID second{};
    const bool fromAdapter = UuidCreateSequential(&first) == RPC_S_OK &&
                             UuidCreateSequential(&second) == RPC_S_OK &&
                             std::equal(first.Data4 + 2, first.Data4 + 8, second.Data4 + 2);
    const std::string address = GetMacAddress();
    if (!fromAdapter) {
        EXPECT_EQ(address, "");
        GTEST_SKIP() << "no adapter address in this Wine prefix";
    }
    ASSERT_EQ(address.size(), 17u) << address;
    for (size_t i = 0; i < address.size(); ++i) {
        const char c = address[i];
        EXPECT_TRUE(i % 3 == 2 ? c == '-' : (std::isdigit(c) || (c >= 'A' && c <= 'F')))
            << address << " at " << i;
    }
    char expected[18];
    const unsigned char* node = first.Data4 + 2;
    std::snprintf(expected, sizeof expected, "%02X-%02X-%02X-%02X-%02X-%02X", node[0], node[1],
                  node[2], node[3], node[4], node[5]);
    EXPECT_EQ(address, expected);
}

TEST(WindowsExePath, FullPathOfThisProgram) {
    const std::string path = ExePath();
    const std::string name = "\\kelvra_windows_tests.exe";
    ASSERT_GT(path.size(), name.size()) << path;
    EXPECT_EQ(path.substr(1, 2), ":\\") << path;
    EXPECT_EQ(path.substr(path.size() - name.size()), name) << path;
}

} // namespace
} // namespace kelvra
