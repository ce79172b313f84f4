#pragma once

#include <functional>
#include <string>

#include "app/SideMenuView.h"
#include "service/HttpTransport.h"
#include "settings/LanguageView.h"
#include "state/AppState.h"

namespace kelvra {

// The outside world of the side menu.
struct SideMenuServices {
    // The main window's network-online flag; empty counts as offline.
    std::function<bool()> networkOnline;
    // Makes a language current on the window; throws SettingsWriteError. Empty: ApplyLanguage.
    std::function<void(AppState&, LanguageView&, const std::string& language)> applyLanguage;
    HttpRequestOptions requestOptions; // for the logout notices
};

// Browsers of the information pages, by number (WebBrowser<n>).
inline constexpr int kResultsBrowser = 1;
inline constexpr int kCountryBrowser = 2;
inline constexpr int kSupplierBrowser = 3;
inline constexpr int kPurchaseBrowser = 4;

// The items of "厂商推荐" (RzGroup4) and "其他选项" (RzGroup5): information pages in the
// browsers of the main window or in the default browser, the about pictures, switching
// accounts, the purchase page, the language switch, and the reload rule of the country page.
class SideMenuPresenter {
public:
    // languageView: the window that a language is applied to (the main window).
    SideMenuPresenter(AppState& state, SideMenuView& view, LanguageView& languageView,
                      HttpTransport& transport, SideMenuServices services);

    // "厂商推荐": online only, the supplier page with suppliers.asp (Chinese: "?lan=Chinese").
    void RzGroup4Items0Click();
    // Dispatches a click on item 0..7 of RzGroup5; other indexes are ignored.
    void RzGroup5ItemClick(int index);

    // "关于我们": the about page with the picture of the current language. Cannot fail.
    void RzGroup5Items0Click();
    // "了解Kelvra": the supplier page with pdf/cn.asp or pdf/en.asp; sets the start-up-done flag.
    void RzGroup5Items1Click();
    // "注册": the registration page in the default browser; clears the item's mark.
    void RzGroup5Items2Click();
    // "完善资料": autoturn.asp with a fresh random code while logged in, else login.asp, in the
    // default browser; clears the item's mark.
    void RzGroup5Items3Click();
    // "地区选择": the country page; online only, country.asp with the language.
    void RzGroup5Items4Click();
    // "登陆": switch accounts (SwitchAccountsClick). A failed notice shows the error page.
    void RzGroup5Items5Click();
    // "在线购买": online only. The purchase page; with an account its address, without one the
    // logout notice when someone is logged in (failure: error page) and the login window.
    void RzGroup5Items6Click();
    // "语言切换": applies the other language. An unwritable settings or language file is
    // reported through the view; the steps after it do not run.
    void RzGroup5Items7Click();

    // TabSheet6 was resized: reloads WebBrowser2 when the country page is active and its
    // address contains "/pdf/"; otherwise nothing.
    void CountryPageResized();

private:
    bool Online() const { return m_services.networkOnline && m_services.networkOnline(); }
    std::string Page(const std::string& path) const { return m_state.pageBaseUrl + path; }

    AppState& m_state;
    SideMenuView& m_view;
    LanguageView& m_languageView;
    HttpTransport& m_transport;
    SideMenuServices m_services;
};

} // namespace kelvra
