// Update list and file list reading, plain-name rule, progress rounding, SHA-256 and the
// Windows update script lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/XmlDocument.h"
#include "update/Sha256.h"
#include "update/UpdateLists.h"
#include "update/UpdateProgress.h"
#include "update/UpdateScript.h"

namespace kelvra {
namespace {

XmlElement Root(const std::string& xml) {
    XmlLoadResult parsed = ParseXml(xml);
    EXPECT_FALSE(parsed.failed()) << parsed.error;
    return parsed.root;
}

const std::string kDigest = "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08";

TEST(UpdateListsTest, UpdateListTakesTheLastUpdatePath) {
    UpdateListInfo info = ReadUpdateList(
        Root("<u><updatePath path=\"http://a/1.xml\" ver=\"1.0.0.4\"/><other path=\"x\"/>"
             "<updatePath path=\"http://a/2.xml\" ver=\"1.0.0.5\"/></u>"));
    EXPECT_EQ(info.path, "http://a/2.xml");
    EXPECT_EQ(info.ver, "1.0.0.5");
    info = ReadUpdateList(Root("<u><nothing/></u>"));
    EXPECT_EQ(info.path, "");
    EXPECT_EQ(info.ver, "");
}

TEST(UpdateListsTest, FileListWithDataFileAndNewExecutable) {
    const FileListReading reading = ReadFileList(Root(
        "<files>"
        "<updateFile file_name=\"http://h/f/data.bin\" temp_name=\"data.bin\" main_program=\"\"/>"
        "<note/>"
        "<updateFile file_name=\"http://h/f/kelvra\" temp_name=\"kelvra.new\" "
        "main_program=\"kelvra.new\" sha256=\"" +
        std::string("9F86D081884C7D659A2FEAA0C55AD015A3BF4F1B2B0B822CD15D6C15B0F00A08") +
        "\"/></files>"));
    ASSERT_FALSE(reading.failed()) << reading.error;
    ASSERT_EQ(reading.list.entries.size(), 2u);
    EXPECT_EQ(reading.list.entries[0].fileName, "http://h/f/data.bin");
    EXPECT_EQ(reading.list.entries[0].tempName, "data.bin");
    EXPECT_EQ(reading.list.entries[0].mainProgram, "");
    EXPECT_FALSE(reading.list.entries[0].sha256.has_value());
    EXPECT_EQ(reading.list.entries[1].tempName, "kelvra.new");
    EXPECT_EQ(reading.list.entries[1].sha256, kDigest); // kept in lower case
    EXPECT_EQ(reading.list.mainProgram, "kelvra.new");
}

TEST(UpdateListsTest, LastNonEmptyMainProgramCounts) {
    const FileListReading reading =
        ReadFileList(Root("<f><updateFile file_name=\"u1\" temp_name=\"a\" main_program=\"a\"/>"
                          "<updateFile file_name=\"u2\" temp_name=\"b\" main_program=\"b\"/>"
                          "<updateFile file_name=\"u3\" temp_name=\"c\" main_program=\"\"/>"
                          "<updateFile file_name=\"u4\" temp_name=\"d\"/></f>"));
    ASSERT_FALSE(reading.failed()) << reading.error;
    EXPECT_EQ(reading.list.entries.size(), 4u);
    EXPECT_EQ(reading.list.mainProgram, "b");
    EXPECT_FALSE(ReadFileList(Root("<f/>")).failed());
}

TEST(UpdateListsTest, RefusesEntriesWithMissingOrHostileAttributes) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"no file_name", "<updateFile temp_name=\"a\" main_program=\"\"/>"},
        {"empty file_name", "<updateFile file_name=\"\" temp_name=\"a\" main_program=\"\"/>"},
        {"no temp_name", "<updateFile file_name=\"u\" main_program=\"\"/>"},
        {"empty temp_name", "<updateFile file_name=\"u\" temp_name=\"\" main_program=\"\"/>"},
        {"temp_name with a folder", "<updateFile file_name=\"u\" temp_name=\"sub/a\"/>"},
        {"temp_name climbing up", "<updateFile file_name=\"u\" temp_name=\"../a\"/>"},
        {"temp_name ..", "<updateFile file_name=\"u\" temp_name=\"..\"/>"},
        {"absolute temp_name", "<updateFile file_name=\"u\" temp_name=\"/etc/passwd\"/>"},
        {"backslash temp_name", "<updateFile file_name=\"u\" temp_name=\"..\\a.exe\"/>"},
        {"drive temp_name", "<updateFile file_name=\"u\" temp_name=\"C:a.exe\"/>"},
        {"control character", "<updateFile file_name=\"u\" temp_name=\"a&#10;b\"/>"},
        {"hostile main_program",
         "<updateFile file_name=\"u\" temp_name=\"a\" main_program=\"../../bin/sh\"/>"},
        {"short sha256", "<updateFile file_name=\"u\" temp_name=\"a\" sha256=\"abc\"/>"},
        {"sha256 not hex",
         "<updateFile file_name=\"u\" temp_name=\"a\" sha256=\"" + std::string(64, 'g') + "\"/>"},
    };
    for (const auto& [name, entry] : cases) {
        // A good entry in front: the whole list is refused, not just the bad entry.
        const FileListReading reading = ReadFileList(
            Root("<f><updateFile file_name=\"ok\" temp_name=\"ok\" main_program=\"\"/>" + entry +
                 "</f>"));
        EXPECT_TRUE(reading.failed()) << name;
        EXPECT_FALSE(reading.error.empty()) << name;
    }
}

TEST(UpdateListsTest, PlainFileNames) {
    for (const char* good : {"kelvra", "kelvra.exe", "$$new.bin", "a..b", ".hidden", "名字.dat",
                             "console.txt", "com10", "nul_", "a b.exe"}) {
        EXPECT_TRUE(IsPlainFileName(good)) << good;
    }
    for (const char* bad :
         {"",        ".",    "..",       "a/b",    "/a",          "a\\b",        "\\\\server\\x",
          "C:x",     "a\tb", "100%.exe", "%PATH%", "a^b",         "a&b",         "a\"b",
          "a|b",     "a*",   "a?",       "<a>",    "kelvra.exe.", "kelvra.exe ", "NUL",
          "nul.txt", "Con",  "aux .dat", "COM1",   "lpt9.log",    "CONOUT$"}) {
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    }
}

TEST(UpdateProgressTest, RoundsUpAndGoesBusyWithoutTotal) {
    struct ProgressCase {
        std::uint64_t received;
        std::uint64_t total;
        ProgressPosition expected;
    };
    const ProgressCase cases[] = {
        {0, 2000000, {false, 0}},
        {1, 2000000, {false, 1}},
        {1000000, 2000000, {false, 50}},
        {1000001, 2000000, {false, 51}},
        {1999999, 2000000, {false, 100}},
        {2000000, 2000000, {false, 100}},
        {3000000, 2000000, {false, 100}}, // more than announced: held at 100
        {1, 3, {false, 34}},
        {0, 0, {true, 0}},
        {12345, 0, {true, 0}},
        {(std::uint64_t{1} << 62), (std::uint64_t{1} << 63), {false, 50}},
    };
    for (const ProgressCase& c : cases) {
        EXPECT_EQ(ProgressFor(c.received, c.total), c.expected) << c.received << " of " << c.total;
    }
}

TEST(Sha256Test, KnownDigests) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex("test"), kDigest);
}

UpdateScriptRequest WindowsRequest(const std::string& folder, const std::string& bat) {
    UpdateScriptRequest request;
    request.exePath = folder + "\\kelvra.exe";
    request.scriptPath = bat;
    request.stagingFolder = folder + "\\.kelvra-update";
    request.items = {{request.stagingFolder + "\\engine.dll", folder + "\\engine.dll"},
                     {request.stagingFolder + "\\kelvra_tmp.exe", request.exePath}};
    return request;
}

// Whatever the program folder, no line deletes or copies over a file of the program: every
// change is a move, checked by what exists after it; the wait sleeps between its tries.
TEST(UpdateScriptTest, WindowsScriptOnlyMovesAndSleepsWhileItWaits) {
    const std::vector<std::string> lines = WindowsUpdateScriptLines(
        WindowsRequest("C:\\Program Files\\Kelvra", "C:\\d\\$$update.bat"));
    ASSERT_FALSE(lines.empty());
    bool sleeps = false;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("copy"), std::string::npos) << line;
        if (line.find("del ") != std::string::npos) {
            // Only a new file where there was none (going back), a backup an earlier update
            // left (before the swap), or the script itself.
            EXPECT_TRUE(line.find("if not exist") == 0 ||
                        line.find(".kelvra-old\" >nul") != std::string::npos ||
                        line.find("$$update.bat") != std::string::npos)
                << line;
        }
        sleeps = sleeps || line.find("ping -n 2") != std::string::npos;
    }
    EXPECT_TRUE(sleeps);
    std::string joined;
    for (const std::string& line : lines) {
        joined += line + "\r\n";
    }
    EXPECT_EQ(BuildWindowsUpdateScript(
                  WindowsRequest("C:\\Program Files\\Kelvra", "C:\\d\\$$update.bat")),
              joined);
}

TEST(UpdateScriptTest, WindowsScriptRefusesHostilePaths) {
    for (const char* folder : {"C:\\100%", "C:\\a&b", "C:\\a^b", "C:\\a\"b", "C:\\a|b", "C:\\a<b",
                               "C:\\wow!", "C:\\what?", "C:\\all*", "C:\\a\r\nb"}) {
        EXPECT_TRUE(WindowsUpdateScriptLines(WindowsRequest(folder, "C:\\d\\u.bat")).empty())
            << folder;
        EXPECT_TRUE(
            WindowsUpdateScriptLines(WindowsRequest("C:\\K", std::string(folder) + "\\u.bat"))
                .empty())
            << folder;
        EXPECT_EQ(BuildWindowsUpdateScript(WindowsRequest(folder, "C:\\d\\u.bat")), "") << folder;
    }
}

} // namespace
} // namespace kelvra
