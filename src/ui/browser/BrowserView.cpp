#include "ui/browser/BrowserView.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/browser/BrowserProfile.h"

namespace kelvra::ui {

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
    return m_engine ? m_engine->Widget() : nullptr;
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

bool BrowserView::EnsureEngine() {
    if (m_engine)
        return true;
    BrowserEngineModule* module = m_profile.Module();
    if (!module) {
        if (m_placeholder->layout() == nullptr)
            ShowEngineError();
        return false;
    }
    m_engine.reset(module->CreateEngine(*this, this));
    m_engine->SetZoomFactor(m_zoomPercent / 100.0);
    QWidget* view = m_engine->Widget();
    view->setObjectName(objectName() + "Engine");
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
    if (EnsureEngine())
        m_engine->Load(QUrl(url, QUrl::TolerantMode));
}

void BrowserView::Refresh() {
    if (m_engine)
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
    if (isRedirect)
        return true; // a server redirect continues the navigation already announced
    // A document given as text travels as a data: URL holding the whole page: never let its
    // contents reach the handlers as if it were an address.
    const QString announced =
        url.scheme() == QLatin1String("data") ? QStringLiteral("about:blank") : url.toString();
    if (isMainFrame)
        ++m_pendingMain;
    else
        ++m_pendingFrames;
    Announce(announced);
    const bool go = !m_policy || m_policy(announced, isMainFrame);
    if (!go) {
        // A refused navigation never loads: it is complete now.
        isMainFrame ? --m_pendingMain : --m_pendingFrames;
        emit documentComplete(announced);
    }
    return go;
}

void BrowserView::Announce(const QString& url) {
    ++m_announcing;
    emit beforeNavigate(url);
    --m_announcing;
}

void BrowserView::SetTrustedOrigin(const QString& origin) {
    m_trustedOrigin = QUrl(origin).adjusted(QUrl::RemovePath | QUrl::RemoveQuery |
                                            QUrl::RemoveFragment | QUrl::RemoveUserInfo);
}

namespace {

bool SameOrigin(const QUrl& a, const QUrl& b) {
    return a.isValid() && !a.scheme().isEmpty() && !a.host().isEmpty() &&
           a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == QLatin1String("https") ? 443 : 80) ==
               b.port(b.scheme() == QLatin1String("https") ? 443 : 80);
}

} // namespace

void BrowserView::OnScriptLink(const QString& documentUrl, const QString& url) {
    if (!url.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive) ||
        !SameOrigin(QUrl(documentUrl), m_trustedOrigin))
        return;
    // The script has run already: there is nothing to hold back, and no document will follow,
    // so the announcement is closed at once (nothing must wait for it).
    Announce(url);
    emit documentComplete(LocationURL());
}

void BrowserView::OnNewWindowRequest(const QUrl& url) {
    if (url.isEmpty() || url.scheme() == QLatin1String("about") ||
        url.scheme().compare(QLatin1String("javascript"), Qt::CaseInsensitive) == 0)
        return; // a window the page fills by script: there is no address to load
    // Loaded as a navigation of this view once the engine's request has returned.
    QTimer::singleShot(0, this, [this, url] { Navigate(url.toString(QUrl::FullyEncoded)); });
}

void BrowserView::OnFrameLoaded() {
    if (m_pendingFrames <= 0)
        return;
    --m_pendingFrames;
    emit documentComplete(LocationURL());
}

void BrowserView::OnLoadFinished(bool) {
    // The main document has loaded or failed: it closes every navigation announced for it and
    // its frames that has not been closed yet.
    const int pending = m_pendingMain + m_pendingFrames;
    m_pendingMain = 0;
    m_pendingFrames = 0;
    const QString url = LocationURL();
    for (int i = 0; i < pending; ++i)
        emit documentComplete(url);
}

} // namespace kelvra::ui
