// The real client updating a copy of itself (the executable and its web engine module) from the
// stand-in: the version check asks, the update window stages and checks every file, the final
// Yes ends the program and the update script moves the new files in. Bad content of every kind
// (one table) ends in "Download Error!" with the program folder exactly as it was and the old
// program starting and showing a result page; without network the check only shows its "TIP"
// message.
//
// The copy lives in a temporary folder because the update stages beside the executable (its
// folder must be writable) and replaces the executable itself; the script "$$update.sh" goes
// into the data folder.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

#include <sys/mount.h>
#include <unistd.h>

#include "shell_support.h"
#include "support/SimProcess.h"

using kelvra::test::ClientRun;
using kelvra::test::ReadLogLines;
using kelvra::test::SimProcess;

namespace {

const QString kUpdateQuestion =
    QStringLiteral(" \tA newer version is available.  Would you like to updated now?");
const QString kFinalQuestion = QStringLiteral(" \t  Download complete.Updating now?");
const QString kDownloadError = QStringLiteral("TIP\tDownload Error!");
const QString kNoNetwork = QStringLiteral("TIP\tUnable to connect to the network.");
// Long enough for the first show (which sets the XML base) to be done before the check.
const char* kCheckMs = "4000";
const QString kEngine = QStringLiteral("kelvra-browser-engine.so");
const QString kStartPage = QStringLiteral("/kelvra_cd/cn/suppliers.asp");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QString Sha256Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// A value of section INFO of the settings file, read as plain text (the keys are ASCII).
QString SettingsValue(const QString& dataFolder, const QString& key) {
    const QString text = QString::fromLatin1(ReadAll(dataFolder + "/kelvra_config.ini"));
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1);
    }
    return QString();
}

// One client run from a copy of the real executable in a writable folder of its own.
class CopiedClient {
public:
    // The program folder is a new temporary folder, or `folder` when given.
    explicit CopiedClient(const SimProcess& sim, const QString& folder = QString())
        : m_run(QString::fromStdString(sim.Root())), m_sim(sim),
          m_folder(folder.isEmpty() ? m_app.path() : folder) {
        m_exe = m_folder + "/kelvra";
        const QString engine = QFileInfo(QStringLiteral(KELVRA_CLIENT_PATH)).path() + "/" + kEngine;
        m_ok = QFile::copy(QStringLiteral(KELVRA_CLIENT_PATH), m_exe) &&
               QFile::setPermissions(m_exe, QFile::permissions(KELVRA_CLIENT_PATH)) &&
               QFile::copy(engine, m_folder + "/" + kEngine);
        m_env = m_run.Environment();
        m_env.insert("KELVRA_VERSION_CHECK_MS", kCheckMs);
        m_env.insert("KELVRA_UPDATE_WAIT_MS", "200");
        m_env.insert("KELVRA_AUTOMATION_ACCEPT_UPDATE", "1"); // the update is what is tested
    }
    bool Ready() const { return m_ok && m_app.isValid(); }
    QString Exe() const { return m_exe; }
    QString AppFolder() const { return m_folder; }
    QString DataFolder() const { return m_env.value("KELVRA_DATA_DIR"); }
    QString Log() const { return m_run.Log(); }
    QString Screenshot() const { return m_run.Screenshot(); }
    QProcessEnvironment& Env() { return m_env; }
    QStringList AppEntries() const {
        return QDir(m_folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                        QDir::System);
    }
    // Every entry of the program folder with its bytes.
    std::map<QString, QByteArray> Contents() const {
        std::map<QString, QByteArray> files;
        for (const QString& name : AppEntries())
            files[name] = ReadAll(m_folder + "/" + name);
        return files;
    }
    bool ScriptExists() const { return QFile::exists(DataFolder() + "/$$update.sh"); }

    std::unique_ptr<QProcess> Start(const QString& tag) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_env);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(DataFolder() + "/../" + tag + ".out");
        process->start(m_exe, {});
        return process;
    }

    // Starts the executable with the first-show exit, a result page of the stand-in loaded in
    // its first browser; true when it ran and ended cleanly and the page was asked for (the web
    // engine module loaded).
    bool RunsCleanly() {
        QProcessEnvironment env = m_env;
        env.insert("KELVRA_EXIT_AFTER_SHOW", "1");
        env.insert("KELVRA_START_PAGE", QString::fromStdString(m_sim.Root()) + kStartPage);
        env.remove("KELVRA_VERSION_CHECK_MS");
        m_sim.ClearRequests();
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(m_exe, {});
        if (!process.waitForFinished(60000)) {
            kelvra::test::Stop(process);
            return false;
        }
        bool pageShown = false;
        for (const std::string& target : m_sim.Requests())
            pageShown = pageShown || QString::fromStdString(target).startsWith(kStartPage);
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 && pageShown;
    }

private:
    ClientRun m_run;
    const SimProcess& m_sim;
    QTemporaryDir m_app;
    QString m_folder;
    QString m_exe;
    QProcessEnvironment m_env;
    bool m_ok = false;
};

} // namespace

class UpdateSelfReplaceTest : public QObject {
    Q_OBJECT
    std::unique_ptr<SimProcess> m_sim;
    QTemporaryDir m_files;

    // Publishes version 1.0.0.4 with a data file and the new executable (given bytes, saved as
    // kelvra.new) whose sha256 attribute is `sha256`.
    void PublishUpdate(const QByteArray& newExe, const QString& sha256) {
        const QString path = m_files.filePath("kelvra-next");
        QVERIFY(WriteAll(path, newExe));
        m_sim->Control("/__sim/version?v=1.0.0.4");
        m_sim->Control("/__sim/update_files?name=readme.txt&content=Kelvra%201.0.0.4");
        const std::string reply = m_sim->Control(
            "/__sim/update_files?name=kelvra&temp_name=kelvra.new&main_program=1&file=" +
            SimProcess::Encode(path.toStdString()) + "&sha256=" + sha256.toStdString());
        QCOMPARE(QString::fromStdString(reply), QStringLiteral("ok %1\n").arg(newExe.size()));
    }

    static QByteArray NewBuildOf(const QByteArray& old) {
        return old + QByteArrayLiteral("\nKELVRA-BUILD-1.0.0.4\n"); // still a valid executable
    }

private slots:
    void initTestCase() {
        m_sim = std::make_unique<SimProcess>();
        QVERIFY(m_files.isValid());
    }
    void init() { m_sim->Reset(); }

    void updatesItsOwnExecutableAfterItEnds() {
        CopiedClient client(*m_sim);
        QVERIFY(client.Ready());
        const QByteArray oldBytes = ReadAll(client.Exe());
        const QByteArray newBytes = NewBuildOf(oldBytes);
        const QByteArray newEngine = NewBuildOf(ReadAll(client.AppFolder() + "/" + kEngine));
        PublishFile(kEngine, newEngine);
        PublishUpdate(newBytes, Sha256Hex(newBytes));

        auto process = client.Start("update");
        QVERIFY(process->waitForStarted(10000));
        const bool ended = process->waitForFinished(90000);
        if (!ended)
            kelvra::test::Stop(*process);
        QVERIFY2(ended, qPrintable(ReadLogLines(client.Log()).join('\n')));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
        QCOMPARE(ReadLogLines(client.Log()), (QStringList{kUpdateQuestion, kFinalQuestion}));

        // The script replaces the executable once the program has ended.
        QTRY_VERIFY_WITH_TIMEOUT(!client.ScriptExists(), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(client.Exe()) == newBytes, 10000);
        // The old files stay aside until the new program has started once.
        QCOMPARE(client.AppEntries(), (QStringList{"kelvra", kEngine, kEngine + ".kelvra-old",
                                                   "kelvra.kelvra-old", "readme.txt"}));
        QVERIFY(ReadAll(client.AppFolder() + "/" + kEngine) == newEngine);
        QCOMPARE(ReadAll(client.AppFolder() + "/readme.txt"), QByteArray("Kelvra 1.0.0.4"));
        QVERIFY(QFileInfo(client.Exe()).isExecutable());
        QCOMPARE(SettingsValue(client.DataFolder(), "Version"), QStringLiteral("1.0.0.4"));
        QVERIFY2(client.RunsCleanly(), "the new executable starts");
        QCOMPARE(client.AppEntries(), (QStringList{"kelvra", kEngine, "readme.txt"}));
    }

    // Publishes a file of the list from bytes (through a file: a real executable is too long
    // for a query).
    void PublishFile(const QString& name, const QByteArray& bytes, const QString& extra = {}) {
        const QString path = m_files.filePath(name + ".published");
        QVERIFY(WriteAll(path, bytes));
        const std::string reply =
            m_sim->Control("/__sim/update_files?name=" + name.toStdString() +
                           "&file=" + SimProcess::Encode(path.toStdString()) + extra.toStdString());
        QCOMPARE(QString::fromStdString(reply), QStringLiteral("ok %1\n").arg(bytes.size()));
    }

    // A folder on a small memory file system: the old program fits, the new one does not.
    // Empty when no file system can be mounted here (not root).
    QString SmallFolder(qint64 bytes) {
        const QString folder = m_files.filePath("small");
        QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        if (::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0, options.constData()) !=
            0)
            return QString();
        return folder;
    }

    // Bad content of every kind: "Download Error!", the program folder exactly as it was, the
    // settings untouched, and the old program starts and shows a result page.
    void badContentLeavesExactlyTheOldFiles_data() {
        QTest::addColumn<QString>("problem");
        for (const char* problem :
             {"cut with a length", "cut without a length", "cut chunked",
              "HTML instead of the program", "program of 0 bytes", "wrong checksum",
              "library for another machine", "junk library", "second file not found", "disk full"})
            QTest::newRow(problem) << QString::fromLatin1(problem);
    }

    void badContentLeavesExactlyTheOldFiles() {
        QFETCH(QString, problem);
        const QByteArray oldExe = ReadAll(QStringLiteral(KELVRA_CLIENT_PATH));
        const QByteArray oldEngine =
            ReadAll(QFileInfo(QStringLiteral(KELVRA_CLIENT_PATH)).path() + "/" + kEngine);
        QString small;
        if (problem == "disk full") {
            small = SmallFolder(oldExe.size() + oldEngine.size() + (4 << 20));
            if (small.isEmpty())
                QSKIP("no memory file system can be mounted here");
        }
        auto unmount = qScopeGuard([&] {
            if (!small.isEmpty())
                ::umount2(small.toLocal8Bit().constData(), MNT_DETACH);
        });
        CopiedClient client(*m_sim, small);
        QVERIFY(client.Ready());
        const auto before = client.Contents();

        m_sim->Control("/__sim/version?v=1.0.0.4");
        QByteArray engine = NewBuildOf(oldEngine);
        QByteArray program = NewBuildOf(oldExe);
        QString programFault;
        QString checksum;
        if (problem == "library for another machine") {
            engine[18] = char(183); // EM_AARCH64
            engine[19] = 0;
        } else if (problem == "junk library") {
            engine = QByteArray(64 * 1024, 'j');
        } else if (problem == "program of 0 bytes") {
            program.clear();
            checksum = Sha256Hex(program); // a checksum that matches proves nothing
        } else if (problem == "wrong checksum") {
            checksum = Sha256Hex("something else");
        } else if (problem == "cut with a length") {
            programFault = "truncated";
        } else if (problem == "cut without a length") {
            programFault = "cut_unannounced";
        } else if (problem == "cut chunked") {
            programFault = "cut_chunked";
        } else if (problem == "HTML instead of the program") {
            programFault = "malformed";
        } else if (problem == "second file not found") {
            programFault = "404";
        }
        PublishFile(kEngine, engine);
        PublishFile("kelvra", program,
                    "&temp_name=kelvra.new&main_program=1" +
                        (checksum.isEmpty() ? QString() : "&sha256=" + checksum));
        if (!programFault.isEmpty())
            m_sim->InjectFault("/kelvra_cd/kelvra_update/files/kelvra", programFault.toStdString());

        auto process = client.Start("bad");
        QVERIFY(process->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(ReadLogLines(client.Log()).contains(kDownloadError), 120000);
        QCOMPARE(process->state(), QProcess::Running); // the window stays open
        kelvra::test::Stop(*process);

        QCOMPARE(ReadLogLines(client.Log()), (QStringList{kUpdateQuestion, kDownloadError}));
        QVERIFY(!client.ScriptExists());
        QVERIFY2(client.Contents() == before, qPrintable(client.AppEntries().join(", ")));
        QCOMPARE(SettingsValue(client.DataFolder(), "Version"), QStringLiteral("1.0.0.3"));
        QVERIFY2(client.RunsCleanly(), "the old program starts and shows a result page");
        QVERIFY(client.Contents() == before);
    }

    // The script cannot be written (a folder has its name): the user is told, the settings keep
    // the running version, nothing is staged any more and the program goes on; the same update is
    // offered again at the next start.
    void scriptThatCannotBeWrittenIsAnErrorNotASuccess() {
        CopiedClient client(*m_sim);
        QVERIFY(client.Ready());
        const auto before = client.Contents();
        const QByteArray newBytes = NewBuildOf(ReadAll(client.Exe()));
        PublishUpdate(newBytes, Sha256Hex(newBytes));
        QVERIFY(QDir().mkpath(client.DataFolder() + "/$$update.sh/taken"));

        auto process = client.Start("no-script");
        QVERIFY(process->waitForStarted(10000));
        const QString told = QStringLiteral("Kelvra\tThe update could not be started, so it was "
                                            "not installed. The program stays as it was.");
        QTRY_VERIFY_WITH_TIMEOUT(ReadLogLines(client.Log()).contains(told), 120000);
        QCOMPARE(process->state(), QProcess::Running); // the program goes on
        kelvra::test::Stop(*process);
        QCOMPARE(ReadLogLines(client.Log()), (QStringList{kUpdateQuestion, told}));
        QCOMPARE(SettingsValue(client.DataFolder(), "Version"), QStringLiteral("1.0.0.3"));
        QVERIFY(client.Contents() == before);
    }

    // A list whose only entry is a data file named like the program: refused before any
    // download. The start also removes what an earlier killed save left in the program folder,
    // and finds the mark of an earlier update that went back: the user is told, the mark goes,
    // and the settings name the installed version (the update is offered again).
    void listSavingOverTheExecutableIsRefused() {
        CopiedClient client(*m_sim);
        QVERIFY(client.Ready());
        const QByteArray oldBytes = ReadAll(client.Exe());
        QVERIFY(WriteAll(client.AppFolder() + "/kelvra.kelvra-part-1", "half a save"));
        QVERIFY(QDir().mkpath(client.AppFolder() + "/.kelvra-update.not-installed"));
        QVERIFY(WriteAll(client.AppFolder() + "/.kelvra-update.not-installed/.installed-version",
                         "1.0.0.3"));
        QVERIFY(QDir().mkpath(client.DataFolder()));
        QVERIFY(WriteAll(client.DataFolder() + "/kelvra_config.ini",
                         "[INFO]\r\nLanguage=English\r\nUserName=\r\nRember=0\r\n"
                         "Version=1.0.0.4\r\n"));
        const QString told = QStringLiteral("Kelvra\tThe last update could not be completed, so it "
                                            "was not installed. The program stays as it was.");
        m_sim->Control("/__sim/version?v=1.0.0.4");
        m_sim->Control("/__sim/update_files?name=kelvra&content=" +
                       SimProcess::Encode("17 bytes, no exe!"));

        auto process = client.Start("collision");
        QVERIFY(process->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(ReadLogLines(client.Log()).contains(kDownloadError), 90000);
        kelvra::test::Stop(*process);

        QCOMPARE(ReadLogLines(client.Log()), (QStringList{told, kUpdateQuestion, kDownloadError}));
        for (const std::string& target : m_sim->Requests())
            QVERIFY2(target.find("/kelvra_update/files/") == std::string::npos, target.c_str());
        QVERIFY(ReadAll(client.Exe()) == oldBytes);
        QCOMPARE(client.AppEntries(), (QStringList{"kelvra", kEngine}));
        QVERIFY(!client.ScriptExists());
        QCOMPARE(SettingsValue(client.DataFolder(), "Version"), QStringLiteral("1.0.0.3"));
        QVERIFY2(client.RunsCleanly(), "the executable still starts");
    }

    void noNetworkAtTheCheckShowsTipAndWritesNothing() {
        CopiedClient client(*m_sim);
        QVERIFY(client.Ready());
        const QString stateFile = m_files.filePath("network-state");
        QVERIFY(WriteAll(stateFile, "down\n"));
        client.Env().insert("KELVRA_NETWORK_STATE_FILE", stateFile);
        // reset_language 1: a check that went on (no version is published) would write 0.
        QVERIFY(QDir().mkpath(client.DataFolder()));
        QVERIFY(WriteAll(client.DataFolder() + "/kelvra_config.ini",
                         "[INFO]\r\nLanguage=English\r\nUserName=\r\nRember=0\r\n"
                         "Version=1.0.0.3\r\nreset_language=1\r\n"));

        auto process = client.Start("offline");
        QVERIFY(process->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(ReadLogLines(client.Log()).contains(kNoNetwork), 60000);
        auto askedForVersion = [this] {
            for (const std::string& target : m_sim->Requests())
                if (target.find("get_version.asp") != std::string::npos)
                    return true;
            return false;
        };
        // A check that went on would ask the service right after the message is accepted.
        QVERIFY(!QTest::qWaitFor(askedForVersion, 2000));
        kelvra::test::Stop(*process);
        QCOMPARE(ReadLogLines(client.Log()), QStringList{kNoNetwork});
        QCOMPARE(SettingsValue(client.DataFolder(), "reset_language"), QStringLiteral("1"));
        QVERIFY(!askedForVersion());
    }
};

QTEST_GUILESS_MAIN(UpdateSelfReplaceTest)
#include "update_self_replace_test.moc"
