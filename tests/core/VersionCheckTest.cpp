// The version check with a recording main window: reading get_version.asp, the network test and
// the three outcomes with their settings writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "service/XmlDocument.h"
#include "settings/SettingsFile.h"
#include "support/SimProcess.h"
#include "platform/Platform.h"
#include "update/VersionCheck.h"

namespace kelvra {
namespace {

using test::ScratchFolder;

XmlLoadResult Parsed(const std::string& xml) {
    return ParseXml(xml);
}

TEST(VersionCheckTest, ReadsThePublishedVersion) {
    struct ReadCase {
        const char* name;
        std::string xml;
        bool failed;
        const char* version;
    };
    const ReadCase cases[] = {
        {"one version", "<r><returnValue>true</returnValue><version now_version=\"1.0.0.4\"/></r>",
         false, "1.0.0.4"},
        {"the last version counts",
         "<r><returnValue>true</returnValue><version now_version=\"1.0.0.4\"/>"
         "<other now_version=\"9\"/><version now_version=\"1.0.0.5\"/></r>",
         false, "1.0.0.5"},
        {"returnValue false", "<r><returnValue>false</returnValue><version now_version=\"2\"/></r>",
         false, ""},
        {"returnValue True is not true",
         "<r><returnValue>True</returnValue><version now_version=\"2\"/></r>", false, ""},
        {"returnValue with a blank", "<r><returnValue> true</returnValue></r>", false, ""},
        {"no returnValue", "<r><version now_version=\"2\"/></r>", false, ""},
        {"version without now_version",
         "<r><returnValue>true</returnValue><version now_version=\"2\"/><version/></r>", true, ""},
        {"no version element", "<r><returnValue>true</returnValue></r>", false, ""},
        {"not XML", "<r><returnValue>true</returnValue", true, ""},
    };
    for (const ReadCase& c : cases) {
        const PublishedVersion read = ReadPublishedVersion(Parsed(c.xml));
        EXPECT_EQ(read.failed, c.failed) << c.name;
        EXPECT_EQ(read.version, c.version) << c.name;
    }
}

class RecordingMainWindow : public VersionCheckView {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + "|" + text);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back(caption + "|" + text);
        return answerYes;
    }
    void ShowErrorPage() override { ++errorPages; }
    void ShowUpdateWindow() override { ++updateWindows; }
    void ReportError(const std::string& text) override { errors.push_back(text); }

    bool answerYes = true;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    int errorPages = 0;
    int updateWindows = 0;
};

class VersionCheckRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.dataFolder = folder.Path();
        state.xmlBaseUrl = "http://service.test/kelvra_cd/xml/";
        state.language = "English";
        services.networkOnline = [this] { return online; };
        services.loadXml = [this](const std::string& url) {
            requested.push_back(url);
            return reply;
        };
    }
    SettingsFile Settings() const { return SettingsFile(folder.Path()); }
    void Publish(const std::string& version) {
        reply = ParseXml("<r><returnValue>true</returnValue><version now_version=\"" + version +
                         "\"/></r>");
    }

    ScratchFolder folder;
    AppState state;
    VersionCheckServices services;
    RecordingMainWindow view;
    bool online = true;
    XmlLoadResult reply;
    std::vector<std::string> requested;
};

TEST_F(VersionCheckRunTest, HigherVersionAsksAndYesOpensTheUpdateWindow) {
    Settings().WriteVersion("1.0.0.9");
    Settings().WriteResetLanguage("1");
    Publish("1.0.0.10");
    state.heldTexts["message_update"] = "Newer?";
    const VersionCheckResult result = RunVersionCheck(state, view, services);
    EXPECT_EQ(result.outcome, VersionOutcome::AskUpdate);
    EXPECT_EQ(requested,
              std::vector<std::string>{"http://service.test/kelvra_cd/xml/get_version.asp"});
    EXPECT_EQ(view.questions, std::vector<std::string>{" |Newer?"});
    EXPECT_EQ(view.updateWindows, 1);
    EXPECT_EQ(Settings().ReadVersion(), "1.0.0.9");
    EXPECT_EQ(Settings().ReadResetLanguage(), "1");
}

TEST_F(VersionCheckRunTest, HigherVersionIsNotOfferedWhenTheProgramCannotBeReplaced) {
    Settings().WriteVersion("1.0.0.3");
    Publish("1.0.0.4");
    services.programReplaceable = [] { return false; };
    const VersionCheckResult result = RunVersionCheck(state, view, services);
    EXPECT_EQ(result.outcome, VersionOutcome::AskUpdate);
    EXPECT_TRUE(result.updateBlocked);
    EXPECT_FALSE(result.updateAccepted);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.updateWindows, 0);
    EXPECT_EQ(Settings().ReadVersion(), "1.0.0.3");
}

TEST(VersionCheckDefaultsTest, ProgramInAWritableFolderIsReplaceable) {
    // The tests run from the build folder, which this user wrote.
    EXPECT_TRUE(VersionCheckServices::Defaults().programReplaceable());
    EXPECT_FALSE(FolderWritable("/nonexistent/kelvra"));
    EXPECT_FALSE(FolderWritable(""));
}

TEST_F(VersionCheckRunTest, NoToTheQuestionDoesNothingMore) {
    Publish("1.0.0.4");
    view.answerYes = false;
    const VersionCheckResult result = RunVersionCheck(state, view, services);
    EXPECT_EQ(result.outcome, VersionOutcome::AskUpdate);
    EXPECT_FALSE(result.updateAccepted);
    EXPECT_EQ(view.updateWindows, 0);
    EXPECT_FALSE(test::IsExistingFileForTest(folder.File("kelvra_config.ini")));
}

TEST_F(VersionCheckRunTest, LowerOrMissingVersionResetsTheSettings) {
    struct LowerCase {
        const char* name;
        std::string xml;
        bool errorPage;
    };
    const LowerCase cases[] = {
        {"lower", "<r><returnValue>true</returnValue><version now_version=\"1.0.0.2\"/></r>",
         false},
        {"returnValue false", "<r><returnValue>false</returnValue></r>", false},
        {"unreadable reply", "<r><returnValue>true", true},
        {"version without now_version", "<r><returnValue>true</returnValue><version/></r>", true},
    };
    for (const LowerCase& c : cases) {
        Settings().WriteVersion("1.0.0.7");
        Settings().WriteResetLanguage("1");
        view = RecordingMainWindow{};
        reply = ParseXml(c.xml);
        const VersionCheckResult result = RunVersionCheck(state, view, services);
        EXPECT_EQ(result.outcome, VersionOutcome::ResetVersion) << c.name;
        EXPECT_EQ(view.errorPages, c.errorPage ? 1 : 0) << c.name;
        EXPECT_TRUE(view.messages.empty() && view.questions.empty()) << c.name;
        EXPECT_EQ(Settings().ReadVersion(), "1.0.0.3") << c.name;
        EXPECT_EQ(Settings().ReadResetLanguage(), "0") << c.name;
    }
}

TEST_F(VersionCheckRunTest, EqualVersionsChangeNothing) {
    Settings().WriteVersion("");
    Settings().WriteResetLanguage("1");
    reply = ParseXml("<r><returnValue>false</returnValue></r>");
    EXPECT_EQ(RunVersionCheck(state, view, services).outcome, VersionOutcome::Nothing);
    EXPECT_EQ(Settings().ReadVersion(), "");
    EXPECT_EQ(Settings().ReadResetLanguage(), "1");
    EXPECT_TRUE(view.messages.empty() && view.questions.empty());
}

TEST_F(VersionCheckRunTest, NoNetworkShowsTipAndWritesNothing) {
    online = false;
    for (const char* language : {"English", "Chinese"}) {
        state.language = language;
        view = RecordingMainWindow{};
        EXPECT_EQ(RunVersionCheck(state, view, services).outcome, VersionOutcome::NoNetwork);
        const std::string expected =
            state.IsChinese() ? "TIP|网络不通" : "TIP|It can not connected to the network.";
        EXPECT_EQ(view.messages, std::vector<std::string>{expected}) << language;
    }
    state.heldTexts["err_message_notconn"] = "Unable to connect to the network.";
    view = RecordingMainWindow{};
    RunVersionCheck(state, view, services);
    EXPECT_EQ(view.messages, std::vector<std::string>{"TIP|Unable to connect to the network."});
    EXPECT_TRUE(requested.empty());
    EXPECT_FALSE(test::IsExistingFileForTest(folder.File("kelvra_config.ini")));
}

TEST_F(VersionCheckRunTest, UnwritableSettingsAreReported) {
    if (test::RunningPrivileged()) {
        GTEST_SKIP() << "folder permissions do not hold back a privileged user";
    }
    reply = ParseXml("<r><returnValue>false</returnValue></r>");
    Settings().WriteVersion("1.0.0.7");
    ::chmod(folder.Path().c_str(), 0555);
    ::chmod(folder.File("kelvra_config.ini").c_str(), 0444);
    RunVersionCheck(state, view, services);
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("Unable to write to"), std::string::npos);
    EXPECT_EQ(Settings().ReadVersion(), "1.0.0.7");
}

TEST(VersionCheckSimTest, PublishedVersionFromTheStandIn) {
    test::SimProcess sim;
    ScratchFolder folder;
    AppState state;
    state.dataFolder = folder.Path();
    state.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
    VersionCheckServices services = VersionCheckServices::Defaults();
    services.networkOnline = [] { return true; };
    RecordingMainWindow view;
    view.answerYes = false;

    sim.Control("/__sim/version?v=1.0.0.10");
    SettingsFile(folder.Path()).WriteVersion("1.0.0.9");
    VersionCheckResult result = RunVersionCheck(state, view, services);
    EXPECT_EQ(result.published, "1.0.0.10");
    EXPECT_EQ(result.outcome, VersionOutcome::AskUpdate);

    sim.Control("/__sim/version?v=");
    EXPECT_EQ(RunVersionCheck(state, view, services).outcome, VersionOutcome::ResetVersion);
    EXPECT_EQ(SettingsFile(folder.Path()).ReadVersion(), "1.0.0.3");

    sim.InjectFault("/kelvra_cd/xml/get_version.asp", "500");
    result = RunVersionCheck(state, view, services);
    EXPECT_TRUE(result.errorPage);
    EXPECT_EQ(view.errorPages, 1);
}

} // namespace
} // namespace kelvra
