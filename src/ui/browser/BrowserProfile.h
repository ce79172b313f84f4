#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace kelvra::ui {

class BrowserEngineModule;

// The one browser profile shared by the four browser views. It lives in the web engine module,
// which is loaded at the first use (loading the engine is costly) from the program's folder or
// from ../lib/kelvra beside it, or ahead of it by WarmUp.
class BrowserProfile : public QObject {
    Q_OBJECT
public:
    explicit BrowserProfile(QObject* parent = nullptr);
    // A profile whose module is looked for in the given folders only.
    BrowserProfile(QStringList moduleFolders, QObject* parent);
    ~BrowserProfile() override;
    // The loaded module; nullptr when it cannot be loaded (LoadError() then says why; the
    // module is not tried again).
    BrowserEngineModule* Module();
    bool Created() const { return m_module != nullptr; }
    // Why the module could not be loaded (the loader's reason for each folder, a line each);
    // empty while nothing failed.
    QString LoadError() const { return m_error; }
    // The folders searched for the module by default, in order.
    static QStringList ModuleFolders();

    // Gets the engine ready in the background, so that the first page does not wait for it.
    // After a short pause (for the window to draw), one step per turn of the event loop: the
    // module's libraries are loaded on a worker thread; the module and its profile are made
    // once the user has not typed or clicked for a moment (the engine's start holds the
    // interface for a few hundred milliseconds); the helper processes start with a hidden page
    // of site (nothing is requested from it). What a view's first navigation did already is
    // skipped. warmedUp() follows, also when the module cannot be loaded (the views then
    // report it). A second call does nothing.
    void WarmUp(const QUrl& site);
    // The warm-up has run to its end.
    bool WarmedUp() const { return m_warm == Warm::Done; }

signals:
    void warmedUp();

protected:
    // Notes the user's input while warming up.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Loads the module's library and finds its entry; false when no folder has it.
    bool LoadLibrary();
    void WarmStep();
    void FinishWarmUp();

    enum class Warm { Idle, Running, Done };
    using Entry = BrowserEngineModule* (*)();

    QStringList m_folders;
    std::unique_ptr<BrowserEngineModule> m_module;
    Entry m_entry = nullptr;
    bool m_tried = false;
    QString m_error;
    Warm m_warm = Warm::Idle;
    QUrl m_warmSite;
    QElapsedTimer m_lastInput;      // since the user's last key, click or wheel during the warm-up
    QFutureWatcher<void> m_preload; // the libraries' load; waited for when the profile goes
    bool m_preloadStarted = false;
};

} // namespace kelvra::ui
