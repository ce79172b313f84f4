#pragma once

#include <functional>
#include <string>

#include "state/Session.h"

namespace kelvra {

struct XmlElement;

// Which login check a login-status reply answers; they read different userinfo attributes.
enum class LoginCheckKind { Full, ReadOnly };

// True when the first direct child named returnValue of the document element has exactly the
// text "true"; false for any other text or when there is none.
bool IsPositiveReply(const XmlElement& root);

// Reads one userinfo element into the session, attribute by attribute in the protocol's order.
// The full check sets s_login to "True" right after s_ip; the read-only check reads s_login after
// search_count. Returns false with a reason at the first missing attribute or counter that is
// not a signed 32-bit decimal integer; the fields read before it keep their new values.
bool ReadUserInfo(const XmlElement& userinfo, LoginCheckKind kind, Session& session,
                  std::string& error);

// Reads every direct userinfo child in document order (the last one wins), calling
// afterEach after each one read whole. Stops at the first error as ReadUserInfo does.
bool ReadAllUserInfo(const XmlElement& root, LoginCheckKind kind, Session& session,
                     std::string& error, const std::function<void()>& afterEach = {});

} // namespace kelvra
