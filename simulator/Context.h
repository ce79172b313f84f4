#pragma once

#include "Db.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kelvra::sim {

enum class FaultKind {
    Refuse,
    Hang,
    Status500,
    Status404,
    Malformed,
    Truncated,
    CutChunked,     // chunked, half the body, then closed without the last chunk
    CutUnannounced, // no length and no chunks, half the body, then closed: looks like an end
    Slow,
    Oversized,
    Redirect,
};

// A fault armed for the next `remaining` requests of one path.
struct Fault {
    FaultKind kind = FaultKind::Status500;
    int remaining = 1;
    int ms = 0;           // hang: how long to hold (0: the default); slow: total drip time
    long long bytes = 0;  // oversized: body size (0: the default of 100 MB)
    std::string host;     // redirect: "host:port" to send the client to (empty: this service)
    std::string location; // redirect: the Location value as given (empty: built from host)
};

// A raw body served instead of the real reply for the next `remaining` requests of one path.
struct CannedReply {
    std::string body;
    std::string contentType;
    int remaining = 1;
};

// One file published for the updater.
struct UpdateFile {
    std::string name;     // served as /kelvra_cd/kelvra_update/files/<name>
    std::string tempName; // the name the client saves it under
    std::string content;
    std::string sha256; // empty: no sha256 attribute
    bool mainProgram = false;
    bool chunked = false; // served chunked, without a Content-Length
};

// Parses a fault kind name ("refuse", "hang", "500", "404", "malformed", "truncated", "slow",
// "oversized", "redirect"); nullopt for any other text.
std::optional<FaultKind> ParseFaultKind(const std::string& name);

// Everything a request handler needs: the database and the run-time state that tests steer
// through the control interface. Every member function is safe to call from any thread.
class Context {
public:
    explicit Context(Db& db) : m_db(db) {}

    Db& Database() { return m_db; }

    // Faults and canned replies, keyed by the undecoded request path without its query.
    void ArmFault(const std::string& path, const Fault& fault);
    // Takes one use of the fault armed for path, if any.
    std::optional<Fault> TakeFault(const std::string& path);
    void ArmCanned(const std::string& path, const CannedReply& reply);
    // Takes one use of the canned reply armed for path, if any.
    std::optional<CannedReply> TakeCanned(const std::string& path);

    // The log of raw request targets (control requests are never logged).
    void LogRequest(const std::string& target);
    std::vector<std::string> Requests() const;
    void ClearRequests();

    // What the probe page "/cn/" answers; location is used for 3xx statuses.
    void SetProbe(int status, const std::string& location);
    int ProbeStatus() const;
    std::string ProbeLocation() const;

    // The version get_version.asp publishes; empty means none.
    void SetPublishedVersion(const std::string& version);
    std::string PublishedVersion() const;

    void AddUpdateFile(const UpdateFile& file);
    void ClearUpdateFiles();
    std::vector<UpdateFile> UpdateFiles() const;

    // Clears faults, canned replies, the log, published version and files; probe back to 200.
    void ResetRunState();

    // Shutdown: wakes every request that waits (hang, slow drip).
    void RequestStop();
    bool Stopping() const;
    // Waits up to duration or until shutdown; true when shutdown was requested.
    bool WaitForStop(std::chrono::milliseconds duration);

private:
    Db& m_db;
    mutable std::mutex m_mutex;
    std::condition_variable m_stopSignal;
    bool m_stopping = false;
    std::map<std::string, Fault> m_faults;
    std::map<std::string, CannedReply> m_canned;
    std::vector<std::string> m_requests;
    int m_probeStatus = 200;
    std::string m_probeLocation;
    std::string m_version;
    std::vector<UpdateFile> m_files;
};

} // namespace kelvra::sim
