#pragma once

#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "state/AppState.h"

namespace kelvra {

// Closing the main window: when online and someone is logged in, sends the logout notice
// (XML-base form); the record is not cleared. Returns true when the notice failed and the error
// page is to be shown; the program ends either way.
bool SendLogoutOnClose(AppState& state, HttpTransport& transport, bool online,
                       const HttpRequestOptions& options = {});

// Switching accounts: when online and someone is logged in, sends the switch-accounts notice
// and clears the record whatever its outcome; the logged-out caption is set only after a
// delivered notice. Offline or logged out: nothing is sent and nothing changes. Returns true
// when the notice failed (error page).
bool SwitchAccountsLogout(AppState& state, HttpTransport& transport, bool online,
                          const CaptionSink& setCaption, const HttpRequestOptions& options = {});

// Before the purchase page: when online, gid is "0" and someone is logged in, sends the logout
// notice (XML-base form); the record is not changed. Returns true when the notice failed.
bool LogoutBeforePurchase(AppState& state, HttpTransport& transport, bool online,
                          const HttpRequestOptions& options = {});

} // namespace kelvra
