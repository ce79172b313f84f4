#pragma once

#include <httplib.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kelvra::sim {

using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

// Routes by the exact, undecoded request path (the service's paths are fixed file names, and
// the client's double-slash form must stay distinct), or by a path prefix.
class Router {
public:
    void Add(const std::string& path, Handler handler);
    // Adds page under both page bases, "/kelvra_cd/cn/" and "/kelvra_cd/en/".
    void AddPage(const std::string& page, const Handler& handler);
    void AddPrefix(const std::string& prefix, Handler handler);
    // Runs the handler for path; false when no route matches (res untouched).
    bool Dispatch(const std::string& path, const httplib::Request& req,
                  httplib::Response& res) const;

private:
    std::map<std::string, Handler> m_exact;
    std::vector<std::pair<std::string, Handler>> m_prefixes;
};

} // namespace kelvra::sim
