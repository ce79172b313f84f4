#include "ui/app/InstanceBeacon.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <utility>

namespace kelvra::ui {
namespace {

constexpr char kShowRequest[] = "show\n";

} // namespace

InstanceBeacon::InstanceBeacon(const QString& channel, std::function<void()> bringToFront,
                               QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_bringToFront(std::move(bringToFront)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the copy that holds the single-instance lock gets here, so a socket file of that name
    // is a leftover of a copy that ended without removing it.
    QLocalServer::removeServer(channel);
    m_server->listen(channel);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            QPointer<QLocalSocket> guard(socket);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, guard] {
                if (!guard || !guard->canReadLine())
                    return;
                const QByteArray line = guard->readLine(64);
                guard->write("ok\n");
                guard->flush();
                guard->disconnectFromServer();
                if (line == kShowRequest && m_bringToFront)
                    m_bringToFront();
            });
        }
    });
}

InstanceBeacon::~InstanceBeacon() {
    m_server->close();
}

bool InstanceBeacon::Listening() const {
    return m_server->isListening();
}

bool InstanceBeacon::AskRunningCopyToShow(const QString& channel, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(channel);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    return socket.waitForReadyRead(timeoutMs) && socket.readLine(8) == "ok\n";
}

} // namespace kelvra::ui
