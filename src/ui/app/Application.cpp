#include "ui/app/Application.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <QUrl>

#include <cstdio>

#include "platform/Platform.h"
#include "service/SessionNotices.h"
#include "settings/DataPaths.h"
#include "ui/app/BrowserInputFilter.h"
#include "ui/app/KeyboardShortcuts.h"
#include "ui/app/PageAreaTools.h"
#include "ui/app/SideMenuBinder.h"
#include "ui/app/TrayController.h"
#include "ui/browser/BrowserView.h"
#include "ui/service/WaitCursor.h"
#include "ui/widgets/EnterPressesButton.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"
#include "update/UpdateDownloader.h"
#include "update/UpdateStaging.h"
#include "url/Endpoints.h"

namespace kelvra::ui {
namespace {

QList<QWidget*> FourBrowsers(const TFormMain& window) {
    return {window.Browser(kResultsBrowser), window.Browser(kCountryBrowser),
            window.Browser(kSupplierBrowser), window.Browser(kPurchaseBrowser)};
}

// The presenter's services: its probes block under the wait cursor like every other request,
// the logout notice goes through the window's transport unless the caller brought one, and a
// failed show's maintenance message is the service watch's.
MainServices PresenterServices(MainServices services, HttpTransport& transport,
                               std::function<void()> reportMaintenance) {
    services.probe = WithWaitCursor(std::move(services.probe));
    if (!services.logoutOnClose) {
        services.logoutOnClose = [&transport](AppState& state, bool online) {
            return SendLogoutOnClose(state, transport, online);
        };
    }
    services.reportMaintenance = std::move(reportMaintenance);
    return services;
}

SearchPanelWidgets SearchWidgetsOf(TFormMain& window) {
    SearchPanelWidgets widgets = FindSearchPanelWidgets(
        &window, window.Browser(kResultsBrowser), [&window](int page) { window.ShowPage(page); });
    widgets.showHint = [&window](const QString& hint) { window.ShowHint(hint); };
    widgets.scanAreas = {window.Pages(), window.Side()};
    return widgets;
}

// Script links count only when the user clicked them in one of the service's own pages.
void TrustOnlyTheService(TFormMain& window, const std::string& serviceRoot) {
    for (int number = 1; number <= 4; ++number) {
        if (BrowserView* browser = window.Browser(number))
            browser->SetTrustedOrigin(QString::fromStdString(serviceRoot));
    }
}

// The busy indicator of the secondary browsers (2 to 4): up at each navigation they announce;
// down at the document-complete of any of the four browsers.
void ConnectBusyIndicator(TFormMain& window, BusyIndicator& busy, QObject* context) {
    for (int number = 2; number <= 4; ++number) {
        if (BrowserView* browser = window.Browser(number)) {
            QObject::connect(browser, &BrowserView::beforeNavigate, context,
                             [&busy] { busy.SecondaryBeforeNavigate(); });
        }
    }
    for (int number = 1; number <= 4; ++number) {
        if (BrowserView* browser = window.Browser(number)) {
            QObject::connect(browser, &BrowserView::documentComplete, context,
                             [&busy] { busy.DocumentComplete(); });
        }
    }
}

AppState StateForThisService() {
    AppState state;
    state.serviceRoot = ServiceRoot();
    return state;
}

void SaveScreenshot(QWidget& window, const QString& path) {
    const QString partial = path + QStringLiteral(".part");
    if (!window.grab().save(partial, "PNG"))
        return;
    QFile::remove(path);
    QFile::rename(partial, path);
}

// Prints the moment the main window was shown, for start-up timing.
void ReportShown() {
    std::printf("shown %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
}

// Shows the first browser's page and loads the URL in it; then, once the page has been drawn (or
// at once when the engine cannot be loaded), calls done.
void LoadStartPage(TFormMain& formMain, const QString& url, const std::function<void()>& done) {
    formMain.ShowPage(kPageResults);
    BrowserView* browser = formMain.Browser(kResultsBrowser);
    const QMetaObject::Connection loaded = QObject::connect(
        browser, &BrowserView::documentComplete, browser,
        [done] {
            QTimer::singleShot(1000, qApp, done); // the engine draws shortly after the load
        },
        Qt::SingleShotConnection);
    browser->Navigate(url);
    if (!browser->EngineWidget()) {
        QObject::disconnect(loaded);
        done();
    }
}

} // namespace

// The presenter is made before the binders that ask for its network flag; the maintenance
// reporter it is given reaches the watch made after it, which a show's probe needs only once
// everything is made.
MainWindowParts::MainWindowParts(AppState& state, MainServices services,
                                 std::function<void()> showLoginWindow)
    : m_state(state), m_transport(MakeWaitCursorTransport()),
      m_window(state, m_profile, m_translations),
      m_presenter(state, m_window,
                  PresenterServices(services, *m_transport,
                                    [this] { m_watch.Watch().ReportMaintenance(); })),
      m_lists(
          FindListBoxes(m_window), [this] { m_window.ShowPage(kPageError); }, state, *m_transport,
          NetworkOnline()),
      m_history(SearchWidgetsOf(m_window).fields),
      m_search(SearchWidgetsOf(m_window), state, NetworkOnline(),
               [this](int kind, const std::string& text) { m_history.Add(kind, text); }),
      m_watch(m_window, m_window.NetworkText(), m_window.Timers().timer1,
              m_window.Timers().connKelvra, state,
              ConnectivityServices{services.networkOnline, WithWaitCursor(services.probe),
                                   [this](bool up) { NetworkChanged(up); }},
              services.serviceWatch) {
    // Once the engine is warm, the first browser's engine is made out of sight: the first search
    // then does not wait for it (nothing is loaded or requested ahead of the user).
    QObject::connect(&m_profile, &BrowserProfile::warmedUp, m_window.Browser(kResultsBrowser),
                     &BrowserView::PrepareEngine);
    // The window's events run the presenter's steps.
    QObject::connect(&m_window, &TFormMain::listsToRefill, &m_window,
                     [this] { m_lists.GetComboxList(); });
    QObject::connect(&m_window, &TFormMain::shownByProgram, &m_window,
                     [this] { ShownByProgram(); });
    QObject::connect(&m_window, &TFormMain::resized, &m_window,
                     [this] { m_presenter.FormResize(); });
    QObject::connect(&m_window, &TFormMain::closing, &m_window,
                     [this] { m_presenter.FormClose(); });

    m_presenter.FormCreate();
    m_history.Load(m_state.dataFolder); // the data folder is known from here on
    m_pageTools = std::make_unique<PageAreaTools>(
        m_window, *m_window.Pages(),
        QList<BrowserView*>{m_window.Browser(kResultsBrowser), m_window.Browser(kCountryBrowser),
                            m_window.Browser(kSupplierBrowser), m_window.Browser(kPurchaseBrowser)},
        m_state);
    MakeEnterPressButtons(m_window.Side());
    m_shortcuts = std::make_unique<KeyboardShortcuts>(
        m_window, *m_window.Side(), *m_window.Groups(), SearchWidgetsOf(m_window).fields[0]);
    QObject::connect(m_window.Timers().timer1, &QTimer::timeout, &m_window,
                     &TFormMain::RefreshQuota);
    m_sideMenu = std::make_unique<SideMenuBinder>(
        m_window, m_state, *m_transport,
        SideMenuServices{NetworkOnline(), services.applyLanguage, {}}, std::move(showLoginWindow));
    m_tray = std::make_unique<TrayController>(m_window, m_state);
    m_browserInput = std::make_unique<BrowserInputFilter>(FourBrowsers(m_window));
}

MainWindowParts::~MainWindowParts() = default;

std::function<bool()> MainWindowParts::NetworkOnline() {
    return [this] { return m_presenter.NetworkOnline(); };
}

void MainWindowParts::NetworkChanged(bool up) {
    // The tick that sees the network return refills the lists that a start or a load without it
    // left empty.
    const bool returned = up && !m_presenter.NetworkOnline();
    m_presenter.SetNetworkOnline(up);
    if (returned)
        m_lists.Presenter().RefillEmptyLists();
}

void MainWindowParts::ShownByProgram() {
    const bool stays = m_presenter.FormShow();
    if (stays && !m_firstShowReported) {
        m_firstShowReported = true;
        QMetaObject::invokeMethod(&m_window, &TFormMain::firstShowDone, Qt::QueuedConnection);
    }
}

void MainWindowParts::BringToFront() {
    if (m_tray->InTray())
        m_tray->RestoreFromTray();
    QWidget* front = &m_window;
    if (!m_window.isVisible()) {
        front = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->isWindow() && !(top->windowFlags() & Qt::Tool) &&
                top->windowType() != Qt::Popup && top->windowType() != Qt::ToolTip) {
                front = top;
                break;
            }
        }
    }
    if (front == nullptr)
        return;
    front->raise();
    front->activateWindow();
}

// The side menu (inside the main window's parts) opens the login window, which is made after
// it: only on a click, once everything is made.
ClientParts::ClientParts(AppState& state)
    : m_main(state, MainServices::Defaults(), [this] { m_login.ShowInFront(); }),
      m_busy(&m_main.Window(), m_main.Window().Side(), m_main.Window().SearchPanels()),
      m_sessionTransport(MakeWaitCursorTransport()),
      m_session(state, *m_sessionTransport, &ReadThisMachine), m_loginHost(m_main.Window()),
      m_login(state, m_loginHost, m_busy.Busy(), m_session,
              [this](const std::string& outcome) { AfterLogin(outcome); }),
      m_browserWatch(
          m_main.Window(), state, m_busy.Busy(), m_session,
          [this] { return m_main.Presenter().NetworkOnline(); }, [this] { m_login.ShowInFront(); }),
      m_updateForm(state, &m_main.Window()),
      m_versionCheck(
          &m_main.Window(), m_main.Window().Timers().timerUpdate,
          [this] { m_main.Window().ShowPage(kPageError); }, &m_updateForm, state) {
    TrustOnlyTheService(m_main.Window(), state.serviceRoot);
    ConnectBusyIndicator(m_main.Window(), m_busy.Busy(), &m_busy);
    // Esc stops the load also while the indicator is the active window (some window systems
    // activate it when it shows).
    m_busy.addAction(m_main.PageTools().Keys().Action(PageCommand::StopOrCloseFind));
}

ClientParts::~ClientParts() = default;

void ClientParts::AfterLogin(const std::string& outcome) {
    m_main.Window().RefreshQuota();
    m_main.Search().AfterLogin(outcome);
}

Application::Application(const QString& instanceChannel)
    : m_lastUpdate(FinishInterruptedUpdate()), m_state(StateForThisService()), m_client(m_state),
      m_beacon(instanceChannel, [this] { m_client.Main().BringToFront(); }),
      m_automation(Automation::FromEnvironment()) {
    TFormMain& window = m_client.Window();
    QObject::connect(&window, &TFormMain::closed, qApp, &QApplication::quit, Qt::QueuedConnection);
    LogWindowStates(window, m_automation);
    QObject::connect(&window, &TFormMain::firstShowDone, &window, [this] { FirstShowDone(); });
    QTimer::singleShot(0, &window, [&window] { window.show(); });
}

Application::~Application() = default;

// An update cut short: its swap finished, or its staged files dropped; then the files that its
// saves left half-written.
Application::LastUpdate Application::FinishInterruptedUpdate() {
    const std::string program = ExePath();
    if (program.empty())
        return {};
    LastUpdate last{FolderOfPath(program), false};
    last.notInstalled = ResumeOrDiscardInterruptedUpdate(FindDataFolder(), last.programFolder);
    RemoveInterruptedSaves(last.programFolder);
    return last;
}

void Application::FirstShowDone() {
    if (m_automation.exitAfterShow)
        ReportShown();
    // Said once the window is there, without holding up the start.
    if (m_lastUpdate.notInstalled) {
        TUpdateForm& updateForm = m_client.UpdateWindow();
        QTimer::singleShot(0, &updateForm, [&updateForm] {
            updateForm.ReportUpdateProblem(UpdateProblem::LastNotInstalled);
        });
    }
    // Started well: the old files of the last update are not needed.
    RemoveUpdateBackups(m_state.dataFolder, m_lastUpdate.programFolder);
    // The first search then finds the web engine ready.
    m_client.Main().Profile().WarmUp(QUrl(QString::fromStdString(m_state.pageBaseUrl)));
    if (m_automation.startPage.isEmpty())
        AutomationReady();
    else
        LoadStartPage(m_client.Window(), m_automation.startPage, [this] { AutomationReady(); });
}

// Once the window is shown (and the start page, if one was asked for, has been drawn) the
// screenshot is saved and, when asked, the program ends or goes to the tray.
void Application::AutomationReady() {
    TFormMain& window = m_client.Window();
    if (!m_automation.screenshot.isEmpty())
        SaveScreenshot(window, m_automation.screenshot);
    if (m_automation.exitAfterShow)
        QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    else if (m_automation.toTray)
        window.showMinimized(); // as the window system's minimise command
}

} // namespace kelvra::ui
