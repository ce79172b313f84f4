#pragma once

#include <functional>
#include <string>

#include "app/AppState.h"

namespace kelvra {

// What the two watches need of the main window.
class ConnectivityView {
public:
    virtual ~ConnectivityView() = default;
    // Sets the network text of the left status pane (Label6).
    virtual void SetNetworkText(const std::string& text) = 0;
    // Shows a page of RzPageControl1 by index.
    virtual void ShowPage(int index) = 0;
    // Shows a modal information box; returns when it is acknowledged.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Asks the main window to close once the current handler has returned; the program ends.
    virtual void CloseWindow() = 0;
};

// The outside world of the watches; an empty member counts as "down" / "not answering".
struct ConnectivityServices {
    // InternetConnected and NetworkPresent together; asks the platform only, sends nothing.
    std::function<bool()> networkOnline;
    // True when the service answers the probe of this URL.
    std::function<bool(const std::string& url)> probe;
    // Receives the network-online flag after every network test.
    std::function<void(bool online)> setNetworkOnline;
};

// The network watch (Timer1, every second) and the service watch (conn_kelvra, every 20 seconds)
// of the main window.
class ConnectivityWatch {
public:
    ConnectivityWatch(AppState& state, ConnectivityView& view, ConnectivityServices services);

    // Network up: the connect_ok text and the flag set. Down: the connect_err text, the network
    // page, the flag cleared. Cannot fail.
    void Timer1Timer();
    // Probes the service; when it does not answer, shows the maintenance message and closes the
    // main window once it is acknowledged. While a maintenance message is open, or once the
    // program is ending, a tick does nothing (no second message, no probe).
    void conn_kelvraTimer();

    // The maintenance message, then the end of the program; a call while one is open or after
    // the end was asked for adds nothing.
    void ReportMaintenance();
    // True once the maintenance message has been shown (the program is ending).
    bool Ending() const { return m_ending; }

private:
    AppState& m_state;
    ConnectivityView& m_view;
    ConnectivityServices m_services;
    bool m_ending = false;
};

} // namespace kelvra
