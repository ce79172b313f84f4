#include "service/SessionNotices.h"

#include "service/SessionRules.h"
#include "settings/WindowCaption.h"

namespace kelvra {

// The logout notices carry no machine identity, so the client gets an empty one.
bool SendLogoutOnClose(AppState& state, HttpTransport& transport, bool online,
                       const HttpRequestOptions& options) {
    if (!online || !state.session.LoggedIn()) {
        return false;
    }
    SessionClient client(state, transport, MachineIdentity{}, options);
    return client.SendLogoutNotice().failed();
}

bool SwitchAccountsLogout(AppState& state, HttpTransport& transport, bool online,
                          const CaptionSink& setCaption, const HttpRequestOptions& options) {
    if (!online || !state.session.LoggedIn()) {
        return false;
    }
    SessionClient client(state, transport, MachineIdentity{}, options);
    const bool failed = client.SendSwitchAccountsLogout().failed();
    ClearForSwitchAccounts(state.session);
    if (!failed && setCaption) {
        setCaption(CaptionFor(state));
    }
    return failed;
}

bool LogoutBeforePurchase(AppState& state, HttpTransport& transport, bool online,
                          const HttpRequestOptions& options) {
    if (!online || state.session.gid != "0" || !state.session.LoggedIn()) {
        return false;
    }
    SessionClient client(state, transport, MachineIdentity{}, options);
    return client.SendLogoutNotice().failed();
}

} // namespace kelvra
