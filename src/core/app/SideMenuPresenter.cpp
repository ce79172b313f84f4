#include "app/SideMenuPresenter.h"

#include <exception>
#include <utility>

#include "app/ApplyLanguage.h"
#include "app/MainPresenter.h"
#include "login/LoginHandOver.h"
#include "service/SessionNotices.h"
#include "service/SessionUrls.h"
#include "text/Strings.h"
#include "url/Endpoints.h"

namespace kelvra {
namespace {

constexpr int kGroup5 = 5;

} // namespace

SideMenuPresenter::SideMenuPresenter(AppState& state, SideMenuView& view,
                                     LanguageView& languageView, HttpTransport& transport,
                                     SideMenuServices services)
    : m_state(state), m_view(view), m_languageView(languageView), m_transport(transport),
      m_services(std::move(services)) {}

void SideMenuPresenter::RzGroup4Items0Click() {
    if (!Online())
        return;
    m_view.ShowPage(kPageSuppliers);
    m_view.NavigateBrowser(kSupplierBrowser, Page(m_state.IsChinese() ? "suppliers.asp?lan=Chinese"
                                                                      : "suppliers.asp"));
}

void SideMenuPresenter::RzGroup5ItemClick(int index) {
    switch (index) {
    case 0:
        RzGroup5Items0Click();
        break;
    case 1:
        RzGroup5Items1Click();
        break;
    case 2:
        RzGroup5Items2Click();
        break;
    case 3:
        RzGroup5Items3Click();
        break;
    case 4:
        RzGroup5Items4Click();
        break;
    case 5:
        RzGroup5Items5Click();
        break;
    case 6:
        RzGroup5Items6Click();
        break;
    case 7:
        RzGroup5Items7Click();
        break;
    default:
        break;
    }
}

void SideMenuPresenter::RzGroup5Items0Click() {
    m_view.ShowPage(kPageAbout);
    m_view.ShowAboutPicture(m_state.IsChinese());
}

void SideMenuPresenter::RzGroup5Items1Click() {
    m_view.ShowPage(kPageSuppliers);
    m_state.startupDone = true;
    m_view.NavigateBrowser(kSupplierBrowser,
                           Page(m_state.IsChinese() ? "pdf/cn.asp" : "pdf/en.asp"));
}

void SideMenuPresenter::RzGroup5Items2Click() {
    m_view.OpenInDefaultBrowser(Page("reg/reg_simple.asp"));
    m_view.SetItemSelected(kGroup5, 2, false);
}

void SideMenuPresenter::RzGroup5Items3Click() {
    const Session& session = m_state.session;
    if (session.s_login != "False") {
        // A fresh code for every click; the user name is one encoded query value.
        m_view.OpenInDefaultBrowser(Page("autoturn.asp?gid=" + MakeRandomCode(session.gid) +
                                         "&username=" + EncodeQueryValue(session.username)));
    } else {
        m_view.OpenInDefaultBrowser(Page("login.asp"));
    }
    m_view.SetItemSelected(kGroup5, 3, false);
}

void SideMenuPresenter::RzGroup5Items4Click() {
    m_view.ShowPage(kPageCountry);
    if (Online()) {
        m_view.NavigateBrowser(
            kCountryBrowser,
            Page(std::string("country.asp?lan=") + (m_state.IsChinese() ? "Chinese" : "English")));
    }
}

void SideMenuPresenter::RzGroup5Items5Click() {
    SwitchAccountsClick(m_state, m_transport, Online(), m_view, m_services.requestOptions);
}

void SideMenuPresenter::RzGroup5Items6Click() {
    if (!Online())
        return;
    m_view.ShowPage(kPagePurchase);
    if (m_state.session.gid != "0") {
        m_view.NavigateBrowser(kPurchaseBrowser, PurchasePageUrl(m_state));
        return;
    }
    if (LogoutBeforePurchase(m_state, m_transport, true, m_services.requestOptions))
        m_view.ShowPage(kPageError);
    HandOverToLogin(m_state, m_view);
}

void SideMenuPresenter::RzGroup5Items7Click() {
    const std::string next = m_state.IsChinese() ? "English" : "Chinese";
    try {
        if (m_services.applyLanguage)
            m_services.applyLanguage(m_state, m_languageView, next);
        else
            ApplyLanguage(m_state, m_languageView, next);
    } catch (const std::exception& e) {
        if (FirstReportOf(m_state, e))
            m_view.ReportError(e.what());
    }
}

void SideMenuPresenter::CountryPageResized() {
    if (m_view.ActivePage() != kPageCountry)
        return;
    if (m_view.BrowserLocation(kCountryBrowser).find("/pdf/") != std::string::npos)
        m_view.RefreshBrowser(kCountryBrowser);
}

} // namespace kelvra
