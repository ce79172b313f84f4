#include "ui/app/PagePointerInput.h"

#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

#include "ui/app/PageBrowsers.h"
#include "ui/app/WidgetTreeFilter.h"
#include "ui/browser/BrowserView.h"

namespace kelvra::ui {
namespace {

// True when the event was a zoom or history gesture for browser (and is swallowed).
bool HandleGesture(BrowserView& browser, QEvent* event) {
    switch (event->type()) {
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        const int delta = wheel->angleDelta().y();
        if (delta != 0)
            browser.ZoomStep(delta > 0 ? 1 : -1);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button != Qt::BackButton && button != Qt::ForwardButton)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            button == Qt::BackButton ? browser.GoBack() : browser.GoForward();
        return true;
    }
    default:
        return false;
    }
}

} // namespace

PagePointerInput::PagePointerInput(const PageBrowsers& browsers, QObject* parent)
    : QObject(parent) {
    for (const QPointer<BrowserView>& browser : browsers.All()) {
        if (!browser)
            continue;
        new WidgetTreeFilter(
            *browser,
            [view = browser](QEvent* event) { return view && HandleGesture(*view, event); }, this);
    }
}

} // namespace kelvra::ui
