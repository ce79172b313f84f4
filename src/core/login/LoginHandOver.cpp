#include "login/LoginHandOver.h"

#include "service/SessionNotices.h"
#include "window/MainPage.h"

namespace kelvra {

void HandOverToLogin(AppState& state, LoginHandOverView& view) {
    state.startupDone = true;
    view.HideMainWindow();
    view.ShowLoginWindow();
}

void SwitchAccountsClick(AppState& state, HttpTransport& transport, bool online,
                         SwitchAccountsView& view, const HttpRequestOptions& options) {
    const bool failed = SwitchAccountsLogout(
        state, transport, online,
        [&view](const std::string& caption) { view.SetWindowCaption(caption); }, options);
    if (failed) {
        view.ShowPage(kPageError);
    }
    HandOverToLogin(state, view);
}

} // namespace kelvra
