#include "Faults.h"

#include "Reply.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

namespace kelvra::sim {
namespace {

constexpr int kDefaultHangMs = 120000;
constexpr int kDefaultSlowMs = 3000;
constexpr int kDripIntervalMs = 200;
constexpr long long kDefaultOversizedBytes = 100LL * 1024 * 1024;

int PortOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET) {
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    }
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    }
    return -1;
}

std::string ContentTypeFor(const std::string& path) {
    return IsXmlPath(path) ? "text/xml; charset=utf-8" : "text/html; charset=utf-8";
}

std::string MalformedBody(const std::string& path) {
    if (IsXmlPath(path)) {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n  "
               "<returnValue>true</returnValue>\n  <brand brand_id=\"1\" brand_name=\"Bro";
    }
    return "<html><head><title>Broken</title></head><body><p>Broken reply <b";
}

void SendStatusPage(httplib::Response& res, int status, const char* text) {
    SendHtml(res,
             std::string("<html><head><title>") + text + "</title></head><body><h1>" + text +
                 "</h1></body></html>\n",
             status);
}

// Copies status and headers of the real reply but its length and type, which the provider sets.
void TakeHead(const httplib::Response& real, httplib::Response& res) {
    res.status = real.status;
    for (const auto& [key, value] : real.headers) {
        if (key != "Content-Length" && key != "Content-Type") {
            res.set_header(key, value);
        }
    }
}

void ServeSlow(const Fault& fault, httplib::Response& res, Context& context,
               const ReplyProducer& produce) {
    httplib::Response real;
    produce(real);
    TakeHead(real, res);
    auto body = std::make_shared<std::string>(real.body);
    if (body->empty()) {
        // Nothing to drip: hold the reply for the whole time, then send the empty body.
        context.WaitForStop(std::chrono::milliseconds(fault.ms > 0 ? fault.ms : kDefaultSlowMs));
        res.set_content("", real.get_header_value("Content-Type"));
        return;
    }
    size_t ticks = std::max(1, (fault.ms > 0 ? fault.ms : kDefaultSlowMs) / kDripIntervalMs);
    size_t step = std::max<size_t>(1, (body->size() + ticks - 1) / ticks);
    res.set_content_provider(
        body->size(), real.get_header_value("Content-Type"),
        [body, step, &context](size_t offset, size_t length, httplib::DataSink& sink) {
            if (context.WaitForStop(std::chrono::milliseconds(kDripIntervalMs))) {
                return false;
            }
            sink.write(body->data() + offset, std::min(step, length));
            return true;
        });
}

void ServeTruncated(httplib::Response& res, const ReplyProducer& produce) {
    httplib::Response real;
    produce(real);
    TakeHead(real, res);
    auto body = std::make_shared<std::string>(real.body);
    size_t declared = std::max<size_t>(body->size(), 64);
    size_t sent = body->size() / 2;
    res.set_content_provider(
        declared, real.get_header_value("Content-Type"),
        [body, sent](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset >= sent) {
                return false; // cut: the connection closes short of the declared length
            }
            sink.write(body->data() + offset, sent - offset);
            return true;
        });
}

void ServeCutChunked(httplib::Response& res, const ReplyProducer& produce) {
    httplib::Response real;
    produce(real);
    TakeHead(real, res);
    auto half = std::make_shared<std::string>(real.body.substr(0, real.body.size() / 2));
    res.set_chunked_content_provider(real.get_header_value("Content-Type"),
                                     [half](size_t offset, httplib::DataSink& sink) {
                                         if (offset >= half->size()) {
                                             return false; // closed before the last chunk
                                         }
                                         sink.write(half->data(), half->size());
                                         return true;
                                     });
}

// Writes the head and half the body straight to the socket, without a length or chunks, and
// closes: the client cannot tell this from a whole reply.
void ServeCutUnannounced(const httplib::Request& req, httplib::Response& res,
                         const ReplyProducer& produce) {
    httplib::Response real;
    produce(real);
    const std::string reply =
        "HTTP/1.1 200 OK\r\nContent-Type: " + real.get_header_value("Content-Type") +
        "\r\nConnection: close\r\n\r\n" + real.body.substr(0, real.body.size() / 2);
    const int fd = FindClientSocket(req);
    for (size_t sent = 0; fd >= 0 && sent < reply.size();) {
        const ssize_t n = send(fd, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            break;
        }
        sent += static_cast<size_t>(n);
    }
    CloseClientConnection(req);
    res.status = 500; // never reaches the client: its connection is already shut
}

void ServeOversized(const Fault& fault, const std::string& path, httplib::Response& res,
                    Context& context) {
    long long total = fault.bytes > 0 ? fault.bytes : kDefaultOversizedBytes;
    bool xml = IsXmlPath(path);
    auto head = std::make_shared<std::string>(
        xml ? "<?xml version=\"1.0\" "
              "encoding=\"utf-8\"?>\n<root>\n<returnValue>true</returnValue>\n"
            : "<html><head><title>Large</title></head><body>\n");
    auto filler = std::make_shared<std::string>();
    const std::string unit = xml ? "<pad>0123456789abcdef</pad>\n" : "<p>0123456789abcdef</p>\n";
    while (filler->size() < 64 * 1024) {
        *filler += unit;
    }
    res.status = 200;
    res.set_content_provider(
        static_cast<size_t>(total), ContentTypeFor(path),
        [head, filler, &context](size_t offset, size_t length, httplib::DataSink& sink) {
            if (context.Stopping()) {
                return false;
            }
            if (offset < head->size()) {
                size_t n = std::min(length, head->size() - offset);
                sink.write(head->data() + offset, n);
                return true;
            }
            sink.write(filler->data(), std::min(length, filler->size()));
            return true;
        });
}

// Holds the request without an answer until the time is up, the service stops, or the client
// gives up and closes its end (so that abandoned hangs do not keep a worker thread).
void Hang(const httplib::Request& req, Context& context, int ms) {
    int fd = FindClientSocket(req);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        if (context.WaitForStop(std::chrono::milliseconds(kDripIntervalMs))) {
            return;
        }
        char byte;
        if (fd >= 0 && recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0) {
            return; // the client closed its end
        }
    }
}

} // namespace

int FindClientSocket(const httplib::Request& req) {
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) {
        return -1;
    }
    int found = -1;
    while (dirent* entry = readdir(dir)) {
        int fd = atoi(entry->d_name);
        struct stat info {};
        if (fd <= 2 || fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode)) {
            continue;
        }
        sockaddr_storage local{}, peer{};
        socklen_t localSize = sizeof local, peerSize = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localSize) != 0 ||
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0) {
            continue;
        }
        if (PortOf(local) == req.local_port && PortOf(peer) == req.remote_port) {
            found = fd;
            break;
        }
    }
    closedir(dir);
    return found;
}

bool CloseClientConnection(const httplib::Request& req) {
    int fd = FindClientSocket(req);
    return fd >= 0 && shutdown(fd, SHUT_RDWR) == 0;
}

void ServeFault(const Fault& fault, const std::string& path, const httplib::Request& req,
                httplib::Response& res, Context& context, const ReplyProducer& produce) {
    switch (fault.kind) {
    case FaultKind::Refuse:
        CloseClientConnection(req);
        res.status = 500; // never reaches the client: its connection is already shut
        return;
    case FaultKind::Hang:
        Hang(req, context, fault.ms > 0 ? fault.ms : kDefaultHangMs);
        CloseClientConnection(req);
        res.status = 500;
        return;
    case FaultKind::Status500:
        SendStatusPage(res, 500, "500 Internal Server Error");
        return;
    case FaultKind::Status404:
        SendStatusPage(res, 404, "404 Not Found");
        return;
    case FaultKind::Malformed:
        res.status = 200;
        res.set_content(MalformedBody(path), ContentTypeFor(path));
        return;
    case FaultKind::Truncated:
        ServeTruncated(res, produce);
        return;
    case FaultKind::CutChunked:
        ServeCutChunked(res, produce);
        return;
    case FaultKind::CutUnannounced:
        ServeCutUnannounced(req, res, produce);
        return;
    case FaultKind::Slow:
        ServeSlow(fault, res, context, produce);
        return;
    case FaultKind::Oversized:
        ServeOversized(fault, path, res, context);
        return;
    case FaultKind::Redirect:
        // The same request again under the moved prefix, on this service or the given host; or
        // the given location word for word (a relative one is the client's to resolve).
        res.status = 302;
        res.set_header("Location", !fault.location.empty()
                                       ? fault.location
                                       : (fault.host.empty() ? "" : "http://" + fault.host) +
                                             kMovedPrefix + req.target);
        return;
    }
}

} // namespace kelvra::sim
