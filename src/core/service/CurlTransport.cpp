#include "service/HttpTransport.h"
#include "service/Redirects.h"
#include "text/Ascii.h"

#include <curl/curl.h>

#include <cstdlib>
#include <mutex>
#include <string_view>

namespace kelvra {
namespace {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Per-request state shared with the libcurl callbacks.
struct Transfer {
    CURL* handle = nullptr;
    const HttpRequestOptions* options = nullptr;
    HttpResponse* response = nullptr;
    bool headersDone = false; // the final reply's headers ended and the body was not wanted
    bool tooLarge = false;
};

// Sees each header line only to find where a reply's header block ends: a status-only request
// stops there without reading the body, unless the reply is an interim one or a redirect that
// is about to be followed. The headers themselves are read from libcurl after the transfer.
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    const std::string_view line(data, length);
    if (line != "\r\n" && line != "\n") {
        return length;
    }
    long status = 0;
    curl_easy_getinfo(transfer->handle, CURLINFO_RESPONSE_CODE, &status);
    const HttpRequestOptions& options = *transfer->options;
    const bool interim = status >= 100 && status < 200;
    const bool followed = options.followRedirects && IsRedirectStatus(status);
    if (!options.readBody && !interim && !followed) {
        transfer->headersDone = true;
        return 0; // makes libcurl stop with CURLE_WRITE_ERROR
    }
    return length;
}

// The value of the last reply's header `name` (not of an interim or redirect reply before it),
// blanks around it removed; empty when that reply had no such header.
std::string LastReplyHeader(CURL* handle, const char* name) {
    curl_header* header = nullptr;
    if (curl_easy_header(handle, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK ||
        header == nullptr || header->value == nullptr) {
        return {};
    }
    return header->value;
}

// Status, type, redirect target and whether the end of the body was declared, as libcurl read
// them from the last reply; all empty (status 0) when no reply arrived.
void ReadReplyHead(CURL* handle, HttpResponse& response) {
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status);
    response.contentType = LastReplyHeader(handle, "Content-Type");
    response.location = LastReplyHeader(handle, "Location");
    curl_header* length = nullptr;
    response.endDeclared =
        curl_easy_header(handle, "Content-Length", 0, CURLH_HEADER, -1, &length) == CURLHE_OK ||
        AsciiLower(LastReplyHeader(handle, "Transfer-Encoding")).find("chunked") !=
            std::string::npos;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    if (!transfer->options->readBody) {
        transfer->headersDone = true;
        return 0;
    }
    std::string& body = transfer->response->body;
    if (body.size() + length > transfer->options->maxBodyBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    body.append(data, length);
    return length;
}

int OnProgress(void* user, curl_off_t downloadTotal, curl_off_t downloadNow, curl_off_t,
               curl_off_t) {
    auto* transfer = static_cast<Transfer*>(user);
    const HttpProgress& progress = transfer->options->progress;
    if (!progress) {
        return 0;
    }
    const auto received = static_cast<std::uint64_t>(downloadNow < 0 ? 0 : downloadNow);
    const auto total = static_cast<std::uint64_t>(downloadTotal < 0 ? 0 : downloadTotal);
    return progress(received, total) ? 0 : 1;
}

// Loopback never goes through a proxy, whatever the environment says; the environment's own
// exceptions are kept.
std::string NoProxyList() {
    std::string list = "localhost,127.0.0.1,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            list += ',';
            list += value;
            break;
        }
    }
    return list;
}

HttpOutcome MapError(CURLcode code) {
    switch (code) {
    case CURLE_OK:
        return HttpOutcome::Ok;
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return HttpOutcome::Refused;
    case CURLE_OPERATION_TIMEDOUT:
        return HttpOutcome::TimedOut;
    case CURLE_ABORTED_BY_CALLBACK:
        return HttpOutcome::Aborted;
    case CURLE_FILESIZE_EXCEEDED:
        return HttpOutcome::TooLarge;
    default:
        return HttpOutcome::Failed;
    }
}

class CurlTransport final : public HttpTransport {
public:
    CurlTransport() {
        InitCurlOnce();
        m_handle = curl_easy_init();
    }
    ~CurlTransport() override {
        if (m_handle != nullptr) {
            curl_easy_cleanup(m_handle);
        }
    }
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    HttpResponse Get(const std::string& url, const HttpRequestOptions& options) override;

private:
    CURL* m_handle = nullptr;
};

HttpResponse CurlTransport::Get(const std::string& url, const HttpRequestOptions& options) {
    HttpResponse response;
    if (m_handle == nullptr) {
        response.error = "the HTTP client could not be initialised";
        return response;
    }
    // Reset clears the previous request's options but keeps the open connections for reuse.
    curl_easy_reset(m_handle);

    Transfer transfer;
    transfer.handle = m_handle;
    transfer.options = &options;
    transfer.response = &response;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_slist* headers = nullptr;
    if (options.bypassCache) {
        headers = curl_slist_append(headers, "Cache-Control: no-cache");
        headers = curl_slist_append(headers, "Pragma: no-cache");
    }
    const std::string noProxy = NoProxyList();

    CURL* h = m_handle;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(h, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS,
                     static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    curl_easy_setopt(h, CURLOPT_NOPROXY, noProxy.c_str());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, options.totalTimeoutMs);
    if (options.stallSeconds > 0) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, options.stallSeconds);
    }
    curl_easy_setopt(h, CURLOPT_USERAGENT, options.userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, options.followRedirects ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    if (headers != nullptr) {
        curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    }
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    if (options.readBody) {
        // Refuses at once a reply whose Content-Length announces more than the limit.
        curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(options.maxBodyBytes));
    }

    const CURLcode code = curl_easy_perform(h);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
    curl_slist_free_all(headers);
    ReadReplyHead(h, response);

    if (code == CURLE_WRITE_ERROR && transfer.headersDone) {
        response.outcome = HttpOutcome::Ok; // stopped on purpose after the status
        response.body.clear();
        return response;
    }
    if (code == CURLE_WRITE_ERROR && transfer.tooLarge) {
        response.outcome = HttpOutcome::TooLarge;
    } else {
        response.outcome = MapError(code);
    }
    if (response.outcome == HttpOutcome::Ok) {
        return response;
    }
    if (response.outcome == HttpOutcome::TooLarge) {
        response.error = "reply larger than " + std::to_string(options.maxBodyBytes) + " bytes";
    } else if (errorBuffer[0] != '\0') {
        response.error = errorBuffer;
    } else {
        response.error = curl_easy_strerror(code);
    }
    response.body.clear();
    return response;
}

} // namespace

std::unique_ptr<HttpTransport> MakeCurlTransport() {
    return std::make_unique<CurlTransport>();
}

} // namespace kelvra
