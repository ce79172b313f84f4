#pragma once

#include <string>

namespace kelvra {

// How many redirects one service request follows, as a browser would at most for one page.
inline constexpr int kMaxServiceRedirects = 5;

// True for the statuses whose Location the client goes on to: 301, 302, 303, 307 and 308.
bool IsRedirectStatus(long status);

// The absolute URL that a redirect from `from` with the Location value `location` leads to,
// when the client may follow it: the same host and port with the same scheme, or the same host
// moving from http to https (any port). Relative locations are resolved against `from` as
// RFC 3986 says. Empty for every other target (another host, a downgrade to http, another
// scheme, user information, no location, a URL that does not parse).
std::string FollowableRedirect(const std::string& from, const std::string& location);

} // namespace kelvra
