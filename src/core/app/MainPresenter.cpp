#include "app/MainPresenter.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/ApplyLanguage.h"
#include "platform/Platform.h"
#include "service/Probe.h"
#include "service/SessionRules.h"
#include "settings/SettingsError.h"
#include "url/Endpoints.h"

namespace kelvra {

MainServices MainServices::Defaults() {
    MainServices s;
    s.probe = [](const std::string& url) { return ProbeUrl(url); };
    s.findDataFolder = [] { return FindDataFolder(); };
    s.networkOnline = [] { return InternetConnected() && NetworkPresent(); };
    s.prepareSettings = [](AppState& state) { PrepareSettingsFiles(state); };
    s.applyLanguage = [](AppState& state, LanguageView& view, const std::string& language) {
        ApplyLanguage(state, view, language);
    };
    return s;
}

int CentredOffset(int container, int element) {
    return (container - element) / 2; // C++ division truncates toward zero
}

WindowSize ClampToMinimum(WindowSize size) {
    if (size.width < kMinimumOuterSize.width)
        size.width = kMinimumOuterSize.width;
    if (size.height < kMinimumOuterSize.height)
        size.height = kMinimumOuterSize.height;
    return size;
}

std::string MaintenanceText(const AppState& state) {
    return state.IsChinese() ? kMaintenanceChinese : kMaintenanceEnglish;
}

MainPresenter::MainPresenter(AppState& state, MainView& view, MainServices services)
    : m_state(state), m_view(view), m_services(std::move(services)) {}

void MainPresenter::FormCreate() {
    SetSessionStartValues(m_state.session);
    m_state.startupDone = false;
    m_state.language = "Chinese";
    m_state.searchKind = 1;

    m_view.CentreOnScreen();
    m_view.HidePageTabs();
    m_networkOnline = m_services.networkOnline && m_services.networkOnline();

    m_state.dataFolder = m_services.findDataFolder ? m_services.findDataFolder() : std::string{};
    if (!m_state.dataFolder.empty()) {
        std::error_code ignored; // a folder that cannot be made shows up at the first write
        std::filesystem::create_directories(m_state.dataFolder, ignored);
    }

    try {
        if (m_services.prepareSettings)
            m_services.prepareSettings(m_state);
    } catch (const std::exception& e) {
        if (FirstReportOf(m_state, e))
            m_view.ReportError(e.what());
        return;
    }
    // The base caption is the designed caption, already held by the state.
}

bool MainPresenter::FormShow() {
    const std::string probePage = Endpoints(m_state.serviceRoot).ProbePage();
    if (!m_services.probe || !m_services.probe(probePage)) {
        if (m_services.reportMaintenance) {
            m_services.reportMaintenance();
        } else {
            m_view.ShowMessage(MaintenanceText(m_state), "Error");
            m_view.CloseWindow();
        }
        return false;
    }
    m_view.CentrePictures();
    m_view.FocusSideChannel();
    try {
        if (!m_state.startupDone && m_services.applyLanguage)
            m_services.applyLanguage(m_state, m_view, m_state.language);
    } catch (const std::exception& e) {
        // The language was applied in memory all the same; the show goes on.
        if (FirstReportOf(m_state, e))
            m_view.ReportError(e.what());
    }
    m_view.SetUrlLabelWidth(260);
    for (int item : {2, 3, 5, 6, 7})
        m_view.SetSideItemSelected(5, item, false);
    return true;
}

void MainPresenter::FormResize() {
    const WindowSize current = m_view.OuterSize();
    const WindowSize wanted = ClampToMinimum(current);
    if (!(wanted == current))
        m_view.SetOuterSize(wanted);
}

void MainPresenter::FormClose() {
    if (!m_services.logoutOnClose)
        return;
    if (m_services.logoutOnClose(m_state, m_networkOnline))
        m_view.ShowPage(kPageError);
}

} // namespace kelvra
