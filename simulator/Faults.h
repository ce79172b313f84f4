#pragma once

#include "Context.h"

#include <httplib.h>

#include <functional>
#include <string>

namespace kelvra::sim {

// Requests under this prefix are answered as the path after it, without faults: the target of
// the redirect fault.
inline constexpr const char* kMovedPrefix = "/__moved";

// Produces the real reply of a request into the given response.
using ReplyProducer = std::function<void(httplib::Response&)>;

// Answers a request with an armed fault instead of (or, for slow and truncated, by damaging)
// the real reply. Never throws; a refused or hung connection is closed without an answer.
void ServeFault(const Fault& fault, const std::string& path, const httplib::Request& req,
                httplib::Response& res, Context& context, const ReplyProducer& produce);

// The socket of req's client connection, or -1 when it cannot be found.
int FindClientSocket(const httplib::Request& req);

// Closes the client connection of req at once, so that it gets no answer at all; false when the
// connection's socket could not be found.
bool CloseClientConnection(const httplib::Request& req);

} // namespace kelvra::sim
