// The login window in the real client: layout, texts in both languages, checks and messages,
// Enter, Cancel, the links, the hover effect, the outcome kept between showings, and the
// hand-back to the main window with the after-login step.
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <memory>

#include "client_harness.h"
#include "settings/SettingsFile.h"
#include "ui/widgets/PageControl.h"
#include "ui_support.h"

using kelvra::test::Client;

namespace {

template <typename T = QWidget> T* Control(const Client& c, const char* name) {
    return c.login->findChild<T*>(name);
}

void SendMouseMove(QWidget* target, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

bool Underlined(const Client& c, const char* link) {
    return Control<QLabel>(c, link)->font().underline();
}

} // namespace

class LoginWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;
    kelvra::test::UrlCatcher m_catcher;

    bool OpenLogin(const Client& c) {
        c.main->findChild<QAbstractButton*>("RzGroup5Items5")->click();
        return QTest::qWaitFor([&] { return c.login->isVisible() && !c.main->isVisible(); }, 10000);
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
        QDesktopServices::setUrlHandler("http", &m_catcher, "open");
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("http"); }

    void init() {
        m_ui->Reset();
        m_catcher.urls.clear();
    }

    void layout() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(!c->login->isVisible()); // created hidden
        QVERIFY(OpenLogin(*c));
        QCOMPARE(c->login->windowTitle(), QStringLiteral("KELVRA LOGIN"));
        QCOMPARE(c->login->size(), QSize(424, 244));
        const Qt::WindowFlags flags = c->login->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        const struct {
            const char* name;
            QRect geometry; // an empty size: only the position is checked
        } controls[] = {
            {"Image1", {20, 17, 70, 70}},      {"Label1", {105, 17, 55, 0}},
            {"RzEdit2", {105, 40, 143, 21}},   {"Label2", {104, 76, 55, 0}},
            {"RzEdit1", {105, 100, 143, 21}},  {"CheckBox1", {106, 135, 97, 17}},
            {"RzButton1", {173, 167, 75, 25}}, {"Button1", {269, 167, 75, 25}},
            {"Label4", {260, 40, 150, 0}},     {"Label3", {261, 72, 0, 0}},
            {"Label5", {261, 103, 120, 0}},
        };
        for (const auto& expected : controls) {
            QWidget* control = Control(*c, expected.name);
            QVERIFY2(control, expected.name);
            QCOMPARE(control->pos(), expected.geometry.topLeft());
            if (expected.geometry.width() > 0)
                QCOMPARE(control->width(), expected.geometry.width());
            if (expected.geometry.height() > 0)
                QCOMPARE(control->height(), expected.geometry.height());
        }
        QVERIFY(!Control<QLabel>(*c, "Image1")->pixmap().isNull());

        // Tab order from the user-name field, which has the focus at each show.
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), Control(*c, "RzEdit2"), 5000);
        QStringList order;
        QWidget* w = Control(*c, "RzEdit2");
        do {
            if (w->focusPolicy() & Qt::TabFocus)
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w != Control(*c, "RzEdit2"));
        QCOMPARE(order, (QStringList{"RzEdit2", "RzEdit1", "CheckBox1", "RzButton1", "Button1"}));

        auto* password = Control<QLineEdit>(*c, "RzEdit1");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(
            password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
            int('*'));
    }

    void texts_data() {
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QStringList>("texts"); // Label1, Label2, CheckBox1, Label4, Label5,
                                                // RzButton1, Button1, Label3
        QTest::addColumn<QString>("screenshot");
        QTest::newRow("English") << false << QStringList{"Username",  "Password",       "Remember",
                                                         "JOIN FREE", "FORGOT",         "Login",
                                                         "Cancel",    "CHANGE PASSWORD"}
                                 << "screenshot-login-en.png";
        QTest::newRow("Chinese") << true << QStringList{"用户名",   "密码", "保存用户", "创建帐号",
                                                        "忘记密码", "登陆", "取消",     "修改密码"}
                                 << "screenshot-login-cn.png";
    }

    void texts() {
        QFETCH(bool, chinese);
        QFETCH(QStringList, texts);
        QFETCH(QString, screenshot);
        auto c = m_ui->StartClient();
        QVERIFY(c);
        if (chinese) {
            c->main->findChild<QAbstractButton*>("RzGroup5Items7")->click(); // language switch
            QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(c->state.language),
                                      QStringLiteral("Chinese"), 5000);
        }
        QVERIFY(OpenLogin(*c));
        const char* names[] = {"Label1", "Label2",    "CheckBox1", "Label4",
                               "Label5", "RzButton1", "Button1",   "Label3"};
        for (int i = 0; i < 8; ++i) {
            QWidget* control = Control(*c, names[i]);
            const QString text = qobject_cast<QLabel*>(control)
                                     ? qobject_cast<QLabel*>(control)->text()
                                     : qobject_cast<QAbstractButton*>(control)->text();
            QCOMPARE(text, texts[i]);
        }
        QCOMPARE(c->login->windowTitle(), QStringLiteral("KELVRA LOGIN"));
        Control<QLineEdit>(*c, "RzEdit2")->setText(QStringLiteral("demo"));
        Control<QLineEdit>(*c, "RzEdit1")->setText(QStringLiteral("demo123"));
        if (const QString shot = kelvra::test::ScreenshotPath(screenshot); !shot.isEmpty())
            QVERIFY(c->login->grab().save(shot));
    }

    // Settings are written before the checks; the checks stop at the first empty field; Enter
    // logs in only from the password field; a refusal keeps the window open.
    void checksAndEnter() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(OpenLogin(*c));
        auto* user = Control<QLineEdit>(*c, "RzEdit2");
        auto* password = Control<QLineEdit>(*c, "RzEdit1");
        Control<QCheckBox>(*c, "CheckBox1")->setChecked(true);
        user->setText(QStringLiteral("alice"));
        Control<QPushButton>(*c, "RzButton1")->click();
        QCOMPARE(m_ui->Messages(), QStringList{"Tip\tPlease Input Password"});
        QCOMPARE(c->login->focusWidget(), password);
        const kelvra::SettingsFile settings(c->state.dataFolder);
        QCOMPARE(settings.ReadUserName(), std::string("alice"));
        QVERIFY(settings.ReadRember());

        user->setFocus();
        QTest::keyClick(user, Qt::Key_Return); // not a login
        QCOMPARE(m_ui->Messages().size(), 1);

        password->setText(QStringLiteral("wrong"));
        password->setFocus();
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(m_ui->Messages().last(), QStringLiteral("Tip\tIncorrect username/password"));
        QVERIFY(c->login->isVisible());
        QCOMPARE(user->text(), QStringLiteral("alice"));
        QCOMPARE(password->text(), QStringLiteral("wrong"));
        QCOMPARE(c->login->Presenter()->Outcome(), std::string("1"));

        // Unticked: the next showing offers an empty user-name field.
        Control<QCheckBox>(*c, "CheckBox1")->setChecked(false);
        Control<QPushButton>(*c, "RzButton1")->click();
        QCOMPARE(settings.ReadUserName(), std::string());
        Control<QPushButton>(*c, "Button1")->click();
        QTRY_VERIFY_WITH_TIMEOUT(c->main->isVisible() && !c->login->isVisible(), 5000);
        QVERIFY(OpenLogin(*c));
        QCOMPARE(user->text(), QString());
        QVERIFY(!Control<QCheckBox>(*c, "CheckBox1")->isChecked());
    }

    // Login while the purchase page is active, the outcome kept between showings, Cancel, and
    // the after-login step each time the window closes.
    void outcomeAndAfterLogin() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        c->SearchAnyNumber(QStringLiteral("W712"));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        c->main->ShowPage(7);

        QVERIFY(OpenLogin(*c));
        Control<QCheckBox>(*c, "CheckBox1")->setChecked(true);
        c->LogIn(QStringLiteral("demo"), QStringLiteral("demo123"));
        QTRY_VERIFY_WITH_TIMEOUT(c->main->isVisible() && !c->login->isVisible(), 10000);
        QCOMPARE(c->login->Presenter()->Outcome(), std::string("0"));
        QVERIFY(c->WaitLoaded(4, QStringLiteral("reg/go_to_buy.asp?uid=101")));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("Gid=101")));

        // Switching accounts: logout notice, record cleared; the close box keeps outcome "0",
        // so the search is sent again, now without an account.
        m_ui->Sim().ClearRequests();
        QVERIFY(OpenLogin(*c));
        QVERIFY(c->state.session.username.empty());
        QVERIFY(kelvra::test::Account(m_ui->Sim(), "demo")["s_login"] == "False");
        QCOMPARE(Control<QLineEdit>(*c, "RzEdit2")->text(), QStringLiteral("demo"));
        QVERIFY(Control<QLineEdit>(*c, "RzEdit1")->text().isEmpty());
        c->login->close();
        QTRY_VERIFY_WITH_TIMEOUT(c->main->isVisible() && !c->login->isVisible(), 5000);
        QCOMPARE(c->login->Presenter()->Outcome(), std::string("0"));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("Gid=0")));

        // Cancel: outcome "1", the service error page.
        QVERIFY(OpenLogin(*c));
        Control<QPushButton>(*c, "Button1")->click();
        QTRY_VERIFY_WITH_TIMEOUT(c->main->isVisible() && !c->login->isVisible(), 5000);
        QCOMPARE(c->login->Presenter()->Outcome(), std::string("1"));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("err_en.asp")));

        // The password went nowhere: not into the data folder, not into a message.
        QDirIterator files(QString::fromStdString(c->state.dataFolder), QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(!file.readAll().contains("demo123"), qPrintable(file.fileName()));
        }
        QVERIFY(!m_ui->Messages().join('\n').contains(QStringLiteral("demo123")));
    }

    void links() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        const QString base = QString::fromStdString(c->state.pageBaseUrl);
        QVERIFY(OpenLogin(*c));
        QTest::mouseClick(Control(*c, "Label4"), Qt::LeftButton);
        QTest::mouseClick(Control(*c, "Label5"), Qt::LeftButton);
        QCOMPARE(m_catcher.urls,
                 (QList<QUrl>{QUrl(base + "reg/reg_simple.asp"), QUrl(base + "forget.asp")}));
        QVERIFY(c->login->isVisible());

        QTest::mouseClick(Control(*c, "Label3"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(c->main->isVisible() && !c->login->isVisible(), 5000);
        QCOMPARE(c->login->Presenter()->Outcome(), std::string("1"));
        QCOMPARE(c->main->Pages()->ActiveIndex(), 7);
        QVERIFY(c->WaitLoaded(4, QStringLiteral("setPassword.asp?uid=0&lan=English")));
        // The main browser never showed a page: the after-login step leaves it alone.
        QVERIFY(c->Browser(1)->LocationURL().isEmpty());
    }

    void hover() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(OpenLogin(*c));
        auto* create = Control<QLabel>(*c, "Label4");
        auto* forgot = Control<QLabel>(*c, "Label5");
        auto* change = Control<QLabel>(*c, "Label3");
        SendMouseMove(create, {2, 2});
        SendMouseMove(change, {2, 2});
        QVERIFY(Underlined(*c, "Label4") && Underlined(*c, "Label3"));
        QVERIFY(!Underlined(*c, "Label5"));
        QCOMPARE(create->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(change->width(), 150);
        SendMouseMove(forgot, {2, 2});
        QVERIFY(Underlined(*c, "Label5"));
        QCOMPARE(forgot->width(), 120);

        // Over a control that is no link nothing changes; over the window itself the links
        // lose the underline.
        SendMouseMove(c->login, Control(*c, "RzEdit2")->geometry().center());
        QVERIFY(Underlined(*c, "Label4"));
        SendMouseMove(c->login, {10, 220});
        QVERIFY(!Underlined(*c, "Label4") && !Underlined(*c, "Label3") &&
                !Underlined(*c, "Label5"));
        QCOMPARE(create->width(), 150);
        QCOMPARE(forgot->width(), 120);
    }
};

QTEST_MAIN(LoginWindowTest)
#include "login_window_test.moc"
