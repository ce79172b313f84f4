// The search panels of the real main window against the stand-in service and the real browser
// engine: a number typed and Enter pressed, a vehicle type chosen through the cascade, the
// refusals (placeholder, blanks, missing choice), offline searches and the replay after a login.
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <memory>

#include "client_harness.h"
#include "search/SearchPresenter.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/GroupBar.h"
#include "ui/widgets/PageControl.h"
#include "ui_support.h"

using kelvra::AppState;
using kelvra::ui::BrowserView;
using kelvra::ui::TFormMain;

namespace {

constexpr int kLoadTimeoutMs = 30000;

// The page text of a browser once it contains `needle`; what it holds at the deadline otherwise.
QString WaitForPageText(BrowserView* browser, const QString& needle) {
    QString text;
    const QDeadlineTimer deadline(kLoadTimeoutMs);
    while (!deadline.hasExpired()) {
        if (kelvra::test::Engine(browser) != nullptr && browser->PendingNavigations() == 0) {
            bool answered = false;
            kelvra::test::Engine(browser)->page()->toPlainText([&](const QString& plain) {
                text = plain;
                answered = true;
            });
            const QDeadlineTimer reply(5000);
            while (!answered && !reply.hasExpired())
                QTest::qWait(20);
            if (text.contains(needle))
                return text;
        }
        QTest::qWait(50);
    }
    return text;
}

// A choice as a user makes it: the entry with this id selected, then the activated signal.
bool Choose(QComboBox* box, int id) {
    const int index = box->findData(id);
    if (index < 0)
        return false;
    box->setCurrentIndex(index);
    emit box->activated(index);
    return true;
}

} // namespace

class SearchPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    // A shown main window on a fresh data folder (first run: English), active, lists filled.
    std::unique_ptr<TFormMain> NewWindow(AppState& state) {
        auto window = m_ui->NewMainWindow(state);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window did not become active");
        return window;
    }

    QLineEdit* Field(TFormMain& window, const char* name) {
        return window.findChild<QLineEdit*>(name);
    }

    // Targets of the result pages asked for since the last reset (probe and lists left out).
    QStringList SearchTargets() const {
        QStringList targets;
        for (const std::string& target : m_ui->Sim().Requests()) {
            const QString t = QString::fromStdString(target);
            if (t.contains(QStringLiteral("/search/")) && !t.contains(QStringLiteral("/xml/")))
                targets << t;
        }
        return targets;
    }

    // Saves a picture of the whole window when screenshots are asked for.
    void Screenshot(TFormMain& window, const QString& name) {
        if (const QString shot = kelvra::test::ScreenshotPath(name); !shot.isEmpty())
            QVERIFY(window.grab().save(shot));
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
        qunsetenv("KELVRA_NETWORK_STATE_FILE");
    }

    void init() { m_ui->Reset(); }

    void oeNumberEnterShowsTheResultPage() {
        AppState state;
        auto window = NewWindow(state);
        QLineEdit* oe = Field(*window, "suiEdit_group0_1");
        QCOMPARE(oe->text(), QStringLiteral(" Input OE Number"));
        oe->setFocus(Qt::TabFocusReason); // entering the field clears the placeholder
        QCOMPARE(oe->text(), QString());
        QSignalSpy returns(oe, &QLineEdit::returnPressed);
        m_ui->Sim().ClearRequests();

        QTest::keyClicks(oe, QStringLiteral("06J 001 113"));
        QTest::keyClick(oe, Qt::Key_Return);

        QCOMPARE(oe->text(), QStringLiteral("06J 001 113")); // every key reached the field
        QCOMPARE(returns.count(), 1);                        // Enter included
        QCOMPARE(window->Pages()->ActiveIndex(), 0);
        QCOMPARE(state.searchKind, 3);
        BrowserView* browser = window->Browser(1);
        const QString text = WaitForPageText(browser, QStringLiteral("part found"));
        QVERIFY2(text.contains(QStringLiteral("1 part found")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Oil filter")));
        QVERIFY(text.contains(QStringLiteral("MANN-FILTER")));
        QVERIFY(text.contains(QStringLiteral("W 712/11")));
        QCOMPARE(SearchTargets(), QStringList{"/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=OEM"
                                              "&OEM=06J%20001%20113&f_mode=jqcz&Gid=0&Mac=&IP="});
        Screenshot(*window, QStringLiteral("screenshot-number-search.png"));

        // A login afterwards replays the search with the field as it is now and the new identity.
        oe->setText(QStringLiteral("06J002126"));
        state.session.username = "demo";
        state.session.gid = "101";
        state.session.s_mac = "02-00-00-00-00-01";
        state.session.s_ip = "192.0.2.2";
        m_ui->Sim().ClearRequests();
        window->Search().AfterLogin("0");
        QVERIFY(WaitForPageText(browser, QStringLiteral("Air filter")).contains("MAHLE"));
        QCOMPARE(SearchTargets(),
                 QStringList{"/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=OEM&OEM=06J002126"
                             "&f_mode=jqcz&Gid=101&Mac=02-00-00-00-00-01&IP=192.0.2.2"});
    }

    void vehicleTypeSearchThroughTheCascade() {
        AppState state;
        auto window = NewWindow(state);
        window->findChild<kelvra::ui::GroupBar*>("RzGroupBar1")->OpenGroup(1);
        auto* brand = window->findChild<QComboBox*>("cb_group1_brand");
        auto* model = window->findChild<QComboBox*>("cb_group1_category");
        auto* type = window->findChild<QComboBox*>("cb_group1_type");
        auto* search = window->findChild<QPushButton*>("Button5");
        m_ui->Sim().ClearRequests();

        // Nothing chosen: the focus goes to the make, the first list without a choice.
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(window->focusWidget(), brand);
        QVERIFY(Choose(brand, 16));
        QVERIFY(Choose(model, 1601));
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(window->focusWidget(), type);
        QVERIFY(window->Browser(1)->LocationURL().isEmpty()); // nothing was navigated
        QCOMPARE(state.searchKind, 1);

        QVERIFY(Choose(type, 160101));
        QCOMPARE(brand->currentText(), QStringLiteral("BMW 宝马"));
        QTest::mouseClick(search, Qt::LeftButton);
        QCOMPARE(window->Pages()->ActiveIndex(), 0);
        QCOMPARE(state.searchKind, 6);
        // "宝马" as GB18030 bytes B1 A6 C2 ED.
        const QString name = QStringLiteral("BMW%20%B1%A6%C2%ED");
        QTRY_VERIFY_WITH_TIMEOUT(!SearchTargets().isEmpty(), kLoadTimeoutMs);
        QCOMPARE(SearchTargets(),
                 QStringList{"/kelvra_cd/en/search/brand_list_yorx.asp?typ_id=160101"
                             "&t_search_brand=16&t_search_brand_Name=" +
                             name + "&t_selected=160101&t_bra_id=16&t_bra_name=" + name +
                             "&t_search_name=" + name + "&Gid=0&Mac=&IP="});
        const QString text = WaitForPageText(window->Browser(1), QStringLiteral("parts found"));
        QVERIFY2(text.contains(QStringLiteral("4 parts found")), qPrintable(text));
        for (const char* part : {"Oil filter", "Ignition coil", "Timing belt kit", "Radiator"})
            QVERIFY2(text.contains(QLatin1String(part)), part);
        Screenshot(*window, QStringLiteral("screenshot-vehicle-search.png"));

        // The replay after a login takes the cascade as it is then: a new model leaves the type
        // on its prompt, which is sent as id 0.
        QVERIFY(Choose(model, 1602));
        QCOMPARE(type->currentData().toInt(), 0);
        m_ui->Sim().ClearRequests();
        window->Search().AfterLogin("0");
        QTRY_VERIFY_WITH_TIMEOUT(!SearchTargets().isEmpty(), kLoadTimeoutMs);
        QVERIFY2(SearchTargets().first().startsWith(
                     "/kelvra_cd/en/search/brand_list_yorx.asp?typ_id=0&t_search_brand=16&"),
                 qPrintable(SearchTargets().first()));
    }

    void refusedNumberSearches_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed"); // null: the field keeps its placeholder
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("focused"); // the field holds the focus when Enter is pressed
        QTest::newRow("OE placeholder") << "suiEdit_group0_1"
                                        << "Button1" << QString() << "Input OE Number" << false;
        QTest::newRow("OE blanks") << "suiEdit_group0_1"
                                   << "Button1"
                                   << "   "
                                   << "Input OE Number" << true;
        QTest::newRow("special blanks") << "suiEdit_group0_4"
                                        << "Button4"
                                        << " "
                                        << "Input Special Number" << true;
        QTest::newRow("EAN empty") << "suiEdit_group0_5"
                                   << "Button6"
                                   << ""
                                   << "Input EAN" << false;
        QTest::newRow("any number empty") << "suiEdit_group0_3"
                                          << "Button3"
                                          << ""
                                          << "Input Any Number" << false;
        // Typed to equal the placeholder, leading blank included: counts as the placeholder.
        QTest::newRow("typed placeholder") << "suiEdit_group0_2"
                                           << "Button2"
                                           << " Input Manufacturer Number"
                                           << "Input Manufacturer Number" << false;
    }

    void refusedNumberSearches() {
        QFETCH(QString, field);
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(bool, focused);
        AppState state;
        auto window = NewWindow(state);
        QLineEdit* edit = Field(*window, qPrintable(field));
        if (!typed.isNull())
            edit->setText(typed);
        if (focused)
            edit->setFocus(Qt::TabFocusReason);
        const QString before = edit->text();
        m_ui->Sim().ClearRequests();

        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(m_ui->Messages(), QStringList{"Tip\t" + message});
        // The box takes the focus away for a while: that is no exit of the field.
        QCOMPARE(edit->text(), before);
        QCOMPARE(window->Pages()->ActiveIndex(), 2);
        QCOMPARE(state.searchKind, 1);

        // The button gives the field the focus instead, without a message.
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(window->focusWidget(), edit);
        QCOMPARE(m_ui->Messages().size(), 1);
        QVERIFY(window->Browser(1)->LocationURL().isEmpty()); // nothing was navigated
        QCOMPARE(state.searchKind, 1);
    }

    void manufacturerBlanksAreSearchedByEnterOnly() {
        AppState state;
        auto window = NewWindow(state);
        QLineEdit* edit = Field(*window, "suiEdit_group0_2");
        edit->setText(QStringLiteral("  "));
        m_ui->Sim().ClearRequests();
        QTest::mouseClick(window->findChild<QPushButton*>("Button2"), Qt::LeftButton);
        QVERIFY(window->Browser(1)->LocationURL().isEmpty()); // the button refused the blanks
        QTest::keyClick(edit, Qt::Key_Enter);                 // the keypad's Enter counts too
        QTRY_VERIFY_WITH_TIMEOUT(!SearchTargets().isEmpty(), kLoadTimeoutMs);
        QCOMPARE(SearchTargets(),
                 QStringList{"/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=chansh&chansh=%20%20"
                             "&f_mode=jqcz&Gid=0&Mac=&IP="});
        QCOMPARE(state.searchKind, 2);
        QVERIFY(m_ui->Messages().isEmpty());
        QVERIFY(WaitForPageText(window->Browser(1), QStringLiteral("parts found")).size() > 0);
    }

    void offlineSearchesSendNothing() {
        m_ui->UseNetworkStateFile();
        QVERIFY(m_ui->SetNetwork("down\n"));
        AppState state;
        auto window = NewWindow(state);
        QLineEdit* oe = Field(*window, "suiEdit_group0_1");
        QLineEdit* any = Field(*window, "suiEdit_group0_3");
        oe->setText(QStringLiteral("06J 001 113"));
        any->setText(QStringLiteral("W712"));
        m_ui->Sim().ClearRequests();

        // A button does nothing at all. (The network watch may show its own page meanwhile.)
        const int pageBefore = window->Pages()->ActiveIndex();
        QTest::mouseClick(window->findChild<QPushButton*>("Button3"), Qt::LeftButton);
        QCOMPARE(state.searchKind, 1);
        QCOMPARE(window->Pages()->ActiveIndex(), pageBefore);
        // Enter records the kind and shows page 0, sending nothing.
        QTest::keyClick(oe, Qt::Key_Return);
        QCOMPARE(state.searchKind, 3);
        QCOMPARE(window->Pages()->ActiveIndex(), 0);
        QCOMPARE(window->Browser(1)->LocationURL(), QString()); // nothing was navigated
        QVERIFY(m_ui->Messages().isEmpty());
        // The browser never showed a page: a login replays nothing.
        window->Search().AfterLogin("0");
        QCOMPARE(window->Browser(1)->LocationURL(), QString());
        qunsetenv("KELVRA_NETWORK_STATE_FILE");
    }

    void cleanup() { qunsetenv("KELVRA_NETWORK_STATE_FILE"); }
};

QTEST_MAIN(SearchPanelTest)
#include "search_panel_test.moc"
