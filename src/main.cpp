// Program entry: one copy per user session, the four windows created hidden in their order,
// then the message loop, which shows the main window. What automated runs may ask of it
// (screenshot, start page, end after the show) is in ui/app/Automation.h.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <cstring>
#include <functional>

#include "app/MainPresenter.h"
#include "platform/Platform.h"
#include "settings/DataPaths.h"
#include "state/AppState.h"
#include "ui/app/Automation.h"
#include "ui/app/InstanceBeacon.h"
#include "ui/app/KelvraApplication.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/SelfTest.h"
#include "ui/app/TFormMain.h"
#include "ui/app/VersionCheckBinder.h"
#include "ui/browser/BrowserHostBinder.h"
#include "ui/browser/BrowserProfile.h"
#include "ui/browser/BrowserView.h"
#include "ui/browser/TVersion.h"
#include "ui/login/TFormLogin.h"
#include "ui/update/TUpdateForm.h"
#include "update/UpdateDownloader.h"
#include "update/UpdateStaging.h"
#include "url/Endpoints.h"

namespace {

void SaveScreenshot(QWidget& window, const QString& path) {
    const QString partial = path + QStringLiteral(".part");
    if (!window.grab().save(partial, "PNG"))
        return;
    QFile::remove(path);
    QFile::rename(partial, path);
}

// Prints the moment the main window was shown, for start-up timing.
void ReportShown() {
    std::printf("shown %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    std::fflush(stdout);
}

// Shows the first browser's page and loads the URL in it; then, once the page has been drawn (or
// at once when the engine cannot be loaded), calls done.
void LoadStartPage(kelvra::ui::TFormMain& formMain, const QString& url,
                   const std::function<void()>& done) {
    formMain.ShowPage(kelvra::kPageResults);
    kelvra::ui::BrowserView* browser = formMain.Browser(1);
    auto* once = new QObject(browser);
    QObject::connect(browser, &kelvra::ui::BrowserView::documentComplete, once, [once, done] {
        delete once;
        QTimer::singleShot(1000, qApp, done); // the engine draws shortly after the load
    });
    browser->Navigate(url);
    if (!browser->EngineWidget()) {
        delete once;
        done();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], kelvra::kSelfTestFlag) == 0)
        return kelvra::ui::RunSelfTest(argc >= 3 ? argv[2] : "");
    kelvra::SingleInstanceLock instance("Kelvra");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // wanted by the web engine
    kelvra::ui::KelvraApplication app(argc, argv);
    const QString channel = QString::fromStdString(kelvra::InstanceChannelName("Kelvra"));
    if (!instance.Acquired()) {
        kelvra::ui::ShowInformation(nullptr, QString(), QStringLiteral("程序已经运行"));
        // Then the running copy comes to the front, from the tray if it is there.
        kelvra::ui::InstanceBeacon::AskRunningCopyToShow(channel);
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Kelvra"));
    QApplication::setQuitOnLastWindowClosed(false); // closing the main window ends the program

    // An update cut short: its swap finished, or its staged files dropped; then the files that
    // its saves left half-written.
    const std::string program = kelvra::ExePath();
    const std::string programFolder = program.empty() ? program : kelvra::FolderOfPath(program);
    bool updateNotInstalled = false;
    if (!program.empty()) {
        updateNotInstalled =
            kelvra::ResumeOrDiscardInterruptedUpdate(kelvra::FindDataFolder(), programFolder);
        kelvra::RemoveInterruptedSaves(programFolder);
    }

    kelvra::AppState state;
    state.serviceRoot = kelvra::ServiceRoot();

    kelvra::ui::TFormMain formMain(state);
    kelvra::ui::TFormLogin formLogin;
    kelvra::ui::TUpdateForm updateForm(state);
    kelvra::ui::TVersion version;
    kelvra::ui::BrowserHostBinder browserHost(formMain, state, formLogin, version);
    QObject::connect(&formMain, &kelvra::ui::TFormMain::closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    updateForm.SetMainWindow(&formMain);
    kelvra::ui::InstanceBeacon beacon(channel, [&formMain] { formMain.BringToFront(); });
    formMain.VersionCheck().SetUpdateWindow(&updateForm);

    // Automation: once the window is shown (and the start page, if one was asked for, has been
    // drawn) the screenshot is saved and, when asked, the program ends.
    const kelvra::ui::Automation automation = kelvra::ui::Automation::FromEnvironment();
    const QString screenshot = automation.screenshot;
    const QString startPage = automation.startPage;
    const bool exitAfterShow = automation.exitAfterShow;
    const bool toTray = automation.toTray;
    kelvra::ui::LogWindowStates(formMain, automation);
    const auto ready = [&formMain, screenshot, exitAfterShow, toTray] {
        if (!screenshot.isEmpty())
            SaveScreenshot(formMain, screenshot);
        if (exitAfterShow)
            QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
        else if (toTray)
            formMain.showMinimized(); // as the window system's minimise command
    };
    QObject::connect(&formMain, &kelvra::ui::TFormMain::firstShowDone, &formMain,
                     [&formMain, &state, &updateForm, startPage, exitAfterShow, ready,
                      programFolder, updateNotInstalled] {
                         if (exitAfterShow)
                             ReportShown();
                         // Said once the window is there, without holding up the start.
                         if (updateNotInstalled)
                             QTimer::singleShot(0, &updateForm, [&updateForm] {
                                 updateForm.ReportUpdateProblem(
                                     kelvra::UpdateProblem::LastNotInstalled);
                             });
                         // Started well: the old files of the last update are not needed.
                         kelvra::RemoveUpdateBackups(state.dataFolder, programFolder);
                         // The first search then finds the web engine ready.
                         formMain.Profile().WarmUp(QUrl(QString::fromStdString(state.pageBaseUrl)));
                         if (startPage.isEmpty())
                             ready();
                         else
                             LoadStartPage(formMain, startPage, ready);
                     });

    QTimer::singleShot(0, &formMain, [&formMain] { formMain.show(); });
    return app.exec();
}
