#include "ui/app/SelfTest.h"

#include <QDir>
#include <QLibrary>
#include <QStringList>

#include <cstdio>

#include "platform/Platform.h"
#include "settings/DataPaths.h"
#include "ui/browser/BrowserEngine.h"

namespace kelvra::ui {

int RunSelfTest(const char* programFolder) {
    QStringList folders;
    for (const QString& folder :
         {QString::fromStdString(FolderOfPath(ExePath())), QString::fromLocal8Bit(programFolder)}) {
        if (!folder.isEmpty())
            folders << folder << QDir::cleanPath(folder + QStringLiteral("/../lib/kelvra"));
    }
    for (const QString& folder : folders) {
        QLibrary library(folder + QLatin1Char('/') + QLatin1String(kBrowserEngineFileName));
        if (library.load() && library.resolve(kBrowserEngineEntry))
            return 0;
    }
    std::fprintf(stderr, "self-test: the web engine module cannot be loaded\n");
    return 1;
}

} // namespace kelvra::ui
