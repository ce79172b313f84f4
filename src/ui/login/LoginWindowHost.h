#pragma once

#include <string>

#include <QObject>

#include "login/LoginView.h"
#include "service/SessionClient.h"
#include "state/AppState.h"
#include "window/BusyIndicator.h"

namespace kelvra::ui {

class TFormLogin;
class TFormMain;

// The login hand-over: the login window acts on the main window through this host, and after a
// login the quota shown is refreshed and the last search is replayed. The side menu's login item
// opens the login window.
class LoginWindowHost : public QObject, public LoginHostView {
    Q_OBJECT
public:
    // Binds the login window; every argument must outlive the host. Cannot fail.
    LoginWindowHost(TFormMain& window, AppState& state, TFormLogin& login,
                    BusyIndicatorControl& busy, SessionClient& session, QObject* parent = nullptr);

    // Shows the login window in front.
    void ShowLoginWindow();

    // LoginHostView
    int ActivePage() const override;
    void ShowPage(int index) override;
    void NavigatePurchaseBrowser(const std::string& url) override;
    void SetMainCaption(const std::string& caption) override;
    void ShowMainWindow() override;

private:
    TFormMain& m_window;
    TFormLogin& m_login;
};

} // namespace kelvra::ui
