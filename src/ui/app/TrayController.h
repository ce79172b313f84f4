#pragma once

#include <QObject>
#include <QPointer>

#include "state/AppState.h"

class QSystemTrayIcon;
class QWidget;

namespace kelvra::ui {

class TrayRestoreIcon;

// Minimising the main window hides it to an icon in the notification area (tip "Kelvra");
// a left button press on the icon removes it and shows the window again. Where the desktop has
// no notification area, a small frameless always-on-top window with the icon stands in for it
// and restores on a left press. Right button, release and movement do nothing.
class TrayController : public QObject {
    Q_OBJECT
public:
    // Watches the window for the minimise command from now on.
    TrayController(QWidget& window, AppState& state);
    ~TrayController() override;

    // The minimise command: sets the start-up-done flag, adds the icon, hides the window (not
    // minimised). While already in the tray it does nothing, so there is never a second icon.
    void MinimiseToTray();
    // Removes the icon and shows the window (its show handler probes again), with the focus back
    // on the control that had it before; nothing while not in the tray.
    void RestoreFromTray();
    bool InTray() const { return m_inTray; }
    // The stand-in window while it is shown; nullptr otherwise (also with a real notification
    // area icon).
    QWidget* RestoreWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RemoveIcon();

    QWidget& m_window;
    AppState& m_state;
    bool m_inTray = false;
    QPointer<QSystemTrayIcon> m_trayIcon;
    QPointer<TrayRestoreIcon> m_restoreWindow;
    QPointer<QWidget> m_focusBeforeTray; // the window's focus control when it went to the tray
};

} // namespace kelvra::ui
