#pragma once
// Waiting in tests and benchmarks with the event loop running, as the program runs it. QTest's
// waits sleep 10 ms between batches of events, which holds up the web engine's own work on the
// interface thread (a page then takes over a second to load). Header only: Qt Core is linked by
// the users, not by the test support library.

#include <functional>

#include <QEventLoop>
#include <QObject>
#include <QTimer>

namespace kelvra::test {

// Runs the event loop until done() holds (looked at every pollMs) or ms have passed; returns
// done().
inline bool WaitUntil(const std::function<bool()>& done, int ms, int pollMs = 5) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(pollMs);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

} // namespace kelvra::test
