#pragma once

#include <functional>
#include <string>

#include "state/AppState.h"

namespace kelvra {

// What the two watches need of the main window.
class ConnectivityView {
public:
    virtual ~ConnectivityView() = default;
    // Sets the network text of the left status pane (Label6).
    virtual void SetNetworkText(const std::string& text) = 0;
    // Shows a page of RzPageControl1 by index.
    virtual void ShowPage(int index) = 0;
    // Says in the status bar whether the service answered its last check (false: not answering,
    // checked again soon); true clears the note.
    virtual void SetServiceAnswering(bool answering) = 0;
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

// When the service watch probes. One failed check is not maintenance: the watch checks again
// sooner, then once more, and only a service that failed every check of the streak is reported,
// so the message comes about a minute after the first failure and a blip of a few seconds passes
// with a note in the status bar. Tests compress the timeline.
struct ServiceWatchTiming {
    int regularMs = 20000;          // conn_kelvra's interval while the service answers
    int firstRetryMs = 10000;       // after a first failure
    int laterRetryMs = 50000;       // after each further failure
    int failuresForMaintenance = 3; // failed checks in a row that end the program (at least 1)
};

// The network watch (Timer1, every second) and the service watch (conn_kelvra, every 20 seconds)
// of the main window.
class ConnectivityWatch {
public:
    ConnectivityWatch(AppState& state, ConnectivityView& view, ConnectivityServices services,
                      ServiceWatchTiming timing = {});

    // Network up: the connect_ok text and the flag set. Down: the connect_err text, the network
    // page, the flag cleared. Cannot fail.
    void Timer1Timer();
    // Probes the service. An answer ends a streak of failures (the status note goes). A failure
    // notes in the status bar that the service is not answering; the last failure of the streak
    // (ServiceWatchTiming) shows the maintenance message and closes the main window once it is
    // acknowledged. While a maintenance message is open, or once the program is ending, a tick
    // does nothing (no second message, no probe).
    void conn_kelvraTimer();
    // Milliseconds until the next service check, after the last tick's outcome.
    int NextServiceCheckMs() const;

    // The maintenance message, then the end of the program; a call while one is open or after
    // the end was asked for adds nothing.
    void ReportMaintenance();
    // True once the maintenance message has been shown (the program is ending).
    bool Ending() const { return m_ending; }

private:
    AppState& m_state;
    ConnectivityView& m_view;
    ConnectivityServices m_services;
    ServiceWatchTiming m_timing;
    int m_failures = 0; // failed checks in a row
    bool m_ending = false;
};

} // namespace kelvra
