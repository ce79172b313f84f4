#include "ui/browser/InPageBinder.h"

#include <QTimer>

#include "app/MainPresenter.h"
#include "search/SearchPresenter.h"
#include "service/HttpTransport.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/SideMenuBinder.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/browser/TVersion.h"
#include "ui/login/TFormLogin.h"
#include "ui/service/WaitCursor.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"

namespace kelvra::ui {
namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

InPageBinder::InPageBinder(TFormMain& window, AppState& state, TFormLogin& login, TVersion& busy,
                           QObject* parent)
    : QObject(parent), m_window(window), m_login(login), m_busy(busy),
      m_serviceRoot(state.serviceRoot), m_transport(MakeWaitCursorTransport()),
      m_session(std::make_unique<SessionClient>(state, *m_transport, &ReadThisMachine)) {
    m_busy.SetMainWindow(&m_window, m_window.Side());
    m_commands = std::make_unique<InPageCommands>(state, *this, m_busy.Busy(), *m_session, [this] {
        return m_window.Presenter().NetworkOnline();
    });
    m_login.Bind(state, *this, m_busy.Busy(), *m_session, [this](const std::string& outcome) {
        m_window.RefreshQuota();
        m_window.Search().AfterLogin(outcome);
    });
    m_window.SideMenu().SetShowLoginWindow([this] { ShowLoginWindow(); });
    ConnectBrowsers();
}

InPageBinder::~InPageBinder() = default;

void InPageBinder::ConnectBrowsers() {
    BusyIndicator& busy = m_busy.Busy();
    // Script links count only when the user clicked them in one of the service's own pages.
    for (int number = 1; number <= 4; ++number) {
        if (BrowserView* browser = m_window.Browser(number))
            browser->SetTrustedOrigin(Q(m_serviceRoot));
    }
    if (BrowserView* main = m_window.Browser(1)) {
        connect(main, &BrowserView::beforeNavigate, this, [this](const QString& url) {
            m_commands->WebBrowser1BeforeNavigate2(url.toStdString());
            m_window.RefreshQuota(); // the watch may have checked the login or counted a page
        });
    }
    for (int number = 2; number <= 4; ++number) {
        if (BrowserView* browser = m_window.Browser(number)) {
            connect(browser, &BrowserView::beforeNavigate, this,
                    [&busy] { busy.SecondaryBeforeNavigate(); });
        }
    }
    for (int number = 1; number <= 4; ++number) {
        if (BrowserView* browser = m_window.Browser(number)) {
            connect(browser, &BrowserView::documentComplete, this,
                    [&busy] { busy.DocumentComplete(); });
        }
    }
}

void InPageBinder::ShowMessage(const std::string& text, const std::string& caption) {
    // Over the main window; the box is a window of its own and stays usable while the busy
    // indicator keeps the main window disabled.
    ShowInformation(&m_window, Q(caption), Q(text));
}

void InPageBinder::NavigateMain(const std::string& url) {
    // Started once the browser's navigation event has returned, so that it replaces the
    // navigation that is pending.
    QTimer::singleShot(0, this, [this, url = Q(url)] {
        if (BrowserView* main = m_window.Browser(1))
            main->Navigate(url);
    });
}

void InPageBinder::ShowPage(int index) {
    m_window.ShowPage(index);
}

void InPageBinder::HideMainWindow() {
    m_window.hide();
}

void InPageBinder::ShowLoginWindow() {
    m_login.show();
    m_login.raise();
    m_login.activateWindow();
}

int InPageBinder::ActivePage() const {
    return m_window.Pages()->ActiveIndex();
}

void InPageBinder::NavigatePurchaseBrowser(const std::string& url) {
    if (BrowserView* purchase = m_window.Browser(4))
        purchase->Navigate(Q(url));
}

void InPageBinder::SetMainCaption(const std::string& caption) {
    m_window.SetWindowCaption(caption);
}

void InPageBinder::ShowMainWindow() {
    m_window.show();
}

} // namespace kelvra::ui
