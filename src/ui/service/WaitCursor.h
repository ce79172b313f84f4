#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "service/HttpTransport.h"

namespace kelvra::ui {

// The wait cursor over every window of the program for the lifetime of the object, when made on
// the user-interface thread (elsewhere it does nothing). The window system sees the change at
// once, before the caller blocks; no event is processed meanwhile, so no other handler or timer
// runs. Guards nest: each one restores the cursor that was there before it.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_shown = false;
};

// A transport that shows the wait cursor while each request of the user-interface thread is
// under way (requests of other threads go through unchanged). Failures are the inner transport's.
class WaitCursorTransport : public HttpTransport {
public:
    explicit WaitCursorTransport(std::unique_ptr<HttpTransport> inner);
    HttpResponse Get(const std::string& url, const HttpRequestOptions& options) override;
    using HttpTransport::Get;

private:
    std::unique_ptr<HttpTransport> m_inner;
};

// The program's transport for requests made on the user-interface thread: libcurl behind the
// wait cursor.
std::unique_ptr<HttpTransport> MakeWaitCursorTransport();

// The call with the wait cursor shown while it runs (for requests made behind a function, such
// as the probe); an empty call stays empty. Whatever the call returns or throws passes through.
template <typename Result, typename... Args>
std::function<Result(Args...)> WithWaitCursor(std::function<Result(Args...)> call) {
    if (!call)
        return call;
    return [call = std::move(call)](Args... args) -> Result {
        const WaitCursor wait;
        return call(std::forward<Args>(args)...);
    };
}

} // namespace kelvra::ui
