#pragma once

#include "service/HttpTransport.h"
#include "state/AppState.h"

namespace kelvra {

// What handing over to the login window needs of the main window.
class LoginHandOverView {
public:
    virtual ~LoginHandOverView() = default;
    virtual void HideMainWindow() = 0;
    // Shows the login window (a plain show, not modal); its own show handler runs.
    virtual void ShowLoginWindow() = 0;
};

// Sets the start-up-done flag, hides the main window and shows the login window, in this order,
// so that the main window's next show skips its start-up part. Cannot fail.
void HandOverToLogin(AppState& state, LoginHandOverView& view);

// The side-menu item "登陆" also needs the error page and the caption.
class SwitchAccountsView : public LoginHandOverView {
public:
    // Shows a page of RzPageControl1 by index.
    virtual void ShowPage(int index) = 0;
    virtual void SetWindowCaption(const std::string& caption) = 0;
};

// Item "登陆" of RzGroup5 (switch accounts): while online and logged in, sends the
// switch-accounts logout notice and clears the record whatever its outcome; a delivered notice
// sets the logged-out caption, a failed one shows the error page (index 8) and leaves the
// caption. Then, in every case, hands over to the login window.
void SwitchAccountsClick(AppState& state, HttpTransport& transport, bool online,
                         SwitchAccountsView& view, const HttpRequestOptions& options = {});

} // namespace kelvra
