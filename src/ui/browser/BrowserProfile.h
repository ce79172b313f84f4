#pragma once

#include <memory>

#include <QObject>
#include <QString>
#include <QStringList>

namespace kelvra::ui {

class BrowserEngineModule;

// The one browser profile shared by the four browser views. It lives in the web engine module,
// which is loaded at the first use (loading the engine is costly) from the program's folder or
// from ../lib/kelvra beside it.
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

private:
    QStringList m_folders;
    std::unique_ptr<BrowserEngineModule> m_module;
    bool m_tried = false;
    QString m_error;
};

} // namespace kelvra::ui
