#pragma once

#include <functional>
#include <string>

#include "login/LoginView.h"
#include "service/SessionClient.h"
#include "state/AppState.h"
#include "window/BusyIndicator.h"

namespace kelvra {

inline constexpr int kLoginWindowWidth = 424;
inline constexpr int kLoginWindowHeight = 244;
inline constexpr const char* kLoginWindowCaption = "KELVRA LOGIN";

// The login outcome: "0" logged in, "1" cancelled, refused or left by the change-password link;
// empty until the first of these.
inline constexpr const char* kLoginSucceeded = "0";
inline constexpr const char* kLoginNotDone = "1";

// The rules of the login window: texts of section Login, the remembered user name, the checks,
// the full login check, the links and the hand-back to the main window. The password is held by
// the view and the session record only: it is never written to a file or a message.
class LoginPresenter {
public:
    // `afterLogin` is the main window's after-login step (SearchPresenter::AfterLogin), given
    // the login outcome each time the window closes.
    LoginPresenter(AppState& state, LoginView& view, LoginHostView& host,
                   BusyIndicatorControl& busy, SessionClient& session,
                   std::function<void(const std::string& outcome)> afterLogin);

    // Centres the window on the screen once (halves truncated). Cannot fail.
    void FormCreate(int screenWidth, int screenHeight);
    // Hides the busy indicator, empties both fields, puts the remembered user name and the
    // Remember box from the settings, and the texts of the chosen language file, on the
    // controls. Missing files and keys give the defaults.
    void FormShow();
    // The login button: settings written first, then the checks and the full login check.
    // A settings write failure is reported and the login goes on; a failed request shows the
    // main window's error page and leaves the window open.
    void RzButton1Click();
    // Key press in the password field: Enter (13) clicks the login button; other keys are the
    // field's.
    void RzEdit1KeyPress(char key);
    // Cancel: outcome "1", window closed.
    void Button1Click();
    // Change password: purchase page active, WebBrowser4 to the change-password page, outcome
    // "1", window closed.
    void Label3Click();
    // Create an account / forgotten password: the service page in the system's browser.
    void Label4Click();
    void Label5Click();
    // Hover effect of the three links, and its end over the window itself.
    void Label3MouseMove();
    void Label4MouseMove();
    void Label5MouseMove();
    void FormMouseMove();
    // The window has closed in any way: main window shown, then the after-login step with the
    // outcome.
    void FormClose();

    const std::string& Outcome() const { return m_outcome; }

private:
    void Hover(const char* label, int width);

    AppState& m_state;
    LoginView& m_view;
    LoginHostView& m_host;
    BusyIndicatorControl& m_busy;
    SessionClient& m_session;
    std::function<void(const std::string&)> m_afterLogin;
    std::string m_outcome;
};

} // namespace kelvra
