#include "service/Redirects.h"

#include <cctype>

namespace kelvra {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// An absolute http(s) URL cut into its parts; valid is false for anything else.
struct UrlParts {
    bool valid = false;
    std::string scheme; // "http" or "https", lower case
    std::string host;   // lower case, brackets of an IPv6 literal kept
    std::string port;   // explicit, or the scheme's default
    std::string rest;   // path, query and fragment, starting with "/" (or empty)
};

UrlParts Split(const std::string& url) {
    UrlParts parts;
    const std::size_t colon = url.find("://");
    if (colon == std::string::npos) {
        return parts;
    }
    parts.scheme = Lower(url.substr(0, colon));
    if (parts.scheme != "http" && parts.scheme != "https") {
        return parts;
    }
    const std::size_t start = colon + 3;
    const std::size_t end = url.find_first_of("/?#", start);
    std::string authority = url.substr(start, end == std::string::npos ? end : end - start);
    parts.rest = end == std::string::npos ? std::string() : url.substr(end);
    if (authority.find('@') != std::string::npos || authority.empty()) {
        return parts; // user information in a redirect target is never followed
    }
    const std::size_t close = authority.rfind(']');
    const std::size_t portColon = authority.rfind(':');
    if (portColon != std::string::npos && (close == std::string::npos || portColon > close)) {
        parts.port = authority.substr(portColon + 1);
        authority.resize(portColon);
    }
    if (parts.port.empty()) {
        parts.port = parts.scheme == "https" ? "443" : "80";
    }
    parts.host = Lower(authority);
    parts.valid = !parts.host.empty();
    return parts;
}

// The location resolved against the URL it came from (absolute, scheme-relative, path-absolute
// or path-relative form).
std::string Resolve(const std::string& from, const UrlParts& base, const std::string& location) {
    if (location.find("://") != std::string::npos &&
        location.find("://") < location.find_first_of("/?#")) {
        return location;
    }
    const std::size_t authorityEnd = from.find_first_of("/?#", from.find("://") + 3);
    const std::string origin = from.substr(0, authorityEnd);
    if (location.rfind("//", 0) == 0) {
        return base.scheme + ":" + location;
    }
    if (!location.empty() && location.front() == '/') {
        return origin + location;
    }
    std::string path = base.rest.substr(0, base.rest.find_first_of("?#"));
    const std::size_t lastSlash = path.rfind('/');
    path = lastSlash == std::string::npos ? "/" : path.substr(0, lastSlash + 1);
    return origin + path + location;
}

} // namespace

std::string FollowableRedirect(const std::string& from, const std::string& location) {
    const UrlParts base = Split(from);
    if (!base.valid || location.empty()) {
        return {};
    }
    const std::string target = Resolve(from, base, location);
    const UrlParts next = Split(target);
    if (!next.valid || next.host != base.host) {
        return {};
    }
    const bool sameOrigin = next.scheme == base.scheme && next.port == base.port;
    const bool upgrade = base.scheme == "http" && next.scheme == "https";
    return sameOrigin || upgrade ? target : std::string();
}

} // namespace kelvra
