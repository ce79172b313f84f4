#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QObject>

#include "app/AppState.h"
#include "browser/InPageCommands.h"
#include "login/LoginView.h"
#include "service/SessionClient.h"

namespace kelvra {
class HttpTransport;
} // namespace kelvra

namespace kelvra::ui {

class TFormLogin;
class TFormMain;
class TVersion;

// Ties the browser host and the login window to the main window: the four browsers' events
// go to the busy indicator (WebBrowser1's through the in-page commands first), the in-page
// commands and the login window act on the main window through this adapter, and the side
// menu's login item opens the login window. It owns the session client they share, which
// reads this machine's address and IP at each login check.
class InPageBinder : public QObject, public InPageView, public LoginHostView {
    Q_OBJECT
public:
    // Connects everything at once; the four windows must outlive the binder. Cannot fail.
    InPageBinder(TFormMain& window, AppState& state, TFormLogin& login, TVersion& busy,
                 QObject* parent = nullptr);
    ~InPageBinder() override;

    InPageCommands& Commands() { return *m_commands; }
    SessionClient& Session() { return *m_session; }

    // InPageView (and LoginHandOverView)
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void NavigateMain(const std::string& url) override;
    void ShowPage(int index) override;
    void HideMainWindow() override;
    void ShowLoginWindow() override;

    // LoginHostView
    int ActivePage() const override;
    void NavigatePurchaseBrowser(const std::string& url) override;
    void SetMainCaption(const std::string& caption) override;
    void ShowMainWindow() override;

private:
    void ConnectBrowsers();

    TFormMain& m_window;
    TFormLogin& m_login;
    TVersion& m_busy;
    std::string m_serviceRoot;
    std::unique_ptr<HttpTransport> m_transport;
    std::unique_ptr<SessionClient> m_session;
    std::unique_ptr<InPageCommands> m_commands;
};

} // namespace kelvra::ui
