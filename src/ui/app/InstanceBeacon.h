#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QLocalServer;

namespace kelvra::ui {

// The running copy's side of the single instance: it listens on a local socket of this user, and
// a second copy that starts asks it, through that socket, to bring its window to the front.
class InstanceBeacon : public QObject {
    Q_OBJECT
public:
    // Listens on the channel (a stale socket left by a crashed copy is replaced); every request
    // runs bringToFront on the user-interface thread. When it cannot listen, nothing happens.
    InstanceBeacon(const QString& channel, std::function<void()> bringToFront,
                   QObject* parent = nullptr);
    ~InstanceBeacon() override;

    bool Listening() const;

    // The second copy's side: asks the copy listening on the channel to come to the front; false
    // when none answered within the time limit.
    static bool AskRunningCopyToShow(const QString& channel, int timeoutMs = 2000);

private:
    QLocalServer* m_server = nullptr;
    std::function<void()> m_bringToFront;
};

} // namespace kelvra::ui
