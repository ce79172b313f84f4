#include "Context.h"

namespace kelvra::sim {

std::optional<FaultKind> ParseFaultKind(const std::string& name) {
    static const std::map<std::string, FaultKind> kinds = {
        {"refuse", FaultKind::Refuse},
        {"hang", FaultKind::Hang},
        {"500", FaultKind::Status500},
        {"404", FaultKind::Status404},
        {"malformed", FaultKind::Malformed},
        {"truncated", FaultKind::Truncated},
        {"slow", FaultKind::Slow},
        {"oversized", FaultKind::Oversized},
        {"redirect", FaultKind::Redirect},
        {"cut_chunked", FaultKind::CutChunked},
        {"cut_unannounced", FaultKind::CutUnannounced},
    };
    auto it = kinds.find(name);
    return it == kinds.end() ? std::nullopt : std::optional<FaultKind>(it->second);
}

void Context::ArmFault(const std::string& path, const Fault& fault) {
    std::lock_guard lock(m_mutex);
    if (fault.remaining <= 0) {
        m_faults.erase(path);
    } else {
        m_faults[path] = fault;
    }
}

std::optional<Fault> Context::TakeFault(const std::string& path) {
    std::lock_guard lock(m_mutex);
    auto it = m_faults.find(path);
    if (it == m_faults.end()) {
        return std::nullopt;
    }
    Fault fault = it->second;
    if (--it->second.remaining <= 0) {
        m_faults.erase(it);
    }
    return fault;
}

void Context::ArmCanned(const std::string& path, const CannedReply& reply) {
    std::lock_guard lock(m_mutex);
    if (reply.remaining <= 0) {
        m_canned.erase(path);
    } else {
        m_canned[path] = reply;
    }
}

std::optional<CannedReply> Context::TakeCanned(const std::string& path) {
    std::lock_guard lock(m_mutex);
    auto it = m_canned.find(path);
    if (it == m_canned.end()) {
        return std::nullopt;
    }
    CannedReply reply = it->second;
    if (--it->second.remaining <= 0) {
        m_canned.erase(it);
    }
    return reply;
}

void Context::LogRequest(const std::string& target) {
    std::lock_guard lock(m_mutex);
    m_requests.push_back(target);
}

std::vector<std::string> Context::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void Context::ClearRequests() {
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

void Context::SetProbe(int status, const std::string& location) {
    std::lock_guard lock(m_mutex);
    m_probeStatus = status;
    m_probeLocation = location;
}

int Context::ProbeStatus() const {
    std::lock_guard lock(m_mutex);
    return m_probeStatus;
}

std::string Context::ProbeLocation() const {
    std::lock_guard lock(m_mutex);
    return m_probeLocation;
}

void Context::SetPublishedVersion(const std::string& version) {
    std::lock_guard lock(m_mutex);
    m_version = version;
}

std::string Context::PublishedVersion() const {
    std::lock_guard lock(m_mutex);
    return m_version;
}

void Context::AddUpdateFile(const UpdateFile& file) {
    std::lock_guard lock(m_mutex);
    for (UpdateFile& existing : m_files) {
        if (existing.name == file.name) {
            existing = file;
            return;
        }
    }
    m_files.push_back(file);
}

void Context::ClearUpdateFiles() {
    std::lock_guard lock(m_mutex);
    m_files.clear();
}

std::vector<UpdateFile> Context::UpdateFiles() const {
    std::lock_guard lock(m_mutex);
    return m_files;
}

void Context::ResetRunState() {
    std::lock_guard lock(m_mutex);
    m_faults.clear();
    m_canned.clear();
    m_requests.clear();
    m_probeStatus = 200;
    m_probeLocation.clear();
    m_version.clear();
    m_files.clear();
}

void Context::RequestStop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopSignal.notify_all();
}

bool Context::Stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

bool Context::WaitForStop(std::chrono::milliseconds duration) {
    std::unique_lock lock(m_mutex);
    return m_stopSignal.wait_for(lock, duration, [this] { return m_stopping; });
}

} // namespace kelvra::sim
