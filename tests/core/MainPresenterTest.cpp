#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "SettingsTestSupport.h"
#include "app/MainPresenter.h"
#include "settings/SettingsError.h"

namespace kelvra {
namespace {

// Records every call the presenter makes, in order, as readable text.
class FakeMainView : public MainView {
public:
    std::vector<std::string> calls;
    WindowSize outer{944, 680};

    void SetControlText(const std::string& n, const std::string& t) override {
        calls.push_back("text " + n + "=" + t);
    }
    void SetControlHint(const std::string& n, const std::string& h) override {
        calls.push_back("hint " + n + "=" + h);
    }
    void SetWindowCaption(const std::string& c) override { calls.push_back("caption " + c); }
    void SetSideItemCaption(int g, int i, const std::string& c) override {
        calls.push_back("item " + std::to_string(g) + "." + std::to_string(i) + "=" + c);
    }
    void SetSideItemImage(int g, int i, int image) override {
        calls.push_back("image " + std::to_string(g) + "." + std::to_string(i) + "=" +
                        std::to_string(image));
    }
    void SetSideItemSelected(int g, int i, bool s) override {
        calls.push_back("mark " + std::to_string(g) + "." + std::to_string(i) + "=" +
                        (s ? "on" : "off"));
    }
    void ShowPage(int index) override { calls.push_back("page " + std::to_string(index)); }
    void RefillLists() override { calls.push_back("lists"); }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        calls.push_back("message " + caption + "|" + text);
    }
    void ReportError(const std::string& text) override { calls.push_back("error " + text); }
    void CloseWindow() override { calls.push_back("close"); }
    void CentreOnScreen() override { calls.push_back("centre"); }
    void HidePageTabs() override { calls.push_back("hide tabs"); }
    void CentrePictures() override { calls.push_back("centre pictures"); }
    void FocusSideChannel() override { calls.push_back("focus side"); }
    void SetUrlLabelWidth(int w) override { calls.push_back("link width " + std::to_string(w)); }
    WindowSize OuterSize() const override { return outer; }
    void SetOuterSize(WindowSize s) override {
        outer = s;
        calls.push_back("resize " + std::to_string(s.width) + "x" + std::to_string(s.height));
    }

    bool Has(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    int IndexOf(const std::string& call) const {
        auto it = std::find(calls.begin(), calls.end(), call);
        return it == calls.end() ? -1 : int(it - calls.begin());
    }
};

struct Harness {
    AppState state;
    FakeMainView view;
    std::vector<std::string> probed;
    std::vector<std::string> applied;
    bool probeResult = true;
    bool online = true;
    std::string folder;
    std::function<void(AppState&)> prepare = [](AppState&) {};
    std::function<void()> applyHook = [] {};

    MainServices Services() {
        MainServices s;
        s.probe = [this](const std::string& url) {
            probed.push_back(url);
            return probeResult;
        };
        s.findDataFolder = [this] { return folder; };
        s.networkOnline = [this] { return online; };
        s.prepareSettings = [this](AppState& st) { prepare(st); };
        s.applyLanguage = [this](AppState&, LanguageView& v, const std::string& language) {
            applied.push_back(language);
            applyHook();
            v.ShowPage(language == "Chinese" ? 1 : 2);
        };
        return s;
    }
};

// A data folder inside a scratch folder that is removed when the test program ends.
std::string TempFolder(const std::string& leaf) {
    static test::ScratchFolder base;
    return (std::filesystem::path(base.Path()) / leaf / "kelvra").string();
}

TEST(MainPresenterCreate, SetsStartValuesAndPreparesTheDataFolder) {
    Harness h;
    h.state.session.username = "demo";
    h.state.session.password = "secret";
    h.state.session.gid = "42";
    h.state.session.admin = "0";
    h.state.session.s_login = "True";
    h.state.session.search_num = 7;
    h.state.language = "English";
    h.state.startupDone = true;
    h.state.searchKind = 6;
    h.online = false;
    h.folder = TempFolder("create");
    std::string folderSeenByPrepare;
    h.prepare = [&](AppState& st) { folderSeenByPrepare = st.dataFolder; };

    MainPresenter presenter(h.state, h.view, h.Services());
    presenter.FormCreate();

    EXPECT_EQ(h.state.session.username, "");
    EXPECT_EQ(h.state.session.gid, "0");
    EXPECT_EQ(h.state.session.admin, "1");
    EXPECT_EQ(h.state.session.s_login, "False");
    EXPECT_EQ(h.state.session.password, "secret"); // left as it was
    EXPECT_EQ(h.state.session.search_num, 7);
    EXPECT_EQ(h.state.language, "Chinese");
    EXPECT_FALSE(h.state.startupDone);
    EXPECT_EQ(h.state.searchKind, 1);
    EXPECT_FALSE(presenter.NetworkOnline());
    EXPECT_TRUE(std::filesystem::is_directory(h.folder));
    EXPECT_EQ(folderSeenByPrepare, h.folder);
    EXPECT_TRUE(h.view.Has("centre"));
    EXPECT_TRUE(h.view.Has("hide tabs"));
    EXPECT_EQ(h.state.baseCaption, "Kelvra(Ver 1.0.0.3)");
    EXPECT_TRUE(h.probed.empty()); // creation never talks to the service
}

TEST(MainPresenterCreate, FolderThatCannotBeMadeIsIgnored) {
    Harness h;
    // A path below a regular file can never be created.
    auto file = std::filesystem::temp_directory_path() / "kelvra-main-presenter-plain-file";
    {
        std::FILE* f = std::fopen(file.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    h.folder = (file / "kelvra").string();
    bool prepared = false;
    h.prepare = [&](AppState&) { prepared = true; };
    MainPresenter presenter(h.state, h.view, h.Services());
    EXPECT_NO_THROW(presenter.FormCreate());
    EXPECT_TRUE(prepared);
    std::filesystem::remove(file);
}

TEST(MainPresenterCreate, SettingsWriteFailureIsReportedAndCreationGoesOn) {
    Harness h;
    h.folder = TempFolder("readonly");
    h.prepare = [](AppState& st) {
        st.language = "English";
        throw SettingsWriteError(st.dataFolder + "/kelvra_config.ini");
    };
    MainPresenter presenter(h.state, h.view, h.Services());
    EXPECT_NO_THROW(presenter.FormCreate());
    EXPECT_TRUE(h.view.Has("error Unable to write to " + h.folder + "/kelvra_config.ini"));
    EXPECT_EQ(h.state.language, "English"); // what the steps before the failure set stays
}

TEST(MainPresenterShow, ProbeFailureShowsMaintenanceInTheRunsLanguageAndCloses) {
    struct Case {
        std::string language;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"Chinese", "服务器维护或升级,请稍候再试...."},
        {"English", "The server is undergoing maintenance.Please try again later."},
        {"chinese", "The server is undergoing maintenance.Please try again later."},
        {"", "The server is undergoing maintenance.Please try again later."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        Harness h;
        h.state.serviceRoot = "http://127.0.0.1:9";
        h.state.language = c.language;
        h.probeResult = false;
        MainPresenter presenter(h.state, h.view, h.Services());
        EXPECT_FALSE(presenter.FormShow());
        ASSERT_EQ(h.probed, std::vector<std::string>{"http://127.0.0.1:9/cn/"});
        const std::vector<std::string> expected = {"message Error|" + c.text, "close"};
        EXPECT_EQ(h.view.calls, expected); // nothing else runs after a failed probe
        EXPECT_TRUE(h.applied.empty());
    }
}

TEST(MainPresenterShow, ProbeFailureGoesToTheSharedReporterWhenOneIsSet) {
    // The service watch owns the one maintenance message: a failed show probe must not open a
    // second box of its own while the watch's box may be open.
    Harness h;
    h.state.serviceRoot = "http://127.0.0.1:9";
    h.probeResult = false;
    int reported = 0;
    MainServices services = h.Services();
    services.reportMaintenance = [&] { ++reported; };
    MainPresenter presenter(h.state, h.view, services);
    EXPECT_FALSE(presenter.FormShow());
    EXPECT_EQ(reported, 1);
    EXPECT_TRUE(h.view.calls.empty());
    EXPECT_TRUE(h.applied.empty());
}

TEST(MainPresenterShow, StartUpPartRunsOnlyWhileTheFlagIsClear) {
    struct Case {
        std::string language;
        bool startupDone;
        std::vector<std::string> applied;
    };
    const std::vector<Case> cases = {
        {"Chinese", false, {"Chinese"}},
        {"English", false, {"English"}},
        {"Klingon", false, {"Klingon"}}, // the apply routine treats it as English
        {"Chinese", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language + (c.startupDone ? " done" : " first"));
        Harness h;
        h.state.serviceRoot = "http://host:1";
        h.state.language = c.language;
        h.state.startupDone = c.startupDone;
        MainPresenter presenter(h.state, h.view, h.Services());
        EXPECT_TRUE(presenter.FormShow());
        EXPECT_EQ(h.applied, c.applied);
        EXPECT_EQ(h.probed.size(), 1u);
        EXPECT_LT(h.view.IndexOf("centre pictures"), h.view.IndexOf("focus side"));
        EXPECT_TRUE(h.view.Has("link width 260"));
        for (int item : {2, 3, 5, 6, 7})
            EXPECT_TRUE(h.view.Has("mark 5." + std::to_string(item) + "=off"));
        for (int item : {0, 1, 4})
            EXPECT_FALSE(h.view.Has("mark 5." + std::to_string(item) + "=off"));
        EXPECT_FALSE(h.view.Has("close"));
    }
}

TEST(MainPresenterShow, EveryShowProbesAgain) {
    Harness h;
    MainPresenter presenter(h.state, h.view, h.Services());
    presenter.FormShow();
    h.state.startupDone = true;
    presenter.FormShow();
    h.probeResult = false;
    presenter.FormShow();
    EXPECT_EQ(h.probed.size(), 3u);
    EXPECT_EQ(h.applied.size(), 1u);
    EXPECT_TRUE(h.view.Has("close"));
}

// The language is applied in memory despite the failure: the show goes on, and the same file
// is named only once in a run.
TEST(MainPresenterShow, LanguageWriteFailureIsReportedOnceAndTheShowGoesOn) {
    Harness h;
    h.applyHook = [] { throw SettingsWriteError("/ro/Language/chs.ini"); };
    MainPresenter presenter(h.state, h.view, h.Services());
    EXPECT_TRUE(presenter.FormShow());
    EXPECT_TRUE(h.view.Has("error Unable to write to /ro/Language/chs.ini"));
    EXPECT_TRUE(h.view.Has("link width 260"));
    EXPECT_FALSE(h.view.Has("close"));
    h.view.calls.clear();
    EXPECT_TRUE(presenter.FormShow());
    EXPECT_FALSE(h.view.Has("error Unable to write to /ro/Language/chs.ini"));
}

TEST(MainPresenterResize, SnapsToTheMinimumOuterSize) {
    struct Case {
        WindowSize before;
        WindowSize after;
        bool resized;
    };
    const std::vector<Case> cases = {
        {{944, 680}, {952, 707}, true},   {{100, 100}, {952, 707}, true},
        {{1200, 500}, {1200, 707}, true}, {{500, 900}, {952, 900}, true},
        {{952, 707}, {952, 707}, false},  {{1600, 1000}, {1600, 1000}, false},
    };
    for (const auto& c : cases) {
        Harness h;
        h.view.outer = c.before;
        MainPresenter presenter(h.state, h.view, h.Services());
        presenter.FormResize();
        EXPECT_EQ(h.view.outer, c.after) << c.before.width << "x" << c.before.height;
        EXPECT_EQ(h.view.calls.empty(), !c.resized);
    }
}

TEST(MainPresenterClose, LogoutFailureSelectsTheErrorPage) {
    struct Case {
        bool online;
        bool failed;
        bool errorPage;
    };
    for (const auto& c :
         std::vector<Case>{{true, false, false}, {true, true, true}, {false, false, false}}) {
        Harness h;
        h.online = c.online;
        std::vector<bool> onlineSeen;
        MainServices services = h.Services();
        services.logoutOnClose = [&](AppState&, bool online) {
            onlineSeen.push_back(online);
            return c.failed;
        };
        MainPresenter presenter(h.state, h.view, services);
        presenter.FormCreate();
        h.view.calls.clear();
        presenter.FormClose();
        EXPECT_EQ(onlineSeen, std::vector<bool>{c.online});
        EXPECT_EQ(h.view.Has("page 8"), c.errorPage);
    }
}

TEST(MainPresenterClose, WithoutALogoutServiceNothingHappens) {
    Harness h;
    MainPresenter presenter(h.state, h.view, h.Services());
    presenter.FormClose();
    EXPECT_TRUE(h.view.calls.empty());
}

TEST(MainPresenterLayout, CentredOffsetTruncatesTowardZero) {
    struct Case {
        int container, element, offset;
    };
    for (const auto& c : std::vector<Case>{{759, 700, 29},
                                           {661, 250, 205},
                                           {700, 759, -29},
                                           {100, 100, 0},
                                           {101, 100, 0},
                                           {0, 3, -1}}) {
        EXPECT_EQ(CentredOffset(c.container, c.element), c.offset)
            << c.container << " " << c.element;
    }
}

} // namespace
} // namespace kelvra
