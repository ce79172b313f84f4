#include "ui/browser/BrowserProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLibrary>
#include <QPointer>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "ui/browser/BrowserEngine.h"

namespace kelvra::ui {
namespace {

constexpr int kWarmUpPauseMs = 300;
constexpr int kQuietMs = 500;

// The module's library in a folder (QLibrary adds the platform's suffix).
QString ModuleIn(const QString& folder) {
    return folder + QLatin1Char('/') + QLatin1String(kBrowserEngineFileName);
}

} // namespace

BrowserProfile::BrowserProfile(QObject* parent) : BrowserProfile(ModuleFolders(), parent) {}

BrowserProfile::BrowserProfile(QStringList moduleFolders, QObject* parent)
    : QObject(parent), m_folders(std::move(moduleFolders)) {
    // The warm-up goes on once the libraries are loaded (reported through the event loop).
    connect(&m_preload, &QFutureWatcher<void>::finished, this, &BrowserProfile::WarmStep);
}

// The views' pages must be gone by now (the views are deleted before the profile); the warm
// page goes with the module, and a warm-up cut short reports nothing. The library itself stays
// loaded: the engine keeps threads and handlers in it until exit.
BrowserProfile::~BrowserProfile() {
    m_warm = Warm::Done;
    m_module.reset();
    m_preload.waitForFinished();
}

QStringList BrowserProfile::ModuleFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/../lib/kelvra"))};
}

bool BrowserProfile::LoadLibrary() {
    if (m_entry || m_tried)
        return m_entry != nullptr;
    m_tried = true;
    m_preload.waitForFinished(); // one load at a time
    QStringList failures;
    for (const QString& folder : m_folders) {
        QLibrary library(ModuleIn(folder));
        if (!library.load()) {
            failures << library.errorString();
            continue;
        }
        m_entry = reinterpret_cast<Entry>(library.resolve(kBrowserEngineEntry));
        if (m_entry)
            return true;
        failures << library.errorString();
    }
    m_error = failures.join(QLatin1Char('\n'));
    qWarning("The web engine could not be loaded: %s", qPrintable(failures.join("; ")));
    return false;
}

BrowserEngineModule* BrowserProfile::Module() {
    if (!m_module && LoadLibrary())
        m_module.reset(m_entry());
    return m_module.get();
}

void BrowserProfile::WarmUp(const QUrl& site) {
    if (m_warm != Warm::Idle)
        return;
    m_warm = Warm::Running;
    m_warmSite = site;
    if (qApp)
        qApp->installEventFilter(this);
    // A pause first, for the window to draw and whatever the start queued to run.
    QTimer::singleShot(kWarmUpPauseMs, this, &BrowserProfile::WarmStep);
}

// One step per call, the next one queued behind whatever the event loop has waiting: the
// libraries (loaded on a worker thread, the next step when they are), the module and its
// profile (the engine starts its own threads and helper processes), the hidden page, whose page
// process the engine starts while the interface goes on.
void BrowserProfile::WarmStep() {
    const auto next = [this] { QTimer::singleShot(0, this, &BrowserProfile::WarmStep); };
    if (!m_entry && !m_tried) {
        if (!m_preloadStarted) {
            // Mapping and relocating the engine's libraries takes a good part of a second on a
            // busy machine: a worker thread does it, and LoadLibrary then finds them loaded.
            m_preloadStarted = true;
            m_preload.setFuture(QtConcurrent::run([folders = m_folders] {
                for (const QString& folder : folders) {
                    if (QLibrary(ModuleIn(folder)).load())
                        return;
                }
            }));
            return;
        }
        LoadLibrary();
        next();
        return;
    }
    if (m_entry && !m_module) {
        // The engine's start (its threads and helper processes) keeps this thread for a few
        // hundred milliseconds in one call: it waits for a moment without input.
        if (m_lastInput.isValid() && m_lastInput.elapsed() < kQuietMs) {
            QTimer::singleShot(kQuietMs - int(m_lastInput.elapsed()), this,
                               &BrowserProfile::WarmStep);
            return;
        }
        Module();
        next();
        return;
    }
    if (!m_module) { // the library could not be loaded
        FinishWarmUp();
        return;
    }
    m_module->WarmUp(m_warmSite, [self = QPointer<BrowserProfile>(this)] {
        if (self)
            self->FinishWarmUp();
    });
}

bool BrowserProfile::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        m_lastInput.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void BrowserProfile::FinishWarmUp() {
    if (m_warm == Warm::Done)
        return;
    if (qApp)
        qApp->removeEventFilter(this);
    m_warm = Warm::Done;
    emit warmedUp();
}

} // namespace kelvra::ui
