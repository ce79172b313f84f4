#pragma once

#include <functional>
#include <memory>

#include <QWidget>

#include "app/MainPresenter.h"
#include "app/MainView.h"
#include "state/AppState.h"
#include "ui/app/MainLayout.h"

class QTimer;

namespace kelvra {
class ComboListsBinder;
class HttpTransport;
class SearchPresenter;
} // namespace kelvra

namespace kelvra::ui {

class BrowserProfile;
class SearchPanelBinder;
class BrowserInputFilter;
class NumberHistoryBinder;
class PageAreaTools;
class UiTranslations;
class ConnectivityBinder;
class SideMenuBinder;
class TrayController;
class VersionCheckBinder;

// The main window FormMain: side channel with the five groups, the page control with nine pages,
// the status bar. It moves events and texts between the widgets and its presenter.
class TFormMain : public QWidget, public MainView {
    Q_OBJECT
public:
    // Builds the window (hidden) and runs the creation steps. A settings write failure is
    // reported in a message box and the window is still built.
    explicit TFormMain(AppState& state, MainServices services = MainServices::Defaults(),
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    MainPresenter& Presenter() { return *m_presenter; }
    // WebBrowser1..WebBrowser4 by number; nullptr outside 1..4.
    BrowserView* Browser(int number) const;
    PageControl* Pages() const { return m_pageArea.control; }
    // The browser profile of the four browsers (the entry warms the engine through it).
    BrowserProfile& Profile() const { return *m_profile; }
    SideChannel* Side() const { return m_side.channel; }
    // The large items of RzGroup4 or RzGroup5 (their clicks are the side-menu handlers);
    // nullptr for any other group.
    SideItemList* SideItems(int group) const;
    // The number, vehicle and engine searches of the side panel (AfterLogin replays the last).
    SearchPresenter& Search();
    // The panels of the number, vehicle and engine searches: they take input while a page loads.
    QList<QWidget*> SearchPanels() const;
    // Rebuilds the vehicle and engine lists when a language is applied.
    void SetListsRefill(std::function<void()> refill) { m_refillLists = std::move(refill); }
    // The network and service watches on Timer1 and conn_kelvra.
    ConnectivityBinder& Watch() { return *m_watch; }
    // The items of RzGroup4 and RzGroup5 (the entry gives it the login window).
    SideMenuBinder& SideMenu() { return *m_sideMenu; }
    // Minimise to the tray and restore from it.
    TrayController& Tray() { return *m_tray; }
    // A second copy asked for this one: restored from the tray when it is there (its show probes
    // the service), then raised and activated; while another window of the program stands in
    // for it (login, update), that window is raised instead.
    void BringToFront();
    // The version check on Timer_update (the entry gives it the update window).
    VersionCheckBinder& VersionCheck() { return *m_versionCheck; }
    // Back, forward, stop, zoom, find, print and PDF of the browser pages.
    PageAreaTools& PageTools() { return *m_pageTools; }
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
    // The first show (probe and start-up part) has finished and the window stays open.
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
    std::unique_ptr<HttpTransport> m_transport;
    std::unique_ptr<BrowserProfile> m_profile;
    SidePanel m_side;
    PageArea m_pageArea;
    StatusBar m_status;
    QTimer* m_timer1 = nullptr;
    QTimer* m_timerUpdate = nullptr;
    QTimer* m_connKelvra = nullptr;
    std::unique_ptr<ComboListsBinder> m_lists;
    std::unique_ptr<SearchPanelBinder> m_search;
    NumberHistoryBinder* m_history = nullptr; // owned by the window
    std::function<void()> m_refillLists;
    std::unique_ptr<MainPresenter> m_presenter;
    std::unique_ptr<ConnectivityBinder> m_watch;
    std::unique_ptr<SideMenuBinder> m_sideMenu;
    std::unique_ptr<TrayController> m_tray;
    std::unique_ptr<BrowserInputFilter> m_browserInput;
    VersionCheckBinder* m_versionCheck = nullptr; // owned by the window (a QObject child)
    UiTranslations* m_translations = nullptr;     // owned by the window
    PageAreaTools* m_pageTools = nullptr;         // owned by the window
    bool m_firstShowReported = false;
    bool m_closing = false;
};

} // namespace kelvra::ui
