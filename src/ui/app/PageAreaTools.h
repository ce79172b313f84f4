#pragma once

#include <QList>
#include <QObject>

#include "state/AppState.h"
#include "ui/app/PageBrowsers.h"
#include "ui/app/PageKeyActions.h"

class QWidget;

namespace kelvra::ui {

class BrowserView;
class PageControl;
class PageFind;
class PagePrinting;
class PageToolRow;

// What a user does with a page of the four browsers: back and forward, stop, zoom (kept per
// browser in the settings file), find, print and save as PDF. Reached by the keys of the main
// window (PageKeyActions), the mouse over a page (PagePointerInput) and the tool row, which shows
// over the top right corner of the page area while a browser page is the active page; the find
// bar shows along its bottom. Right click and F5 stay with the browser input filter.
class PageAreaTools : public QObject {
    Q_OBJECT
public:
    // browsers: WebBrowser1..4; their stored zoom is applied at once. Owned by window.
    PageAreaTools(QWidget& window, PageControl& pages, const QList<BrowserView*>& browsers,
                  const AppState& state);
    ~PageAreaTools() override;

    // The browser of the active page; nullptr when the active page holds none.
    BrowserView* ActiveBrowser() const { return m_browsers.Active(); }
    PageToolRow* ToolRow() const { return m_toolRow; }
    PageFind& Find() const { return *m_find; }
    PagePrinting& Printing() const { return *m_printing; }
    PageKeyActions& Keys() const { return *m_keys; }

    // Does what a key or a tool of the row asks; nothing without a browser page.
    void Run(PageCommand command);
    // Stops every browser that is loading (which takes the busy indicator down); false when none
    // was.
    bool StopLoading();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ZoomChanged(BrowserView* browser, int percent);
    void Place();
    // Brings the tool row and the keys in line with the active browser and its state.
    void Refresh();

    PageBrowsers m_browsers;
    const AppState& m_state;
    PageToolRow* m_toolRow = nullptr;
    PageFind* m_find = nullptr;
    PagePrinting* m_printing = nullptr;
    PageKeyActions* m_keys = nullptr;
};

} // namespace kelvra::ui
