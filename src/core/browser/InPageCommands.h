#pragma once

#include <functional>
#include <string>

#include "login/LoginHandOver.h"
#include "service/SessionClient.h"
#include "state/AppState.h"
#include "window/BusyIndicator.h"

namespace kelvra {

// The markers looked for in the URL of each navigation of WebBrowser1, as case-sensitive
// substrings of the URL as announced (nothing cut out or decoded).
inline constexpr const char* kMarkerVoid = ":void(0);";
inline constexpr const char* kMarkerSureContent = "sure_content(";
inline constexpr const char* kMarkerErrorPage = "err.asp";
inline constexpr const char* kMarkerErrorPageEnglish = "err_en.asp";
inline constexpr const char* kMarkerVipNotice = "notice(";
inline constexpr const char* kMarkerFan = ":fan(";
inline constexpr const char* kMarkerProduct = "pro_show.asp";
inline constexpr const char* kMarkerVipProduct = "pro_show_vip.asp";

// The fixed, untranslated captions of the in-page messages.
inline constexpr const char* kCaptionTips = "TIPS";
inline constexpr const char* kCaptionTip = "TIP";

// What the in-page commands need of the main window.
class InPageView : public LoginHandOverView {
public:
    // A modal information box with one OK button; returns when it is acknowledged.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Navigates WebBrowser1. Called from inside its before-navigate event, the navigation starts
    // once the event has returned and replaces the pending one.
    virtual void NavigateMain(const std::string& url) = 0;
    // Shows a page of RzPageControl1 by index (here only the error page, 8).
    virtual void ShowPage(int index) = 0;
};

// The watch over the navigations of the main browser (WebBrowser1BeforeNavigate2): from the
// markers of the URL it shows or hides the busy indicator, answers the VIP-only script link,
// sends a logged-out user to the login window, and before each product page re-checks the
// account with the service, applies the same-machine rule and counts the page against the
// account's quota. It never cancels the navigation; where another page must stay, it starts a
// navigation of its own.
class InPageCommands {
public:
    // `networkOnline` is asked once per event, after the busy-indicator and notice steps.
    InPageCommands(AppState& state, InPageView& view, BusyIndicatorControl& busy,
                   SessionClient& session, std::function<bool()> networkOnline);

    // Runs the steps for one navigation of WebBrowser1 with its URL. The markers are looked for
    // only when `serviceAddress` says the URL is of the service's origin (or a script link of one
    // of its pages); any other is an ordinary navigation: busy indicator only, nothing asked of
    // the service, no box, no login window. Service failures select the error page and end the
    // product step; nothing escapes.
    void WebBrowser1BeforeNavigate2(const std::string& url, bool serviceAddress);

private:
    void VipNotice();
    void OrdinaryProductPage();
    void VipProductPage();
    // The part of a product step after the username test; false when the step has ended.
    bool CheckAccount(bool dropVipFlag);
    void ShowServiceErrorPage();
    // Drops the account's session, with its VIP flag when asked.
    void EndAccountSession(bool dropVipFlag);
    void ShowLogin();
    std::string FunctionText(const char* key) const;

    AppState& m_state;
    InPageView& m_view;
    BusyIndicatorControl& m_busy;
    SessionClient& m_session;
    std::function<bool()> m_networkOnline;
};

} // namespace kelvra
