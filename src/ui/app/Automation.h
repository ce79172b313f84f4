#pragma once

#include <QString>

class QWidget;

namespace kelvra::ui {

// What automated runs (tests, benchmarks, demos, checks of an installed copy) may ask of the
// program, through the environment. This is the one place the program reads them; with none set
// the program behaves as shipped.
//   KELVRA_AUTOMATION_LOG=path      every message box appends "caption<TAB>text\n" to the file
//                                   (flushed) before it is shown;
//   KELVRA_AUTOMATION_ACCEPT=1      every message box is accepted (OK / Yes) about 300 ms after it
//                                   shows, except a question whose Yes starts or completes an
//                                   update of the program: that one is answered No ...
//   KELVRA_AUTOMATION_ACCEPT_UPDATE=1  ... unless this is set too (tests of the update itself);
//   KELVRA_SCREENSHOT=path          once the main window's first show is done, a PNG of it is
//                                   saved there (written beside, then renamed into place);
//   KELVRA_EXIT_AFTER_SHOW=1        the program prints "shown <milliseconds since 1970>" once the
//                                   main window's first show is done (start-up timing), then ends;
//   KELVRA_START_PAGE=url           after the first show the first browser loads this page; the
//                                   screenshot and the end wait for it;
//   KELVRA_VERSION_CHECK_MS=N       the version check runs N ms after start instead of 10 s;
//   KELVRA_UPDATE_WAIT_MS=N         the update window downloads N ms after it shows instead of 5 s;
//   KELVRA_AUTOMATION_TRAY=1        once the main window's first show is done (and its screenshot
//                                   saved) it gets the minimise command, which puts it in the tray;
//   KELVRA_WINDOW_LOG=path          each show, hide, activation and state change of the main window
//                                   appends "visible=V minimised=M active=A window=ID" to the file
//                                   (ID: the native window, for the window system's tools).
struct Automation {
    QString messageLog;
    bool acceptMessages = false;
    bool acceptUpdate = false;
    QString screenshot;
    bool exitAfterShow = false;
    QString startPage;
    int versionCheckMs = 0; // 0: the designed wait
    int updateWaitMs = 0;   // 0: the designed wait
    bool toTray = false;
    QString windowLog;

    // The seams as the environment sets them now (read at each call: cheap, and tests change
    // them between cases). Values that are not positive numbers count as not set.
    static Automation FromEnvironment();
};

// Logs the window's states to the file named by windowLog, from now until the window is gone
// (see KELVRA_WINDOW_LOG above); nothing when no log is asked for. Lines that cannot be written
// are dropped.
void LogWindowStates(QWidget& window, const Automation& automation);

} // namespace kelvra::ui
