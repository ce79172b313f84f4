// The page tools in the real client with the real engine against the stand-in: print and PDF,
// find, zoom kept between runs, back and forward past the watch, Esc during a slow page, the
// day's quota in the status bar in both languages, and Enter on a focused search button.
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <memory>

#include "client_harness.h"
#include "ui/app/PageAreaTools.h"
#include "ui/app/PagePrinting.h"
#include "ui/widgets/FindBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/PageToolRow.h"
#include "ui_support.h"

using kelvra::test::Account;
using kelvra::test::Client;
using kelvra::ui::PagePrinting;

namespace {

// The text of a PDF file as pdftotext reads it; empty when it cannot be read.
QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(20000) || pdftotext.exitCode() != 0)
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// A real left click (press and release on the engine's input widget) at the middle of the
// first element matching selector; false when there is none.
bool RealClick(const Client& c, int number, const QString& selector) {
    const QVariantList box =
        c.Script(number, QStringLiteral("(function(){var e=document.querySelector(\"%1\");"
                                        "if(!e)return [];e.scrollIntoView({block:'center'});"
                                        "var r=e.getBoundingClientRect();"
                                        "return [r.left+r.width/2,r.top+r.height/2];})()")
                             .arg(selector))
            .toList();
    if (box.size() != 2)
        return false;
    QWidget* input = kelvra::test::Engine(c.Browser(number))->focusProxy();
    const double zoom = kelvra::test::Engine(c.Browser(number))->zoomFactor();
    const QPoint at(qRound(box[0].toDouble() * zoom), qRound(box[1].toDouble() * zoom));
    QTest::mouseClick(input, Qt::LeftButton, {}, at);
    return true;
}

QWidget* PageInput(const Client& c, int number) {
    return kelvra::test::Engine(c.Browser(number))->focusProxy();
}

QString Quota(const Client& c) {
    return c.main->findChild<QLabel*>("Quota")->text();
}

void Shot(const Client& c, const QString& name) {
    if (const QString path = kelvra::test::ScreenshotPath(name); !path.isEmpty()) {
        // Only when pictures are asked for: the engine draws shortly after it reports.
        QTest::qWait(500);
        c.main->grab().save(path, "PNG");
    }
}

} // namespace

class PageToolsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
    }

    void init() { m_ui->Reset(); }

    // Printing on a PDF printer and saving as PDF both give the page with its part numbers;
    // a file that cannot be written says so.
    void printAndSaveAsPdf() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->ShowResults());
        const QStringList numbers =
            c->Script(1, QStringLiteral("document.body.innerText.match(/W 712\\/\\d+/g) || []"))
                .toStringList();
        QVERIFY2(numbers.size() >= 2, qPrintable(numbers.join(',')));
        PagePrinting& tools = c->parts.Main().PageTools().Printing();

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_ui->Path(QStringLiteral("printed.pdf")));
        const QString saved = m_ui->Path(QStringLiteral("saved.pdf"));
        int done = 0;
        tools.PrintTo(&printer, [&](bool ok, const QString& why) { done += ok ? 1 : 100; });
        QTRY_COMPARE_WITH_TIMEOUT(done, 1, 30000);
        tools.SavePdfTo(saved, [&](bool ok, const QString&) { done += ok ? 1 : 100; });
        QTRY_COMPARE_WITH_TIMEOUT(done, 2, 30000);
        for (const QString& file : {printer.outputFileName(), saved}) {
            const QString text = PdfText(file);
            for (const QString& number : numbers)
                QVERIFY2(text.contains(number), qPrintable(file + ": " + number));
        }
        QVERIFY(m_ui->Messages().isEmpty());

        const QString unwritable = m_ui->Path(QStringLiteral("missing-folder/page.pdf"));
        QString reason;
        tools.SavePdfTo(unwritable, [&](bool ok, const QString& why) {
            done += ok ? 1 : 100;
            reason = why;
        });
        QTRY_COMPARE_WITH_TIMEOUT(done, 102, 30000);
        QVERIFY(reason.contains(unwritable));
        QCOMPARE(m_ui->Messages(), QStringList{"Save as PDF\t" + reason});

        // Ctrl+P: the print preview of the page, drawn by the engine's own printing. The dialog
        // runs its own loop: a timer inside it looks at the preview and closes it.
        int previewPages = -1;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            auto* pages = preview ? preview->findChild<QPrintPreviewWidget*>() : nullptr;
            if (pages && pages->pageCount() >= 1) {
                previewPages = pages->pageCount();
                preview->reject();
            }
        });
        watcher.start(100);
        // The keys are the window's: a person presses them in the active window (the message box
        // above has closed, which leaves no window active here).
        c->main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(c->main));
        QTest::keyClick(PageInput(*c, 1), Qt::Key_P, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(previewPages >= 1 && !QApplication::activeModalWidget(), 40000);
        watcher.stop();

        QCOMPARE(PagePrinting::SuggestedPdfPath(QStringLiteral(" a/b:c*?  d ")).section('/', -1),
                 QStringLiteral("a_b_c__ d.pdf"));
        QCOMPARE(PagePrinting::SuggestedPdfPath(QStringLiteral("..")).section('/', -1),
                 QStringLiteral("Kelvra.pdf"));
    }

    // Ctrl+F in the page opens the find bar; typing shows "n of m" with the page's own count;
    // F3 moves on; Esc closes the bar.
    void findCountsMatches() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->ShowResults());
        const int expected =
            c->Script(1, QStringLiteral("(document.body.innerText.match(/712/g) || []).length"))
                .toInt();
        QVERIFY(expected >= 2);
        QTest::keyClick(PageInput(*c, 1), Qt::Key_F, Qt::ControlModifier);
        auto* bar = c->main->findChild<kelvra::ui::FindBar*>("FindBar");
        QVERIFY(bar->isVisible());
        auto* field = bar->findChild<QLineEdit*>("FindText");
        QCOMPARE(c->main->focusWidget(), field);
        QTest::keyClicks(field, QStringLiteral("712"));
        auto* count = bar->findChild<QLabel*>("FindCount");
        QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("1 of %1").arg(expected), 10000);
        QTest::keyClick(field, Qt::Key_F3);
        QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("2 of %1").arg(expected), 10000);
        QTest::keyClick(field, Qt::Key_F3, Qt::ShiftModifier);
        QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("1 of %1").arg(expected), 10000);
        Shot(*c, QStringLiteral("screenshot-find-bar.png"));
        QTest::keyClicks(field, QStringLiteral("zzz"));
        QTRY_COMPARE_WITH_TIMEOUT(count->text(), QStringLiteral("No matches"), 10000);
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
    }

    // Ctrl+=, Ctrl+- and the tool row change the zoom of the browser shown; the zoom is kept in
    // its own section and applied by the next run; the first run wrote no such section.
    void zoomKeptBetweenRuns() {
        QString folder;
        {
            auto c = m_ui->StartClient();
            QVERIFY(c);
            folder = qEnvironmentVariable("KELVRA_DATA_DIR");
            QFile settings(folder + "/kelvra_config.ini");
            QVERIFY(settings.open(QIODevice::ReadOnly));
            const QByteArray firstRun = settings.readAll();
            settings.close();
            QVERIFY(!firstRun.contains("[View]"));
            QVERIFY(c->ShowResults());
            QTest::keyClick(PageInput(*c, 1), Qt::Key_Equal, Qt::ControlModifier);
            QTest::keyClick(PageInput(*c, 1), Qt::Key_Plus,
                            Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(c->Browser(1)->ZoomPercent(), 125);
            QTest::keyClick(PageInput(*c, 1), Qt::Key_Minus, Qt::ControlModifier);
            QCOMPARE(c->Browser(1)->ZoomPercent(), 110);
            QCOMPARE(kelvra::test::Engine(c->Browser(1))->zoomFactor(), 1.1);
            // Ctrl+wheel down, then up.
            for (int delta : {-120, 120}) {
                QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta),
                                  Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(PageInput(*c, 1), &wheel);
                QCOMPARE(c->Browser(1)->ZoomPercent(), delta < 0 ? 100 : 110);
            }
            auto* row = c->main->findChild<kelvra::ui::PageToolRow*>("PageTools");
            QVERIFY(row->isVisible());
            QTest::mouseClick(row->Button(kelvra::ui::PageToolRow::Tool::ZoomIn), Qt::LeftButton);
            QCOMPARE(c->Browser(1)->ZoomPercent(), 125);
            QCOMPARE(row->Button(kelvra::ui::PageToolRow::Tool::ZoomReset)->text(),
                     QStringLiteral("125%"));
            QVERIFY(settings.open(QIODevice::ReadOnly));
            const QByteArray changed = settings.readAll();
            QVERIFY2(changed.startsWith(firstRun), changed.constData()); // INFO untouched
            QVERIFY2(changed.contains("[View]\r\nWebBrowser1.Zoom=125"), changed.constData());
            c->main->ShowPage(kelvra::kPageAbout);
            QVERIFY(!row->isVisible());
        }
        qputenv("KELVRA_DATA_DIR", folder.toUtf8());
        Client again(m_ui->Sim(), folder);
        QVERIFY(again.Start());
        QCOMPARE(again.Browser(1)->ZoomPercent(), 125);
        QCOMPARE(again.Browser(2)->ZoomPercent(), 100);
        QVERIFY(again.ShowResults());
        QCOMPARE(kelvra::test::Engine(again.Browser(1))->zoomFactor(), 1.25);
    }

    // Back after a product page returns to the results through the watch; Forward to the
    // product page is a product page again: the watch counts it; the quota text follows.
    void backAndForwardPassTheWatch() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QCOMPARE(Quota(*c), QString());
        QVERIFY(c->LogInFromSideMenu(QStringLiteral("demo"), QStringLiteral("demo123")));
        QTRY_COMPARE_WITH_TIMEOUT(Quota(*c), QStringLiteral("Pages today: 0/20"), 3000);
        QVERIFY(c->ShowResults());
        QStringList announced;
        connect(c->Browser(1), &kelvra::ui::BrowserView::beforeNavigate, this,
                [&](const QString& url) { announced << url; });
        QVERIFY(RealClick(*c, 1, QStringLiteral("a[href*='pro_show.asp']")));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("pro_show.asp")));
        QCOMPARE(Quota(*c), QStringLiteral("Pages today: 1/20"));
        Shot(*c, QStringLiteral("screenshot-page-tools.png"));

        announced.clear();
        QTest::keyClick(PageInput(*c, 1), Qt::Key_Left, Qt::AltModifier);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QVERIFY2(!announced.isEmpty() && announced.last().contains("so_list.asp"),
                 qPrintable(announced.join(' ')));
        QVERIFY(c->Browser(1)->CanGoForward());

        QTest::keyClick(PageInput(*c, 1), Qt::Key_Right, Qt::AltModifier);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("pro_show.asp")));
        QVERIFY(announced.last().contains("pro_show.asp"));
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("2"));
        QCOMPARE(Quota(*c), QStringLiteral("Pages today: 2/20"));

        // The mouse's back button does the same.
        QTest::mouseClick(PageInput(*c, 1), Qt::BackButton, {}, QPoint(50, 50));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 10000);
    }

    // The quota text: VIP pages added for a VIP account, "no limit" under the two-date rule;
    // it, the tools and the find bar in Chinese after a language switch.
    void quotaTextInBothLanguages() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->LogInFromSideMenu(QStringLiteral("vip"), QStringLiteral("vip123")));
        QTRY_COMPARE_WITH_TIMEOUT(Quota(*c), QStringLiteral("Pages today: 0/200 · VIP: 0/50"),
                                  3000);
        QVERIFY(c->ShowResults());
        Shot(*c, QStringLiteral("screenshot-quota-en.png"));
        c->main->findChild<QAbstractButton*>("RzGroup5Items7")->click(); // language switch
        QTRY_COMPARE_WITH_TIMEOUT(Quota(*c), QStringLiteral("今日产品页: 0/200 · VIP: 0/50"),
                                  10000);
        auto* row = c->main->findChild<kelvra::ui::PageToolRow*>("PageTools");
        QCOMPARE(row->Button(kelvra::ui::PageToolRow::Tool::Find)->text(), QStringLiteral("查找"));
        c->main->ShowPage(kelvra::kPageResults);
        QTest::keyClick(PageInput(*c, 1), Qt::Key_F, Qt::ControlModifier);
        auto* field = c->main->findChild<QLineEdit*>("FindText");
        QTest::keyClicks(field, QStringLiteral("712"));
        QTRY_VERIFY_WITH_TIMEOUT(
            c->main->findChild<QLabel*>("FindCount")->text().startsWith(QStringLiteral("第 1 个")),
            10000);
        Shot(*c, QStringLiteral("screenshot-quota-zh.png"));
        c->state.session.s_hdate = "2025-06-01";
        c->main->RefreshQuota();
        QCOMPARE(Quota(*c), QStringLiteral("今日产品页: 0 (不限) · VIP: 0/50"));
    }

    // Esc while a page drips in stops it and takes the busy indicator down at once.
    void escapeStopsSlowPage() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->ShowResults());
        m_ui->Sim().InjectFault("/kelvra_cd/en/search/so_list.asp", "slow");
        c->SearchAnyNumber(QStringLiteral("LX 0012"));
        QTRY_VERIFY_WITH_TIMEOUT(c->version->isVisible(), 5000);
        QVERIFY(c->Browser(1)->IsLoading());
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(c->version, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 5000);
        QVERIFY2(clock.elapsed() < 1500, "stopped before the page had dripped in");
        QVERIFY(!c->Browser(1)->IsLoading());
    }

    // Enter on a focused search button presses it, and on a side-menu item (the login item).
    void enterPressesFocusedSearchButton() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        auto* field = c->main->findChild<QLineEdit*>("suiEdit_group0_3");
        field->setText(QStringLiteral("W712"));
        auto* button = c->main->findChild<QPushButton*>("Button3");
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("renyi=W712")));

        QTest::mouseClick(c->main->findChild<QPushButton*>("RzGroup5Caption"), Qt::LeftButton);
        auto* item = c->main->findChild<QAbstractButton*>("RzGroup5Items5");
        QTRY_VERIFY_WITH_TIMEOUT(item->isVisible(), 5000);
        QTest::keyClick(item, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_VERIFY_WITH_TIMEOUT(c->login->isVisible(), 10000);
    }
};

QTEST_MAIN(PageToolsTest)
#include "page_tools_test.moc"
