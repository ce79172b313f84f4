#pragma once

#include <QList>
#include <QWidget>

class QTabBar;

namespace kelvra::ui {

// Page area with a fixed set of pages, changed under program control. Unlike a stacked widget
// it can have no active page at all (an index outside the pages). Its tab bar can be hidden.
class PageControl : public QWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
    // Adds a page named sheetName; the control takes ownership.
    QWidget* AddPage(const QString& sheetName);
    int Count() const { return int(m_pages.size()); }
    QWidget* Page(int index) const;
    // -1 while no page is selected.
    int ActiveIndex() const { return m_active; }
    // Shows the page at index; any index outside the pages leaves no page selected.
    void SetActiveIndex(int index);
    void SetTabsVisible(bool visible);
    bool TabsVisible() const { return m_tabsVisible; }

signals:
    void activeIndexChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutPages();

    QTabBar* m_tabs = nullptr;
    QList<QWidget*> m_pages;
    int m_active = -1;
    bool m_tabsVisible = true;
};

} // namespace kelvra::ui
