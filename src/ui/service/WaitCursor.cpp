#include "ui/service/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

#ifdef KELVRA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace kelvra::ui {
namespace {

bool OnUserInterfaceThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return qobject_cast<const QGuiApplication*>(app) != nullptr &&
           QThread::currentThread() == app->thread();
}

// Sends what is queued for the window system (the cursor change) without reading or dispatching
// any event: the request that follows blocks the thread, and the event loop with it.
void FlushWindowSystem() {
#ifdef KELVRA_HAVE_XCB
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (xcb_connection_t* connection = x11->connection())
            xcb_flush(connection);
    }
#endif
}

} // namespace

WaitCursor::WaitCursor() : m_shown(OnUserInterfaceThread()) {
    if (!m_shown)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    FlushWindowSystem();
}

WaitCursor::~WaitCursor() {
    if (!m_shown)
        return;
    QGuiApplication::restoreOverrideCursor();
    FlushWindowSystem();
}

WaitCursorTransport::WaitCursorTransport(std::unique_ptr<HttpTransport> inner)
    : m_inner(std::move(inner)) {}

HttpResponse WaitCursorTransport::Get(const std::string& url, const HttpRequestOptions& options) {
    const WaitCursor wait;
    return m_inner->Get(url, options);
}

std::unique_ptr<HttpTransport> MakeWaitCursorTransport() {
    return std::make_unique<WaitCursorTransport>(MakeCurlTransport());
}

} // namespace kelvra::ui
