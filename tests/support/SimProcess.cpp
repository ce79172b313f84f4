#include "support/SimProcess.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelvra::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kStartDeadline = std::chrono::seconds(10);
constexpr auto kStopGrace = std::chrono::seconds(3);

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvra-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("SimProcess: cannot create a temporary folder: " +
                                 std::string(std::strerror(errno)));
    }
    return pattern;
}

// Reads the child's first output line (the port) with a deadline.
int ReadPortLine(int fd) {
    std::string line;
    auto deadline = Clock::now() + kStartDeadline;
    while (line.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            throw std::runtime_error("SimProcess: no port line from the stand-in within 10 s");
        }
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            continue;
        }
        char buffer[64];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            throw std::runtime_error("SimProcess: the stand-in ended before printing its port");
        }
        line.append(buffer, static_cast<size_t>(n));
    }
    int port = std::atoi(line.c_str());
    if (port <= 0 || port > 65535) {
        throw std::runtime_error("SimProcess: bad port line: " + line);
    }
    return port;
}

bool WaitForExit(int pid, std::chrono::milliseconds limit) {
    auto deadline = Clock::now() + limit;
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno == ECHILD)) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

SimProcess::SimProcess() {
    m_dir = MakeTempDir();
    std::string db = m_dir + "/sim.db";
    int out[2];
    if (pipe(out) != 0) {
        throw std::runtime_error("SimProcess: pipe failed");
    }
    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        close(out[0]);
        close(out[1]);
        throw std::runtime_error("SimProcess: fork failed");
    }
    if (pid == 0) {
#ifdef __linux__
        // A test that dies (a sanitizer abort, a timeout) takes its stand-in with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
#endif
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(KELVRA_SIM_PATH, KELVRA_SIM_PATH, "--port", "0", "--db", db.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    m_pid = pid;
    try {
        m_port = ReadPortLine(out[0]);
    } catch (...) {
        close(out[0]);
        kill(m_pid, SIGKILL);
        WaitForExit(m_pid, std::chrono::seconds(3));
        std::filesystem::remove_all(m_dir);
        throw;
    }
    close(out[0]); // the stand-in prints nothing after the port line
}

SimProcess::~SimProcess() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        if (!WaitForExit(m_pid, kStopGrace)) {
            kill(m_pid, SIGKILL);
            WaitForExit(m_pid, std::chrono::seconds(3));
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::string SimProcess::Root() const {
    return "http://127.0.0.1:" + std::to_string(m_port);
}

SimProcess::Reply SimProcess::Get(const std::string& pathAndQuery, int timeoutMs) const {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        throw std::runtime_error("SimProcess: socket failed");
    }
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        throw std::runtime_error("SimProcess: cannot connect to the stand-in");
    }
    std::string request = "GET " + pathAndQuery +
                          " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(m_port) +
                          "\r\nConnection: close\r\n\r\n";
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(request.size())) {
        close(fd);
        throw std::runtime_error("SimProcess: cannot send the request");
    }
    Reply reply;
    std::string raw;
    char buffer[65536];
    for (;;) {
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            reply.timedOut = errno == EAGAIN || errno == EWOULDBLOCK;
            break;
        }
        raw.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    size_t headEnd = raw.find("\r\n\r\n");
    if (raw.compare(0, 5, "HTTP/") != 0 || headEnd == std::string::npos) {
        reply.body = raw; // no answer, or no complete head
        return reply;
    }
    reply.status = std::atoi(raw.c_str() + raw.find(' ') + 1);
    reply.headers = raw.substr(0, headEnd + 2);
    reply.body = raw.substr(headEnd + 4);
    return reply;
}

std::string SimProcess::Control(const std::string& pathAndQuery) const {
    Reply reply = Get(pathAndQuery, 10000);
    if (reply.status < 200 || reply.status >= 400) {
        throw std::runtime_error("SimProcess: GET " + pathAndQuery + " answered " +
                                 std::to_string(reply.status) + ": " + reply.body);
    }
    return reply.body;
}

void SimProcess::Reset() const {
    Control("/__sim/reset");
}

void SimProcess::SetProbeStatus(int status) const {
    Control("/__sim/probe?status=" + std::to_string(status));
}

void SimProcess::InjectFault(const std::string& path, const std::string& kind, int count) const {
    Control("/__sim/fault?path=" + Encode(path) + "&kind=" + Encode(kind) +
            "&count=" + std::to_string(count));
}

std::vector<std::string> SimProcess::Requests() const {
    std::string text = Control("/__sim/requests");
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void SimProcess::ClearRequests() const {
    Control("/__sim/clear_requests");
}

std::string SimProcess::Encode(const std::string& value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace kelvra::test
