#include "ui/app/Automation.h"

#include <QEvent>
#include <QFile>
#include <QWidget>
#include <QtGlobal>

#include <utility>

namespace kelvra::ui {
namespace {

bool IsOn(const char* name) {
    return qEnvironmentVariable(name) == QLatin1String("1");
}

int PositiveNumber(const char* name) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : 0;
}

// Appends a line of the watched window's state to a file at each of its shows, hides,
// activations and state changes; lines that cannot be written are dropped.
class WindowStateLog : public QObject {
public:
    WindowStateLog(QWidget& window, QString path)
        : QObject(&window), m_window(window), m_path(std::move(path)) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::WindowStateChange:
            Append();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Append() const {
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
        const bool minimised = m_window.windowState() & Qt::WindowMinimized;
        file.write(QStringLiteral("visible=%1 minimised=%2 active=%3 window=%4\n")
                       .arg(int(m_window.isVisible()))
                       .arg(int(minimised))
                       .arg(int(m_window.isActiveWindow()))
                       .arg(m_window.internalWinId())
                       .toUtf8());
    }

    QWidget& m_window;
    QString m_path;
};

} // namespace

Automation Automation::FromEnvironment() {
    Automation seams;
    seams.messageLog = qEnvironmentVariable("KELVRA_AUTOMATION_LOG");
    seams.acceptMessages = IsOn("KELVRA_AUTOMATION_ACCEPT");
    seams.acceptUpdate = seams.acceptMessages && IsOn("KELVRA_AUTOMATION_ACCEPT_UPDATE");
    seams.screenshot = qEnvironmentVariable("KELVRA_SCREENSHOT");
    seams.exitAfterShow = IsOn("KELVRA_EXIT_AFTER_SHOW");
    seams.startPage = qEnvironmentVariable("KELVRA_START_PAGE");
    seams.versionCheckMs = PositiveNumber("KELVRA_VERSION_CHECK_MS");
    seams.updateWaitMs = PositiveNumber("KELVRA_UPDATE_WAIT_MS");
    seams.toTray = IsOn("KELVRA_AUTOMATION_TRAY");
    seams.windowLog = qEnvironmentVariable("KELVRA_WINDOW_LOG");
    return seams;
}

void LogWindowStates(QWidget& window, const Automation& automation) {
    if (!automation.windowLog.isEmpty())
        new WindowStateLog(window, automation.windowLog);
}

} // namespace kelvra::ui
