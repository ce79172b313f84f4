#pragma once
// The whole client in the test process, made by the program's own composition root (ClientParts:
// the main window, the login window, the update window and the busy indicator, joined), on a
// fresh data folder against the stand-in service. Helpers drive the real widgets and
// the real web engine and wait for conditions with deadlines.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "search/SearchUrls.h"
#include "state/AppState.h"
#include "support/SimProcess.h"
#include "ui/app/Application.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserProfile.h"
#include "ui/browser/BrowserView.h"
#include "ui/browser/TVersion.h"
#include "ui/login/TFormLogin.h"
#include "ui_support.h"

namespace kelvra::test {

inline constexpr int kPageWaitMs = 20000;

// Shows a main window and waits until its first show (probe, language) is done; false when the
// deadline passes first.
inline bool ShowAndWaitFirstShow(ui::TFormMain& window, int ms = kPageWaitMs) {
    QSignalSpy done(&window, &ui::TFormMain::firstShowDone);
    window.show();
    return done.count() > 0 || done.wait(ms);
}

// A main window made by the program's own MainWindowParts (the window and everything that works
// on it alone); it reaches the window as a pointer to it would, and the rest through Parts().
class MainWindow {
public:
    MainWindow(std::nullptr_t = nullptr) {}
    explicit MainWindow(AppState& state, MainServices services = MainServices::Defaults(),
                        std::function<void()> showLoginWindow = {})
        : m_parts(std::make_unique<ui::MainWindowParts>(state, std::move(services),
                                                        std::move(showLoginWindow))) {}

    ui::TFormMain* get() const { return m_parts ? &m_parts->Window() : nullptr; }
    ui::TFormMain* operator->() const { return get(); }
    ui::TFormMain& operator*() const { return *get(); }
    explicit operator bool() const { return m_parts != nullptr; }
    ui::MainWindowParts& Parts() const { return *m_parts; }
    void reset() { m_parts.reset(); }

private:
    std::unique_ptr<ui::MainWindowParts> m_parts;
};

class Client {
public:
    Client(const SimProcess& sim, const QString& dataFolder)
        : state(StateFor(sim, dataFolder)), parts(state), main(&parts.Window()),
          login(&parts.Login()), version(&parts.BusyIndicator()) {}

    // Shows the main window and waits until its first show (probe, language) is done; then the
    // engine warms up in the background, as the program has it.
    bool Start() {
        if (!ShowAndWaitFirstShow(*main))
            return false;
        parts.Main().Profile().WarmUp(QUrl(QString::fromStdString(state.pageBaseUrl)));
        return true;
    }

    ui::BrowserView* Browser(int number) const { return main->Browser(number); }

    // True once the browser's document has the address containing `part`, has loaded, and no
    // navigation is pending.
    bool WaitLoaded(int number, const QString& part, int ms = kPageWaitMs) const {
        ui::BrowserView* browser = Browser(number);
        return WaitUntil(
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
        return Evaluate(kelvra::test::Engine(Browser(number)), script, ms);
    }

    // Clicks the first element matching a CSS selector in the page (inside the frame matching
    // `frame`, when given) with the mouse, as the user does; false when there is none.
    bool Click(int number, const QString& selector, const QString& frame = {}) const {
        return UserClick(kelvra::test::Engine(Browser(number)), selector, frame);
    }

    QString PageText(int number) const {
        return Script(number, QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString();
    }

    // Types a number into the any-number field and presses Enter there.
    void SearchAnyNumber(const QString& number) const {
        auto* field = main->findChild<QLineEdit*>(NumberSearchOf(kSearchAny)->field);
        field->setFocus();
        field->setText(number);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // Searches the number as any number and waits for its own result page (announced, then
    // complete: a result page shown before has the same address); false on time-out.
    bool ShowResults(const QString& number = QStringLiteral("W712")) const {
        QSignalSpy announced(Browser(1), &ui::BrowserView::beforeNavigate);
        SearchAnyNumber(number);
        return WaitUntil([&] { return !announced.isEmpty(); }, kPageWaitMs) &&
               WaitLoaded(1, QStringLiteral("so_list.asp"));
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
        if (!WaitUntil([&] { return login->isVisible(); }, kPageWaitMs))
            return false;
        LogIn(user, password);
        return WaitUntil([&] { return !login->isVisible() && main->isVisible(); }, kPageWaitMs);
    }

    AppState state;
    ui::ClientParts parts;
    ui::TFormMain* const main;
    ui::TFormLogin* const login;
    ui::TVersion* const version;

private:
    // The state of a client on the stand-in whose data folder is `dataFolder`.
    static AppState StateFor(const SimProcess& sim, const QString& dataFolder) {
        qputenv("KELVRA_DATA_DIR", dataFolder.toUtf8());
        AppState state;
        state.serviceRoot = sim.Root();
        return state;
    }
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

// Seeds a data folder as a machine that ran before in `language` ("Chinese" or "English"):
// language files present, the settings naming the language. False when a file cannot be written.
inline bool SeedLanguage(const QString& folder, const QString& language) {
    if (!QDir().mkpath(folder + "/Language"))
        return false;
    QFile english(folder + "/Language/enu.ini");
    if (!english.open(QIODevice::WriteOnly))
        return false;
    english.close();
    QFile settings(folder + "/kelvra_config.ini");
    if (!settings.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = "[INFO]\r\nLanguage=" + language.toUtf8() + "\r\n";
    return settings.write(text) == text.size();
}

// What every test program of the windows sets up once: the stand-in service, a temporary
// folder, the headless message boxes logging into it, and a fresh data folder for each window.
class UiFixture {
public:
    // Called with a window's fresh data folder before the window is made (to seed files there).
    using FolderSetUp = std::function<bool(const QString& folder)>;
    // Called with a made window before it is shown.
    using WindowSetUp = std::function<void(ui::TFormMain&)>;

    // Starts the stand-in (throws std::runtime_error when it cannot) and routes message boxes
    // to the log; Valid() is false when the temporary folder could not be made.
    UiFixture() : m_log(m_temp.filePath(QStringLiteral("boxes.log"))) {
        QApplication::setApplicationName(QStringLiteral("Kelvra")); // as the entry sets it
        UseHeadlessMessageBoxes(m_log);
    }

    bool Valid() const { return m_temp.isValid(); }
    const SimProcess& Sim() const { return m_sim; }
    // A path in the temporary folder (nothing is created).
    QString Path(const QString& name) const { return m_temp.filePath(name); }
    const QString& Log() const { return m_log; }
    // The message boxes shown so far ("caption<TAB>text"), oldest first.
    QStringList Messages() const { return ReadLogLines(m_log); }

    // Before each test: the stand-in back to its seed data, no messages logged.
    void Reset() const {
        m_sim.Reset();
        QFile::remove(m_log);
    }

    // Points KELVRA_DATA_DIR at a folder no window has used (not created) and returns it.
    QString FreshDataFolder() {
        const QString folder = m_temp.filePath(QStringLiteral("data%1").arg(++m_runs));
        qputenv("KELVRA_DATA_DIR", folder.toUtf8());
        return folder;
    }

    // A main window against the stand-in on a fresh data folder, not shown; nullptr when the
    // folder set-up fails. showLoginWindow is what the side menu's login item does.
    MainWindow NewMainWindow(AppState& state, const FolderSetUp& seed = {},
                             std::function<void()> showLoginWindow = {}) {
        const QString folder = FreshDataFolder();
        if (seed && !seed(folder))
            return nullptr;
        state.serviceRoot = m_sim.Root();
        return MainWindow(state, MainServices::Defaults(), std::move(showLoginWindow));
    }

    // As NewMainWindow, then shown and past its first show; nullptr when that times out.
    MainWindow ShownMainWindow(AppState& state, const WindowSetUp& beforeShow = {},
                               const FolderSetUp& seed = {},
                               std::function<void()> showLoginWindow = {}) {
        auto window = NewMainWindow(state, seed, std::move(showLoginWindow));
        if (!window)
            return nullptr;
        if (beforeShow)
            beforeShow(*window);
        if (!ShowAndWaitFirstShow(*window))
            return nullptr;
        return window;
    }

    // The whole client on a fresh data folder, past its first show; nullptr when that times out
    // or the folder set-up fails.
    std::unique_ptr<Client> StartClient(const FolderSetUp& seed = {}) {
        const QString folder = FreshDataFolder();
        if (seed && !seed(folder))
            return nullptr;
        auto client = std::make_unique<Client>(m_sim, folder);
        if (!client->Start())
            return nullptr;
        return client;
    }

    // Makes the network watches read their state from a file in the temporary folder; returns
    // its path. SetNetwork then writes "up" or "down" there.
    QString UseNetworkStateFile() {
        m_networkFile = m_temp.filePath(QStringLiteral("network-state"));
        qputenv("KELVRA_NETWORK_STATE_FILE", m_networkFile.toUtf8());
        return m_networkFile;
    }
    // Writes the network state; false when no state file is in use or it cannot be written.
    bool SetNetwork(const char* word) const {
        if (m_networkFile.isEmpty())
            return false;
        QFile file(m_networkFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        return file.write(word) == qint64(qstrlen(word));
    }

private:
    SimProcess m_sim;
    QTemporaryDir m_temp;
    QString m_log;
    QString m_networkFile;
    int m_runs = 0;
};

} // namespace kelvra::test
