#include "ui/browser/BrowserProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include "ui/browser/BrowserEngine.h"

namespace kelvra::ui {

BrowserProfile::BrowserProfile(QObject* parent) : BrowserProfile(ModuleFolders(), parent) {}

BrowserProfile::BrowserProfile(QStringList moduleFolders, QObject* parent)
    : QObject(parent), m_folders(std::move(moduleFolders)) {}

// The module's pages must be gone by now (the views are deleted before the profile). The
// library itself stays loaded: the engine keeps threads and handlers in it until exit.
BrowserProfile::~BrowserProfile() = default;

QStringList BrowserProfile::ModuleFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/../lib/kelvra"))};
}

BrowserEngineModule* BrowserProfile::Module() {
    if (m_module || m_tried)
        return m_module.get();
    m_tried = true;
    using Entry = BrowserEngineModule* (*)();
    QStringList failures;
    for (const QString& folder : m_folders) {
        QLibrary library(folder + QLatin1Char('/') + QLatin1String(kBrowserEngineFileName));
        if (!library.load()) {
            failures << library.errorString();
            continue;
        }
        auto entry = reinterpret_cast<Entry>(library.resolve(kBrowserEngineEntry));
        if (!entry) {
            failures << library.errorString();
            continue;
        }
        m_module.reset(entry());
        return m_module.get();
    }
    m_error = failures.join(QLatin1Char('\n'));
    qWarning("The web engine could not be loaded: %s", qPrintable(failures.join("; ")));
    return nullptr;
}

} // namespace kelvra::ui
