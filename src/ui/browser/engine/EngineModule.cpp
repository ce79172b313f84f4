// The web engine module: loaded by the program after its window's first show (or at the first
// navigation of a browser view, if that comes first), so that start-up does not pay for loading
// and relocating the engine libraries.

#include <memory>
#include <utility>

#include <QFile>
#include <QPointer>
#include <QQuickWindow>
#include <QWebChannel>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "ui/browser/BrowserEngine.h"
#include "ui/browser/engine/BrowserPage.h"
#include "ui/browser/engine/PageTools.h"

namespace kelvra::ui {
namespace {

const char* const kHostObjectName = "kelvraHost";

// The web channel's client script followed by the client's link reporter (a resource of this
// module), both to run in the client's own script world.
QString ReporterSource() {
    QString source;
    for (const char* path : {":/qtwebchannel/qwebchannel.js", ":/kelvra-engine/link-reporter.js"}) {
        QFile file(QString::fromLatin1(path));
        if (!file.open(QIODevice::ReadOnly)) {
            qWarning("Missing engine script %s: script links will not be reported", path);
            return {};
        }
        source += QString::fromUtf8(file.readAll()) + QLatin1Char('\n');
    }
    return source.replace(QLatin1String("HOST_OBJECT"), QLatin1String(kHostObjectName));
}

// One view's engine: page, web channel to the page script, and the view widget.
class WebEngineBrowser final : public BrowserEngine {
public:
    // prepared: called when the page has been set up for a site (it holds the site's page
    // process from then on).
    WebEngineBrowser(QWebEngineProfile* profile, BrowserEngineClient& client, QWidget* parent,
                     std::function<void()> prepared)
        : m_page(new BrowserPage(profile, client)), m_prepared(std::move(prepared)) {
        auto* channel = new QWebChannel(m_page);
        channel->registerObject(QLatin1String(kHostObjectName), new BrowserHost(client, m_page));
        m_page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);
        // Every end of a load but that of the page's preparation (which the client never saw).
        QObject::connect(m_page, &QWebEnginePage::loadingChanged, m_page,
                         [page = m_page, &client](const QWebEngineLoadingInfo& info) {
                             if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus ||
                                 page->EndsPreparation(info.url()))
                                 return;
                             client.OnLoadFinished(info.status() ==
                                                   QWebEngineLoadingInfo::LoadSucceededStatus);
                         });
        m_view = new QWebEngineView(parent);
        m_view->setPage(m_page);
    }
    ~WebEngineBrowser() override {
        // The view goes before its page, and the page before the profile it was made with.
        delete m_view.data();
        delete m_page;
    }

    QWidget* Widget() const override { return m_view; }
    void Prepare(const QUrl& site) override {
        if (m_page->PrepareFor(site) && m_prepared)
            m_prepared();
    }
    void Load(const QUrl& url) override { m_page->load(url); }
    void Reload() override { m_page->triggerAction(QWebEnginePage::Reload); }
    QUrl Url() const override { return m_page->url(); }
    QString Title() const override { return m_page->title(); }
    void Back() override { m_page->triggerAction(QWebEnginePage::Back); }
    void Forward() override { m_page->triggerAction(QWebEnginePage::Forward); }
    bool CanGoBack() const override { return m_page->history()->canGoBack(); }
    bool CanGoForward() const override { return m_page->history()->canGoForward(); }
    void Stop() override { m_page->triggerAction(QWebEnginePage::Stop); }
    void SetZoomFactor(double factor) override { m_page->setZoomFactor(factor); }
    void Find(const QString& text, bool backward, std::function<void(int, int)> done) override {
        FindInPage(m_view, text, backward, std::move(done));
    }
    void PrintToPdf(const QString& filePath, std::function<void(bool)> done) override {
        PrintPageToPdf(m_view, filePath, std::move(done));
    }
    void Print(QPrinter* printer, std::function<void(bool)> done) override {
        PrintPage(m_view, printer, std::move(done));
    }

private:
    BrowserPage* m_page;
    std::function<void()> m_prepared;
    QPointer<QWebEngineView> m_view;
};

// Engine options, set before the engine starts (it reads them once, at the first profile). One
// page process per site: the four browsers all show the service's pages, and by default each
// would get a page process of its own (about 80 MiB each). Sites isolated from each other: a
// frame of another site runs in a process of its own, so its endless script cannot freeze the
// service's pages (flags that ask for one process, or for no isolation, are left as they are).
// Returns whether sites are isolated.
bool SetEngineOptions() {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const auto add = [&flags](const QByteArray& flag) {
        flags += flags.isEmpty() ? flag : " " + flag;
    };
    if (!flags.contains("--process-per-site") && !flags.contains("--single-process"))
        add("--process-per-site");
    const bool isolated =
        !flags.contains("--single-process") && !flags.contains("--disable-site-isolation-trials");
    if (isolated && !flags.contains("--site-per-process"))
        add("--site-per-process");
    // No spare page process kept ready (about 50 MiB) with sites isolated: the service's pages
    // have their process from the warm-up on; only a page or frame of another site waits for a
    // process of its own to start.
    const QByteArray spare = "SpareRendererForSitePerProcess";
    if (isolated && !flags.contains(spare)) {
        const QByteArray disable = "--disable-features=";
        const int at = flags.indexOf(disable);
        if (at >= 0) // one list: the engine reads only the last of repeated switches
            flags.insert(at + disable.size(), spare + ",");
        else
            add(disable + spare);
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    return isolated;
}

// The views drawn by Qt Quick's software renderer, unless the environment names a renderer.
// A window that holds a view drawn on the GPU is composed on the GPU as a whole: Qt switches the
// main window over when its first view is shown, destroying and re-creating its native window
// (it vanishes and comes back at the first search) and starting OpenGL on the interface thread.
// Drawn in software, the main window keeps the native window of its first show.
void UseSoftwareSceneGraph() {
    static bool chosen = false; // the scene graph takes it once, before its first window
    if (!std::exchange(chosen, true) && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

// The page that starts the site's page process ahead of the first page: it loads nothing but
// the empty page, and no request of it ever leaves.
class SiteWarmPage final : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        return url == QUrl(QStringLiteral("about:blank"));
    }
};

// The one profile shared by every view: off the record, with the link reporter installed into
// every top document, in the client's own script world (it watches the frames from there).
class WebEngineModule final : public BrowserEngineModule {
public:
    WebEngineModule()
        : m_sitesIsolated((UseSoftwareSceneGraph(), SetEngineOptions())),
          m_profile(new QWebEngineProfile) { // off the record
        QWebEngineScript reporter;
        reporter.setName(QStringLiteral("kelvra-link-reporter"));
        reporter.setInjectionPoint(QWebEngineScript::DocumentCreation);
        reporter.setWorldId(QWebEngineScript::ApplicationWorld);
        reporter.setRunsOnSubFrames(false);
        reporter.setSourceCode(ReporterSource());
        m_profile->scripts()->insert(reporter);
    }
    ~WebEngineModule() override {
        delete m_warmPage.data(); // a page goes before its profile
        delete m_profile;
    }

    BrowserEngine* CreateEngine(BrowserEngineClient& client, QWidget* parent) override {
        ++m_engines;
        // Once a view's page holds the site's page process, the warm page has served.
        return new WebEngineBrowser(m_profile, client, parent, [warm = m_warmPage] {
            if (warm)
                warm->deleteLater();
        });
    }

    void WarmUp(const QUrl& site, std::function<void()> done) override {
        if (m_engines > 0 || m_warmStarted) {
            done();
            return;
        }
        m_warmStarted = true;
        auto once = std::make_shared<std::function<void()>>(std::move(done));
        const auto finish = [once] {
            if (*once)
                std::exchange(*once, nullptr)();
        };
        if (m_sitesIsolated) {
            WarmSiteProcess(site, finish);
            return;
        }
        m_warmPage = new QWebEnginePage(m_profile);
        // An http document would ask its site for /favicon.ico: nothing may reach the service.
        m_warmPage->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        QObject::connect(m_warmPage, &QWebEnginePage::loadFinished, m_warmPage, finish);
        // The document's address is the site's, so with one page process per site the engine
        // keeps this page's process for the site's pages; the page stays, hidden, to keep it.
        // A line of text has the page process set up its fonts, as the first page needs them.
        m_warmPage->setHtml(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                                           "<link rel=\"icon\" href=\"data:,\"></head>"
                                           "<body style=\"font-family: sans-serif\">Kelvra 凯"
                                           "</body></html>"),
                            site);
    }

private:
    // With sites isolated, a process locked to the site must not hold a document given as text
    // (the engine stops the program when the site's first page then joins it). Instead the warm
    // page is made for the site by a navigation to it that never leaves the page (the empty
    // page replaces it at once, and the page refuses every address but the empty page's): the
    // engine starts the site's page process for it. The empty page is shown in that process and
    // a word laid out there by script (scripts, style and fonts set up as the first page needs
    // them). The page stays, hidden, to keep the process, until a view's page set up for the
    // site holds it.
    void WarmSiteProcess(const QUrl& site, std::function<void()> finish) {
        auto* page = new SiteWarmPage(m_profile);
        m_warmPage = page;
        page->settings()->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
        QObject::connect(page, &QWebEnginePage::loadingChanged, page,
                         [page, finish](const QWebEngineLoadingInfo& info) {
                             if (info.url() != QUrl(QStringLiteral("about:blank")) ||
                                 info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
                                 return;
                             if (info.status() != QWebEngineLoadingInfo::LoadSucceededStatus) {
                                 finish(); // the helpers run; the site's pages start the rest
                                 return;
                             }
                             page->runJavaScript(
                                 QStringLiteral("document.body.style.fontFamily = 'sans-serif';"
                                                "document.body.textContent = 'Kelvra';"
                                                "document.body.offsetHeight;"),
                                 QWebEngineScript::ApplicationWorld,
                                 [finish](const QVariant&) { finish(); });
                         });
        page->load(site);
        page->load(QUrl(QStringLiteral("about:blank")));
    }

    bool m_sitesIsolated;
    QWebEngineProfile* m_profile;
    QPointer<QWebEnginePage> m_warmPage;
    bool m_warmStarted = false;
    int m_engines = 0;
};

} // namespace
} // namespace kelvra::ui

// The module's entry point: a new module object, owned by the caller.
extern "C" Q_DECL_EXPORT kelvra::ui::BrowserEngineModule* KelvraCreateBrowserEngineModule() {
    return new kelvra::ui::WebEngineModule;
}
