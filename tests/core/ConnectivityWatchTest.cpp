// The network watch and the service watch with a recording window: texts, network page, flag,
// the maintenance message at most once, and the end of the program after it.
#include <gtest/gtest.h>

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

TEST(ConnectivityWatchTest, ServiceWatchEndsTheProgramOnce) {
    struct Case {
        const char* name;
        const char* language;
        bool answers;
        Log expected;
    };
    const std::string english = "The server is undergoing maintenance.Please try again later.";
    const Case cases[] = {
        {"answers", "English", true, {}},
        {"fails, English", "English", false, {"box Error: " + english, "acknowledged", "close"}},
        {"fails, Chinese",
         "Chinese",
         false,
         {"box Error: 服务器维护或升级,请稍候再试....", "acknowledged", "close"}},
        {"fails, other language",
         "Deutsch",
         false,
         {"box Error: " + english, "acknowledged", "close"}},
    };
    for (const Case& c : cases) {
        Fixture f(c.language);
        f.serviceAnswers = c.answers;
        ConnectivityWatch watch = f.Watch();
        watch.conn_kelvraTimer();
        EXPECT_EQ(f.window.log, c.expected) << c.name;
        EXPECT_EQ(f.probes, Log{"http://svc/cn/"}) << c.name;
        EXPECT_EQ(watch.Ending(), !c.answers) << c.name;
        // Once ending, later ticks neither probe nor show anything.
        watch.conn_kelvraTimer();
        EXPECT_EQ(f.probes.size(), c.answers ? 2u : 1u) << c.name;
        EXPECT_EQ(f.window.log, c.expected) << c.name;
    }
}

TEST(ConnectivityWatchTest, NoSecondMaintenanceMessageWhileOneIsOpen) {
    Fixture f;
    f.serviceAnswers = false;
    ConnectivityWatch watch = f.Watch();
    int ticksDuringBox = 0;
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
    EXPECT_EQ(f.probes.size(), 1u);
}

} // namespace
} // namespace kelvra
