#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SettingsTestSupport.h"
#include "app/ApplyLanguage.h"
#include "search/NumberHistory.h"
#include "settings/AtomicFile.h"
#include "settings/DataPaths.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "settings/ViewSettings.h"
#include "state/AppState.h"

namespace kelvra {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

const std::string kNewSettings =
    "[INFO]\r\nLanguage=English\r\nUserName=\r\nRember=0\r\nVersion=1.0.0.3\r\n";

TEST(SettingsPathsTest, PathsOnTheDataFolder) {
    EXPECT_EQ(SettingsFilePath("/home/u/.local/share/kelvra"),
              "/home/u/.local/share/kelvra/kelvra_config.ini");
    EXPECT_EQ(LanguageFolderPath("/d"), "/d/Language");
    EXPECT_EQ(LanguageFilePath("/d", "enu.ini"), "/d/Language/enu.ini");
    EXPECT_EQ(LanguageFilePath("/d", "chs.ini"), "/d/Language/chs.ini");
    EXPECT_EQ(UpdateScriptPath("/d"), "/d/$$update.sh");
    // No data folder: the files sit at the root.
    EXPECT_EQ(SettingsFilePath(""), "/kelvra_config.ini");
    EXPECT_EQ(LanguageFilePath("", "enu.ini"), "/Language/enu.ini");
}

TEST(SettingsFileTest, NewFileHoldsFourKeysInOrder) {
    ScratchFolder folder;
    const SettingsFile settings(folder.Path());
    EXPECT_FALSE(settings.Exists());
    settings.CreateWithDefaults();
    EXPECT_TRUE(settings.Exists());
    EXPECT_EQ(ReadBytes(settings.Path()), kNewSettings);
}

TEST(SettingsFileTest, MissingKeysReadTheirDefaults) {
    ScratchFolder folder;
    for (const std::string& content : {std::string{}, std::string("[INFO]\r\nother=1\r\n")}) {
        if (!content.empty()) {
            WriteBytes(folder.File("kelvra_config.ini"), content);
        }
        const SettingsFile settings(folder.Path());
        EXPECT_EQ(settings.ReadLanguage(), "English");
        EXPECT_EQ(settings.ReadUserName(), "");
        EXPECT_FALSE(settings.ReadRember());
        EXPECT_EQ(settings.ReadVersion(), "1.0.0.3");
        EXPECT_EQ(settings.ReadResetLanguage(), "0");
    }
}

TEST(SettingsFileTest, AccessorsWriteTheirKeys) {
    ScratchFolder folder;
    const SettingsFile settings(folder.Path());
    settings.CreateWithDefaults();
    settings.WriteUserName("张三 demo");
    settings.WriteRember(true);
    settings.WriteLanguage("Chinese");
    settings.WriteVersion("1.0.0.4");
    settings.WriteResetLanguage("0");
    EXPECT_EQ(settings.ReadUserName(), "张三 demo");
    EXPECT_TRUE(settings.ReadRember());
    EXPECT_EQ(settings.ReadLanguage(), "Chinese");
    EXPECT_EQ(settings.ReadVersion(), "1.0.0.4");
    EXPECT_EQ(ReadBytes(settings.Path()),
              "[INFO]\r\nLanguage=Chinese\r\nUserName=\xD5\xC5\xC8\xFD demo\r\nRember=1\r\n"
              "Version=1.0.0.4\r\nreset_language=0\r\n");
}

// Files written by installers and other programs put blanks around "=": the values read as the
// profile functions read them, and a written key loses the blanks of its line.
TEST(SettingsFileTest, BlanksAroundValuesAreTrimmed) {
    ScratchFolder folder;
    const SettingsFile settings(folder.Path());
    WriteBytes(settings.Path(), "[INFO]\r\n Language = Chinese \r\nreset_language = 1\r\n"
                                "Rember\t= 1 \r\nUserName =  bob \r\n; note = kept \r\n");
    EXPECT_EQ(settings.ReadLanguage(), "Chinese");
    EXPECT_EQ(settings.ReadResetLanguage(), "1");
    EXPECT_TRUE(settings.ReadRember());
    EXPECT_EQ(settings.ReadUserName(), "bob");
    settings.WriteLanguage(" English ");
    EXPECT_EQ(ReadBytes(settings.Path()),
              "[INFO]\r\nLanguage=English\r\nreset_language = 1\r\nRember\t= 1 \r\n"
              "UserName =  bob \r\n; note = kept \r\n");
}

// The zoom of each browser in a section of its own: what is read back, and that INFO is kept.
TEST(ViewSettingsTest, ZoomKeptInItsOwnSection) {
    ScratchFolder folder;
    SettingsFile(folder.Path()).CreateWithDefaults();
    const ViewSettings view(folder.Path());
    EXPECT_EQ(view.ReadZoomPercent(1), 100); // nothing stored yet
    view.WriteZoomPercent(1, 125);
    view.WriteZoomPercent(3, 9000); // clamped
    EXPECT_EQ(view.ReadZoomPercent(1), 125);
    EXPECT_EQ(view.ReadZoomPercent(2), 100);
    EXPECT_EQ(view.ReadZoomPercent(3), 500);
    EXPECT_EQ(ReadBytes(SettingsFilePath(folder.Path())),
              kNewSettings + "[View]\r\nWebBrowser1.Zoom=125\r\nWebBrowser3.Zoom=500\r\n");
    for (const char* stored : {"abc", "0", "-50", "24", "501"}) {
        WriteBytes(folder.File("kelvra_config.ini"),
                   std::string("[View]\r\nWebBrowser4.Zoom=") + stored + "\r\n");
        EXPECT_EQ(view.ReadZoomPercent(4), 100) << stored;
    }
}

TEST(ViewSettingsTest, ZoomSteps) {
    struct Case {
        int from, direction, to;
    };
    const Case cases[] = {{100, 1, 110},  {100, -1, 90}, {110, -1, 100}, {105, 1, 110},
                          {105, -1, 100}, {500, 1, 500}, {25, -1, 25},   {30, -1, 25},
                          {480, 1, 500},  {175, 0, 100}, {67, 1, 75},    {33, -1, 25}};
    for (const Case& c : cases)
        EXPECT_EQ(NextZoomPercent(c.from, c.direction), c.to) << c.from << " " << c.direction;
}

// What the start-up steps find in the data folder and what they leave.
struct StartCase {
    const char* name;
    std::string settingsBefore; // empty: no settings file
    bool englishFileBefore;
    std::string expectedLanguage;
    std::string expectedSettings;
};

TEST(PrepareSettingsFilesTest, StartUpSteps) {
    const std::vector<StartCase> cases = {
        {"first run", "", false, "English", kNewSettings},
        {"language file there, settings missing", "", true, "Chinese", kNewSettings},
        {"chinese settings, old version",
         "[INFO]\r\nLanguage=Chinese\r\nUserName=demo\r\nRember=1\r\nVersion=1.0.0.2\r\n"
         "reset_language=1\r\n[Mine]\r\nx=1\r\n",
         true, "Chinese",
         "[INFO]\r\nLanguage=Chinese\r\nUserName=demo\r\nRember=1\r\nVersion=1.0.0.3\r\n"
         "reset_language=1\r\n[Mine]\r\nx=1\r\n"},
        {"unknown language kept as it is", "[INFO]\nLanguage=French\n", true, "French",
         "[INFO]\r\nLanguage=French\r\nVersion=1.0.0.3\r\n"},
        {"settings without language", "[INFO]\nVersion=1.0.0.2\n", true, "English",
         "[INFO]\r\nVersion=1.0.0.3\r\n"},
        {"settings there, language file missing", "[INFO]\nLanguage=Chinese\n", false, "Chinese",
         "[INFO]\r\nLanguage=Chinese\r\nVersion=1.0.0.3\r\n"},
    };
    for (const StartCase& c : cases) {
        ScratchFolder folder;
        const std::string english = folder.File("Language/enu.ini");
        const std::string handMade = "[Function]\r\nButton=Mine\r\n";
        if (c.englishFileBefore) {
            WriteBytes(english, handMade);
        }
        if (!c.settingsBefore.empty()) {
            WriteBytes(folder.File("kelvra_config.ini"), c.settingsBefore);
        }
        AppState state;
        state.dataFolder = folder.Path();
        PrepareSettingsFiles(state);
        EXPECT_EQ(state.language, c.expectedLanguage) << c.name;
        EXPECT_EQ(ReadBytes(folder.File("kelvra_config.ini")), c.expectedSettings) << c.name;
        if (c.englishFileBefore) {
            EXPECT_EQ(ReadBytes(english), handMade) << c.name; // left alone
        } else {
            EXPECT_NE(ReadBytes(english).find("[Login]\r\nLanguage=Language\r\n"),
                      std::string::npos)
                << c.name;
        }
        EXPECT_FALSE(IsExistingFile(folder.File("Language/chs.ini"))) << c.name;
    }
}

TEST(PrepareSettingsFilesTest, CreatesAMissingDataFolder) {
    ScratchFolder folder;
    AppState state;
    state.dataFolder = folder.File("share/kelvra");
    PrepareSettingsFiles(state);
    EXPECT_EQ(ReadBytes(folder.File("share/kelvra/kelvra_config.ini")), kNewSettings);
    EXPECT_TRUE(IsExistingFile(folder.File("share/kelvra/Language/enu.ini")));
}

TEST(PrepareSettingsFilesTest, RemovesTemporariesOfWritesCutShort) {
    // A write killed between "write beside" and "rename" leaves its temporary file; the next
    // start clears such leftovers and keeps everything else.
    ScratchFolder folder;
    AppState state;
    state.dataFolder = folder.File("kelvra");
    PrepareSettingsFiles(state);
    const std::vector<std::string> stale = {"kelvra/kelvra_config.ini.tmp-99999",
                                            "kelvra/Language/enu.ini.tmp-4242"};
    const std::vector<std::string> kept = {"kelvra/notes.tmp-x", "kelvra/Language/own.ini.tmp-",
                                           "kelvra/other.ini.tmp-123",
                                           "kelvra/Language/notes.txt.tmp-77"};
    for (const auto& name : stale)
        WriteBytes(folder.File(name), "half");
    for (const auto& name : kept)
        WriteBytes(folder.File(name), "mine");
    PrepareSettingsFiles(state);
    for (const auto& name : stale)
        EXPECT_FALSE(IsExistingFile(folder.File(name))) << name;
    for (const auto& name : kept)
        EXPECT_EQ(ReadBytes(folder.File(name)), "mine") << name;
}

TEST(PrepareSettingsFilesTest, WriteFailureStopsTheRemainingSteps) {
    {
        // The language folder's name is taken by a file: enu.ini cannot be written, and the
        // settings file is not created.
        ScratchFolder folder;
        WriteBytes(folder.File("Language"), "not a folder");
        AppState state;
        state.dataFolder = folder.Path();
        try {
            PrepareSettingsFiles(state);
            ADD_FAILURE() << "no error";
        } catch (const SettingsWriteError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Unable to write to " + folder.File("Language/enu.ini"));
        }
        EXPECT_FALSE(IsExistingFile(folder.File("kelvra_config.ini")));
    }
    {
        // A read-only settings file: the language is read, the version cannot be written.
        ScratchFolder folder;
        const std::string settings = folder.File("kelvra_config.ini");
        const std::string before = "[INFO]\r\nLanguage=Chinese\r\nVersion=1.0.0.2\r\n";
        WriteBytes(folder.File("Language/enu.ini"), "[Login]\r\n");
        WriteBytes(settings, before);
        ::chmod(settings.c_str(), 0444);
        AppState state;
        state.dataFolder = folder.Path();
        EXPECT_THROW(PrepareSettingsFiles(state), SettingsWriteError);
        EXPECT_EQ(state.language, "Chinese");
        EXPECT_EQ(ReadBytes(settings), before);
    }
}

// The field histories: newest first, distinct, 50 at most, per field; what was remembered comes
// back from the file after a restart, odd characters included.
TEST(NumberHistory, RemembersAcrossARestart) {
    using Numbers = std::vector<std::string>;
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> added; // oldest first
        int kind;
        Numbers expected; // newest first
    };
    std::vector<std::pair<int, std::string>> sixty;
    for (int i = 0; i < 60; ++i)
        sixty.push_back({5, std::to_string(4006380000000 + i)});
    Numbers newestFifty;
    for (int i = 59; i >= 10; --i)
        newestFifty.push_back(std::to_string(4006380000000 + i));
    const std::vector<Case> cases = {
        {"newest first", {{3, "A1"}, {3, "B2"}, {3, "C3"}}, 3, {"C3", "B2", "A1"}},
        {"a repeat moves up", {{3, "A1"}, {3, "B2"}, {3, "A1"}}, 3, {"A1", "B2"}},
        {"per field", {{1, "A1"}, {2, "B2"}, {1, "C3"}}, 2, {"B2"}},
        {"case and blanks count",
         {{1, "kv-1"}, {1, "KV-1"}, {1, " KV-1"}},
         1,
         {" KV-1", "KV-1", "kv-1"}},
        {"blank-only and unknown kinds are not kept", {{1, "   "}, {6, "X"}, {0, "Y"}}, 1, {}},
        {"fifty at most", sixty, 5, newestFifty},
        {"odd characters",
         {{1, "a\tb\\n\nc\r"}, {1, "编号 ＡＢ"}, {1, "\\"}},
         1,
         {"\\", "编号 ＡＢ", "a\tb\\n\nc\r"}},
    };
    for (const Case& c : cases) {
        test::ScratchFolder folder;
        const std::string path = NumberHistory::PathIn(folder.Path());
        {
            NumberHistory history(path);
            history.Load();
            for (const auto& [kind, number] : c.added)
                EXPECT_TRUE(history.Add(kind, number)) << c.name;
            EXPECT_EQ(history.Numbers(c.kind), c.expected) << c.name;
        }
        NumberHistory restarted(path);
        restarted.Load();
        EXPECT_EQ(restarted.Numbers(c.kind), c.expected) << c.name;
    }
}

// The file is the history's own: UTF-8 lines; a damaged line is skipped, not the rest; a file
// that cannot be written keeps it in memory and leaves the file as it was; clearing empties it.
TEST(NumberHistory, FileFaults) {
    test::ScratchFolder folder;
    const std::string path = NumberHistory::PathIn(folder.Path());
    EXPECT_EQ(path, folder.Path() + "/search_history.txt");
    WriteFileAtomically(path, "3\tA1\n9\tbad kind\n3 no tab\n3\tbad\\escape\n\n3\tB2\n3\tA1");
    NumberHistory history(path);
    history.Load();
    EXPECT_EQ(history.Numbers(3), (std::vector<std::string>{"A1", "B2"}));
    ASSERT_TRUE(history.Add(1, "编号"));
    EXPECT_EQ(ReadWholeFile(path), "1\t编号\n3\tA1\n3\tB2\n");

    // A file where its folder should be: no one, not even root, can write there.
    WriteFileAtomically(folder.File("blocker"), "");
    NumberHistory blocked(folder.File("blocker") + "/search_history.txt");
    blocked.Load();
    EXPECT_FALSE(blocked.Add(1, "KV-2"));
    EXPECT_EQ(blocked.Numbers(1), std::vector<std::string>{"KV-2"});
    std::filesystem::remove(folder.File("blocker"));

    EXPECT_TRUE(history.Clear());
    EXPECT_EQ(ReadWholeFile(path), "");
    EXPECT_EQ(test::EntriesOf(folder.Path()), (std::set<std::string>{"search_history.txt"}));
}

} // namespace
} // namespace kelvra
