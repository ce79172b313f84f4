// The search panels of the real main window against the stand-in service and the real browser
// engine: a number typed and Enter pressed, a vehicle type chosen through the cascade, the
// refusals (placeholder, blanks, missing choice), offline searches, the replay after a login,
// numbers pasted or typed in full width, barcode scans (in a field while pages load, and in a
// result page), the number history and the keys that reach the panels.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWindow>

#include <algorithm>
#include <memory>

#include "client_harness.h"
#include "search/SearchPresenter.h"
#include "service/SelectionLists.h"
#include "support/FileBytes.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/GroupBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"
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

// Types the text into the widget key by key, each key carrying its character (any character,
// full-width ones included).
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class SearchPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    // A shown main window on a fresh data folder (first run: English), active, lists filled.
    kelvra::test::MainWindow NewWindow(AppState& state) {
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
        window.Parts().Search().AfterLogin("0");
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
        window.Parts().Search().AfterLogin("0");
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
        window.Parts().Search().AfterLogin("0");
        QCOMPARE(window->Browser(1)->LocationURL(), QString());
        qunsetenv("KELVRA_NETWORK_STATE_FILE");
    }

    // The any-number history: two numbers searched by keyboard, the program started again on
    // the same data folder, the older number offered while typing and chosen by keyboard; the
    // settings file stays as the program wrote it; the context menu clears the history.
    void historyOffersANumberSearchedBeforeARestart() {
        AppState state;
        auto window = NewWindow(state);
        const QString folder = qEnvironmentVariable("KELVRA_DATA_DIR");
        const std::string settingsFile = (folder + "/kelvra_config.ini").toStdString();
        const std::string historyFile = (folder + "/search_history.txt").toStdString();
        const std::string settings = kelvra::test::ReadBytes(settingsFile);
        QVERIFY(!settings.empty());
        m_ui->Sim().ClearRequests();
        const QString any = QStringLiteral("/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=renyi"
                                           "&renyi=%1&f_mode=jqcz&Gid=0&Mac=&IP=");
        for (const char* number : {"W712", "KV-50259"}) {
            QTest::keyClick(window->windowHandle(), Qt::Key_L, Qt::ControlModifier);
            TypeInto(*window, QLatin1String(number));
            QTest::keyClick(window->windowHandle(), Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(SearchTargets().contains(any.arg(number)), kLoadTimeoutMs);
        }
        window.reset();
        QCOMPARE(kelvra::test::ReadBytes(historyFile), std::string("1\tKV-50259\n1\tW712\n"));

        AppState again;
        again.serviceRoot = m_ui->Sim().Root();
        window = kelvra::test::MainWindow(again); // the same data folder
        QVERIFY(kelvra::test::ShowAndWaitFirstShow(*window));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        m_ui->Sim().ClearRequests();
        QTest::keyClick(window->windowHandle(), Qt::Key_L, Qt::ControlModifier);
        QLineEdit* field = Field(*window, "suiEdit_group0_3");
        QAbstractItemView* offered = field->completer()->popup();
        // Down in the empty field offers every number; Esc closes the list.
        QTest::keyClick(window->windowHandle(), Qt::Key_Down);
        QTRY_VERIFY(offered->isVisible());
        QCOMPARE(offered->model()->rowCount(), 2);
        QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
        QTRY_VERIFY(!offered->isVisible());
        TypeInto(*window, QStringLiteral("w7"));
        QTRY_VERIFY(offered->isVisible());
        QCOMPARE(offered->model()->rowCount(), 1);
        QCOMPARE(offered->model()->index(0, 0).data().toString(), QStringLiteral("W712"));
        Screenshot(*window, QStringLiteral("screenshot-history.png"));
        QTest::keyClick(window->windowHandle(), Qt::Key_Down);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QCOMPARE(field->text(), QStringLiteral("W712"));
        QTRY_COMPARE_WITH_TIMEOUT(SearchTargets(), QStringList{any.arg("W712")}, kLoadTimeoutMs);
        QCOMPARE(kelvra::test::ReadBytes(settingsFile), settings);
        QCOMPARE(kelvra::test::ReadBytes(historyFile), std::string("1\tW712\n1\tKV-50259\n"));
        // With the list open and nothing chosen in it, Enter searches what was typed.
        QTest::keyClick(window->windowHandle(), Qt::Key_L, Qt::ControlModifier);
        TypeInto(*window, QStringLiteral("W71"));
        QTRY_VERIFY(offered->isVisible());
        m_ui->Sim().ClearRequests();
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        QCOMPARE(field->text(), QStringLiteral("W71"));
        QTRY_COMPARE_WITH_TIMEOUT(SearchTargets(), QStringList{any.arg("W71")}, kLoadTimeoutMs);

        // The field's context menu (a right click) ends in the item that forgets every number.
        QTimer::singleShot(0, this, [] { ChooseLastMenuItem(); });
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                          field->mapTo(window.get(), field->rect().center()));
        QTRY_COMPARE(kelvra::test::ReadBytes(historyFile), std::string());
        QCOMPARE(field->completer()->model()->rowCount(), 0);
        QCOMPARE(kelvra::test::ReadBytes(settingsFile), settings);
    }

    // Keys through the window only: Alt+3 opens the engine group at its first list, arrows
    // choose brand and code, Tab reaches the search button and Enter searches; Tab goes on to
    // the next group's caption, which Space opens.
    void keyboardOnlyEngineSearch() {
        AppState state;
        auto window = NewWindow(state);
        QWindow* keys = window->windowHandle();
        auto* brand = window->findChild<QComboBox*>("cb_group2_eg");
        auto* code =
            window->findChild<QComboBox*>(kelvra::ListOf(kelvra::ListBox::engine_code).controlName);
        auto* bar = window->findChild<kelvra::ui::GroupBar*>("RzGroupBar1");
        QVERIFY(brand->count() > 1);
        m_ui->Sim().ClearRequests();

        QTest::keyClick(keys, Qt::Key_3, Qt::AltModifier);
        QCOMPARE(bar->OpenIndex(), 2);
        QCOMPARE(window->focusWidget(), brand);
        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(brand->currentIndex(), 1);
        QTRY_VERIFY(code->count() > 1); // the codes of that brand, loaded from the service
        QTest::keyClick(keys, Qt::Key_Tab);
        QCOMPARE(window->focusWidget(), code);
        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(code->currentIndex(), 1);
        QTest::keyClick(keys, Qt::Key_Tab);
        QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("Button7"));
        Screenshot(*window, QStringLiteral("screenshot-keyboard-focus.png"));
        QTest::keyClick(keys, Qt::Key_Return);
        QCOMPARE(state.searchKind, 8);
        QTRY_VERIFY_WITH_TIMEOUT(!SearchTargets().isEmpty(), kLoadTimeoutMs);
        QVERIFY2(SearchTargets().first().startsWith(
                     QStringLiteral("/kelvra_cd/en/search/engine_list_yorx.asp?typ_id=%1&")
                         .arg(code->currentData().toInt())),
                 qPrintable(SearchTargets().first()));

        // On to the engine brand block, then the next group's caption.
        QTest::keyClick(keys, Qt::Key_Tab);
        QTest::keyClick(keys, Qt::Key_Tab);
        QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("Button9"));
        QTest::keyClick(keys, Qt::Key_Tab);
        QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("RzGroup4Caption"));
        QTest::keyClick(keys, Qt::Key_Space);
        // A character typed in the side panel may be the start of a scan: it arrives a moment
        // later, once no fast key followed it.
        QTRY_COMPARE(bar->OpenIndex(), 3);
        QTest::keyClick(keys, Qt::Key_Tab);
        QCOMPARE(window->focusWidget()->objectName(), QStringLiteral("RzGroup4Items0"));
        Screenshot(*window, QStringLiteral("screenshot-keyboard-item.png"));
        QVERIFY(m_ui->Messages().isEmpty());

        // An unpinned side channel slides out for the keys and takes the focus.
        window->Side()->SetPinned(false);
        QCOMPARE(window->Side()->VisibleWidth(), kelvra::ui::SideChannel::kCollapsedWidth);
        QTest::keyClick(keys, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(window->Side()->VisibleWidth(), kelvra::ui::SideChannel::kFullWidth);
        QCOMPARE(window->focusWidget(), Field(*window, "suiEdit_group0_3"));
        QCOMPARE(bar->OpenIndex(), 0);

        // The captions name their keys, in the current translation.
        auto* caption = window->findChild<QWidget*>("RzGroup3Caption");
        QCOMPARE(caption->toolTip(), QStringLiteral("Opens with Alt+3"));
        window->MakeTranslationsCurrent(true);
        QTRY_COMPARE(caption->toolTip(), QStringLiteral("快捷键：Alt+3")); // a posted change
        window->MakeTranslationsCurrent(false);
    }

    // A number pasted with its line break, typed in full width, or an EAN with a wrong check
    // digit: the field shows what is searched, all of it selected for the next number.
    void cleanedNumbersAreSearched_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("searched"); // the field's text and the number sent
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<bool>("hint"); // the status bar says that the check digit is wrong
        QTest::newRow("pasted any number") << "suiEdit_group0_3"
                                           << " KV-50259\n"
                                           << true << "KV-50259"
                                           << "renyi" << false;
        QTest::newRow("full-width OE number")
            << "suiEdit_group0_1" << QStringLiteral("１２３４５") << false << "12345"
            << "OEM" << false;
        QTest::newRow("EAN, wrong check digit") << "suiEdit_group0_5"
                                                << "4006381333932" << false << "4006381333932"
                                                << "guoji" << true;
        QTest::newRow("EAN") << "suiEdit_group0_5"
                             << "4006381333931" << false << "4006381333931"
                             << "guoji" << false;
    }

    void cleanedNumbersAreSearched() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, pasted);
        QFETCH(QString, searched);
        QFETCH(QString, parameter);
        QFETCH(bool, hint);
        AppState state;
        auto window = NewWindow(state);
        QLineEdit* edit = Field(*window, qPrintable(field));
        QTest::mouseClick(edit, Qt::LeftButton); // entering the field clears the placeholder
        m_ui->Sim().ClearRequests();
        if (pasted) {
            QGuiApplication::clipboard()->setText(typed);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            TypeText(edit, typed);
        }
        QTest::keyClick(edit, Qt::Key_Return);

        QCOMPARE(edit->text(), searched);
        QCOMPARE(edit->selectedText(), searched);
        QTRY_VERIFY_WITH_TIMEOUT(!SearchTargets().isEmpty(), kLoadTimeoutMs);
        QCOMPARE(SearchTargets().size(), 1);
        QVERIFY2(SearchTargets().first().contains("&" + parameter + "=" + searched + "&f_mode="),
                 qPrintable(SearchTargets().first()));
        auto* status = window->findChild<QLabel*>("StatusHint");
        QCOMPARE(status->isVisible(), hint);
        if (hint) {
            QVERIFY2(status->text().contains(searched), qPrintable(status->text()));
            Screenshot(*window, QStringLiteral("screenshot-check-digit-hint.png"));
        }
        // The next number typed replaces the last.
        QTest::keyClicks(edit, QStringLiteral("77"));
        QCOMPARE(edit->text(), QStringLiteral("77"));
    }

    // A scan typed while the focus is in a result page searches that EAN, and the page gets none
    // of it; a person's keys there reach the page, in order.
    void scanInResultPageSearchesTheEan() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->ShowResults());
        // The page keeps the keys it sees where the next result page can read them.
        c->Script(1, QStringLiteral("localStorage.keys = ''; document.addEventListener('keydown',"
                                    " e => { localStorage.keys += e.key; }, true); 1"));
        QVERIFY(c->Click(1, QStringLiteral("h1")));
        QWidget* page = kelvra::test::Engine(c->Browser(1))->focusProxy();
        QTRY_VERIFY(page->hasFocus());
        QTest::keyClick(page, Qt::Key_A);
        QTest::keyClick(page, Qt::Key_B, Qt::NoModifier, 120); // a person's pace
        QTRY_COMPARE_WITH_TIMEOUT(c->Script(1, QStringLiteral("localStorage.keys")).toString(),
                                  QStringLiteral("ab"), 5000);
        m_ui->Sim().ClearRequests();

        QTest::keyClicks(page, QStringLiteral("4006381333931")); // a scanner's pace
        QTest::keyClick(page, Qt::Key_Return);

        QTRY_VERIFY_WITH_TIMEOUT(!SearchTargets().isEmpty(), kLoadTimeoutMs);
        QCOMPARE(SearchTargets(),
                 QStringList{"/kelvra_cd/en/search/so_list.asp?chaxuntiaojian="
                             "guoji&guoji=4006381333931&f_mode=jqcz&Gid=0&Mac=&IP="});
        QLineEdit* ean = Field(*c->main, "suiEdit_group0_5");
        QCOMPARE(ean->text(), QStringLiteral("4006381333931"));
        QCOMPARE(ean->selectedText(), ean->text());
        // The window's focus is in the field (whether the window is active at this moment is the
        // window system's business).
        QTRY_COMPARE(c->main->focusWidget(), ean);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("guoji=4006381333931")));
        QCOMPARE(c->Script(1, QStringLiteral("localStorage.keys")).toString(),
                 QStringLiteral("ab"));
    }

    // Three EAN scans through the X server in one burst (13 digits and Enter each, 5 ms between
    // keys, no pause between scans) while each result page takes a second: three searches in
    // order with exactly those numbers; the field holds the third, selected.
    void threeScansInOneBurstWhilePagesLoad() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the X11 platform (the _x11 variant of this test runs it)");
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        QVERIFY2(!xdotool.isEmpty(), "xdotool is missing (scripts/install-deps installs it)");
        auto c = m_ui->StartClient();
        QVERIFY(c);
        // No page yet and the engine not warmed up: the first scan makes the engine.
        c->main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(c->main));
        QLineEdit* ean = Field(*c->main, "suiEdit_group0_5");
        QTest::mouseClick(ean, Qt::LeftButton);
        QTRY_VERIFY(ean->hasFocus());
        m_ui->Sim().Control(
            "/__sim/fault?path=/kelvra_cd/en/search/so_list.asp&kind=slow&ms=1000&count=3");
        m_ui->Sim().ClearRequests();

        // The indicator shows while the pages load; the field keeps taking the keys meanwhile.
        bool busyWithFieldEnabled = false;
        QTimer look;
        connect(&look, &QTimer::timeout, [&] {
            busyWithFieldEnabled |= c->version->isVisible() && !c->main->Pages()->isEnabled() &&
                                    ean->isEnabled() && ean->hasFocus();
        });
        look.start(10);
        const QStringList codes = {"4006381333931", "4006381333948", "4006381333955"};
        // xdotool types "\r" as Return, the key scanners end with ("\n" is Linefeed).
        QProcess typing;
        typing.start(xdotool, {"type", "--delay", "5", codes.join('\r') + '\r'});
        QVERIFY(
            kelvra::test::WaitUntil([&] { return typing.state() == QProcess::NotRunning; }, 30000));
        QCOMPARE(typing.exitCode(), 0);

        QStringList expected;
        for (const QString& code : codes)
            expected << "/kelvra_cd/en/search/so_list.asp?chaxuntiaojian=guoji&guoji=" + code +
                            "&f_mode=jqcz&Gid=0&Mac=&IP=";
        QTRY_COMPARE_WITH_TIMEOUT(SearchTargets().size(), 3, kLoadTimeoutMs);
        QCOMPARE(SearchTargets(), expected);
        QCOMPARE(ean->text(), codes.last());
        QCOMPARE(ean->selectedText(), codes.last());
        QVERIFY(c->WaitLoaded(1, "guoji=" + codes.last()));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible(), kLoadTimeoutMs);
        QVERIFY(busyWithFieldEnabled);
        QCOMPARE(SearchTargets(), expected); // nothing was asked for again
    }

    void cleanup() { qunsetenv("KELVRA_NETWORK_STATE_FILE"); }

private:
    // Types the text as key presses sent to the window (they reach whatever has the focus).
    static void TypeInto(TFormMain& window, const QString& text) {
        for (const QChar c : text)
            QTest::keyClick(window.windowHandle(), c.toLatin1());
    }

    // Once a context menu is open: Up (to its last item) and Enter, as a user would.
    static void ChooseLastMenuItem() {
        QWidget* menu = QApplication::activePopupWidget();
        if (menu == nullptr) {
            QTimer::singleShot(20, [] { ChooseLastMenuItem(); });
            return;
        }
        QTest::keyClick(menu, Qt::Key_Up);
        QTest::keyClick(menu, Qt::Key_Return);
    }
};

QTEST_MAIN(SearchPanelTest)
#include "search_panel_test.moc"
