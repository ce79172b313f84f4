#include "ui/app/PageFind.h"

#include <QPointer>

#include "ui/app/PageBrowsers.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/FindBar.h"

namespace kelvra::ui {

PageFind::PageFind(QWidget& window, const PageBrowsers& browsers, QObject* parent)
    : QObject(parent), m_browsers(browsers), m_bar(new FindBar(&window)) {
    connect(m_bar, &FindBar::findRequested, this, &PageFind::Find);
    connect(m_bar, &FindBar::closeRequested, this, &PageFind::Close);
}

bool PageFind::IsOpen() const {
    return m_bar->isVisible();
}

void PageFind::Open() {
    if (!m_browsers.Active())
        return;
    const bool wasOpen = IsOpen();
    m_bar->Open();
    if (!wasOpen)
        emit openChanged(true);
    if (!m_bar->Text().isEmpty())
        Find(m_bar->Text(), false);
}

void PageFind::Close() {
    if (!IsOpen())
        return;
    m_bar->hide();
    for (const QPointer<BrowserView>& browser : m_browsers.All()) {
        if (browser && browser->EngineWidget())
            browser->Find(QString(), false, [](int, int) {}); // clears the highlight
    }
    if (BrowserView* browser = m_browsers.Active(); browser && browser->EngineWidget())
        browser->EngineWidget()->setFocus(Qt::OtherFocusReason);
    emit openChanged(false);
}

void PageFind::FindAgain(bool backward) {
    if (IsOpen() && !m_bar->Text().isEmpty())
        Find(m_bar->Text(), backward);
    else
        Open();
}

void PageFind::Find(const QString& text, bool backward) {
    BrowserView* browser = m_browsers.Active();
    if (!browser)
        return;
    QPointer<FindBar> bar = m_bar;
    browser->Find(text, backward, [bar](int active, int total) {
        if (bar)
            bar->ShowCount(active, total);
    });
}

} // namespace kelvra::ui
