#include "ui/app/TrayController.h"

#include <functional>
#include <utility>

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <QWidget>

namespace kelvra::ui {

constexpr const char* kTrayTip = "Kelvra";

// The notification-area stand-in: the application icon in a small tile in the bottom right
// corner of the screen, above other windows. Only a left button press restores.
class TrayRestoreIcon : public QWidget {
public:
    TrayRestoreIcon(const QIcon& icon, std::function<void()> restore)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
          m_restore(std::move(restore)) {
        setObjectName("TrayRestoreIcon");
        setWindowTitle(kTrayTip);
        setToolTip(kTrayTip);
        setAccessibleName(kTrayTip);
        setCursor(Qt::PointingHandCursor);
        setFixedSize(48, 48);
        auto* picture = new QLabel(this);
        picture->setAlignment(Qt::AlignCenter);
        picture->setPixmap(icon.pixmap(32, 32));
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(picture);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.right() - width() - 8, area.bottom() - height() - 8);
        }
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        if (event->button() == Qt::LeftButton && m_restore)
            m_restore();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept(); // the first press of a double click has already restored
    }

private:
    std::function<void()> m_restore;
};

TrayController::TrayController(QWidget& window, AppState& state)
    : m_window(window), m_state(state) {
    m_window.installEventFilter(this);
}

TrayController::~TrayController() {
    m_window.removeEventFilter(this);
    delete m_trayIcon.data();
    delete m_restoreWindow.data();
}

QWidget* TrayController::RestoreWindow() const {
    return m_restoreWindow && m_restoreWindow->isVisible() ? m_restoreWindow.data() : nullptr;
}

void TrayController::MinimiseToTray() {
    if (m_inTray)
        return;
    m_inTray = true;
    m_focusBeforeTray = m_window.focusWidget();
    m_state.startupDone = true; // the next show probes but skips the start-up part
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!m_trayIcon) {
            m_trayIcon = new QSystemTrayIcon(m_window.windowIcon(), this);
            m_trayIcon->setToolTip(kTrayTip);
            connect(m_trayIcon, &QSystemTrayIcon::activated, this,
                    [this](QSystemTrayIcon::ActivationReason reason) {
                        if (reason == QSystemTrayIcon::Trigger) // the left button
                            RestoreFromTray();
                    });
        }
        m_trayIcon->show();
    } else {
        if (!m_restoreWindow)
            m_restoreWindow =
                new TrayRestoreIcon(m_window.windowIcon(), [this] { RestoreFromTray(); });
        m_restoreWindow->show();
        m_restoreWindow->raise();
    }
    // Hidden, not minimised: a later show brings the window back as it was. The minimised state
    // is cleared first: on X11, clearing it on a hidden window maps the native window again, and
    // it would stay on screen while Qt counts it as hidden.
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.hide();
}

void TrayController::RestoreFromTray() {
    if (!m_inTray)
        return;
    m_inTray = false;
    RemoveIcon();
    m_window.show();
    // The show puts the focus on the side channel; the user goes on where they were.
    if (m_focusBeforeTray && m_focusBeforeTray->isVisibleTo(&m_window))
        m_focusBeforeTray->setFocus(Qt::OtherFocusReason);
    if (m_window.isVisible()) {
        m_window.raise();
        m_window.activateWindow();
    }
}

void TrayController::RemoveIcon() {
    // Hidden, not deleted: this may run inside the icon's own signal or mouse handler.
    if (m_trayIcon)
        m_trayIcon->hide();
    if (m_restoreWindow)
        m_restoreWindow->hide();
}

bool TrayController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::WindowStateChange &&
        (m_window.windowState() & Qt::WindowMinimized) && !m_inTray) {
        // Hiding from inside the state change is left to the event loop; by then the state
        // must still be minimised (a late repeat of the change must not hide a restored window).
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_window.windowState() & Qt::WindowMinimized)
                    MinimiseToTray();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kelvra::ui
