#include "ui/app/PageBrowsers.h"

#include "ui/browser/BrowserView.h"
#include "ui/widgets/PageControl.h"

namespace kelvra::ui {

PageBrowsers::PageBrowsers(PageControl& pages, const QList<BrowserView*>& browsers)
    : m_pages(pages) {
    for (BrowserView* browser : browsers)
        m_browsers.append(browser);
}

BrowserView* PageBrowsers::Active() const {
    QWidget* page = m_pages.Page(m_pages.ActiveIndex());
    if (!page)
        return nullptr;
    for (const QPointer<BrowserView>& browser : m_browsers) {
        if (browser && page->isAncestorOf(browser))
            return browser;
    }
    return nullptr;
}

int PageBrowsers::IndexOf(const BrowserView* browser) const {
    for (int i = 0; i < m_browsers.size(); ++i) {
        if (m_browsers[i] == browser)
            return i;
    }
    return -1;
}

} // namespace kelvra::ui
