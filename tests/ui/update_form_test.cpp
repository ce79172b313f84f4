// The update window against the stand-in: layout, centring and texts at every show, the busy
// look, the link's hover looks and its abandon road, the close question, and a slow download
// (with its screenshot) that ends in the final Yes.
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

#include "support/SimProcess.h"
#include "ui/update/TUpdateForm.h"
#include "ui_support.h"
#include "update/UpdateStaging.h"

using kelvra::AppState;
using kelvra::UpdateScriptRequest;
using kelvra::UpdateServices;
using kelvra::ui::TUpdateForm;

// Receives the URLs the window hands to the system browser.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    ~LinkCatcher() override { QDesktopServices::unsetUrlHandler("http"); }
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

// Answers the next question box with the given button; remembers its text.
class QuestionAnswerer : public QObject {
    Q_OBJECT
public:
    explicit QuestionAnswerer(QMessageBox::StandardButton answer) : m_answer(answer) {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->button(m_answer))
                return;
            texts.append(box->windowTitle() + QLatin1Char('|') + box->text());
            box->button(m_answer)->click();
        });
        m_poll.start(50);
    }
    QStringList texts;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_poll;
};

class UpdateFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<kelvra::test::SimProcess> m_sim;
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_log;
    AppState m_state;
    QWidget m_main; // stands in for the main window
    std::vector<UpdateScriptRequest> m_scripts;

    QString AppFolder() const { return m_temp->filePath("app"); }

    std::unique_ptr<TUpdateForm> NewForm() {
        m_state.dataFolder = m_temp->filePath("data").toStdString();
        m_state.language = "English";
        m_state.serviceRoot = m_sim->Root();
        UpdateServices services = UpdateServices::Defaults(m_state);
        services.exePath = (AppFolder() + "/kelvra").toStdString();
        services.startUpdateScript = [this](const UpdateScriptRequest& request) {
            m_scripts.push_back(request);
            return true;
        };
        return std::make_unique<TUpdateForm>(m_state, services, &m_main);
    }

    static QPoint CentredPosition(const QWidget& window) {
        const QRect area = window.screen()->geometry();
        const QSize outer = window.frameGeometry().size();
        return {area.x() + (area.width() - outer.width()) / 2,
                area.y() + (area.height() - outer.height()) / 2};
    }

private slots:
    void initTestCase() {
        QApplication::setApplicationName("Kelvra");
        m_sim = std::make_unique<kelvra::test::SimProcess>();
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        QVERIFY(QDir().mkpath(AppFolder()));
        QVERIFY(QDir().mkpath(m_temp->filePath("data")));
        m_log = m_temp->filePath("boxes.log");
        kelvra::test::UseHeadlessMessageBoxes(m_log);
    }

    void init() {
        m_sim->Reset();
        m_scripts.clear();
        m_main.hide();
        QFile::remove(m_log);
        qputenv("KELVRA_AUTOMATION_ACCEPT", "1");
        qputenv("KELVRA_AUTOMATION_ACCEPT_UPDATE", "1"); // these tests are of the update itself
    }

    void layoutTextsAndCentringAtEveryShow() {
        auto form = NewForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("Update"));
        QCOMPARE(form->size(), QSize(479, 95));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(
            !(form->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
        auto* bar = form->findChild<QProgressBar*>("suiProgressBar1");
        auto* label1 = form->findChild<QLabel*>("Label1");
        auto* label3 = form->findChild<QLabel*>("Label3");
        auto* button = form->findChild<QPushButton*>("UpdateBtn");
        auto* timer = form->findChild<QTimer*>("Timer1");
        QVERIFY(bar && label1 && label3 && button && timer);
        QVERIFY(!timer->isActive()); // until the window is shown
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        QVERIFY(bar->isTextVisible());

        for (int show = 0; show < 2; ++show) {
            form->move(3, 7);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            QCOMPARE(form->pos(), CentredPosition(*form));
            QCOMPARE(label1->text(), QStringLiteral("  progress"));
            QCOMPARE(label3->text(), QStringLiteral("  Download"));
            QVERIFY(timer->isActive());
            QCOMPARE(timer->interval(), 5000);
            QVERIFY(!button->isVisible());
            form->hide();
        }
        timer->stop();

        form->SetBusy(); // a transfer without a length
        QCOMPARE(bar->maximum(), 0);
        form->SetProgress(40);
        QCOMPARE(bar->maximum(), 100);
        QCOMPARE(bar->value(), 40);
    }

    void hoverLooksAndTheLinkWithNoToTheStopQuestion() {
        qunsetenv("KELVRA_AUTOMATION_ACCEPT");
        LinkCatcher catcher;
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        auto form = NewForm();
        form->SetWaitInterval(60000); // no download in this test
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* label3 = form->findChild<QLabel*>("Label3");
        auto* panel = form->findChild<QWidget*>("Panel1");
        QVERIFY(label3 && panel);

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(label3, &enter);
        QVERIFY(label3->font().underline());
        QCOMPARE(label3->width(), 150);
        QCOMPARE(label3->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(panel, QPoint(panel->width() - 5, panel->height() - 5));
        QTRY_VERIFY_WITH_TIMEOUT(!label3->font().underline(), 5000);
        QCOMPARE(label3->width(), 150);

        {
            QuestionAnswerer no(QMessageBox::No);
            QTest::mouseClick(label3, Qt::LeftButton, {}, QPoint(5, 5));
            QCOMPARE(no.texts, QStringList{" |  Stop and back?"});
        }
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl(QString::fromStdString(m_sim->Root()) +
                                                "/kelvra_cd/download.asp")});
        QVERIFY(form->isVisible());  // No: the window stays open ...
        QVERIFY(m_main.isVisible()); // ... while the main window is shown
        QVERIFY(form->Presenter().StopRequested());

        {
            QuestionAnswerer no(QMessageBox::No);
            QVERIFY(!form->close());
            QCOMPARE(no.texts.size(), 1);
        }
        QVERIFY(form->isVisible());
        {
            QuestionAnswerer yes(QMessageBox::Yes);
            QVERIFY(form->close());
        }
        QVERIFY(!form->isVisible());
    }

    void slowDownloadShowsProgressAndEndsInTheFinalYes() {
        // A real executable (it passes the start test), padded so that the transfer takes a while.
        QFile real(QStringLiteral("/bin/true"));
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray content = real.readAll() + QByteArray(600 * 1024, 'k');
        m_sim->Control("/__sim/version?v=1.0.0.4");
        QFile source(m_temp->filePath("kelvra-next"));
        QVERIFY(source.open(QIODevice::WriteOnly) && source.write(content) == content.size());
        source.close();
        m_sim->Control("/__sim/update_files?name=kelvra&temp_name=kelvra.new&main_program=1"
                       "&file=" +
                       kelvra::test::SimProcess::Encode(source.fileName().toStdString()));
        m_sim->Control("/__sim/fault?path=/kelvra_cd/kelvra_update/files/kelvra&kind=slow&ms=6000");
        auto form = NewForm();
        form->SetWaitInterval(100);
        QSignalSpy quit(form.get(), &TUpdateForm::quitRequested);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* bar = form->findChild<QProgressBar*>("suiProgressBar1");
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 30 && bar->value() < 90, 20000);
        QVERIFY(form->isVisible());
        QVERIFY(bar->text().endsWith('%'));

        QString shotPath = kelvra::test::ScreenshotPath("screenshot-update.png");
        if (shotPath.isEmpty())
            shotPath = m_temp->filePath("screenshot-update.png");
        QVERIFY(form->grab().save(shotPath, "PNG"));

        QVERIFY(quit.wait(30000)); // the final question, answered Yes by the automation
        QCOMPARE(kelvra::test::ReadLogLines(m_log),
                 QStringList{" \t  Download complete.Updating now?"});
        QVERIFY(!form->isVisible());
        QCOMPARE(m_scripts.size(), size_t(1));
        QCOMPARE(m_scripts[0].items.size(), size_t(1));
        QCOMPARE(QString::fromStdString(m_scripts[0].items[0].target), AppFolder() + "/kelvra");
        QFile saved(AppFolder() + "/" + kelvra::kStagingFolderName + "/kelvra.new");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == content);
    }
};

QTEST_MAIN(UpdateFormTest)
#include "update_form_test.moc"
