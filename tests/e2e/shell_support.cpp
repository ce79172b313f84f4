#include "shell_support.h"

#include <QDebug>
#include <QDir>
#include <QFile>

namespace kelvra::test {

ClientRun::ClientRun(const QString& serviceRoot) : m_env(QProcessEnvironment::systemEnvironment()) {
    QDir(m_dir.path()).mkpath("data");
    QDir(m_dir.path()).mkpath("runtime");
    QFile::setPermissions(m_dir.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_env.insert("KELVRA_SERVICE_URL", serviceRoot);
    m_env.insert("KELVRA_DATA_DIR", m_dir.filePath("data"));
    m_env.insert("XDG_RUNTIME_DIR", m_dir.filePath("runtime"));
    m_env.insert("KELVRA_SCREENSHOT", Screenshot());
    m_env.insert("KELVRA_AUTOMATION_LOG", Log());
    m_env.insert("KELVRA_AUTOMATION_ACCEPT", "1");
    m_env.insert("KELVRA_WINDOW_LOG", m_dir.filePath("window.log"));
    if (m_env.value("QT_QPA_PLATFORM") != QLatin1String("xcb"))
        m_env.insert("QT_QPA_PLATFORM", "offscreen");
    m_env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    m_env.insert("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking");
}

std::unique_ptr<QProcess> ClientRun::Start(const QString& tag) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(m_env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(m_dir.filePath(tag + ".out"));
    process->start(QStringLiteral(KELVRA_CLIENT_PATH), {});
    return process;
}

QString ClientRun::Output(const QString& tag) const {
    QFile file(m_dir.filePath(tag + ".out"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString ClientRun::ExitFailure(const QString& tag, const QProcess& process) const {
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return {};
    const QString output = Output(tag);
    qInfo().noquote() << "output of the copy" << tag << "\n" << output;
    const bool leakReport = output.contains("ERROR: LeakSanitizer: detected memory leaks");
    const bool otherFault =
        output.contains("ERROR: AddressSanitizer") || output.contains("runtime error:");
    const QString ending = process.exitStatus() == QProcess::NormalExit
                               ? QStringLiteral("exited with %1").arg(process.exitCode())
                               : QStringLiteral("crashed");
    return leakReport && !otherFault
               ? QStringLiteral("the copy %1 %2: failed only on a leak report at exit: see above")
                     .arg(tag, ending)
               : QStringLiteral("the copy %1 %2: its output is above").arg(tag, ending);
}

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace kelvra::test
