// Program entry: the self-test when asked for, else one copy per user session: the application
// object, the composition root (ui/app/Application.h: every window and what joins them), then
// the message loop, which shows the main window. What automated runs may ask of it (screenshot,
// start page, end after the show) is in ui/app/Automation.h.

#include <cstring>

#include "platform/Platform.h"
#include "ui/app/Application.h"
#include "ui/app/InstanceBeacon.h"
#include "ui/app/KelvraApplication.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/SelfTest.h"
#include "update/UpdateStaging.h"

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

    kelvra::ui::Application application(channel);
    return app.exec();
}
