#include "window/BusyIndicator.h"

#include <cstdint>

namespace kelvra {

IndicatorPosition BusyIndicatorPosition(const MainWindowFrame& frame) {
    // left + width / 2 - w / 2 == (2 * left + width - w) / 2 exactly; integer division then
    // truncates toward zero as the formula asks. 64 bits keep large coordinates from overflowing.
    const std::int64_t left =
        (2 * std::int64_t{frame.left} + frame.width - kBusyIndicatorWidth) / 2 +
        frame.sideChannelWidth / 2;
    const std::int64_t top =
        (2 * std::int64_t{frame.top} + frame.height - kBusyIndicatorHeight) / 2;
    return {static_cast<int>(left), static_cast<int>(top)};
}

BusyIndicator::BusyIndicator(BusyIndicatorView& view, int watchdogMs)
    : m_view(view), m_watchdogMs(watchdogMs) {}

void BusyIndicator::ShowBusy() {
    if (Shown() || m_onScreen) {
        HideBusy();
    }
    const IndicatorPosition at = BusyIndicatorPosition(m_view.MainFrame());
    m_view.ShowIndicatorAt(at.left, at.top, kBusyIndicatorWidth, kBusyIndicatorHeight);
    m_onScreen = true;
    m_view.RememberFocus();
    const WindowHandle indicator = m_view.IndicatorHandle();
    for (const TopLevelWindow& window : m_view.TopLevelWindows()) {
        if (window.handle != indicator && window.visible && window.enabled) {
            m_view.SetWindowEnabled(window.handle, false);
            m_disabled.push_back(window.handle);
        }
    }
    m_view.StartWatchdog(m_watchdogMs);
}

void BusyIndicator::HideBusy() {
    for (WindowHandle window : m_disabled) {
        m_view.SetWindowEnabled(window, true);
    }
    // Disabling a window takes the focus from its controls, and enabling it does not give it
    // back: without this the user would have to click before typing on.
    if (!m_disabled.empty())
        m_view.RestoreFocus();
    m_disabled.clear();
    if (m_onScreen) {
        m_onScreen = false;
        m_view.HideIndicator();
        m_view.StopWatchdog();
    }
}

void BusyIndicator::SecondaryBeforeNavigate() {
    HideBusy();
    ShowBusy();
}

void BusyIndicator::DocumentComplete() {
    HideBusy();
}

void BusyIndicator::WatchdogExpired() {
    HideBusy();
}

} // namespace kelvra
