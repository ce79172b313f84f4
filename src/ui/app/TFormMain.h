#pragma once

#include <QWidget>

#include "app/MainView.h"
#include "state/AppState.h"
#include "ui/app/MainLayout.h"

class QTimer;

namespace kelvra::ui {

class BrowserProfile;
class UiTranslations;

// The three timers of the main window, children of it; what runs on them is wired by the
// composition root (ui/app/Application.h).
struct MainTimers {
    QTimer* timer1 = nullptr;      // Timer1, every second: network watch and quota
    QTimer* timerUpdate = nullptr; // Timer_update, single-shot: the version check
    QTimer* connKelvra = nullptr;  // conn_kelvra: the service watch
};

// The main window FormMain: side channel with the five groups, the page control with nine pages,
// the status bar. It moves texts to its widgets and reports its show, resize and close as
// signals; the composition root (ui/app/Application.h) joins them to the presenter.
class TFormMain : public QWidget, public MainView {
    Q_OBJECT
public:
    // Builds the widgets and timers (hidden); the browsers share `profile`, and `translations`
    // follows the language. Both must outlive the window. Cannot fail.
    TFormMain(AppState& state, BrowserProfile& profile, UiTranslations& translations,
              QWidget* parent = nullptr);
    ~TFormMain() override;

    // WebBrowser1..WebBrowser4 by number; nullptr outside 1..4.
    BrowserView* Browser(int number) const;
    PageControl* Pages() const { return m_pageArea.control; }
    SideChannel* Side() const { return m_side.channel; }
    GroupBar* Groups() const { return m_side.bar; }
    const MainTimers& Timers() const { return m_timers; }
    // Label6, the network state in the status bar.
    QLabel* NetworkText() const { return m_status.networkText; }
    // A short hint in the status bar, over the link and the quota.
    void ShowHint(const QString& hint);
    // The large items of RzGroup4 or RzGroup5 (their clicks are the side-menu handlers);
    // nullptr for any other group.
    SideItemList* SideItems(int group) const;
    // The panels of the number, vehicle and engine searches: they take input while a page loads.
    QList<QWidget*> SearchPanels() const;
    // Shows the day's counted pages of the session in the status bar (nothing while logged out).
    void RefreshQuota();
    // False: the status bar notes that the service is not answering, in the quota's place.
    void SetServiceAnswering(bool answering);

    // LanguageView
    void SetControlText(const std::string& controlName, const std::string& text) override;
    void SetControlHint(const std::string& controlName, const std::string& hint) override;
    void SetWindowCaption(const std::string& caption) override;
    void SetSideItemCaption(int group, int index, const std::string& caption) override;
    void SetSideItemImage(int group, int index, int imageIndex) override;
    void SetSideItemSelected(int group, int index, bool selected) override;
    void ShowPage(int index) override;
    // Emits listsToRefill.
    void RefillLists() override;
    void MakeTranslationsCurrent(bool chinese) override;

    // MainView
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void ReportError(const std::string& text) override;
    void CloseWindow() override;
    void CentreOnScreen() override;
    void HidePageTabs() override;
    void CentrePictures() override;
    void FocusSideChannel() override;
    void SetUrlLabelWidth(int width) override;
    WindowSize OuterSize() const override;
    void SetOuterSize(WindowSize size) override;

signals:
    // The program showed the window (not the window system restoring it): the show steps run.
    void shownByProgram();
    // The window changed its size (after its children were laid out).
    void resized();
    // The window closes for the first time: the close steps run, before `closed`.
    void closing();
    // The vehicle and engine lists are to be rebuilt (a language was applied).
    void listsToRefill();
    // The first show (probe and start-up part) has finished and the window stays open; emitted
    // by whoever runs the show steps.
    void firstShowDone();
    // The window has closed; the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutChildren();
    void OpenInfoPage();

    AppState& m_state;
    UiTranslations& m_translations;
    SidePanel m_side;
    PageArea m_pageArea;
    StatusBar m_status;
    MainTimers m_timers;
    bool m_closing = false;
};

} // namespace kelvra::ui
