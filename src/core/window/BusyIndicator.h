#pragma once

#include <cstdint>
#include <vector>

namespace kelvra {

// What the in-page commands and the login window need of the busy indicator.
class BusyIndicatorControl {
public:
    virtual ~BusyIndicatorControl() = default;
    // Shows the indicator over the page area and disables the program's other windows.
    virtual void ShowBusy() = 0;
    // Enables the windows disabled by the last show and hides the indicator; nothing happens
    // while it is hidden.
    virtual void HideBusy() = 0;
};

// A top-level window of the program as the toolkit sees it; the handle is opaque to the core.
using WindowHandle = std::uintptr_t;
struct TopLevelWindow {
    WindowHandle handle = 0;
    bool visible = false;
    bool enabled = false;
};

// Outer position and size of the main window and the width of its side channel, in pixels.
struct MainWindowFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int sideChannelWidth = 0;
};

// The toolkit side of the busy indicator window TVersion.
class BusyIndicatorView {
public:
    virtual ~BusyIndicatorView() = default;
    // Every top-level window of the program, the indicator included, in the toolkit's order.
    virtual std::vector<TopLevelWindow> TopLevelWindows() const = 0;
    virtual WindowHandle IndicatorHandle() const = 0;
    // Enables or disables a window; a handle whose window is gone is ignored.
    virtual void SetWindowEnabled(WindowHandle window, bool enabled) = 0;
    virtual MainWindowFrame MainFrame() const = 0;
    // Sizes the indicator, moves it to left/top and shows it (animation running).
    virtual void ShowIndicatorAt(int left, int top, int width, int height) = 0;
    virtual void HideIndicator() = 0;
    // One-shot timer: after `milliseconds` the view calls BusyIndicator::WatchdogExpired.
    // Starting it again restarts it.
    virtual void StartWatchdog(int milliseconds) = 0;
    virtual void StopWatchdog() = 0;
    // Remembers the control that has the keyboard focus, before the windows are disabled.
    virtual void RememberFocus() {}
    // Gives the focus back to the remembered control, if it still exists and is visible;
    // otherwise nothing happens.
    virtual void RestoreFocus() {}
};

inline constexpr int kBusyIndicatorWidth = 208;
inline constexpr int kBusyIndicatorHeight = 13;
inline constexpr int kBusyWatchdogMs = 30000;

struct IndicatorPosition {
    int left = 0;
    int top = 0;
    bool operator==(const IndicatorPosition&) const = default;
};

// Where the indicator goes: over the middle of the main window, shifted right by half the side
// channel. Each division is exact before truncation toward zero.
IndicatorPosition BusyIndicatorPosition(const MainWindowFrame& frame);

// The busy indicator and the disabled-window list. Shown means the list is not empty. The
// indicator also keeps track of whether it is on screen, so that an indicator that found no
// window to disable still comes down at the next hide, and a watchdog takes it down (and enables
// the windows again) when no document completes within the time limit.
class BusyIndicator : public BusyIndicatorControl {
public:
    explicit BusyIndicator(BusyIndicatorView& view, int watchdogMs = kBusyWatchdogMs);

    // Positions and shows the indicator, then disables every visible, enabled top-level window
    // but the indicator and keeps that list. A show while already shown hides first, so a list
    // is never lost with its windows still disabled.
    void ShowBusy() override;
    // Enables the listed windows again (and gives the keyboard focus back to the control that
    // had it before they were disabled), hides the indicator if it is on screen, empties the
    // list and stops the watchdog.
    void HideBusy() override;

    // Before-navigate of WebBrowser2, WebBrowser3 or WebBrowser4: hide, then show again.
    void SecondaryBeforeNavigate();
    // Document-complete of any of the four browsers, any frame: hide.
    void DocumentComplete();
    // The watchdog ran out: hide, as a completed document would.
    void WatchdogExpired();

    // Time limit of the watchdog for the next show (the default is kBusyWatchdogMs).
    void SetWatchdogMs(int milliseconds) { m_watchdogMs = milliseconds; }
    int WatchdogMs() const { return m_watchdogMs; }

    bool Shown() const { return !m_disabled.empty(); }
    bool OnScreen() const { return m_onScreen; }
    const std::vector<WindowHandle>& DisabledWindows() const { return m_disabled; }

private:
    BusyIndicatorView& m_view;
    int m_watchdogMs;
    std::vector<WindowHandle> m_disabled;
    bool m_onScreen = false;
};

} // namespace kelvra
