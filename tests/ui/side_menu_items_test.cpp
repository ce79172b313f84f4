// The side-menu items of the real main window against the stand-in: the browser pages by the
// stand-in's request log and the browsers' addresses, the default-browser pages, both
// languages, logged in and out, online and offline; marks; the country page reload rule.
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrlQuery>

#include <algorithm>
#include <memory>

#include "client_harness.h"
#include "ui/app/SideMenuBinder.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideItemList.h"
#include "ui_support.h"

using kelvra::AppState;
using kelvra::ui::TFormMain;

class SideMenuItemsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;
    kelvra::test::UrlCatcher m_system; // the system browser
    int m_loginShown = 0;

    bool Requested(const std::string& target) const {
        const auto all = m_ui->Sim().Requests();
        return std::find(all.begin(), all.end(), target) != all.end();
    }

    int Count(const std::string& target) const {
        const auto all = m_ui->Sim().Requests();
        return int(std::count(all.begin(), all.end(), target));
    }

    // A window after its first show, in the language asked for (a machine that ran before).
    kelvra::test::MainWindow ShownWindow(AppState& state, const QString& language) {
        auto window = m_ui->ShownMainWindow(
            state, {},
            [&](const QString& folder) {
                return language != "Chinese" || kelvra::test::SeedLanguage(folder, language);
            },
            [this] { ++m_loginShown; });
        m_ui->Sim().ClearRequests();
        return window;
    }

    static void LogIn(AppState& state, const char* gid) {
        state.session.username = "demo";
        state.session.password = "demo123";
        state.session.gid = gid;
        state.session.s_login = "True";
    }

    static void Click(TFormMain& window, int group, int item) {
        window.SideItems(group)->Item(item)->click();
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
        m_ui->UseNetworkStateFile();
        QDesktopServices::setUrlHandler("http", &m_system, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("http"); }

    void init() {
        m_ui->Reset();
        QVERIFY(m_ui->SetNetwork("up"));
        m_system.urls.clear();
        m_loginShown = 0;
    }

    void browserItemsLoadTheirAddresses_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("browser");
        QTest::addColumn<QString>("target");
        QTest::newRow("suppliers English")
            << "English" << 4 << 0 << false << 4 << 3 << "/kelvra_cd/en/suppliers.asp";
        QTest::newRow("suppliers Chinese")
            << "Chinese" << 4 << 0 << true << 4 << 3 << "/kelvra_cd/cn/suppliers.asp?lan=Chinese";
        QTest::newRow("introduction English")
            << "English" << 5 << 1 << false << 4 << 3 << "/kelvra_cd/en/pdf/en.asp";
        QTest::newRow("introduction Chinese")
            << "Chinese" << 5 << 1 << false << 4 << 3 << "/kelvra_cd/cn/pdf/cn.asp";
        QTest::newRow("country English")
            << "English" << 5 << 4 << true << 5 << 2 << "/kelvra_cd/en/country.asp?lan=English";
        QTest::newRow("country Chinese")
            << "Chinese" << 5 << 4 << false << 5 << 2 << "/kelvra_cd/cn/country.asp?lan=Chinese";
        QTest::newRow("purchase English") << "English" << 5 << 6 << true << 7 << 4
                                          << "/kelvra_cd/en/reg/go_to_buy.asp?uid=101&lan=English";
        QTest::newRow("purchase Chinese") << "Chinese" << 5 << 6 << true << 7 << 4
                                          << "/kelvra_cd/cn/reg/go_to_buy.asp?uid=101&lan=Chinese";
    }

    void browserItemsLoadTheirAddresses() {
        QFETCH(QString, language);
        QFETCH(int, group);
        QFETCH(int, item);
        QFETCH(bool, loggedIn);
        QFETCH(int, page);
        QFETCH(int, browser);
        QFETCH(QString, target);
        AppState state;
        auto window = ShownWindow(state, language);
        QVERIFY(window);
        QCOMPARE(QString::fromStdString(state.language), language);
        if (loggedIn)
            LogIn(state, "101");
        Click(*window, group, item);
        QCOMPARE(window->Pages()->ActiveIndex(), page);
        QVERIFY(window->SideItems(group)->Selected(item));
        const QString url = QString::fromStdString(m_ui->Sim().Root()) + target;
        QTRY_VERIFY_WITH_TIMEOUT(Requested(target.toStdString()), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(window->Browser(browser)->LocationURL(), url, 20000);
        QVERIFY(window->isVisible());
        QCOMPARE(m_loginShown, 0);
        QCOMPARE(state.startupDone, item == 1 && group == 5); // only the introduction sets it
        for (int other = 1; other <= 4; ++other) {
            if (other != browser)
                QVERIFY(window->Browser(other)->LocationURL().isEmpty());
        }
    }

    void defaultBrowserItems_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("online");
        for (const char* language : {"English", "Chinese"}) {
            for (bool online : {true, false})
                QTest::newRow(qPrintable(
                    QStringLiteral("%1 %2").arg(language, online ? "online" : "offline")))
                    << QString(language) << online;
        }
    }

    void defaultBrowserItems() {
        QFETCH(QString, language);
        QFETCH(bool, online);
        AppState state;
        auto window = ShownWindow(state, language);
        QVERIFY(window);
        if (!online) {
            QVERIFY(m_ui->SetNetwork("down"));
            QTRY_VERIFY_WITH_TIMEOUT(!window.Parts().Presenter().NetworkOnline(), 3000);
        }
        const QString base = QString::fromStdString(m_ui->Sim().Root()) +
                             (language == "Chinese" ? "/kelvra_cd/cn/" : "/kelvra_cd/en/");
        auto* items = window->SideItems(5);

        Click(*window, 5, 2); // register
        QCOMPARE(m_system.urls, QList<QUrl>{QUrl(base + "reg/reg_simple.asp")});
        QVERIFY(!items->Selected(2));

        Click(*window, 5, 3); // account info, logged out
        QCOMPARE(m_system.urls.last(), QUrl(base + "login.asp"));
        QVERIFY(!items->Selected(3));

        // Logged in: a fresh 15-digit code with the gid at positions 6 onward, that the
        // service accepts.
        LogIn(state, "101");
        QStringList codes;
        for (int click = 0; click < 2; ++click) {
            Click(*window, 5, 3);
            const QUrl opened = m_system.urls.last();
            QCOMPARE(opened.toString(QUrl::RemoveQuery), base + "autoturn.asp");
            const QUrlQuery query(opened);
            QCOMPARE(query.queryItemValue("username"), QStringLiteral("demo"));
            const QString code = query.queryItemValue("gid");
            QCOMPARE(code.size(), 15);
            QCOMPARE(code.mid(5, 3), QStringLiteral("101"));
            QCOMPARE(code.right(1), QStringLiteral("3"));
            codes.append(code);
            const std::string page =
                m_ui->Sim()
                    .Get(opened.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).toStdString())
                    .body;
            QVERIFY2(page.find("demo") != std::string::npos &&
                         page.find("Invalid link") == std::string::npos &&
                         page.find("链接无效") == std::string::npos,
                     page.c_str());
        }
        QVERIFY(codes[0] != codes[1]);
        QCOMPARE(m_system.urls.size(), 4);
        QVERIFY(m_ui->Messages().isEmpty());
    }

    void aboutAndLanguageItems() {
        AppState state;
        auto window = ShownWindow(state, "English");
        QVERIFY(window);
        auto* cn = window->findChild<QLabel*>("img_about_cn");
        auto* en = window->findChild<QLabel*>("img_about_en");
        auto* items = window->SideItems(5);
        QTest::mouseClick(window->findChild<QPushButton*>("RzGroup5Caption"), Qt::LeftButton);
        QTest::mouseClick(items->Item(0), Qt::LeftButton);
        QCOMPARE(window->Pages()->ActiveIndex(), 6);
        QVERIFY(en->isVisible() && !cn->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!window->findChild<QLabel*>("Label6")->text().isEmpty(), 3000);
        if (const QString shot = kelvra::test::ScreenshotPath("screenshot-side-menu.png");
            !shot.isEmpty())
            QVERIFY(window->grab().save(shot));

        Click(*window, 5, 7); // to Chinese: texts, base URLs, lists, home page, item image
        QCOMPARE(state.language, std::string("Chinese"));
        QCOMPARE(state.pageBaseUrl, m_ui->Sim().Root() + "/kelvra_cd/cn/");
        QCOMPARE(window->Pages()->ActiveIndex(), 1);
        QCOMPARE(items->Image(7), 9);
        QCOMPARE(items->Caption(0), QStringLiteral("关于我们"));
        QVERIFY(Requested("/kelvra_cd/xml/get_brand.asp"));
        Click(*window, 5, 0);
        QVERIFY(cn->isVisible() && !en->isVisible());

        Click(*window, 5, 7); // and back
        QCOMPARE(state.language, std::string("English"));
        QCOMPARE(state.pageBaseUrl, m_ui->Sim().Root() + "/kelvra_cd/en/");
        QCOMPARE(window->Pages()->ActiveIndex(), 2);
        QCOMPARE(items->Image(7), 10);
        QCOMPARE(items->Caption(0), QStringLiteral("About"));
        QCOMPARE(window->findChild<QLabel*>("suiURLLabel1")->text(),
                 QStringLiteral("  Available to Iphone or Android System"));
    }

    void offlineItemsDoNothingOrOnlySwitchThePage() {
        AppState state;
        auto window = ShownWindow(state, "English");
        QVERIFY(window);
        LogIn(state, "101");
        QVERIFY(m_ui->SetNetwork("down"));
        QTRY_COMPARE_WITH_TIMEOUT(window->Pages()->ActiveIndex(), 3, 3000);
        QVERIFY(!window.Parts().Presenter().NetworkOnline());

        Click(*window, 4, 0); // suppliers: nothing
        QCOMPARE(window->Pages()->ActiveIndex(), 3);
        Click(*window, 5, 6); // purchase: nothing
        QCOMPARE(window->Pages()->ActiveIndex(), 3);
        Click(*window, 5, 4); // country: the page, nothing loaded
        QCOMPARE(window->Pages()->ActiveIndex(), 5);
        for (int browser : {2, 3, 4})
            QVERIFY2(kelvra::test::Engine(window->Browser(browser)) == nullptr, "never navigated");
        QVERIFY(window->isVisible());
        QCOMPARE(m_loginShown, 0);

        Click(*window, 5, 5); // login: no notice, the record kept, the login window
        QVERIFY(!window->isVisible());
        QCOMPARE(m_loginShown, 1);
        QVERIFY(state.startupDone);
        QCOMPARE(state.session.username, std::string("demo"));
        QVERIFY(m_ui->Sim().Requests().empty());
    }

    void loginItemWhileOnlineSwitchesAccounts() {
        AppState state;
        auto window = ShownWindow(state, "English");
        QVERIFY(window);
        LogIn(state, "101");
        Click(*window, 5, 5);
        QCOMPARE(m_ui->Sim().Requests(),
                 std::vector<std::string>{
                     "/kelvra_cd/en//search/xml/set_login_out.asp?username=demo&password=demo123"});
        QVERIFY(state.session.username.empty());
        QVERIFY(window->windowTitle().endsWith("Not Logged in"));
        QVERIFY(!window->isVisible());
        QCOMPARE(m_loginShown, 1);
        // The next show skips the start-up part and clears the marks of items 2, 3, 5, 6, 7.
        QVERIFY(window->SideItems(5)->Selected(5));
        window->show();
        QVERIFY(!window->SideItems(5)->Selected(5));
        QVERIFY(!Requested("/kelvra_cd/xml/get_brand.asp"));
    }

    void purchaseWithoutAnAccountOpensTheLoginWindow_data() {
        QTest::addColumn<bool>("named"); // a user name without an account id
        QTest::newRow("logged out") << false;
        QTest::newRow("name, gid 0") << true;
    }

    void purchaseWithoutAnAccountOpensTheLoginWindow() {
        QFETCH(bool, named);
        AppState state;
        auto window = ShownWindow(state, "English");
        QVERIFY(window);
        if (named)
            LogIn(state, "0");
        Click(*window, 5, 6);
        QCOMPARE(window->Pages()->ActiveIndex(), 7); // the login window loads it after a login
        QVERIFY(!window->isVisible());
        QCOMPARE(m_loginShown, 1);
        QVERIFY(state.startupDone);
        QVERIFY(kelvra::test::Engine(window->Browser(4)) == nullptr);
        const std::vector<std::string> notice{
            "/kelvra_cd/xml/set_login_out.asp?username=demo&password=demo123"};
        QCOMPARE(m_ui->Sim().Requests(), named ? notice : std::vector<std::string>{});
    }

    void marksStayUntilAnotherItemOrAShow() {
        AppState state;
        auto window = ShownWindow(state, "English");
        QVERIFY(window);
        auto* items = window->SideItems(5);
        Click(*window, 5, 0);
        QVERIFY(items->Selected(0));
        window->hide();
        window->show();
        QVERIFY(items->Selected(0)); // not among the marks a show clears
        LogIn(state, "101");
        Click(*window, 5, 6); // the purchase page, the window stays
        QVERIFY(items->Selected(6) && !items->Selected(0));
        window->hide();
        window->show();
        QVERIFY(!items->Selected(6));
    }

    void countryPageReloadsPdfPagesOnResize() {
        AppState state;
        auto window = ShownWindow(state, "Chinese");
        QVERIFY(window);
        kelvra::ui::BrowserView* country = window->Browser(2);
        const std::string pdf = "/kelvra_cd/cn/pdf/cn.asp";
        window->ShowPage(5);
        QSignalSpy loaded(country, &kelvra::ui::BrowserView::documentComplete);
        country->Navigate(QString::fromStdString(m_ui->Sim().Root() + pdf));
        QVERIFY(loaded.wait(20000));
        QCOMPARE(Count(pdf), 1);

        // Resized while another page shows, then shown: no reload.
        QWidget* sheet = window->Pages()->Page(5);
        window->ShowPage(4);
        const int hiddenWidth = sheet->width() + 40;
        window->resize(window->width() + 40, window->height());
        QTRY_COMPARE(sheet->width(), hiddenWidth); // the window system has resized it
        window->ShowPage(5);
        // Resized while it shows: one reload.
        loaded.clear();
        const int shownWidth = sheet->width() + 40;
        window->resize(window->width() + 40, window->height() + 20);
        QTRY_COMPARE(sheet->width(), shownWidth);
        QVERIFY(loaded.wait(20000));
        QTRY_COMPARE(Count(pdf), 2);

        // The country page itself is not reloaded by a resize.
        Click(*window, 5, 4);
        QTRY_VERIFY_WITH_TIMEOUT(Requested("/kelvra_cd/cn/country.asp?lan=Chinese"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(country->PendingNavigations() == 0, 20000);
        const int countryWidth = sheet->width() - 40;
        window->resize(window->width() - 40, window->height());
        QTRY_COMPARE(sheet->width(), countryWidth);
        // A last load marks the end: every earlier request has arrived by then.
        loaded.clear();
        window->Browser(2)->Navigate(QString::fromStdString(m_ui->Sim().Root() + pdf));
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && country->PendingNavigations() == 0, 20000);
        QCOMPARE(Count(pdf), 3); // the first load, the one reload, the last load
        QCOMPARE(Count("/kelvra_cd/cn/country.asp?lan=Chinese"), 1);
    }
};

QTEST_MAIN(SideMenuItemsTest)
#include "side_menu_items_test.moc"
