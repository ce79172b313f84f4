#pragma once

#include <functional>

#include <QObject>

#include "state/AppState.h"
#include "update/VersionCheck.h"

class QTimer;
class QWidget;

namespace kelvra::ui {

// The wait of Timer_update before the version check: the automation's wait when one is set
// (Automation.h), else `designedMs`.
int VersionCheckIntervalMs(int designedMs);

// The main window's version check: starts Timer_update (single-shot) at construction and runs
// RunVersionCheck on its tick; a Yes to the update question hides the main window and shows the
// update window.
class VersionCheckBinder : public QObject, public VersionCheckView {
    Q_OBJECT
public:
    // `mainWindow` hosts the messages, `timer` is its Timer_update, `showErrorPage` selects its
    // error page; `updateWindow` is shown after a Yes (null: the main window is only hidden).
    VersionCheckBinder(QWidget* mainWindow, QTimer* timer, std::function<void()> showErrorPage,
                       QWidget* updateWindow, AppState& state,
                       VersionCheckServices services = VersionCheckServices::Defaults());

    // Timer_updateTimer: the check itself, once per run. Failures of the request show the error
    // page; a settings file that cannot be written is reported in a message box.
    void Timer_updateTimer();

    // VersionCheckView
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void ShowErrorPage() override;
    void ShowUpdateWindow() override;
    void ReportError(const std::string& text) override;

private:
    QWidget* m_mainWindow;
    QTimer* m_timer;
    std::function<void()> m_showErrorPage;
    QWidget* m_updateWindow;
    AppState& m_state;
    VersionCheckServices m_services;
};

} // namespace kelvra::ui
