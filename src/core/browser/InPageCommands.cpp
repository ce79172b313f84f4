#include "browser/InPageCommands.h"

#include <exception>
#include <utility>

#include "service/SessionRules.h"
#include "service/SessionUrls.h"
#include "settings/LanguageTables.h"
#include "window/MainPage.h"

namespace kelvra {
namespace {

bool Contains(const std::string& url, const char* marker) {
    return url.find(marker) != std::string::npos;
}

} // namespace

InPageCommands::InPageCommands(AppState& state, InPageView& view, BusyIndicatorControl& busy,
                               SessionClient& session, std::function<bool()> networkOnline)
    : m_state(state), m_view(view), m_busy(busy), m_session(session),
      m_networkOnline(std::move(networkOnline)) {}

void InPageCommands::WebBrowser1BeforeNavigate2(const std::string& url, bool serviceAddress) {
    m_busy.HideBusy();
    if (!serviceAddress) {
        m_busy.ShowBusy(); // an address of another site carries none of the service's markers
        return;
    }
    if (!Contains(url, kMarkerVoid) && !Contains(url, kMarkerSureContent) &&
        !Contains(url, kMarkerErrorPage) && !Contains(url, kMarkerErrorPageEnglish)) {
        m_busy.ShowBusy();
    }
    if (Contains(url, kMarkerVipNotice)) {
        VipNotice();
    }
    if (Contains(url, kMarkerFan)) {
        m_busy.HideBusy();
    }
    if (!m_networkOnline || !m_networkOnline()) {
        return;
    }
    if (Contains(url, kMarkerProduct)) {
        OrdinaryProductPage();
    }
    if (Contains(url, kMarkerVipProduct)) {
        VipProductPage();
    }
}

void InPageCommands::VipNotice() {
    if (m_state.session.LoggedIn()) {
        m_view.ShowMessage(FunctionText("err_vip"), kCaptionTips);
        m_busy.HideBusy();
        return;
    }
    ShowServiceErrorPage();
    m_busy.HideBusy();
    ShowLogin();
}

void InPageCommands::OrdinaryProductPage() {
    if (!CheckAccount(false)) {
        return;
    }
    try {
        switch (m_session.ApplyOrdinaryQuota()) {
        case QuotaOutcome::Counted:
            return; // the report has gone out; the product page goes on loading
        case QuotaOutcome::Refused:
            m_view.ShowMessage(FunctionText("s_err_message_nosearch"), kCaptionTip);
            m_view.NavigateMain(MaxQueryPageUrl(m_state));
            return;
        case QuotaOutcome::Failed:
            break;
        }
    } catch (const std::exception&) {
        // Treated as a failed request: the error page below.
    }
    m_view.ShowPage(kPageError);
}

void InPageCommands::VipProductPage() {
    if (!CheckAccount(true)) {
        return;
    }
    try {
        switch (m_session.ApplyVipQuota()) {
        case QuotaOutcome::Counted:
            return;
        case QuotaOutcome::Refused:
            m_view.NavigateMain(VipMaxQueryPageUrl(m_state));
            return;
        case QuotaOutcome::Failed:
            break;
        }
    } catch (const std::exception&) {
    }
    m_view.ShowPage(kPageError);
}

bool InPageCommands::CheckAccount(bool dropVipFlag) {
    if (!m_state.session.LoggedIn()) {
        ShowServiceErrorPage();
        m_busy.HideBusy();
        ShowLogin();
        return false;
    }
    SessionResult check;
    try {
        check = m_session.ReadOnlyLoginCheck();
    } catch (const std::exception&) {
        check = SessionResult{SessionOutcome::Failed, "read-only login check failed"};
    }
    if (check.failed()) {
        // The busy indicator stays until the pending page is complete.
        m_view.ShowPage(kPageError);
        return false;
    }
    if (!check.positive()) {
        ShowServiceErrorPage();
        m_busy.HideBusy();
        EndAccountSession(dropVipFlag);
        ShowLogin();
        return false;
    }
    if (m_state.session.s_login == "False") {
        // No page of our own: the product page goes on loading behind the login window.
        m_busy.HideBusy();
        EndAccountSession(true);
        ShowLogin();
        return false;
    }
    if (LoggedOnElsewhere(m_state.session, m_session.Machine())) {
        m_view.ShowMessage(FunctionText("s_err_message_relogin"), kCaptionTip);
        ShowServiceErrorPage();
        m_busy.HideBusy();
        EndAccountSession(dropVipFlag);
        ShowLogin();
        return false;
    }
    return true;
}

void InPageCommands::ShowServiceErrorPage() {
    m_view.NavigateMain(ServiceErrorPageUrl(m_state));
}

void InPageCommands::EndAccountSession(bool dropVipFlag) {
    if (dropVipFlag) {
        DropSessionAndVipFlag(m_state.session);
    } else {
        DropSession(m_state.session);
    }
}

void InPageCommands::ShowLogin() {
    HandOverToLogin(m_state, m_view);
}

std::string InPageCommands::FunctionText(const char* key) const {
    return m_state.Held(key, BuiltInText("Function", key, m_state.IsChinese()));
}

} // namespace kelvra
