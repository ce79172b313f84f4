#pragma once

#include <optional>
#include <string>

namespace kelvra {

// An absolute URL as libcurl's URL parser reads it.
struct UrlParts {
    std::string scheme;       // lower case
    std::string host;         // as written; an IPv6 literal without its brackets
    std::string port;         // the explicit port, or the scheme's default
    bool hasUserInfo = false; // a user name or password stands before the host
};

// The parts of an absolute URL; no value when libcurl cannot parse it (no scheme or one it does
// not know, a malformed host, a port out of range, blanks).
std::optional<UrlParts> ParseUrl(const std::string& url);

// `reference` (absolute, or relative in any form of RFC 3986) resolved against the absolute URL
// `base`, dot segments removed; empty when either of them cannot be parsed.
std::string ResolveUrl(const std::string& base, const std::string& reference);

} // namespace kelvra
