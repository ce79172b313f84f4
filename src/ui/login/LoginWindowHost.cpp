#include "ui/login/LoginWindowHost.h"

#include "app/SideMenuPresenter.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/PageControl.h"

namespace kelvra::ui {

LoginWindowHost::LoginWindowHost(TFormMain& window, QObject* parent)
    : QObject(parent), m_window(window) {}

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
