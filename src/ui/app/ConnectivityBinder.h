#pragma once

#include <memory>

#include <QObject>

#include "app/ConnectivityWatch.h"
#include "state/AppState.h"

class QLabel;
class QTimer;

namespace kelvra::ui {

class TFormMain;

// Runs the two watches of the main window on its timers Timer1 (network, every second) and
// conn_kelvra (service, every 20 seconds): starts both at construction, stops them when the
// window has closed, and moves the watch's texts, pages and messages to the window.
class ConnectivityBinder : public QObject, public ConnectivityView {
    Q_OBJECT
public:
    // networkText: Label6. The timers keep their names; both are started here. conn_kelvra's
    // interval follows the watch's timing: regular while the service answers, shorter after a
    // first failure.
    ConnectivityBinder(TFormMain& window, QLabel* networkText, QTimer* timer1, QTimer* connKelvra,
                       AppState& state, ConnectivityServices services,
                       ServiceWatchTiming timing = {});
    ~ConnectivityBinder() override;

    ConnectivityWatch& Watch() { return *m_watch; }

    // ConnectivityView
    void SetNetworkText(const std::string& text) override;
    void ShowPage(int index) override;
    void SetServiceAnswering(bool answering) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void CloseWindow() override;

private:
    TFormMain& m_window;
    QLabel* m_networkText;
    QTimer* m_timer1;
    QTimer* m_connKelvra;
    std::unique_ptr<ConnectivityWatch> m_watch;
};

} // namespace kelvra::ui
