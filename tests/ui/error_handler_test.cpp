// The general error handler and the one message-box helper: an exception escaping an event
// handler is shown (application title as caption, what() as text) and the program goes on;
// every box is logged and, under automation, accepted.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

#include "settings/SettingsError.h"
#include "ui/app/KelvraApplication.h"
#include "ui/app/MessageBoxes.h"
#include "ui_support.h"

namespace {

// Throws from its event handler, as a handler that fails to write a file does.
class Thrower : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++handled;
        throw kelvra::SettingsWriteError("/data/Language/enu.ini");
    }
};

} // namespace

class ErrorHandlerTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_temp;
    QString m_log;

private slots:
    void initTestCase() {
        QApplication::setApplicationName("Kelvra");
        m_log = m_temp.filePath("boxes.log");
        kelvra::test::UseHeadlessMessageBoxes(m_log);
    }
    void init() { QFile::remove(m_log); }

    void escapedExceptionIsShownAndTheLoopGoesOn() {
        Thrower thrower;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTRY_COMPARE(thrower.handled, 2);
        QTRY_COMPARE(kelvra::test::ReadLogLines(m_log),
                     (QStringList{"Kelvra\tUnable to write to /data/Language/enu.ini",
                                  "Kelvra\tUnable to write to /data/Language/enu.ini"}));
    }

    void boxesAreLoggedInOrderWithTheirCaptions_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty caption") << "" << QStringLiteral("程序已经运行");
        QTest::newRow("error") << "Error"
                               << "The server is undergoing maintenance.Please try again later.";
        QTest::newRow("leading blanks") << "Tip"
                                        << "  Input OE Number";
    }

    void boxesAreLoggedInOrderWithTheirCaptions() {
        QFETCH(QString, caption);
        QFETCH(QString, text);
        kelvra::ui::ShowInformation(nullptr, caption, text); // returns once accepted
        QCOMPARE(kelvra::test::ReadLogLines(m_log), QStringList{caption + "\t" + text});
    }

    void questionsAreAnsweredUnderAutomation_data() {
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("updatesAsked");
        QTest::addColumn<bool>("yes");
        QTest::newRow("ordinary question") << false << false << true;
        // A Yes to an update question replaces the program: only a test of the update asks it.
        QTest::newRow("update question") << true << false << false;
        QTest::newRow("update question, updates asked") << true << true << true;
    }

    void questionsAreAnsweredUnderAutomation() {
        QFETCH(bool, update);
        QFETCH(bool, updatesAsked);
        QFETCH(bool, yes);
        if (updatesAsked)
            qputenv("KELVRA_AUTOMATION_ACCEPT_UPDATE", "1");
        const auto question =
            update ? kelvra::ui::Question::Update : kelvra::ui::Question::Ordinary;
        const bool answer =
            kelvra::ui::AskYesNo(nullptr, " ", "A newer version is available.", question);
        qunsetenv("KELVRA_AUTOMATION_ACCEPT_UPDATE");
        QCOMPARE(answer, yes);
        QCOMPARE(kelvra::test::ReadLogLines(m_log),
                 QStringList{" \tA newer version is available."});
    }
};

int main(int argc, char** argv) {
    kelvra::ui::KelvraApplication app(argc, argv);
    ErrorHandlerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "error_handler_test.moc"
