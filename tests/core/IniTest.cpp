#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SettingsTestSupport.h"
#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/SettingsError.h"
#include "text/Gbk.h"

namespace kelvra {
namespace {

using test::EntriesOf;
using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

struct GetCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

TEST(IniDocumentTest, ReadsValuesAsProfileFunctionsDo) {
    const std::vector<GetCase> cases = {
        {"crlf", "[INFO]\r\nLanguage=Chinese\r\n", "INFO", "Language", "Chinese"},
        {"lf", "[INFO]\nLanguage=Chinese\n", "INFO", "Language", "Chinese"},
        {"no final line end", "[INFO]\nVersion=1.0.0.2", "INFO", "Version", "1.0.0.2"},
        {"names ignore case", "[info]\nlanguage=x\n", "INFO", "LANGUAGE", "x"},
        {"leading blanks kept", "[Title]\nno_login=  Not Logged in\n", "Title", "no_login",
         "  Not Logged in"},
        {"trailing blanks kept", "[A]\nk=v  \n", "A", "k", "v  "},
        {"text after first equals", "[A]\nk=a=b\n", "A", "k", "a=b"},
        {"blanks around key name", "[A]\n  k \t= v\n", "A", "k", " v"},
        {"blanks around header", "  [ A ]  \nk=1\n", "A", "k", "1"},
        {"empty value", "[INFO]\nUserName=\n", "INFO", "UserName", ""},
        {"first of duplicate keys", "[A]\nk=1\nK=2\n", "A", "k", "1"},
        {"first of duplicate sections", "[A]\nk=1\n[a]\nk=2\nj=3\n", "A", "k", "1"},
        {"later duplicate section unseen", "[A]\nk=1\n[a]\nj=3\n", "A", "j", std::nullopt},
        {"missing key", "[A]\nk=1\n", "A", "j", std::nullopt},
        {"missing section", "[A]\nk=1\n", "B", "k", std::nullopt},
        {"key of another section", "[A]\n[B]\nk=1\n", "A", "k", std::nullopt},
        {"key before any section", "k=1\n[A]\n", "A", "k", std::nullopt},
        {"comment is no key", "[A]\n;k=1\n", "A", "k", std::nullopt},
        {"line without equals", "[A]\nk\n", "A", "k", std::nullopt},
        {"gbk value", "[Login]\nLanguage=\xD3\xEF\xD1\xD4\r\n", "Login", "Language", "语言"},
        // 0xB0 0x41 and 0xB0 0x61 are two different characters; folding bytes would merge them.
        {"no folding inside characters", "[A]\n\xB0\x41=1\n", "A", "癮", std::nullopt},
        {"chinese key", "[A]\n\xB0\x41=1\n", "A", "癆", "1"},
        {"empty file", "", "A", "k", std::nullopt},
    };
    for (const GetCase& c : cases) {
        EXPECT_EQ(IniDocument::Parse(c.content).Get(c.section, c.key), c.expected) << c.name;
    }
}

struct SetCase {
    const char* name;
    std::string before;
    std::vector<IniEntry> writes;
    std::string after;
};

TEST(IniDocumentTest, WritesKeepForeignContentAndAppendAtSectionEnd) {
    const std::vector<SetCase> cases = {
        {"new file", "", {{"INFO", "Language", "English"}}, "[INFO]\r\nLanguage=English\r\n"},
        {"replace in place, foreign kept",
         "; comment\n[INFO]\nLANGUAGE=x\nfoo=1\n[Other]\nbar=2\n",
         {{"info", "Language", "y"}},
         "; comment\r\n[INFO]\r\nLANGUAGE=y\r\nfoo=1\r\n[Other]\r\nbar=2\r\n"},
        {"append before blank separator",
         "[A]\nx=1\n\n[B]\ny=2\n",
         {{"A", "z", "3"}},
         "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        {"append after a comment",
         "[A]\nx=1\n;note\n[B]\n",
         {{"A", "z", "3"}},
         "[A]\r\nx=1\r\n;note\r\nz=3\r\n[B]\r\n"},
        {"new section at end", "[A]\nx=1", {{"B", "k", "v"}}, "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"keys in write order",
         "",
         {{"T", "b", "2"}, {"T", "a", "1"}, {"T", "b", "3"}},
         "[T]\r\nb=3\r\na=1\r\n"},
        {"leading blanks written",
         "",
         {{"Title", "no_login", "  Not Logged in"}},
         "[Title]\r\nno_login=  Not Logged in\r\n"},
        {"line breaks dropped from a value",
         "[INFO]\nUserName=a\n",
         {{"INFO", "UserName", "x\r\n[INFO]\r\nreset_language=1"}},
         "[INFO]\r\nUserName=x[INFO]reset_language=1\r\n"},
        {"bytes of foreign lines kept",
         "\xFF\xFE junk\n[A]\nk=\x81\x30\n",
         {{"A", "j", "1"}},
         "\xFF\xFE junk\r\n[A]\r\nk=\x81\x30\r\nj=1\r\n"},
        {"old value's blanks around key kept",
         "[A]\n k = old\n",
         {{"A", "K", "new"}},
         "[A]\r\n k =new\r\n"},
        {"chinese as gbk bytes",
         "",
         {{"Login", "Language", "语言"}},
         "[Login]\r\nLanguage=\xD3\xEF\xD1\xD4\r\n"},
        {"chinese punctuation as gbk bytes",
         "",
         {{"F", "e", "数据异常,请稍候再试."}},
         "[F]\r\ne=\xCA\xFD\xBE\xDD\xD2\xEC\xB3\xA3,\xC7\xEB\xC9\xD4\xBA\xF2\xD4\xD9\xCA\xD4."
         "\r\n"},
    };
    for (const SetCase& c : cases) {
        IniDocument doc = IniDocument::Parse(c.before);
        for (const IniEntry& e : c.writes) {
            doc.Set(e.section, e.key, e.value);
        }
        EXPECT_EQ(doc.Serialize(), c.after) << c.name;
        // What was written reads back the same after a round trip through the bytes.
        const IniDocument reread = IniDocument::Parse(doc.Serialize());
        EXPECT_EQ(reread.Serialize(), c.after) << c.name;
    }
    IniDocument injected = IniDocument::Parse("[INFO]\n");
    injected.Set("INFO", "UserName", "x\n[INFO]\nreset_language=1");
    EXPECT_EQ(IniDocument::Parse(injected.Serialize()).Get("INFO", "reset_language"), std::nullopt);
}

TEST(IniDocumentTest, AnyCharacterRoundTrips) {
    const std::vector<std::string> values = {"😀 emoji",       "€ 100",      "Ünïcödé",
                                             "  中文 mixed ", "日本語かな", ""};
    for (const std::string& value : values) {
        IniDocument doc;
        doc.Set("S", "k", value);
        EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Get("S", "k"), value) << value;
    }
    IniDocument doc;
    doc.Set("S", "k", "😀");
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk=\x94\x39\xFC\x36\r\n");
}

TEST(IniFileTest, IntegerAndBooleanReads) {
    struct Case {
        std::optional<std::string> stored; // nullopt: key missing
        bool expectedWithFalse;
        bool expectedWithTrue;
    };
    const std::vector<Case> cases = {
        {"1", true, true},
        {"0", false, false},
        {"2", true, true},
        {"-1", true, true},
        {"yes", false, true},
        {"", false, true},
        {" 1", true, true},
        {"1 ", false, true},
        {"0x10", true, true},
        {"$0", false, false},
        {"true", false, true},
        {std::nullopt, false, true},
        {"99999999999", false, true},
    };
    ScratchFolder folder;
    const IniFile ini(folder.File("a.ini"));
    for (const Case& c : cases) {
        WriteBytes(ini.Path(), c.stored ? "[INFO]\r\nRember=" + *c.stored + "\r\n" : "[INFO]\r\n");
        const std::string label = c.stored ? *c.stored : "(missing)";
        EXPECT_EQ(ini.ReadBool("INFO", "Rember", false), c.expectedWithFalse) << label;
        EXPECT_EQ(ini.ReadBool("INFO", "Rember", true), c.expectedWithTrue) << label;
    }
}

TEST(IniFileTest, ParsesProfileIntegers) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const std::vector<Case> cases = {
        {"0", true, 0},
        {"42", true, 42},
        {"+7", true, 7},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483647", true, 2147483647},
        {"2147483648", false, 0},
        {"$ff", true, 255},
        {"0X1a", true, 26},
        {"0x", false, 0},
        {"12abc", false, 0},
        {"-", false, 0},
        {"\t3", true, 3},
        {" -5", true, -5},
        {"-0x10", true, -16},
        {"-$80000000", true, -2147483647 - 1},
        {"$7FFFFFFF", true, 2147483647},
        {"0000000000000000000000042", true, 42},
        {"", false, 0},
        {"\t", false, 0},
        {"- 5", false, 0},
        {"+-5", false, 0},
        {"-+5", false, 0},
        {"3 ", false, 0},
        {"1 2", false, 0},
        {"-2147483649", false, 0},
        {"$80000000", false, 0},
        {"99999999999999999999999", false, 0},
        {"$", false, 0},
        {"$-1", false, 0},
        {"$0x1F", false, 0},
        {"0x-1", false, 0},
        {"$1g", false, 0},
    };
    for (const Case& c : cases) {
        int value = -99;
        EXPECT_EQ(ParseProfileInteger(c.text, value), c.ok) << c.text;
        // A text that is no such number leaves the value as it was.
        EXPECT_EQ(value, c.ok ? c.value : -99) << c.text;
    }
}

TEST(IniFileTest, ReadsDefaultsAndWritesCreateTheFile) {
    ScratchFolder folder;
    const IniFile ini(folder.File("new.ini"));
    EXPECT_EQ(ini.ReadString("INFO", "Language", "English"), "English");
    ini.WriteString("INFO", "Language", "Chinese");
    ini.WriteBool("INFO", "Rember", true);
    EXPECT_EQ(ReadBytes(ini.Path()), "[INFO]\r\nLanguage=Chinese\r\nRember=1\r\n");
    EXPECT_EQ(ini.ReadString("info", "language", "English"), "Chinese");
    EXPECT_EQ(EntriesOf(folder.Path()), std::set<std::string>{"new.ini"});
}

TEST(IniFileTest, BatchWriteGivesTheBytesOfKeyByKeyWrites) {
    ScratchFolder folder;
    const std::string start = "; hand made\n[Function]\nButton=Mine\nextra=kept\n\n[Mine]\nx=1";
    const std::vector<IniEntry> entries = {
        {"Login", "Language", "语言"},   {"Function", "Group1", "按编号查找"},
        {"Function", "Button", "搜索"},  {"Status", "s_link", " 点击"},
        {"Function", "Group2", "  two"}, {"Title", "login", "  欢迎"},
    };
    const IniFile single(folder.File("single.ini"));
    const IniFile batch(folder.File("batch.ini"));
    WriteBytes(single.Path(), start);
    WriteBytes(batch.Path(), start);
    for (const IniEntry& e : entries) {
        single.WriteString(e.section, e.key, e.value);
    }
    batch.WriteStrings(entries);
    EXPECT_EQ(ReadBytes(batch.Path()), ReadBytes(single.Path()));
    EXPECT_NE(ReadBytes(batch.Path()).find("extra=kept\r\nGroup1="), std::string::npos);
}

// A write that cannot complete leaves the old file as it was and no temporary file behind.
TEST(IniFileTest, FailedWriteKeepsOldFileWhole) {
    const std::string old = "[INFO]\r\nLanguage=Chinese\r\n";
    struct Case {
        const char* name;
        bool needsUnprivileged;
        void (*spoil)(const ScratchFolder&, const std::string& file);
    };
    const std::vector<Case> cases = {
        {"read-only file", false,
         [](const ScratchFolder&, const std::string& file) { ::chmod(file.c_str(), 0444); }},
        {"temporary location taken", false,
         [](const ScratchFolder&, const std::string& file) {
             std::filesystem::create_directory(file + ".tmp-" + std::to_string(::getpid()));
         }},
        {"read-only folder", true,
         [](const ScratchFolder& folder, const std::string&) {
             ::chmod(folder.Path().c_str(), 0555);
         }},
    };
    for (const Case& c : cases) {
        if (c.needsUnprivileged && test::RunningPrivileged()) {
            continue; // permissions would not stop this user
        }
        ScratchFolder folder;
        const std::string file = folder.File("kelvra_config.ini");
        WriteBytes(file, old);
        c.spoil(folder, file);
        const auto entriesBefore = EntriesOf(folder.Path());
        try {
            IniFile(file).WriteString("INFO", "Language", "English");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SettingsWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + file) << c.name;
            EXPECT_EQ(e.Path(), file) << c.name;
        }
        EXPECT_EQ(ReadBytes(file), old) << c.name;
        EXPECT_EQ(EntriesOf(folder.Path()), entriesBefore) << c.name;
    }
}

TEST(IniFileTest, FailedRenameRemovesTheTemporaryFile) {
    ScratchFolder folder;
    // The file's name is taken by a folder: the temporary file is written, the rename fails.
    const std::string target = folder.File("enu.ini");
    std::filesystem::create_directories(target + "/inside");
    EXPECT_THROW(IniFile(target).WriteStrings({{"A", "k", "v"}}), SettingsWriteError);
    EXPECT_EQ(EntriesOf(folder.Path()), std::set<std::string>{"enu.ini"});
    EXPECT_EQ(IniFile(target).ReadString("A", "k", "default"), "default");
}

TEST(IniFileTest, WriteIntoMissingFolderFails) {
    ScratchFolder folder;
    const std::string file = folder.File("Language/chs.ini");
    EXPECT_THROW(IniFile(file).WriteString("Login", "Language", "语言"), SettingsWriteError);
    EXPECT_TRUE(EntriesOf(folder.Path()).empty());
}

TEST(IniFileTest, ReplacedFileKeepsItsPermissions) {
    ScratchFolder folder;
    const std::string file = folder.File("a.ini");
    WriteBytes(file, "[A]\r\n");
    ::chmod(file.c_str(), 0600);
    IniFile(file).WriteString("A", "k", "v");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

} // namespace
} // namespace kelvra
