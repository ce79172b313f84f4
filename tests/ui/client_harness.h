#pragma once
// The whole client in the test process, wired as the entry wires it: the main window, the login
// window, the update window's place left empty, the busy indicator and the binder that joins
// them, on a fresh data folder against the stand-in service. Helpers drive the real widgets and
// the real web engine and wait for conditions with deadlines.

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "app/AppState.h"
#include "search/SearchUrls.h"
#include "support/SimProcess.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/browser/InPageBinder.h"
#include "ui/browser/TVersion.h"
#include "ui/login/TFormLogin.h"
#include "ui_support.h"

namespace kelvra::test {

inline constexpr int kPageWaitMs = 20000;

class Client {
public:
    Client(const SimProcess& sim, const QString& dataFolder) {
        qputenv("KELVRA_DATA_DIR", dataFolder.toUtf8());
        state.serviceRoot = sim.Root();
        main = std::make_unique<ui::TFormMain>(state);
        login = std::make_unique<ui::TFormLogin>();
        version = std::make_unique<ui::TVersion>();
        binder = std::make_unique<ui::InPageBinder>(*main, state, *login, *version);
    }
    ~Client() {
        binder.reset();
        version.reset();
        login.reset();
        main.reset();
    }

    // Shows the main window and waits until its first show (probe, language) is done.
    bool Start() {
        QSignalSpy done(main.get(), &ui::TFormMain::firstShowDone);
        main->show();
        return done.count() > 0 || done.wait(kPageWaitMs);
    }

    ui::BrowserView* Browser(int number) const { return main->Browser(number); }

    // True once the browser's document has the address containing `part`, has loaded, and no
    // navigation is pending.
    bool WaitLoaded(int number, const QString& part, int ms = kPageWaitMs) const {
        ui::BrowserView* browser = Browser(number);
        return QTest::qWaitFor(
            [&] {
                if (!kelvra::test::Engine(browser) || browser->PendingNavigations() != 0 ||
                    kelvra::test::Engine(browser)->page()->isLoading())
                    return false;
                const QString where =
                    Script(number, QStringLiteral("location.href + ' ' + document.readyState"),
                           2000)
                        .toString();
                return where.contains(part) && where.endsWith(QStringLiteral(" complete"));
            },
            ms);
    }

    // Runs a script in the page of a browser and waits for its result (empty on time-out).
    QVariant Script(int number, const QString& script, int ms = kPageWaitMs) const {
        QVariant result;
        bool done = false;
        kelvra::test::Engine(Browser(number))
            ->page()
            ->runJavaScript(script, [&](const QVariant& value) {
                result = value;
                done = true;
            });
        QTest::qWaitFor([&] { return done; }, ms);
        return result;
    }

    // Clicks the first element matching a CSS selector in the page; false when there is none.
    bool Click(int number, const QString& selector) const {
        const QString script = QStringLiteral("(function(){var e=document.querySelector(\"%1\");"
                                              "if(!e)return false;e.click();return true;})()")
                                   .arg(selector);
        return Script(number, script).toBool();
    }

    QString PageText(int number) const {
        return Script(number, QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString();
    }

    // Types a number into the any-number field and presses Enter there.
    void SearchAnyNumber(const QString& number) const {
        auto* field = main->findChild<QLineEdit*>(FieldNameForKind(kSearchAny));
        field->setFocus();
        field->setText(number);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // Fills the login window and clicks its login button.
    void LogIn(const QString& user, const QString& password) const {
        login->findChild<QLineEdit*>("RzEdit2")->setText(user);
        login->findChild<QLineEdit*>("RzEdit1")->setText(password);
        login->findChild<QAbstractButton*>("RzButton1")->click();
    }

    // Opens the login window from the side menu (item "登陆") and logs in; true once the main
    // window is back.
    bool LogInFromSideMenu(const QString& user, const QString& password) const {
        main->findChild<QAbstractButton*>("RzGroup5Items5")->click();
        if (!QTest::qWaitFor([&] { return login->isVisible(); }, kPageWaitMs))
            return false;
        LogIn(user, password);
        return QTest::qWaitFor([&] { return !login->isVisible() && main->isVisible(); },
                               kPageWaitMs);
    }

    AppState state;
    std::unique_ptr<ui::TFormMain> main;
    std::unique_ptr<ui::TFormLogin> login;
    std::unique_ptr<ui::TVersion> version;
    std::unique_ptr<ui::InPageBinder> binder;
};

// The stored state of an account in the stand-in, by field name.
inline std::map<std::string, std::string> Account(const SimProcess& sim, const std::string& user,
                                                  const std::string& changes = {}) {
    std::istringstream lines(
        sim.Control("/__sim/account?username=" + SimProcess::Encode(user) + changes));
    std::map<std::string, std::string> fields;
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            fields[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return fields;
}

} // namespace kelvra::test
