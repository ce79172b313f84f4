#include "url/Url.h"

#include <curl/curl.h>

#include <memory>

namespace kelvra {
namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

// A handle holding the absolute URL `text`; null when libcurl cannot parse it.
UrlHandle Parsed(const std::string& text) {
    UrlHandle url(curl_url());
    if (url == nullptr || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) {
        return nullptr;
    }
    return url;
}

// One part of a parsed URL; no value when the URL has no such part.
std::optional<std::string> Part(CURLU* url, CURLUPart part, unsigned int flags = 0) {
    char* value = nullptr;
    if (curl_url_get(url, part, &value, flags) != CURLUE_OK || value == nullptr) {
        return std::nullopt;
    }
    std::string text(value);
    curl_free(value);
    return text;
}

} // namespace

std::optional<UrlParts> ParseUrl(const std::string& url) {
    const UrlHandle parsed = Parsed(url);
    if (parsed == nullptr) {
        return std::nullopt;
    }
    UrlParts parts;
    parts.scheme = Part(parsed.get(), CURLUPART_SCHEME).value_or("");
    parts.host = Part(parsed.get(), CURLUPART_HOST).value_or("");
    if (parts.host.size() >= 2 && parts.host.front() == '[' && parts.host.back() == ']') {
        parts.host = parts.host.substr(1, parts.host.size() - 2);
    }
    parts.port = Part(parsed.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT).value_or("");
    // Present even when empty, as in "http://@host/".
    parts.hasUserInfo =
        Part(parsed.get(), CURLUPART_USER) || Part(parsed.get(), CURLUPART_PASSWORD);
    return parts;
}

std::string ResolveUrl(const std::string& base, const std::string& reference) {
    const UrlHandle url = Parsed(base);
    if (url == nullptr) {
        return {};
    }
    CURLUcode code = CURLUE_OK;
    if (reference.empty() || reference.front() == '#') {
        // The base's path and query stay; only the fragment changes. (libcurl 7.88 would resolve
        // these two forms against the base's folder instead.)
        code = curl_url_set(url.get(), CURLUPART_FRAGMENT,
                            reference.empty() ? nullptr : reference.c_str() + 1, 0);
    } else {
        code = curl_url_set(url.get(), CURLUPART_URL, reference.c_str(), 0);
    }
    return code == CURLUE_OK ? Part(url.get(), CURLUPART_URL).value_or("") : std::string();
}

} // namespace kelvra
