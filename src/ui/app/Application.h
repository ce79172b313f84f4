#pragma once
// The composition root: every window, presenter, binder, transport and service client of the
// program is made here, in the order of its dependencies, and owned here. Members are listed in
// the order they are made; they go in the reverse order. A Qt parent that some of them also have
// never outlives them: each is destroyed here before its parent.

#include <functional>
#include <memory>
#include <string>

#include <QString>

#include "app/MainPresenter.h"
#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "state/AppState.h"
#include "ui/app/Automation.h"
#include "ui/app/ComboListsBinder.h"
#include "ui/app/ConnectivityBinder.h"
#include "ui/app/InstanceBeacon.h"
#include "ui/app/NumberHistoryBinder.h"
#include "ui/app/SearchPanelBinder.h"
#include "ui/app/TFormMain.h"
#include "ui/app/UiTranslations.h"
#include "ui/app/VersionCheckBinder.h"
#include "ui/browser/BrowserProfile.h"
#include "ui/browser/MainBrowserWatch.h"
#include "ui/browser/TVersion.h"
#include "ui/login/LoginWindowHost.h"
#include "ui/login/TFormLogin.h"
#include "ui/update/TUpdateForm.h"

namespace kelvra::ui {

class BrowserInputFilter;
class KeyboardShortcuts;
class PageAreaTools;
class SideMenuBinder;
class TrayController;

// The main window and everything that works on it alone: its presenter and its creation steps
// (run at construction: a settings write failure is reported in a message box and the window is
// still built), the lists, the searches and their history, the network and service watches, the
// page tools, the keys, the side menu, the tray. What the main window's tests make.
class MainWindowParts {
public:
    // `services` is the outside world of the presenter and the watches; `showLoginWindow` is
    // what the side menu's login item does (empty: nothing).
    explicit MainWindowParts(AppState& state, MainServices services = MainServices::Defaults(),
                             std::function<void()> showLoginWindow = {});
    ~MainWindowParts();

    TFormMain& Window() { return m_window; }
    MainPresenter& Presenter() { return m_presenter; }
    // The browser profile of the four browsers (the engine is warmed up through it).
    BrowserProfile& Profile() { return m_profile; }
    // The number, vehicle and engine searches of the side panel (AfterLogin replays the last).
    SearchPresenter& Search() { return m_search.Presenter(); }
    // The network and service watches on Timer1 and conn_kelvra.
    ConnectivityBinder& Watch() { return m_watch; }
    // The items of RzGroup4 and RzGroup5.
    SideMenuBinder& SideMenu() { return *m_sideMenu; }
    // Minimise to the tray and restore from it.
    TrayController& Tray() { return *m_tray; }
    // Back, forward, stop, zoom, find, print and PDF of the browser pages.
    PageAreaTools& PageTools() { return *m_pageTools; }

    // A second copy asked for this one: restored from the tray when it is there (its show probes
    // the service), then raised and activated; while another window of the program stands in
    // for it (login, update), that window is raised instead.
    void BringToFront();

private:
    std::function<bool()> NetworkOnline();
    void NetworkChanged(bool up);
    void ShownByProgram();

    AppState& m_state;
    // Lists, logout notices and side-menu requests, under the wait cursor.
    std::unique_ptr<HttpTransport> m_transport;
    BrowserProfile m_profile;      // outlives the window's four browsers
    UiTranslations m_translations; // texts beyond the language files
    TFormMain m_window;            // widgets and timers
    MainPresenter m_presenter;     // creation, show, resize, close
    ComboListsBinder m_lists;      // the seven vehicle and engine lists
    NumberHistoryBinder m_history; // numbers searched before
    SearchPanelBinder m_search;    // the nine searches and the scans
    ConnectivityBinder m_watch;    // network and service watches
    // Made after the creation steps (they read the data folder those steps find).
    std::unique_ptr<PageAreaTools> m_pageTools;     // a Qt child of the window too
    std::unique_ptr<KeyboardShortcuts> m_shortcuts; // a Qt child of the window too
    std::unique_ptr<SideMenuBinder> m_sideMenu;
    std::unique_ptr<TrayController> m_tray;
    std::unique_ptr<BrowserInputFilter> m_browserInput;
    bool m_firstShowReported = false;
};

// The client's windows joined: the main window's parts, the busy indicator over it, the session
// client shared by the main browser's watch and the login window, the login window, the update
// window and the version check that offers it. What the whole-client tests make.
class ClientParts {
public:
    // Cannot fail (a settings write failure of the creation steps is reported in a box).
    explicit ClientParts(AppState& state);
    ~ClientParts();

    MainWindowParts& Main() { return m_main; }
    TFormMain& Window() { return m_main.Window(); }
    TFormLogin& Login() { return m_login; }
    TUpdateForm& UpdateWindow() { return m_updateForm; }
    TVersion& BusyIndicator() { return m_busy; }
    SessionClient& Session() { return m_session; }
    MainBrowserWatch& BrowserWatch() { return m_browserWatch; }

private:
    void AfterLogin(const std::string& outcome);

    MainWindowParts m_main;
    TVersion m_busy; // the busy indicator window "Version"
    // Login checks and page counts, under the wait cursor.
    std::unique_ptr<HttpTransport> m_sessionTransport;
    SessionClient m_session;
    LoginWindowHost m_loginHost; // what the login window does to the main window
    TFormLogin m_login;
    MainBrowserWatch m_browserWatch; // the main browser's navigations through the rules
    TUpdateForm m_updateForm;
    VersionCheckBinder m_versionCheck; // on Timer_update
};

// The program: an update cut short finished first, then the client on the service named by the
// environment, answering second copies on the instance channel; closing the main window ends
// the event loop. The main window shows once the event loop runs; after its first show the
// start-up's remaining steps and the automation's requests (Automation.h) follow.
class Application {
public:
    // `instanceChannel`: where a second copy asks this one to come to the front.
    explicit Application(const QString& instanceChannel);
    ~Application();

private:
    // What the start found of the last update.
    struct LastUpdate {
        std::string programFolder; // empty when the program's path is unknown
        bool notInstalled = false; // its files did not get in place
    };
    static LastUpdate FinishInterruptedUpdate();
    void FirstShowDone();
    void AutomationReady();

    const LastUpdate m_lastUpdate;
    AppState m_state;
    ClientParts m_client;
    InstanceBeacon m_beacon;
    const Automation m_automation;
};

} // namespace kelvra::ui
