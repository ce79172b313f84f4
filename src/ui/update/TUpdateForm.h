#pragma once

#include <memory>

#include <QDialog>

#include "state/AppState.h"
#include "update/UpdatePresenter.h"
#include "update/UpdateView.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kelvra::ui {

// The wait before the download: the automation's wait when one is set (Automation.h), else
// `designedMs`.
int UpdateWaitIntervalMs(int designedMs);

// The update window "Update": the text over the bar, the progress bar, the direct-download link
// and the hidden button that runs the download. It moves texts and events between the widgets
// and its presenter; the download itself runs on the presenter's worker thread.
class TUpdateForm : public QDialog, public UpdateView {
    Q_OBJECT
public:
    // Built hidden. `mainWindow` is shown again when the update is abandoned or declined, and
    // closed (ending the program) on the final Yes; without one (null), those steps only emit
    // the signals below. `services` defaults to the real network, executable and script.
    TUpdateForm(AppState& state, QWidget* mainWindow, QWidget* parent = nullptr);
    TUpdateForm(AppState& state, UpdateServices services, QWidget* mainWindow,
                QWidget* parent = nullptr);
    // Stops a running download (at its next progress notification) before the window goes.
    ~TUpdateForm() override;

    // Timer1's wait before the download in place of the designed one; 0 restores the designed
    // wait (or the environment's, see UpdateWaitIntervalMs).
    void SetWaitInterval(int ms) { m_waitMs = ms; }
    UpdatePresenter& Presenter() { return *m_presenter; }

    // UpdateView
    void SetControlText(const std::string& controlName, const std::string& text) override;
    void CentreOnScreen() override;
    void StartDownloadTimer(int intervalMs) override;
    void StopDownloadTimer() override;
    void SetProgress(int percent) override;
    void SetBusy() override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    bool AskToUpdate(const std::string& text, const std::string& caption) override;
    void OpenUrl(const std::string& url) override;
    void CloseWindow() override;
    void ShowMainWindow() override;
    void QuitProgram() override;
    void SetLinkLook(int width, bool underlined, bool handCursor) override;
    void ReportError(const std::string& text) override;
    void ReportUpdateProblem(kelvra::UpdateProblem problem) override;
    void RunOnUiThread(std::function<void()> task) override;

signals:
    void mainWindowShown();
    void quitRequested();

public slots:
    // Esc closes the window as the close box does (with the stop question).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();

    std::unique_ptr<UpdatePresenter> m_presenter;
    QWidget* m_mainWindow;
    QLabel* m_label1 = nullptr;
    QProgressBar* m_bar = nullptr;
    QWidget* m_linkPanel = nullptr;
    QLabel* m_label3 = nullptr;
    QPushButton* m_updateBtn = nullptr;
    QTimer* m_timer1 = nullptr;
    int m_waitMs = 0;
};

} // namespace kelvra::ui
