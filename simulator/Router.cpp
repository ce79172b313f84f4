#include "Router.h"

namespace kelvra::sim {

void Router::Add(const std::string& path, Handler handler) {
    m_exact[path] = std::move(handler);
}

void Router::AddPage(const std::string& page, const Handler& handler) {
    Add("/kelvra_cd/cn/" + page, handler);
    Add("/kelvra_cd/en/" + page, handler);
}

void Router::AddPrefix(const std::string& prefix, Handler handler) {
    m_prefixes.emplace_back(prefix, std::move(handler));
}

bool Router::Dispatch(const std::string& path, const httplib::Request& req,
                      httplib::Response& res) const {
    auto it = m_exact.find(path);
    if (it != m_exact.end()) {
        it->second(req, res);
        return true;
    }
    for (const auto& [prefix, handler] : m_prefixes) {
        if (path.compare(0, prefix.size(), prefix) == 0 && path.size() > prefix.size()) {
            handler(req, res);
            return true;
        }
    }
    return false;
}

} // namespace kelvra::sim
