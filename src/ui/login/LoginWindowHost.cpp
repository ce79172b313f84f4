#include "ui/login/LoginWindowHost.h"

#include "app/SideMenuPresenter.h"
#include "search/SearchPresenter.h"
#include "ui/app/SideMenuBinder.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/login/TFormLogin.h"
#include "ui/widgets/PageControl.h"

namespace kelvra::ui {

LoginWindowHost::LoginWindowHost(TFormMain& window, AppState& state, TFormLogin& login,
                                 BusyIndicatorControl& busy, SessionClient& session,
                                 QObject* parent)
    : QObject(parent), m_window(window), m_login(login) {
    m_login.Bind(state, *this, busy, session, [this](const std::string& outcome) {
        m_window.RefreshQuota();
        m_window.Search().AfterLogin(outcome);
    });
    m_window.SideMenu().SetShowLoginWindow([this] { ShowLoginWindow(); });
}

void LoginWindowHost::ShowLoginWindow() {
    m_login.show();
    m_login.raise();
    m_login.activateWindow();
}

int LoginWindowHost::ActivePage() const {
    return m_window.Pages()->ActiveIndex();
}

void LoginWindowHost::ShowPage(int index) {
    m_window.ShowPage(index);
}

void LoginWindowHost::NavigatePurchaseBrowser(const std::string& url) {
    if (BrowserView* purchase = m_window.Browser(kPurchaseBrowser))
        purchase->Navigate(QString::fromStdString(url));
}

void LoginWindowHost::SetMainCaption(const std::string& caption) {
    m_window.SetWindowCaption(caption);
}

void LoginWindowHost::ShowMainWindow() {
    m_window.show();
}

} // namespace kelvra::ui
