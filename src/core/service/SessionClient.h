#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "service/HttpTransport.h"
#include "service/SessionReply.h"
#include "service/SessionUrls.h"
#include "state/AppState.h"

namespace kelvra {

struct XmlElement;

enum class QuotaOutcome {
    Counted, // the counter was incremented and reported
    Refused, // over the limit: nothing sent, nothing changed
    Failed,  // the count report failed (the incremented counter stays)
};

// Reads this machine's identity; called anew at each login check.
using MachineIdentitySource = std::function<MachineIdentity()>;

// This machine's address and local IP as the platform reports them now (GetMacAddress,
// LocalIpAddress); a value that cannot be read is empty.
MachineIdentity ReadThisMachine();

// Receives a new main window caption.
using CaptionSink = std::function<void(const std::string& caption)>;

// The requests of the account session protocol and what their replies do to the record in
// state.session. Requests go to state.xmlBaseUrl (and state.pageBaseUrl for the switch-accounts
// notice) with every value percent-encoded; each request has the time limits of the options.
class SessionClient {
public:
    // With a fixed identity.
    SessionClient(AppState& state, HttpTransport& transport, MachineIdentity machine,
                  HttpRequestOptions options = {});
    // With an identity read from the source at each login check (ReadThisMachine in the client).
    SessionClient(AppState& state, HttpTransport& transport, MachineIdentitySource machine,
                  HttpRequestOptions options = {});

    // Full login check with the typed user name and password. Positive: username and password
    // set, every userinfo read (s_login "True", logged-in caption after each), then the count
    // sync. Negative: the record is logged out and the logged-out caption set. Failed on any
    // request or reply error.
    SessionResult FullLoginCheck(const std::string& username, const std::string& password,
                                 const CaptionSink& setCaption);
    // Read-only login check with the session's user name and password; a positive reply
    // refreshes the record from userinfo. Failed on any request or reply error.
    SessionResult ReadOnlyLoginCheck();

    // Count reports with the given values; Failed when the request or its XML reply fails.
    SessionResult SendCountReport(const std::string& username, const std::string& password,
                                  std::int32_t count);
    SessionResult SendVipCountReport(std::int32_t count);

    // The quota rules: test, then increment and report. Failed when the report failed.
    QuotaOutcome ApplyOrdinaryQuota();
    QuotaOutcome ApplyVipQuota();

    // Logout notice in the XML-base form with the session's user name and password.
    SessionResult SendLogoutNotice();
    // Logout notice in the switch-accounts form (under the page base, double slash kept).
    SessionResult SendSwitchAccountsLogout();

    // The identity the last login check sent (before any check: empty values).
    const MachineIdentity& Machine() const { return m_machine; }

private:
    // GETs a URL and parses it; on success fills root. The error never carries the URL.
    SessionResult Fetch(const std::string& url, XmlElement& root);
    SessionResult FetchIgnoringContent(const std::string& url);

    // Reads the identity anew for a login check and keeps it for Machine().
    const MachineIdentity& ReadMachine();

    AppState& m_state;
    HttpTransport& m_transport;
    MachineIdentitySource m_source;
    MachineIdentity m_machine;
    HttpRequestOptions m_options;
};

} // namespace kelvra
