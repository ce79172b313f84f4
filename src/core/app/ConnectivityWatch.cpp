#include "app/ConnectivityWatch.h"

#include <utility>

#include "app/MainPresenter.h"
#include "url/Endpoints.h"

namespace kelvra {

ConnectivityWatch::ConnectivityWatch(AppState& state, ConnectivityView& view,
                                     ConnectivityServices services, ServiceWatchTiming timing)
    : m_state(state), m_view(view), m_services(std::move(services)), m_timing(timing) {}

void ConnectivityWatch::Timer1Timer() {
    const bool online = m_services.networkOnline && m_services.networkOnline();
    if (online) {
        m_view.SetNetworkText(m_state.Held("connect_ok"));
    } else {
        m_view.SetNetworkText(m_state.Held("connect_err"));
        m_view.ShowPage(kPageNetwork);
    }
    if (m_services.setNetworkOnline)
        m_services.setNetworkOnline(online);
}

void ConnectivityWatch::conn_kelvraTimer() {
    if (m_ending)
        return;
    const std::string probePage = Endpoints(m_state.serviceRoot).ProbePage();
    if (m_services.probe && m_services.probe(probePage)) {
        if (m_failures > 0)
            m_view.SetServiceAnswering(true);
        m_failures = 0;
        return;
    }
    ++m_failures;
    if (m_failures < m_timing.failuresForMaintenance) {
        m_view.SetServiceAnswering(false);
        return;
    }
    ReportMaintenance();
}

int ConnectivityWatch::NextServiceCheckMs() const {
    if (m_failures == 0)
        return m_timing.regularMs;
    return m_failures == 1 ? m_timing.firstRetryMs : m_timing.laterRetryMs;
}

void ConnectivityWatch::ReportMaintenance() {
    if (m_ending)
        return;
    // Set before the box opens: the box runs its own event loop, and further ticks come in
    // while it is open.
    m_ending = true;
    m_view.ShowMessage(MaintenanceText(m_state), "Error");
    m_view.CloseWindow();
}

} // namespace kelvra
