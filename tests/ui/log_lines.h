#pragma once
// Reading the message-box log that the windows write in a headless run; shared by the in-process
// window tests and the tests that start the real program.

#include <QFile>
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

} // namespace kelvra::test
