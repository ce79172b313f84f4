#pragma once

#include <QList>
#include <QPointer>

class QObject;

namespace kelvra::ui {

class BrowserView;
class PageControl;

// The four browsers of the page area and the page control that shows them: which browser the
// active page holds, and which browser a widget lies in.
class PageBrowsers {
public:
    // browsers: WebBrowser1..4; either may be destroyed before this list.
    PageBrowsers(PageControl& pages, const QList<BrowserView*>& browsers);

    PageControl& Pages() const { return m_pages; }
    const QList<QPointer<BrowserView>>& All() const { return m_browsers; }
    // The browser of the active page; nullptr when the active page holds none.
    BrowserView* Active() const;
    // 0..3; -1 when it is not one of the four.
    int IndexOf(const BrowserView* browser) const;

private:
    PageControl& m_pages;
    QList<QPointer<BrowserView>> m_browsers;
};

} // namespace kelvra::ui
