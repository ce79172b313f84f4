// The busy indicator with a fake toolkit: placement, the disabled-window list, the re-show of a
// secondary browser, the indicator that found nothing to disable, and the watchdog.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "window/BusyIndicator.h"

namespace kelvra {
namespace {

constexpr WindowHandle kIndicator = 1;
constexpr WindowHandle kMain = 2;
constexpr WindowHandle kLogin = 3;
constexpr WindowHandle kUpdate = 4;

class FakeToolkit : public BusyIndicatorView {
public:
    std::vector<TopLevelWindow> TopLevelWindows() const override {
        std::vector<TopLevelWindow> list;
        for (const auto& [handle, w] : windows) {
            list.push_back({handle, w.visible, w.enabled});
        }
        return list;
    }
    WindowHandle IndicatorHandle() const override { return kIndicator; }
    void SetWindowEnabled(WindowHandle window, bool enabled) override {
        windows[window].enabled = enabled;
        log.push_back((enabled ? "enable " : "disable ") + std::to_string(window));
    }
    MainWindowFrame MainFrame() const override { return frame; }
    void ShowIndicatorAt(int left, int top, int width, int height) override {
        windows[kIndicator].visible = true;
        log.push_back("show " + std::to_string(left) + "," + std::to_string(top) + " " +
                      std::to_string(width) + "x" + std::to_string(height));
    }
    void HideIndicator() override {
        windows[kIndicator].visible = false;
        log.push_back("hide");
    }
    void StartWatchdog(int ms) override { log.push_back("watchdog " + std::to_string(ms)); }
    void StopWatchdog() override { log.push_back("watchdog off"); }
    void RememberFocus() override { log.push_back("remember focus"); }
    void RestoreFocus() override { log.push_back("restore focus"); }

    struct State {
        bool visible = false;
        bool enabled = true;
    };
    std::map<WindowHandle, State> windows{{kIndicator, {false, true}}, {kMain, {true, true}}};
    MainWindowFrame frame{100, 50, 952, 707, 185};
    std::vector<std::string> log;
};

TEST(BusyIndicatorTest, PositionFollowsTheFormulaWithTruncationTowardZero) {
    struct Case {
        MainWindowFrame frame;
        IndicatorPosition expected;
    };
    const Case cases[] = {
        // 100 + 476 - 104 = 472, + 92 for half the side channel; 50 + 353.5 - 6.5 = 397.
        {{100, 50, 952, 707, 185}, {564, 397}},
        {{0, 0, 952, 707, 185}, {464, 347}},
        // -500 + 103.5 - 104 = -500.5 truncates to -500, not -501; -20 + 3 - 6.5 = -23.5 -> -23.
        {{-500, -20, 207, 6, 0}, {-500, -23}},
        // Odd sizes: 10 + 150.5 - 104 = 56.5 -> 56, + 0 (side channel 1 halves to 0).
        {{10, 10, 301, 14, 1}, {56, 10}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BusyIndicatorPosition(c.frame), c.expected)
            << c.frame.left << "," << c.frame.top << " " << c.frame.width << "x" << c.frame.height;
    }
}

TEST(BusyIndicatorTest, ShowDisablesVisibleEnabledWindowsAndHideEnablesExactlyThose) {
    FakeToolkit toolkit;
    toolkit.windows[kLogin] = {false, true};  // hidden: left alone
    toolkit.windows[kUpdate] = {true, false}; // already disabled by someone else: left alone
    BusyIndicator busy(toolkit);

    busy.ShowBusy();
    EXPECT_TRUE(busy.Shown());
    EXPECT_EQ(busy.DisabledWindows(), std::vector<WindowHandle>{kMain});
    EXPECT_EQ(toolkit.log, (std::vector<std::string>{"show 564,397 208x13", "remember focus",
                                                     "disable 2", "watchdog 30000"}));

    toolkit.log.clear();
    busy.HideBusy();
    EXPECT_FALSE(busy.Shown());
    EXPECT_FALSE(busy.OnScreen());
    // The focus goes back once its window takes input again.
    EXPECT_EQ(toolkit.log,
              (std::vector<std::string>{"enable 2", "restore focus", "hide", "watchdog off"}));
    EXPECT_FALSE(toolkit.windows[kUpdate].enabled);

    toolkit.log.clear();
    busy.HideBusy(); // hidden already: nothing happens
    busy.DocumentComplete();
    EXPECT_TRUE(toolkit.log.empty());
}

TEST(BusyIndicatorTest, SecondaryNavigationWhileShownReshowsWithAFreshListAtTheNewPlace) {
    FakeToolkit toolkit;
    toolkit.windows[kLogin] = {true, true};
    BusyIndicator busy(toolkit);
    busy.ShowBusy();
    toolkit.frame.left = 300; // moved while shown: the indicator follows at its next show only
    toolkit.log.clear();

    busy.SecondaryBeforeNavigate();
    EXPECT_EQ(toolkit.log,
              (std::vector<std::string>{"enable 2", "enable 3", "restore focus", "hide",
                                        "watchdog off", "show 764,397 208x13", "remember focus",
                                        "disable 2", "disable 3", "watchdog 30000"}));
    EXPECT_EQ(busy.DisabledWindows(), (std::vector<WindowHandle>{kMain, kLogin}));

    // A show without a hide in between must not lose the list either.
    busy.ShowBusy();
    EXPECT_EQ(busy.DisabledWindows(), (std::vector<WindowHandle>{kMain, kLogin}));
    busy.DocumentComplete();
    EXPECT_TRUE(toolkit.windows[kMain].enabled);
    EXPECT_TRUE(toolkit.windows[kLogin].enabled);
    EXPECT_FALSE(toolkit.windows[kIndicator].visible);
}

TEST(BusyIndicatorTest, AnIndicatorThatDisabledNothingStillComesDown) {
    FakeToolkit toolkit;
    toolkit.windows[kMain].visible = false; // e.g. main window hidden behind the login window
    BusyIndicator busy(toolkit);

    busy.ShowBusy();
    EXPECT_FALSE(busy.Shown());
    EXPECT_TRUE(busy.OnScreen());
    EXPECT_TRUE(toolkit.windows[kIndicator].visible);

    busy.DocumentComplete();
    EXPECT_FALSE(busy.OnScreen());
    EXPECT_FALSE(toolkit.windows[kIndicator].visible);
}

TEST(BusyIndicatorTest, WatchdogBringsTheWindowsBackWhenNoDocumentCompletes) {
    FakeToolkit toolkit;
    toolkit.windows[kLogin] = {true, true};
    BusyIndicator busy(toolkit, 1234);
    busy.ShowBusy();
    EXPECT_EQ(toolkit.log.back(), "watchdog 1234");
    ASSERT_FALSE(toolkit.windows[kMain].enabled);

    busy.WatchdogExpired();
    EXPECT_TRUE(toolkit.windows[kMain].enabled);
    EXPECT_TRUE(toolkit.windows[kLogin].enabled);
    EXPECT_FALSE(toolkit.windows[kIndicator].visible);
    EXPECT_FALSE(busy.Shown());

    // A late document-complete (or a second expiry) after that changes nothing.
    toolkit.log.clear();
    busy.DocumentComplete();
    busy.WatchdogExpired();
    EXPECT_TRUE(toolkit.log.empty());
}

} // namespace
} // namespace kelvra
