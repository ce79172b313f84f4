#pragma once

#include <functional>
#include <string>

#include "state/Session.h"

namespace kelvra {

struct XmlElement;

// How a session request ended. Failed means the error page is to be shown and the rest of the
// caller's operation skipped; fields already assigned keep their new values.
enum class SessionOutcome {
    Positive, // logged in / positive reply / report or notice delivered
    Negative, // the service answered with a returnValue other than "true"
    Failed,   // request failed, reply malformed, attribute missing or not a number
};

struct SessionResult {
    SessionOutcome outcome = SessionOutcome::Failed;
    std::string error; // why it failed; never holds the password or a request URL

    bool failed() const { return outcome == SessionOutcome::Failed; }
    bool positive() const { return outcome == SessionOutcome::Positive; }
};

// Which login check a login-status reply answers; they read different userinfo attributes.
enum class LoginCheckKind { Full, ReadOnly };

// True when the first direct child named returnValue of the document element has exactly the
// text "true"; false for any other text or when there is none.
bool IsPositiveReply(const XmlElement& root);

// Reads one userinfo element into the session, attribute by attribute in the protocol's order.
// The full check sets s_login to "True" right after s_ip; the read-only check reads s_login after
// search_count. Positive when read whole; Failed with a reason at the first missing attribute or
// counter that is not a signed 32-bit decimal integer, the fields read before it keeping their
// new values.
SessionResult ReadUserInfo(const XmlElement& userinfo, LoginCheckKind kind, Session& session);

// Reads every direct userinfo child in document order (the last one wins), calling
// afterEach after each one read whole. Stops at the first failure as ReadUserInfo does.
SessionResult ReadAllUserInfo(const XmlElement& root, LoginCheckKind kind, Session& session,
                              const std::function<void()>& afterEach = {});

} // namespace kelvra
