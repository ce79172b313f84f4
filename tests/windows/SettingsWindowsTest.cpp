// Settings and language files on Windows: GB code page conversion through the Windows API,
// byte-exact files (GBK bytes, CRLF, leading blanks), and the atomic replacement.
#include <gtest/gtest.h>

#include <windows.h>

#include "WindowsTestSupport.h"
#include "settings/AtomicFile.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "text/Gbk.h"

namespace kelvra {
namespace {

using test::ReadBytes;
using test::WindowsTempFolder;
using test::WriteBytes;

TEST(WindowsGbk, ConvertsBothWaysAndReplacesWhatFormsNoCharacter) {
    const struct {
        const char* name;
        std::string utf8;
        std::string gbk;
    } roundTrips[] = {
        {"ascii", "Language", "Language"},
        {"chinese", "语言 中文", "\xD3\xEF\xD1\xD4 \xD6\xD0\xCE\xC4"},
        {"leading_blanks", "  更新进度", "  \xB8\xFC\xD0\xC2\xBD\xF8\xB6\xC8"},
        {"mixed", "A程序B",
         "A\xB3\xCC\xD0\xF2"
         "B"},
    };
    for (const auto& row : roundTrips) {
        EXPECT_EQ(Utf8ToGbk(row.utf8), row.gbk) << row.name;
        EXPECT_EQ(GbkToUtf8(row.gbk), row.utf8) << row.name;
    }
    const struct {
        const char* name;
        std::string gbk;
        std::string utf8;
    } damaged[] = {
        {"lone_high_byte", "\xFF", "\xEF\xBF\xBD"},
        {"cut_after_lead", "A\xD6", "A\xEF\xBF\xBD"},
        {"bad_trail_keeps_next",
         "\xD6\x20"
         "x",
         "\xEF\xBF\xBD x"},
        {"bad_between_good", "\xD6\xD0\xFF\xCE\xC4", "中\xEF\xBF\xBD文"},
    };
    for (const auto& row : damaged) {
        EXPECT_EQ(GbkToUtf8(row.gbk), row.utf8) << row.name;
    }
    EXPECT_EQ(Utf8ToGbk("a\xFF"
                        "b\xE4\xB8"),
              "a?b??")
        << "invalid UTF-8, one ? per byte";
}

TEST(WindowsSettingsFiles, WrittenAndReadBackByteExact) {
    WindowsTempFolder folder;
    const std::string chs = folder.File("chs.ini");
    WriteLanguageFile(chs, true);
    const std::string bytes = ReadBytes(chs);
    EXPECT_EQ(bytes.rfind("[Login]\r\nLanguage=\xD3\xEF\xD1\xD4\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\r\nprogress=  \xB8\xFC\xD0\xC2\xBD\xF8\xB6\xC8\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "CRLF line ends";

    const LanguageFileReader reader(chs);
    EXPECT_EQ(reader.Text("Update", "progress", "?"), "  更新进度");
    EXPECT_EQ(reader.Text("Login", "Language", "?"), "语言");
    // The file is a profile file that Windows itself reads (its reader trims the blanks).
    char system[64] = {};
    GetPrivateProfileStringA("Update", "progress", "", system, sizeof system, chs.c_str());
    EXPECT_EQ(std::string(system), "\xB8\xFC\xD0\xC2\xBD\xF8\xB6\xC8");

    // The settings file, unlike the language files, holds its values as the profile functions
    // do: without the blanks around them.
    const SettingsFile settings(folder.Path());
    settings.CreateWithDefaults();
    settings.WriteUserName("  张三");
    EXPECT_EQ(ReadBytes(settings.Path()),
              "[INFO]\r\nLanguage=English\r\nUserName=\xD5\xC5\xC8\xFD"
              "\r\nRember=0\r\nVersion=1.0.0.3\r\n");
    EXPECT_EQ(settings.ReadUserName(), "张三");
}

TEST(WindowsAtomicFile, ReplacesInOneStepOrLeavesTheOldFile) {
    enum class Setup { Missing, Hidden, ReadOnly, OpenWithoutDeleteSharing };
    const struct {
        const char* name;
        Setup setup;
        bool replaced;
    } cases[] = {
        {"missing_file_created", Setup::Missing, true},
        {"hidden_file_replaced_stays_hidden", Setup::Hidden, true},
        {"read_only_refused", Setup::ReadOnly, false},
        {"open_elsewhere_refused", Setup::OpenWithoutDeleteSharing, false},
    };
    for (const auto& row : cases) {
        WindowsTempFolder folder;
        const std::string path = folder.File("kelvra_config.ini");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (row.setup != Setup::Missing) {
            WriteBytes(path, "old");
        }
        if (row.setup == Setup::Hidden) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        } else if (row.setup == Setup::ReadOnly) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        } else if (row.setup == Setup::OpenWithoutDeleteSharing) {
            held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE) << row.name;
        }
        bool threw = false;
        try {
            WriteFileAtomically(path, "new\r\n");
        } catch (const SettingsWriteError&) {
            threw = true;
        }
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        EXPECT_EQ(threw, !row.replaced) << row.name;
        EXPECT_EQ(ReadBytes(path), row.replaced ? "new\r\n" : "old") << row.name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (row.setup == Setup::Hidden) {
            EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN) << row.name;
        }
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA(folder.File("*.tmp-*").c_str(), &found);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE) << row.name << ": temporary file left";
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
        }
    }
}

} // namespace
} // namespace kelvra
