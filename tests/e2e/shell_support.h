#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "ui/log_lines.h"

namespace kelvra::test {

// One run folder for the real client: data folder, runtime folder (its single-instance lock),
// screenshot, message-box log and window-state log, and the environment that points the client at
// them. The client runs offscreen, or on the X server of the test when the test runs on xcb.
class ClientRun {
public:
    explicit ClientRun(const QString& serviceRoot);
    QProcessEnvironment Environment() const { return m_env; }
    // Sets a variable for the copies started from now on.
    void SetEnv(const QString& name, const QString& value) { m_env.insert(name, value); }
    QString Screenshot() const { return m_dir.filePath("main.png"); }
    QString Log() const { return m_dir.filePath("boxes.log"); }
    // The main window's states as the client logged them, oldest first.
    QStringList WindowStates() const { return ReadLogLines(m_dir.filePath("window.log")); }
    // Starts a copy of the client (KELVRA_CLIENT_PATH) in this run; output goes to a file.
    std::unique_ptr<QProcess> Start(const QString& tag);
    // Everything the copy of that tag wrote to stdout and stderr.
    QString Output(const QString& tag) const;
    // Empty when the copy of that tag, ended, exited normally with 0. Otherwise writes the copy's
    // output to the test's log and returns the failure message, which says so when the only fault
    // in that output is the sanitizer build's leak report at exit.
    QString ExitFailure(const QString& tag, const QProcess& process) const;

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
};

// Ends a client that is still running: terminate, then kill after a grace period.
void Stop(QProcess& process);

} // namespace kelvra::test
