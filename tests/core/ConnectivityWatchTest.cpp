// The network watch and the service watch with a recording window: texts, network page, flag,
// the maintenance message at most once, and the end of the program after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/ConnectivityWatch.h"

namespace kelvra {
namespace {

using Log = std::vector<std::string>;

class RecordingWindow : public ConnectivityView {
public:
    void SetNetworkText(const std::string& text) override { log.push_back("text " + text); }
    void ShowPage(int index) override { log.push_back("page " + std::to_string(index)); }
    void SetServiceAnswering(bool answering) override {
        log.push_back(answering ? "service answers" : "service not answering");
    }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        log.push_back("box " + caption + ": " + text);
        if (duringBox)
            duringBox(); // the timers keep firing while a box is open
        log.push_back("acknowledged");
    }
    void CloseWindow() override { log.push_back("close"); }
    Log log;
    std::function<void()> duringBox;
};

struct Fixture {
    explicit Fixture(const std::string& language = "English") {
        state.language = language;
        state.serviceRoot = "http://svc";
        state.heldTexts = {{"connect_ok", "  up"}, {"connect_err", "  down"}};
    }
    ConnectivityWatch Watch() {
        ConnectivityServices services;
        services.networkOnline = [this] { return network; };
        services.probe = [this](const std::string& url) {
            probes.push_back(url);
            return serviceAnswers;
        };
        services.setNetworkOnline = [this](bool online) { flags.push_back(online); };
        return ConnectivityWatch(state, window, services);
    }
    AppState state;
    RecordingWindow window;
    bool network = true;
    bool serviceAnswers = true;
    Log probes;
    std::vector<bool> flags;
};

TEST(ConnectivityWatchTest, NetworkWatchFollowsThePlatform) {
    Fixture f;
    ConnectivityWatch watch = f.Watch();
    for (bool network : {true, false, false, true}) {
        f.network = network;
        watch.Timer1Timer();
    }
    // Down: the network page on every tick; back up: the page is left as it is.
    EXPECT_EQ(f.window.log,
              (Log{"text   up", "text   down", "page 3", "text   down", "page 3", "text   up"}));
    EXPECT_EQ(f.flags, (std::vector<bool>{true, false, false, true}));
    EXPECT_TRUE(f.probes.empty()); // the network test sends nothing
}

TEST(ConnectivityWatchTest, TextsComeFromTheHeldTextsOfTheCurrentLanguage) {
    Fixture f;
    ConnectivityWatch watch = f.Watch();
    f.state.heldTexts = {{"connect_ok", "  已连接"}, {"connect_err", "  未连接"}};
    watch.Timer1Timer();
    f.network = false;
    watch.Timer1Timer();
    EXPECT_EQ(f.window.log, (Log{"text   已连接", "text   未连接", "page 3"}));

    ConnectivityServices none; // nothing to ask: counts as no network
    ConnectivityWatch blind(f.state, f.window, none);
    f.window.log.clear();
    blind.Timer1Timer();
    EXPECT_EQ(f.window.log, (Log{"text   未连接", "page 3"}));
}

TEST(ConnectivityWatchTest, ServiceWatchEndsTheProgramOnceAfterThreeFailures) {
    struct Case {
        const char* name;
        const char* language;
        bool answers;
        Log expected;
    };
    const std::string english = "The server is undergoing maintenance.Please try again later.";
    const Log twoNotes = {"service not answering", "service not answering"};
    auto after = [&](const std::string& box) {
        Log log = twoNotes;
        log.insert(log.end(), {box, "acknowledged", "close"});
        return log;
    };
    const Case cases[] = {
        {"answers", "English", true, {}},
        {"fails, English", "English", false, after("box Error: " + english)},
        {"fails, Chinese", "Chinese", false, after("box Error: 服务器维护或升级,请稍候再试....")},
        {"fails, other language", "Deutsch", false, after("box Error: " + english)},
    };
    for (const Case& c : cases) {
        Fixture f(c.language);
        f.serviceAnswers = c.answers;
        ConnectivityWatch watch = f.Watch();
        for (int tick = 0; tick < 3; ++tick)
            watch.conn_kelvraTimer();
        EXPECT_EQ(f.window.log, c.expected) << c.name;
        EXPECT_EQ(f.probes, Log(3, "http://svc/cn/")) << c.name;
        EXPECT_EQ(watch.Ending(), !c.answers) << c.name;
        // Once ending, later ticks neither probe nor show anything.
        watch.conn_kelvraTimer();
        EXPECT_EQ(f.probes.size(), c.answers ? 4u : 3u) << c.name;
        EXPECT_EQ(f.window.log, c.expected) << c.name;
    }
}

// A blip is not maintenance: each failure notes it in the status bar and brings the next check
// closer (then a longer wait, so that three failures span about a minute); an answer ends the
// streak and the next failures count from one again.
TEST(ConnectivityWatchTest, ServiceWatchRetriesBeforeMaintenance) {
    struct Case {
        const char* name;
        std::string outcomes; // '+' answers, '-' fails, one check each
        std::vector<int> nextCheckMs;
        int notes; // status notes "not answering"
        bool ends;
    };
    const Case cases[] = {
        {"answers", "++", {20000, 20000}, 0, false},
        {"a blip of one check", "-+", {10000, 20000}, 1, false},
        {"two failures, then an answer", "--+", {10000, 50000, 20000}, 2, false},
        {"an answer breaks the streak",
         "--+--+",
         {10000, 50000, 20000, 10000, 50000, 20000},
         4,
         false},
        {"three in a row", "---", {10000, 50000, 50000}, 2, true},
    };
    for (const Case& c : cases) {
        Fixture f;
        ConnectivityWatch watch = f.Watch();
        EXPECT_EQ(watch.NextServiceCheckMs(), 20000) << c.name;
        std::vector<int> next;
        for (char outcome : c.outcomes) {
            f.serviceAnswers = outcome == '+';
            watch.conn_kelvraTimer();
            next.push_back(watch.NextServiceCheckMs());
        }
        EXPECT_EQ(next, c.nextCheckMs) << c.name;
        EXPECT_EQ(std::count(f.window.log.begin(), f.window.log.end(), "service not answering"),
                  c.notes)
            << c.name;
        EXPECT_EQ(watch.Ending(), c.ends) << c.name;
        // Every streak that ended in an answer took its note away again.
        if (!c.ends && c.notes > 0) {
            EXPECT_EQ(f.window.log.back(), "service answers") << c.name;
        }
    }
}

TEST(ConnectivityWatchTest, NoSecondMaintenanceMessageWhileOneIsOpen) {
    Fixture f;
    f.serviceAnswers = false;
    ConnectivityWatch watch = f.Watch();
    int ticksDuringBox = 0;
    watch.conn_kelvraTimer();
    watch.conn_kelvraTimer(); // the first two failures are notes in the status bar
    f.window.log.clear();
    f.window.duringBox = [&] {
        ++ticksDuringBox;
        watch.conn_kelvraTimer(); // a further failing tick
        watch.ReportMaintenance();
        f.network = false;
        watch.Timer1Timer(); // the status text stays current behind the box
    };
    watch.conn_kelvraTimer();
    EXPECT_EQ(ticksDuringBox, 1);
    EXPECT_EQ(f.window.log,
              (Log{"box Error: The server is undergoing maintenance.Please try again later.",
                   "text   down", "page 3", "acknowledged", "close"}));
    EXPECT_EQ(f.probes.size(), 3u);
}

} // namespace
} // namespace kelvra
