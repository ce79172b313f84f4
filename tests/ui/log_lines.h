#pragma once
// Reading the message-box log that the windows write in a headless run, and the X server's map
// state of a window; shared by the in-process window tests and the tests that start the program.

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kelvra::test {

// Lines of an automation log file ("caption<TAB>text"); empty when the file is missing.
inline QStringList ReadLogLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The X server's map state of a window ("IsViewable", "IsUnMapped", ...) as xwininfo reports it;
// empty when it cannot tell.
inline QString X11MapState(quint64 window) {
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    if (!xwininfo.waitForFinished(10000))
        return {};
    const QString out = QString::fromUtf8(xwininfo.readAllStandardOutput());
    const qsizetype at = out.indexOf(QStringLiteral("Map State: "));
    return at < 0 ? QString() : out.mid(at + 11).section(QLatin1Char('\n'), 0, 0);
}

} // namespace kelvra::test
