#include "ui/browser/BrowserHostBinder.h"

#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "ui/app/PageAreaTools.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/browser/MainBrowserWatch.h"
#include "ui/browser/TVersion.h"
#include "ui/login/LoginWindowHost.h"
#include "ui/service/WaitCursor.h"
#include "ui/widgets/SideChannel.h"

namespace kelvra::ui {
namespace {

// Script links count only when the user clicked them in one of the service's own pages.
void TrustOnlyTheService(TFormMain& window, const std::string& serviceRoot) {
    for (int number = 1; number <= 4; ++number) {
        if (BrowserView* browser = window.Browser(number))
            browser->SetTrustedOrigin(QString::fromStdString(serviceRoot));
    }
}

// The busy indicator of the secondary browsers (2 to 4): up at each navigation they announce;
// down at the document-complete of any of the four browsers.
void ConnectBusyIndicator(TFormMain& window, BusyIndicator& busy, QObject* context) {
    for (int number = 2; number <= 4; ++number) {
        if (BrowserView* browser = window.Browser(number)) {
            QObject::connect(browser, &BrowserView::beforeNavigate, context,
                             [&busy] { busy.SecondaryBeforeNavigate(); });
        }
    }
    for (int number = 1; number <= 4; ++number) {
        if (BrowserView* browser = window.Browser(number)) {
            QObject::connect(browser, &BrowserView::documentComplete, context,
                             [&busy] { busy.DocumentComplete(); });
        }
    }
}

} // namespace

BrowserHostBinder::BrowserHostBinder(TFormMain& window, AppState& state, TFormLogin& login,
                                     TVersion& busy, QObject* parent)
    : QObject(parent), m_transport(MakeWaitCursorTransport()),
      m_session(std::make_unique<SessionClient>(state, *m_transport, &ReadThisMachine)) {
    busy.SetMainWindow(&window, window.Side());
    busy.KeepTakingInput(&window, window.SearchPanels());
    // Esc stops the load also while the indicator is the active window (some window systems
    // activate it when it shows).
    busy.addAction(window.PageTools().Keys().Action(PageCommand::StopOrCloseFind));
    TrustOnlyTheService(window, state.serviceRoot);
    m_loginHost = std::make_unique<LoginWindowHost>(window, state, login, busy.Busy(), *m_session);
    m_watch = std::make_unique<MainBrowserWatch>(window, state, busy.Busy(), *m_session,
                                                 [this] { m_loginHost->ShowLoginWindow(); });
    ConnectBusyIndicator(window, busy.Busy(), this);
}

BrowserHostBinder::~BrowserHostBinder() = default;

} // namespace kelvra::ui
