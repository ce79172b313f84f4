#include "Service.h"

#include "Areas.h"
#include "Faults.h"
#include "Query.h"
#include "Reply.h"

#include <cstdio>

namespace kelvra::sim {
namespace {

constexpr size_t kWorkerThreads = 48; // hung requests hold a worker each

void SendNotFound(httplib::Response& res, const std::string& path) {
    SendHtml(res,
             "<html><head><title>404 Not Found</title></head><body><h1>404 Not Found</h1>"
             "<p>No page at this address.</p></body></html>\n",
             404);
}

} // namespace

Service::Service(Context& context) : m_context(context) {
    RegisterProbePages(m_routes, context);
    RegisterListServices(m_routes, context);
    RegisterSessionServices(m_routes, context);
    RegisterResultPages(m_routes, context);
    RegisterProductPages(m_routes, context);
    RegisterInfoPages(m_routes, context);
    RegisterHostilePages(m_routes, context);
    RegisterUpdateServices(m_routes, context);
    RegisterControl(m_control, context);

    m_server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
    // Replies are written as head and body; without this the body waits for a delayed ACK.
    m_server.set_tcp_nodelay(true);
    m_server.set_keep_alive_timeout(2);
    m_server.set_read_timeout(2, 0);
    m_server.set_write_timeout(5, 0);
    m_server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        Dispatch(req, res);
        return httplib::Server::HandlerResponse::Handled;
    });
}

int Service::Bind(int port) {
    if (port == 0) {
        return m_server.bind_to_any_port("127.0.0.1");
    }
    return m_server.bind_to_port("127.0.0.1", port) ? port : -1;
}

bool Service::Run() {
    return m_server.listen_after_bind();
}

void Service::Stop() {
    m_context.RequestStop();
    m_server.stop();
}

void Service::Dispatch(const httplib::Request& req, httplib::Response& res) {
    const std::string path(TargetPath(req.target));
    try {
        if (path.rfind("/__sim/", 0) == 0) {
            if (!m_control.Dispatch(path, req, res)) {
                SendNotFound(res, path);
            }
            return;
        }
        m_context.LogRequest(req.target);
        if (path.rfind(kMovedPrefix, 0) == 0) {
            Produce(path.substr(std::string(kMovedPrefix).size()), req, res);
            return;
        }
        auto produce = [&](httplib::Response& out) { Produce(path, req, out); };
        if (auto fault = m_context.TakeFault(path)) {
            ServeFault(*fault, path, req, res, m_context, produce);
        } else {
            produce(res);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvra-service-sim: %s: %s\n", path.c_str(), error.what());
        res = httplib::Response();
        SendHtml(res,
                 "<html><head><title>500 Internal Server Error</title></head><body>"
                 "<h1>500 Internal Server Error</h1></body></html>\n",
                 500);
    }
}

void Service::Produce(const std::string& path, const httplib::Request& req,
                      httplib::Response& res) {
    if (auto canned = m_context.TakeCanned(path)) {
        res.status = 200;
        res.set_content(canned->body, canned->contentType);
        return;
    }
    if (!m_routes.Dispatch(path, req, res)) {
        SendNotFound(res, path);
    }
}

} // namespace kelvra::sim
