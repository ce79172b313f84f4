#pragma once

#include <functional>
#include <string>

#include "app/ConnectivityWatch.h"
#include "app/MainView.h"
#include "state/AppState.h"
#include "window/MainPage.h"

namespace kelvra {

// The outside world of the main window's life cycle. Every member has a working default (the
// real platform, probe and settings routines); tests replace what they need.
struct MainServices {
    // True when the service answers the probe of this URL.
    std::function<bool(const std::string& url)> probe;
    // The folder for settings and language files.
    std::function<std::string()> findDataFolder;
    // InternetConnected and NetworkPresent together.
    std::function<bool()> networkOnline;
    // Creation steps on the data folder files; throws SettingsWriteError.
    std::function<void(AppState&)> prepareSettings;
    // Makes a language current on the view; throws SettingsWriteError.
    std::function<void(AppState&, LanguageView&, const std::string& language)> applyLanguage;
    // Logout notice when the window closes (the network and login tests are the callee's);
    // returns true when the request failed and the error page is to be shown. Empty: no notice.
    std::function<bool(AppState&, bool online)> logoutOnClose;
    // When the 20-second service watch checks again after an answer or a failure.
    ServiceWatchTiming serviceWatch;
    // Who reports a failed probe of a show (the service watch, so that only one such message is
    // ever open); empty: the maintenance message and the close, by the presenter itself.
    std::function<void()> reportMaintenance;

    // The real routines: ProbeUrl, FindDataFolder, the two network tests, PrepareSettingsFiles,
    // ApplyLanguage; logoutOnClose stays empty until the session client is wired in.
    static MainServices Defaults();
};

inline constexpr WindowSize kMinimumOuterSize{952, 707};
inline constexpr const char* kMaintenanceChinese = "服务器维护或升级,请稍候再试....";
inline constexpr const char* kMaintenanceEnglish =
    "The server is undergoing maintenance.Please try again later.";

// Offset that centres an element in a container: (container - element) / 2, truncated toward
// zero (negative when the element is larger).
int CentredOffset(int container, int element);

// The outer size raised to the minimum of the main window, width first.
WindowSize ClampToMinimum(WindowSize size);

// The maintenance message in the language of the run ("Chinese" or anything else).
std::string MaintenanceText(const AppState& state);

// Creation, show, resize and close of the main window, without any toolkit.
class MainPresenter {
public:
    MainPresenter(AppState& state, MainView& view, MainServices services);

    // Start values, centring, data folder and settings files. A settings write failure is
    // reported through the view and the remaining creation steps are skipped.
    void FormCreate();
    // Probe (failure: maintenance message, then the window is closed and nothing else runs),
    // picture centring, focus, the one-time language start-up, link width, item marks.
    // Returns false when the probe failed. A settings write failure of the start-up is reported
    // through the view and the remaining show steps are skipped.
    bool FormShow();
    // Snaps the outer size back to at least 952 x 707.
    void FormResize();
    // Logout notice when online and logged in; its failure selects the error page.
    void FormClose();

    bool NetworkOnline() const { return m_networkOnline; }
    // Set by the once-a-second network watch.
    void SetNetworkOnline(bool online) { m_networkOnline = online; }
    AppState& State() { return m_state; }

private:
    AppState& m_state;
    MainView& m_view;
    MainServices m_services;
    bool m_networkOnline = false;
};

} // namespace kelvra
