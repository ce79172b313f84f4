#include "ui/app/VersionCheckBinder.h"

#include <QTimer>
#include <QWidget>

#include "ui/app/Automation.h"
#include "ui/app/MessageBoxes.h"
#include "ui/service/WaitCursor.h"

namespace kelvra::ui {
namespace {

constexpr int kVersionCheckMs = 10000;

} // namespace

int VersionCheckIntervalMs(int designedMs) {
    const int ms = Automation::FromEnvironment().versionCheckMs;
    return ms > 0 ? ms : designedMs;
}

VersionCheckBinder::VersionCheckBinder(QWidget* mainWindow, QTimer* timer,
                                       std::function<void()> showErrorPage, QWidget* updateWindow,
                                       AppState& state, VersionCheckServices services)
    : m_mainWindow(mainWindow), m_timer(timer), m_showErrorPage(std::move(showErrorPage)),
      m_updateWindow(updateWindow), m_state(state), m_services(std::move(services)) {
    m_services.loadXml = WithWaitCursor(std::move(m_services.loadXml));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &VersionCheckBinder::Timer_updateTimer);
    m_timer->start(VersionCheckIntervalMs(kVersionCheckMs));
}

void VersionCheckBinder::Timer_updateTimer() {
    m_timer->stop();
    RunVersionCheck(m_state, *this, m_services);
}

void VersionCheckBinder::ShowMessage(const std::string& text, const std::string& caption) {
    ShowInformation(m_mainWindow, QString::fromStdString(caption), QString::fromStdString(text));
}

bool VersionCheckBinder::AskYesNo(const std::string& text, const std::string& caption) {
    // The version check's one question: whether to update now.
    return kelvra::ui::AskYesNo(m_mainWindow, QString::fromStdString(caption),
                                QString::fromStdString(text), Question::Update);
}

void VersionCheckBinder::ShowErrorPage() {
    if (m_showErrorPage)
        m_showErrorPage();
}

void VersionCheckBinder::ShowUpdateWindow() {
    m_mainWindow->hide();
    if (m_updateWindow)
        m_updateWindow->show();
}

void VersionCheckBinder::ReportError(const std::string& text) {
    ShowError(m_mainWindow, QString::fromStdString(text));
}

} // namespace kelvra::ui
