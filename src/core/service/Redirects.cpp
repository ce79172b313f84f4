#include "service/Redirects.h"

#include "text/Ascii.h"
#include "url/Url.h"

namespace kelvra {
namespace {

bool IsHttp(const UrlParts& url) {
    return url.scheme == "http" || url.scheme == "https";
}

} // namespace

bool IsRedirectStatus(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string FollowableRedirect(const std::string& from, const std::string& location) {
    const std::optional<UrlParts> base = ParseUrl(from);
    if (!base || !IsHttp(*base) || base->hasUserInfo || location.empty()) {
        return {};
    }
    std::string target = ResolveUrl(from, location);
    const std::optional<UrlParts> next = ParseUrl(target);
    // User information in a redirect target is never followed.
    if (!next || !IsHttp(*next) || next->hasUserInfo ||
        AsciiLower(next->host) != AsciiLower(base->host)) {
        return {};
    }
    const bool sameOrigin = next->scheme == base->scheme && next->port == base->port;
    const bool upgrade = base->scheme == "http" && next->scheme == "https";
    return sameOrigin || upgrade ? target : std::string();
}

} // namespace kelvra
