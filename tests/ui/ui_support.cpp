#include "ui_support.h"

#include <QDir>

#include <QTcpSocket>

namespace kelvra::test {

LocalPages::LocalPages(QMap<QString, QByteArray> pages, QObject* parent)
    : QObject(parent), m_pages(std::move(pages)) {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &LocalPages::OnConnection);
}

QString LocalPages::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void LocalPages::OnConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            const QByteArray request = socket->peek(8192);
            if (!request.contains("\r\n\r\n"))
                return;
            socket->readAll();
            const QList<QByteArray> words = request.left(request.indexOf('\r')).split(' ');
            QString path = words.size() > 1 ? QString::fromLatin1(words[1]) : QString();
            path = path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
            m_served.append(path);
            const bool known = m_pages.contains(path);
            const QByteArray body = known ? m_pages.value(path) : QByteArray("<h1>Not found</h1>");
            socket->write((known ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n") +
                          QByteArray("Content-Type: text/html; charset=utf-8\r\n") +
                          "Content-Length: " + QByteArray::number(body.size()) +
                          "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

int UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

void UseHeadlessMessageBoxes(const QString& logPath) {
    qputenv("KELVRA_AUTOMATION_LOG", logPath.toUtf8());
    qputenv("KELVRA_AUTOMATION_ACCEPT", "1");
}

QString ScreenshotPath(const QString& fileName) {
    const QString folder = qEnvironmentVariable("KELVRA_SCREENSHOT_DIR");
    return folder.isEmpty() ? QString() : QDir(folder).filePath(fileName);
}

} // namespace kelvra::test
