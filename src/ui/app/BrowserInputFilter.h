#pragma once

#include <QList>
#include <QObject>

class QEvent;
class QWidget;

namespace kelvra::ui {

// Right-button presses, releases and double clicks, mouse context-menu requests, and the F5 key
// are swallowed when their target lies inside one of the browsers (no context menu, no reload),
// the engine's widgets made after this filter included. Everywhere else they pass untouched.
class BrowserInputFilter : public QObject {
    Q_OBJECT
public:
    // Watches the browsers and every widget inside them; the browsers may be destroyed before the
    // filter.
    explicit BrowserInputFilter(const QList<QWidget*>& browsers, QObject* parent = nullptr);

    // True for the events this filter swallows (right button, mouse context menu, F5).
    static bool IsCandidate(const QEvent* event);
};

} // namespace kelvra::ui
