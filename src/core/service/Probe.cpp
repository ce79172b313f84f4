#include "service/Probe.h"

#include "service/HttpTransport.h"
#include "text/Ascii.h"

namespace kelvra {
namespace {

HttpRequestOptions ProbeOptions() {
    HttpRequestOptions options;
    options.userAgent = "InetURL:/1.0";
    options.bypassCache = true;
    options.readBody = false;
    options.followRedirects = false;
    // A silent host must not freeze the window: the probe gives up after these limits.
    options.connectTimeoutMs = 5000;
    options.totalTimeoutMs = 10000;
    return options;
}

} // namespace

bool ProbeUrl(HttpTransport& transport, const std::string& url) {
    const std::string lower = AsciiLower(url);
    // An "https://" address already has its scheme; only a bare address gets "http://".
    const bool hasScheme =
        lower.find("http://") != std::string::npos || lower.find("https://") != std::string::npos;
    const std::string target = hasScheme ? url : "http://" + url;
    const HttpResponse response = transport.Get(target, ProbeOptions());
    return response.ok() && (response.status == 200 || response.status == 302);
}

bool ProbeUrl(const std::string& url) {
    // One client per probe, released at its end.
    const auto transport = MakeCurlTransport();
    return ProbeUrl(*transport, url);
}

} // namespace kelvra
