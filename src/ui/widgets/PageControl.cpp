#include "ui/widgets/PageControl.h"

#include <QTabBar>

namespace kelvra::ui {

PageControl::PageControl(QWidget* parent) : QWidget(parent) {
    setObjectName("RzPageControl1");
    setAccessibleName(tr("Pages"));
    setAttribute(Qt::WA_StyledBackground, true);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName("RzPageControl1Tabs");
    m_tabs->setDrawBase(false);
    connect(m_tabs, &QTabBar::tabBarClicked, this, &PageControl::SetActiveIndex);
}

QWidget* PageControl::AddPage(const QString& sheetName) {
    auto* page = new QWidget(this);
    page->setObjectName(sheetName);
    page->setAttribute(Qt::WA_StyledBackground, true);
    page->setProperty("pageSheet", true);
    page->hide();
    m_pages.append(page);
    m_tabs->addTab(sheetName);
    LayoutPages();
    return page;
}

QWidget* PageControl::Page(int index) const {
    return index >= 0 && index < m_pages.size() ? m_pages[index] : nullptr;
}

void PageControl::SetActiveIndex(int index) {
    const int next = index >= 0 && index < m_pages.size() ? index : -1;
    if (next == m_active)
        return;
    if (QWidget* old = Page(m_active))
        old->hide();
    m_active = next;
    if (QWidget* page = Page(m_active)) {
        LayoutPages();
        page->show();
        page->raise();
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_active);
    }
    emit activeIndexChanged(m_active);
}

void PageControl::SetTabsVisible(bool visible) {
    m_tabsVisible = visible;
    m_tabs->setVisible(visible);
    LayoutPages();
}

void PageControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutPages();
}

void PageControl::LayoutPages() {
    const int top = m_tabsVisible ? m_tabs->sizeHint().height() : 0;
    m_tabs->setGeometry(0, 0, width(), top);
    // Every page keeps the page area's size, shown or not, so pictures are placed before a show.
    for (QWidget* page : m_pages)
        page->setGeometry(0, top, width(), height() - top);
}

} // namespace kelvra::ui
