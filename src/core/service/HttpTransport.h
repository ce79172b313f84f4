#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "state/Version.h"

namespace kelvra {

// How a request ended. Every kind but Ok is a failure of the request as a whole.
enum class HttpOutcome {
    Ok,       // the transfer completed (any HTTP status)
    Refused,  // could not connect or resolve
    TimedOut, // connect or total time limit reached
    TooLarge, // body exceeded the size limit
    Aborted,  // the progress callback asked to stop
    Failed,   // any other transfer error (cut connection, protocol error)
};

struct HttpResponse {
    HttpOutcome outcome = HttpOutcome::Failed;
    long status = 0;         // HTTP status code, 0 when no reply was received
    std::string body;        // empty when readBody is false
    std::string contentType; // the Content-Type header, if any
    std::string location;    // the Location header of a redirect that was not followed, if any
    std::string error;       // human-readable reason for a failure
    // The server said where the body ends (a Content-Length or chunked encoding), so a transfer
    // that completed is whole; without it a connection cut early looks like the end.
    bool endDeclared = false;
    bool ok() const { return outcome == HttpOutcome::Ok; }
};

// A short English name of the outcome ("ok", "refused", ...), for logs and error texts.
const char* HttpOutcomeName(HttpOutcome outcome);

// Start-of-transfer and progress notifications: called with bytes received so far and the total
// announced by the server (0 when unknown). Returning false aborts the transfer.
using HttpProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

struct HttpRequestOptions {
    long connectTimeoutMs = 5000;
    long totalTimeoutMs = 15000;
    // When above 0: a transfer that moves less than one byte a second for this many seconds ends
    // as TimedOut (a stalled connection).
    long stallSeconds = 0;
    std::size_t maxBodyBytes = 32u * 1024u * 1024u;
    bool readBody = true;    // false: status only, the body is never read
    bool bypassCache = true; // send no-cache request headers
    bool followRedirects = false;
    std::string userAgent = std::string("Kelvra/") + kBuildVersion;
    HttpProgress progress; // optional
};

// The one HTTP client of the program: GET a URL into memory. Thread-compatible: one instance per
// thread; connections to the same host are reused between calls.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    // Never throws; every failure is reported in the response's outcome and error.
    virtual HttpResponse Get(const std::string& url, const HttpRequestOptions& options) = 0;
    HttpResponse Get(const std::string& url) { return Get(url, HttpRequestOptions{}); }
};

// The libcurl implementation.
std::unique_ptr<HttpTransport> MakeCurlTransport();

} // namespace kelvra
