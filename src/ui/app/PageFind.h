#pragma once

#include <QObject>

class QString;
class QWidget;

namespace kelvra::ui {

class FindBar;
class PageBrowsers;

// Finding text in the page of the active browser with the find bar: the bar asks, the active
// browser highlights and counts, the bar shows "n of m".
class PageFind : public QObject {
    Q_OBJECT
public:
    // The bar is made hidden, a child of window.
    PageFind(QWidget& window, const PageBrowsers& browsers, QObject* parent = nullptr);

    FindBar& Bar() const { return *m_bar; }
    bool IsOpen() const;
    // Shows the bar with its text selected and finds that text again; nothing without a page.
    void Open();
    // Hides the bar, clears every browser's highlight and gives the focus back to the page.
    void Close();
    // The next (or previous) match of the bar's text; the bar opens when it has nothing to find.
    void FindAgain(bool backward);

signals:
    // The bar was shown or hidden.
    void openChanged(bool open);

private:
    void Find(const QString& text, bool backward);

    const PageBrowsers& m_browsers;
    FindBar* m_bar = nullptr;
};

} // namespace kelvra::ui
