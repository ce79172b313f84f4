#pragma once

#include <string>

namespace kelvra {

class HttpTransport;

// Reachability probe: GET with agent "InetURL:/1.0", caches bypassed, "http://" put in front when
// the URL lacks it, redirects not followed, body never read. True exactly for status 200 and 302;
// false for every other status and every failure (refused, time limit).
bool ProbeUrl(HttpTransport& transport, const std::string& url);
bool ProbeUrl(const std::string& url);

} // namespace kelvra
