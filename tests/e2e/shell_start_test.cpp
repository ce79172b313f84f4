// The real client binary against the stand-in: start-up with its screenshot, the second copy,
// and the end of the program after a failed probe.
#include <QImage>
#include <QSet>
#include <QTest>

#include <memory>

#include "shell_support.h"
#include "support/SimProcess.h"

using kelvra::test::ClientRun;

namespace {

// Distinct colours on a grid of sample points: a blank or broken grab has only a few.
int SampledColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

class ShellStartTest : public QObject {
    Q_OBJECT
    std::unique_ptr<kelvra::test::SimProcess> m_sim;

private slots:
    void initTestCase() { m_sim = std::make_unique<kelvra::test::SimProcess>(); }
    void init() { m_sim->Reset(); }

    void startsShowsItsWindowAndRefusesASecondCopy() {
        ClientRun run(QString::fromStdString(m_sim->Root()));
        auto first = run.Start("first");
        QVERIFY(first->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(run.Screenshot()), 60000);

        const QImage shot(run.Screenshot());
        QVERIFY2(!shot.isNull(), "the screenshot is a readable PNG");
        QVERIFY(shot.width() >= 944 && shot.height() >= 680);
        QVERIFY2(SampledColours(shot) > 60, "the screenshot shows the drawn window");

        auto second = run.Start("second");
        QVERIFY(second->waitForFinished(30000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(kelvra::test::ReadLogLines(run.Log()),
                 QStringList{QStringLiteral("\t程序已经运行")});
        QCOMPARE(first->state(), QProcess::Running); // the first copy is untouched

        int probes = 0;
        for (const std::string& target : m_sim->Requests())
            probes += target == "/cn/";
        QCOMPARE(probes, 1); // the second copy never reached the service
        kelvra::test::Stop(*first);
    }

    void failedProbeEndsTheProgramAfterTheMessage() {
        m_sim->SetProbeStatus(500);
        ClientRun run(QString::fromStdString(m_sim->Root()));
        auto client = run.Start("client");
        QVERIFY(client->waitForStarted(10000));
        const bool ended = client->waitForFinished(60000);
        if (!ended)
            kelvra::test::Stop(*client);
        QVERIFY2(ended, qPrintable(run.Output("client")));
        QCOMPARE(client->exitStatus(), QProcess::NormalExit);
        QCOMPARE(client->exitCode(), 0);
        QCOMPARE(
            kelvra::test::ReadLogLines(run.Log()),
            QStringList{"Error\tThe server is undergoing maintenance.Please try again later."});
        QVERIFY(!QFile::exists(run.Screenshot())); // the window never finished a show
    }
};

QTEST_GUILESS_MAIN(ShellStartTest)
#include "shell_start_test.moc"
