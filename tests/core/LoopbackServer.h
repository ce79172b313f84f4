#pragma once

// A tiny HTTP/1.1 listener on 127.0.0.1 for transport and probe tests: it records every request
// head and answers with the bytes a handler chooses, or keeps the connection silent.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace kelvra::test {

struct LoopbackReply {
    std::string raw;    // bytes sent as they are (status line, headers, body)
    bool hang = false;  // after `raw`, stay silent until the client or the server goes away
    bool close = false; // close the connection after `raw`
};

// "HTTP/1.1 <status>" reply with a body and a correct Content-Length.
inline std::string HttpReply(int status, const std::string& body,
                             const std::string& extraHeaders = {}) {
    return "HTTP/1.1 " + std::to_string(status) +
           " X\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraHeaders + "\r\n" +
           body;
}

class LoopbackServer {
public:
    using Handler = std::function<LoopbackReply(const std::string& requestHead)>;

    explicit LoopbackServer(Handler handler) : m_handler(std::move(handler)) {
        if (pipe(m_stopPipe) != 0) {
            throw std::runtime_error("pipe failed");
        }
        m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listenFd < 0 ||
            bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(m_listenFd, 16) != 0 ||
            getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("loopback listener failed");
        }
        m_port = ntohs(address.sin_port);
        m_acceptor = std::thread([this] { AcceptLoop(); });
    }

    ~LoopbackServer() {
        char byte = 0;
        (void)!write(m_stopPipe[1], &byte, 1);
        m_acceptor.join();
        for (std::thread& worker : m_workers) {
            worker.join();
        }
        close(m_listenFd);
        close(m_stopPipe[0]);
        close(m_stopPipe[1]);
    }

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return m_port; }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    int Connections() const { return m_connections.load(); }

private:
    // Waits until `fd` is readable; false when the server is stopping.
    bool WaitReadable(int fd) const {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        while (true) {
            if (poll(fds, 2, -1) < 0) {
                return false;
            }
            if (fds[1].revents != 0) {
                return false;
            }
            if (fds[0].revents != 0) {
                return true;
            }
        }
    }

    void AcceptLoop() {
        while (WaitReadable(m_listenFd)) {
            const int client = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                continue;
            }
            ++m_connections;
            m_workers.emplace_back([this, client] { Serve(client); });
        }
    }

    void Serve(int client) {
        std::string pending;
        bool open = true;
        while (open) {
            std::size_t end;
            while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
                char buffer[4096];
                if (!WaitReadable(client)) {
                    close(client);
                    return;
                }
                const ssize_t got = recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    close(client);
                    return;
                }
                pending.append(buffer, static_cast<std::size_t>(got));
            }
            const std::string head = pending.substr(0, end + 4);
            pending.erase(0, end + 4);
            {
                std::lock_guard lock(m_mutex);
                m_requests.push_back(head);
            }
            const LoopbackReply reply = m_handler(head);
            std::size_t sent = 0;
            while (sent < reply.raw.size()) {
                const ssize_t n =
                    send(client, reply.raw.data() + sent, reply.raw.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) {
                    break;
                }
                sent += static_cast<std::size_t>(n);
            }
            if (reply.hang) {
                // Silent until the peer closes or the server stops.
                char buffer[4096];
                while (WaitReadable(client) && recv(client, buffer, sizeof buffer, 0) > 0) {
                }
                open = false;
            } else if (reply.close) {
                open = false;
            }
        }
        close(client);
    }

    Handler m_handler;
    int m_listenFd = -1;
    int m_stopPipe[2] = {-1, -1};
    int m_port = 0;
    std::atomic<int> m_connections{0};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_acceptor;
    std::vector<std::thread> m_workers; // touched by the acceptor thread only, until joined
};

// A loopback port where nothing listens (bound, then released).
inline int ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

} // namespace kelvra::test
