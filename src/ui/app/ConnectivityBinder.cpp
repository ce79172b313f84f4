#include "ui/app/ConnectivityBinder.h"

#include <QLabel>
#include <QTimer>

#include "ui/app/TFormMain.h"

namespace kelvra::ui {

ConnectivityBinder::ConnectivityBinder(TFormMain& window, QLabel* networkText, QTimer* timer1,
                                       QTimer* connKelvra, AppState& state,
                                       ConnectivityServices services, ServiceWatchTiming timing)
    : m_window(window), m_networkText(networkText), m_timer1(timer1), m_connKelvra(connKelvra),
      m_watch(std::make_unique<ConnectivityWatch>(state, *this, std::move(services), timing)) {
    connect(m_timer1, &QTimer::timeout, this, [this] { m_watch->Timer1Timer(); });
    connect(m_connKelvra, &QTimer::timeout, this, [this] {
        m_watch->conn_kelvraTimer();
        // Not while the program ends: the closed window has stopped the timer for good.
        const int next = m_watch->NextServiceCheckMs();
        if (!m_watch->Ending() && m_connKelvra->isActive() && m_connKelvra->interval() != next)
            m_connKelvra->setInterval(next);
    });
    m_connKelvra->setInterval(m_watch->NextServiceCheckMs());
    // The watches end with the program: a closed window neither probes nor shows anything.
    connect(&m_window, &TFormMain::closed, this, [this] {
        m_timer1->stop();
        m_connKelvra->stop();
    });
    m_timer1->start();
    m_connKelvra->start();
}

ConnectivityBinder::~ConnectivityBinder() = default;

void ConnectivityBinder::SetNetworkText(const std::string& text) {
    m_networkText->setText(QString::fromStdString(text));
}

void ConnectivityBinder::ShowPage(int index) {
    m_window.ShowPage(index);
}

void ConnectivityBinder::SetServiceAnswering(bool answering) {
    m_window.SetServiceAnswering(answering);
}

void ConnectivityBinder::ShowMessage(const std::string& text, const std::string& caption) {
    m_window.ShowMessage(text, caption);
}

void ConnectivityBinder::CloseWindow() {
    m_window.CloseWindow();
}

} // namespace kelvra::ui
