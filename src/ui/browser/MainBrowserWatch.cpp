#include "ui/browser/MainBrowserWatch.h"

#include <QTimer>

#include "app/SideMenuPresenter.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"

namespace kelvra::ui {
MainBrowserWatch::MainBrowserWatch(TFormMain& window, AppState& state, BusyIndicatorControl& busy,
                                   SessionClient& session, std::function<bool()> networkOnline,
                                   std::function<void()> showLoginWindow, QObject* parent)
    : QObject(parent), m_window(window), m_showLoginWindow(std::move(showLoginWindow)),
      m_commands(
          std::make_unique<InPageCommands>(state, *this, busy, session, std::move(networkOnline))) {
    if (BrowserView* main = m_window.Browser(kResultsBrowser)) {
        connect(
            main, &BrowserView::beforeNavigate, this, [this](const QString& url, bool ofService) {
                m_commands->WebBrowser1BeforeNavigate2(url.toStdString(), ofService);
                m_window.RefreshQuota(); // the watch may have checked the login or counted a page
            });
    }
}

MainBrowserWatch::~MainBrowserWatch() = default;

void MainBrowserWatch::ShowMessage(const std::string& text, const std::string& caption) {
    // Over the main window; the box is a window of its own and stays usable while the busy
    // indicator keeps the main window disabled.
    ShowInformation(&m_window, QString::fromStdString(caption), QString::fromStdString(text));
}

void MainBrowserWatch::NavigateMain(const std::string& url) {
    // Started once the browser's navigation event has returned, so that it replaces the
    // navigation that is pending.
    QTimer::singleShot(0, this, [this, url = QString::fromStdString(url)] {
        if (BrowserView* main = m_window.Browser(kResultsBrowser))
            main->Navigate(url);
    });
}

void MainBrowserWatch::ShowPage(int index) {
    m_window.ShowPage(index);
}

void MainBrowserWatch::HideMainWindow() {
    m_window.hide();
}

void MainBrowserWatch::ShowLoginWindow() {
    if (m_showLoginWindow)
        m_showLoginWindow();
}

} // namespace kelvra::ui
