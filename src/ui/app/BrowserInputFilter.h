#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QEvent;
class QWidget;

namespace kelvra::ui {

// Application-wide input filter: right-button presses, releases and double clicks, mouse
// context-menu requests, and the F5 key are swallowed when their target lies inside one of the
// browsers (no context menu, no reload). Everywhere else they pass untouched.
class BrowserInputFilter : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application; the browsers may be destroyed before the filter.
    explicit BrowserInputFilter(const QList<QWidget*>& browsers, QObject* parent = nullptr);
    ~BrowserInputFilter() override;

    // True for the events this filter looks at (right button, mouse context menu, F5).
    static bool IsCandidate(const QEvent* event);
    // True when the object is one of the browsers or lies inside one.
    bool InsideBrowser(const QObject* target) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWidget>> m_browsers;
};

} // namespace kelvra::ui
