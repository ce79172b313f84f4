#pragma once

#include <memory>

#include <QObject>

#include "state/AppState.h"

namespace kelvra {
class HttpTransport;
class SessionClient;
} // namespace kelvra

namespace kelvra::ui {

class LoginWindowHost;
class MainBrowserWatch;
class TFormLogin;
class TFormMain;
class TVersion;

// Puts the browser host together: the four browsers trust only the service's own pages, the
// busy indicator follows their navigations (the main browser's through its watch), and the main
// browser's watch and the login window share one session client, which reads this machine's
// address and IP at each login check.
class BrowserHostBinder : public QObject {
    Q_OBJECT
public:
    // Connects everything at once; the four windows must outlive the binder. Cannot fail.
    BrowserHostBinder(TFormMain& window, AppState& state, TFormLogin& login, TVersion& busy,
                      QObject* parent = nullptr);
    ~BrowserHostBinder() override;

    MainBrowserWatch& Watch() { return *m_watch; }
    LoginWindowHost& LoginHost() { return *m_loginHost; }
    SessionClient& Session() { return *m_session; }

private:
    std::unique_ptr<HttpTransport> m_transport;
    std::unique_ptr<SessionClient> m_session;
    std::unique_ptr<LoginWindowHost> m_loginHost;
    std::unique_ptr<MainBrowserWatch> m_watch;
};

} // namespace kelvra::ui
