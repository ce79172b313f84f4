#pragma once

#include <string>
#include <vector>

namespace kelvra::test {

// The stand-in service as a child process on a free loopback port, with a fresh database in a
// temporary folder. Stopped (SIGTERM, then SIGKILL) and cleaned up by the destructor.
class SimProcess {
public:
    SimProcess();
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    int Port() const { return m_port; }
    std::string Root() const; // "http://127.0.0.1:<port>"
    // GET of a path on the service (control calls included); returns the body, throws
    // std::runtime_error when the request fails.
    std::string Control(const std::string& pathAndQuery) const;
    void Reset() const; // /__sim/reset: seed data, no faults, empty log
    void SetProbeStatus(int status) const;
    // /__sim/fault?path=...&kind=...&count=N (kind: refuse, hang, 500, 404, malformed,
    // truncated, slow, oversized).
    void InjectFault(const std::string& path, const std::string& kind, int count = 1) const;
    std::vector<std::string> Requests() const; // raw request targets, in order (control excluded)
    void ClearRequests() const;

    // One raw HTTP/1.1 GET over a fresh connection, for checking how the stand-in answers.
    struct Reply {
        int status = 0;        // 0: no status line arrived (connection closed or timed out)
        std::string headers;   // status line and headers, each ending in CRLF
        std::string body;      // bytes after the head, as received (no de-chunking)
        bool timedOut = false; // the receive time limit ran out before the server closed
    };
    // Sends GET pathAndQuery and reads until the server closes or timeoutMs passes without
    // data; throws std::runtime_error only when no connection can be made.
    Reply Get(const std::string& pathAndQuery, int timeoutMs = 10000) const;
    // Percent-encodes every byte but ASCII letters, digits and "-._~" (for control values).
    static std::string Encode(const std::string& value);

private:
    int m_pid = -1;
    int m_port = 0;
    std::string m_dir;
};

} // namespace kelvra::test
