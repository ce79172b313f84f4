#pragma once

// The boundary between the browser views and the web engine. The engine lives in a module that
// is loaded after the main window's first show (or at the first navigation, if that comes first),
// so the program starts without loading the engine libraries; only the types below cross the
// boundary.

#include <functional>

class QObject;
class QPrinter;
class QString;
class QUrl;
class QWidget;

namespace kelvra::ui {

// What an engine reports to the browser view it serves.
class BrowserEngineClient {
public:
    virtual ~BrowserEngineClient() = default;
    // A navigation of the page or one of its frames; returns whether it goes on.
    virtual bool OnNavigationRequest(const QUrl& url, bool isMainFrame, bool isRedirect) = 0;
    // The main document has loaded or failed.
    virtual void OnLoadFinished(bool ok) = 0;
    // The client's own script reports a "javascript:" link that the user clicked, with the
    // address of the document that holds it. Page scripts cannot reach this report.
    virtual void OnScriptLink(const QString& documentUrl, const QString& url) = 0;
    // The client's own script reports that a frame of the page finished loading.
    virtual void OnFrameLoaded() = 0;
    // The page asked for a new window (a link with a target, a script); url may be empty.
    // userInitiated: the request came from the user's own input (a click, a key).
    virtual void OnNewWindowRequest(const QUrl& url, bool userInitiated) = 0;
    // A script dialog (alert, confirm, prompt) of a document of securityOrigin: whether it may
    // be shown at all. A dialog refused is answered as cancelled.
    virtual bool MayShowScriptDialog(const QUrl& securityOrigin) = 0;
    // The page's process ended (crashed, killed, out of memory): the page shows nothing more.
    virtual void OnPageProcessGone() = 0;
};

// The engine of one browser view: the widget that shows its page.
class BrowserEngine {
public:
    virtual ~BrowserEngine() = default;
    // The engine's widget, a child of the parent given at creation; deleted with the engine.
    virtual QWidget* Widget() const = 0;
    virtual void Load(const QUrl& url) = 0;
    // Sets the engine up for its first load of site's pages ahead of time (its page made for the
    // site, in the site's page process): nothing is requested, announced or reported to the
    // client, and Url() stays empty. Loads may follow at once. Does nothing after a load.
    virtual void Prepare(const QUrl& site) = 0;
    virtual void Reload() = 0;
    // Address of the page held; empty before the first load.
    virtual QUrl Url() const = 0;
    // Title of the page held; empty before the first load.
    virtual QString Title() const = 0;

    // Tools of the page area. Back and Forward do nothing without history; their navigations
    // are announced to the client like any other.
    virtual void Back() = 0;
    virtual void Forward() = 0;
    virtual bool CanGoBack() const = 0;
    virtual bool CanGoForward() const = 0;
    // Stops the load in progress; the load then finishes as failed.
    virtual void Stop() = 0;
    virtual void SetZoomFactor(double factor) = 0;
    // Highlights the next (or previous) match of text; done gets the active match (1-based, 0
    // when none) and the number of matches. An empty text clears the highlight.
    virtual void Find(const QString& text, bool backward,
                      std::function<void(int active, int total)> done) = 0;
    // Writes the page as a PDF file; done tells whether the file was written.
    virtual void PrintToPdf(const QString& filePath, std::function<void(bool ok)> done) = 0;
    // Prints the page on a printer that outlives the call of done.
    virtual void Print(QPrinter* printer, std::function<void(bool ok)> done) = 0;
};

// The loaded module: one shared off-the-record profile and the engines made on it.
class BrowserEngineModule {
public:
    virtual ~BrowserEngineModule() = default;
    // A new engine whose widget is a child of parent; it reports to client until deleted.
    virtual BrowserEngine* CreateEngine(BrowserEngineClient& client, QWidget* parent) = 0;
    // Starts the engine's helper processes ahead of the first page: a hidden page that belongs
    // to no view shows a document in the page process of site (nothing is requested from it), so
    // the first page of that site finds its page process running and set up. done is called
    // once, when that document is ready or failed, or at once when an engine was made already
    // (its first page starts the helpers) or the warm page exists.
    virtual void WarmUp(const QUrl& site, std::function<void()> done) = 0;
};

// Name of the module's entry point: BrowserEngineModule* (*)(), a new module owned by the caller.
inline constexpr const char* kBrowserEngineEntry = "KelvraCreateBrowserEngineModule";
// File name of the module without its platform suffix.
inline constexpr const char* kBrowserEngineFileName = "kelvra-browser-engine";

} // namespace kelvra::ui
