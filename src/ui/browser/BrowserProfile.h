#pragma once

#include <QObject>

class QWebEngineProfile;

namespace kelvra::ui {

// The one browser profile shared by the four browser views: off the record, created at its first
// use (starting the engine is costly), with the script that reports clicked script links
// installed into every page and frame.
class BrowserProfile : public QObject {
    Q_OBJECT
public:
    explicit BrowserProfile(QObject* parent = nullptr);
    // The profile, created on the first call.
    QWebEngineProfile* Profile();
    bool Created() const { return m_profile != nullptr; }
    // Name of the host object the in-page script talks to over the web channel.
    static QString HostObjectName();

private:
    QWebEngineProfile* m_profile = nullptr;
};

} // namespace kelvra::ui
