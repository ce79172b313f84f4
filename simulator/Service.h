#pragma once

#include "Context.h"
#include "Router.h"

#include <httplib.h>

namespace kelvra::sim {

// The HTTP server: every request goes through one dispatcher that logs it, applies an armed
// fault or canned reply, and routes it; control requests under "/__sim/" skip log and faults.
class Service {
public:
    explicit Service(Context& context);

    // Binds 127.0.0.1:port (0: a free port); returns the bound port, or -1 when binding fails.
    int Bind(int port);
    // Serves until Stop(); false when the server could not run.
    bool Run();
    // Wakes waiting requests and stops the server; safe from any thread.
    void Stop();

private:
    void Dispatch(const httplib::Request& req, httplib::Response& res);
    void Produce(const std::string& path, const httplib::Request& req, httplib::Response& res);

    Context& m_context;
    Router m_routes;
    Router m_control;
    httplib::Server m_server;
};

} // namespace kelvra::sim
