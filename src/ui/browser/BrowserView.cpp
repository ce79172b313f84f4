#include "ui/browser/BrowserView.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/browser/BrowserProfile.h"

namespace kelvra::ui {
namespace {

bool SameOrigin(const QUrl& a, const QUrl& b) {
    return a.isValid() && !a.scheme().isEmpty() && !a.host().isEmpty() &&
           a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == QLatin1String("https") ? 443 : 80) ==
               b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

// Only web documents (and the empty page) may become the top document of a view: data:, qrc:,
// file:, javascript: and the engine's own schemes never do.
bool MayBeTopDocument(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           url.toString() == QLatin1String("about:blank");
}

} // namespace

BrowserView::BrowserView(const QString& objectName, BrowserProfile& profile, QWidget* parent)
    : QWidget(parent), m_profile(profile) {
    setObjectName(objectName);
    setAccessibleName(tr("Web page"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_placeholder = new QWidget(this);
    m_placeholder->setObjectName(objectName + "Placeholder");
    m_placeholder->setAttribute(Qt::WA_StyledBackground, true);
    m_placeholder->setStyleSheet(QStringLiteral("background: white;"));
    layout->addWidget(m_placeholder);
}

// The engine (page and view) must go before the profile it was made with; the profile outlives
// every view.
BrowserView::~BrowserView() = default;

QWidget* BrowserView::EngineWidget() const {
    return m_engine && !m_covered ? m_engine->Widget() : nullptr;
}

void BrowserView::ShowEngineError() {
    auto* layout = new QVBoxLayout(m_placeholder);
    layout->setContentsMargins(40, 40, 40, 40);
    layout->setSpacing(12);
    layout->setAlignment(Qt::AlignCenter);
    auto* message = new QLabel(tr("The web engine could not be loaded, so pages cannot be shown.\n"
                                  "Installing Kelvra again should repair it."),
                               m_placeholder);
    message->setObjectName(objectName() + "EngineError");
    message->setStyleSheet(QStringLiteral("font-size: 14px; font-weight: bold; color: #0b5394;"));
    auto* detail = new QLabel(m_profile.LoadError(), m_placeholder);
    detail->setObjectName(objectName() + "EngineErrorDetail");
    detail->setStyleSheet(QStringLiteral("font-size: 11px; color: #6b7b8c;"));
    detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    for (QLabel* label : {message, detail}) {
        label->setTextFormat(Qt::PlainText); // paths may hold any character
        label->setWordWrap(true);
        label->setMinimumWidth(480); // a wrapped label alone would shrink to a narrow column
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
        label->show(); // a child added to a shown widget stays hidden until shown
    }
}

bool BrowserView::CreateEngine() {
    BrowserEngineModule* module = m_profile.Module();
    if (!module)
        return false;
    m_engine.reset(module->CreateEngine(*this, this));
    m_engine->SetZoomFactor(m_zoomPercent / 100.0);
    m_engine->Widget()->setObjectName(objectName() + "Engine");
    return true;
}

void BrowserView::PrepareEngine() {
    if (m_engine || !CreateEngine())
        return;
    // Shown, so that its first show is done, but behind the placeholder and out of the layout
    // until the first navigation puts it in the placeholder's place.
    QWidget* view = m_engine->Widget();
    m_covered = true;
    view->setGeometry(m_placeholder->geometry());
    view->show();
    m_placeholder->raise();
    // Its page is made for the service's site and takes the site's page process, unseen.
    if (m_trustedOrigin.isValid())
        m_engine->Prepare(m_trustedOrigin);
}

bool BrowserView::EnsureEngine() {
    if (!m_engine && !CreateEngine()) {
        if (m_placeholder->layout() == nullptr)
            ShowEngineError();
        return false;
    }
    if (m_placeholder->isHidden())
        return true; // in place already
    m_covered = false;
    QWidget* view = m_engine->Widget();
    delete layout()->replaceWidget(m_placeholder, view); // the placeholder's item is ours to free
    m_placeholder->hide();
    view->show();
    return true;
}

void BrowserView::Navigate(const QString& url) {
    m_requested = url;
    if (m_announcing > 0) {
        // The engine must not start a new load from inside its own navigation request.
        QTimer::singleShot(0, this, [this, url] { Navigate(url); });
        return;
    }
    if (EnsureEngine()) {
        HideProcessGone();
        m_engine->Load(QUrl(url, QUrl::TolerantMode));
    }
}

void BrowserView::Refresh() {
    if (!m_engine)
        return;
    HideProcessGone();
    m_engine->Reload();
}

QString BrowserView::LocationURL() const {
    if (!m_engine)
        return {};
    const QString shown = m_engine->Url().toString();
    return shown.isEmpty() ? m_requested : shown;
}

void BrowserView::SetNavigationPolicy(NavigationPolicy policy) {
    m_policy = std::move(policy);
}

bool BrowserView::OnNavigationRequest(const QUrl& url, bool isMainFrame, bool isRedirect) {
    if (isMainFrame && !MayBeTopDocument(url))
        return false; // never loaded, so nothing to announce
    const bool ofService = SameOrigin(url, m_trustedOrigin);
    // A frame of another site is an ordinary part of the page: nothing the client watches, and
    // nothing it could see finish.
    if (!isMainFrame && !ofService)
        return true;
    // A redirect to another site continues the navigation already announced. A redirect to the
    // service (server or client: location.replace, meta refresh) is a navigation of its own:
    // its address may carry a marker that the announcement it replaces did not.
    if (isRedirect && !ofService)
        return true;
    const QString announced = url.toString();
    if (isMainFrame) {
        ++m_pendingMain;
    } else {
        ++m_pendingFrames;
        // A frame holds its announcement for a few seconds at most, whether or not the client
        // sees it finish (a frame whose server never answers, one whose load the page hides).
        QTimer::singleShot(kFrameHoldMs, this, [this, document = m_documents] {
            if (document == m_documents && m_pendingFrames > 0) {
                --m_pendingFrames;
                emit documentComplete(LocationURL());
            }
        });
    }
    Announce(announced, ofService);
    const bool go = !m_policy || m_policy(announced, isMainFrame);
    if (!go) {
        // A refused navigation never loads: it is complete now.
        isMainFrame ? --m_pendingMain : --m_pendingFrames;
        emit documentComplete(announced);
    }
    return go;
}

void BrowserView::Announce(const QString& url, bool ofService) {
    ++m_announcing;
    emit beforeNavigate(url, ofService);
    --m_announcing;
}

void BrowserView::SetTrustedOrigin(const QString& origin) {
    m_trustedOrigin = QUrl(origin).adjusted(QUrl::RemovePath | QUrl::RemoveQuery |
                                            QUrl::RemoveFragment | QUrl::RemoveUserInfo);
}

void BrowserView::OnScriptLink(const QString& documentUrl, const QString& url) {
    if (!url.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive) ||
        !SameOrigin(QUrl(documentUrl), m_trustedOrigin))
        return;
    // The script has run already: there is nothing to hold back, and no document will follow,
    // so the announcement is closed at once (nothing must wait for it).
    Announce(url, true);
    emit documentComplete(LocationURL());
}

void BrowserView::OnNewWindowRequest(const QUrl& url, bool userInitiated) {
    // Only the user opens windows, and only for web documents; a window the page fills by
    // script has no address to load.
    if (!userInitiated || !MayBeTopDocument(url) || url.scheme() == QLatin1String("about"))
        return;
    // Loaded as a navigation of this view once the engine's request has returned.
    QTimer::singleShot(0, this, [this, url] { Navigate(url.toString(QUrl::FullyEncoded)); });
}

bool BrowserView::MayShowScriptDialog(const QUrl& securityOrigin) {
    if (!SameOrigin(securityOrigin, m_trustedOrigin))
        return false;
    // The page waits for the user's answer: nothing of it may hold the windows meanwhile.
    CloseAllPending();
    return true;
}

void BrowserView::OnPageProcessGone() {
    CloseAllPending();
    ShowProcessGone();
}

void BrowserView::OnFrameLoaded() {
    if (m_pendingFrames <= 0)
        return;
    --m_pendingFrames;
    emit documentComplete(LocationURL());
}

void BrowserView::OnLoadFinished(bool ok) {
    CloseAllPending();
    if (ok)
        HideProcessGone(); // a page loaded again (history, reload): the message goes
}

void BrowserView::CloseAllPending() {
    // The main document has loaded or failed (or its process is gone): that closes every
    // navigation announced for it and its frames that has not been closed yet.
    ++m_documents;
    const int pending = m_pendingMain + m_pendingFrames;
    m_pendingMain = 0;
    m_pendingFrames = 0;
    const QString url = LocationURL();
    for (int i = 0; i < pending; ++i)
        emit documentComplete(url);
}

void BrowserView::ShowProcessGone() {
    if (!m_processGone) {
        m_processGone = new QWidget(this);
        m_processGone->setObjectName(objectName() + "ProcessGone");
        m_processGone->setAttribute(Qt::WA_StyledBackground, true);
        // White behind the message only: the button keeps the skin's look.
        m_processGone->setStyleSheet(
            QStringLiteral("QWidget#%1 { background: white; }").arg(m_processGone->objectName()));
        auto* box = new QVBoxLayout(m_processGone);
        box->setAlignment(Qt::AlignCenter);
        auto* message = new QLabel(tr("This page stopped working."), m_processGone);
        message->setStyleSheet(
            QStringLiteral("font-size: 14px; font-weight: bold; color: #0b5394;"));
        auto* reload = new QPushButton(tr("Reload"), m_processGone);
        reload->setObjectName(objectName() + "Reload");
        box->addWidget(message, 0, Qt::AlignCenter);
        box->addWidget(reload, 0, Qt::AlignCenter);
        layout()->addWidget(m_processGone);
        connect(reload, &QPushButton::clicked, this, &BrowserView::Refresh);
    }
    if (QWidget* view = EngineWidget())
        view->hide();
    m_processGone->show();
}

void BrowserView::HideProcessGone() {
    if (!m_processGone || m_processGone->isHidden())
        return;
    m_processGone->hide();
    if (QWidget* view = EngineWidget())
        view->show();
}

} // namespace kelvra::ui
