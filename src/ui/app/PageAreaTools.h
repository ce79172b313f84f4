#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

#include "state/AppState.h"

class QPrinter;
class QWidget;

namespace kelvra::ui {

class BrowserView;
class FindBar;
class PageControl;
class PageToolRow;

// What a user does with a page of the four browsers: back and forward, stop, zoom (kept per
// browser in the settings file), find, print and save as PDF. Reached by keys and mouse
// (application-wide, inside the main window and the busy indicator) and by the tool row, which
// shows while a browser page is the active page. Right click and F5 stay with the input filter.
class PageAreaTools : public QObject {
    Q_OBJECT
public:
    // browsers: WebBrowser1..4; their stored zoom is applied at once.
    PageAreaTools(QWidget& window, PageControl& pages, const QList<BrowserView*>& browsers,
                  const AppState& state);
    ~PageAreaTools() override;

    // The browser of the active page; nullptr when the active page holds none.
    BrowserView* ActiveBrowser() const;
    PageToolRow* ToolRow() const { return m_toolRow; }
    FindBar* Bar() const { return m_findBar; }

    void OpenFind();
    void CloseFind();
    void FindAgain(bool backward);
    // Stops every browser that is loading (which takes the busy indicator down); false when none
    // was.
    bool StopLoading();
    // The print dialog with a preview, for the active page.
    void PrintWithDialog();
    // The save dialog, then the PDF of the active page.
    void SavePdfWithDialog();
    // Prints or saves the active page without a dialog; done(ok, reason). A failure is also
    // shown to the user.
    void PrintTo(QPrinter* printer, std::function<void(bool, QString)> done = {});
    void SavePdfTo(const QString& filePath, std::function<void(bool, QString)> done = {});
    // The file suggested for the PDF of a page with this title, in the documents folder.
    static QString SuggestedPdfPath(const QString& title);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int IndexOf(const BrowserView* browser) const; // 0..3, -1 when not one of ours
    BrowserView* BrowserAround(const QObject* target) const;
    bool HandleKey(QObject* watched, QEvent* event);
    bool ConcernsUs(const QObject* target) const;
    void Find(const QString& text, bool backward);
    void ZoomChanged(BrowserView* browser, int percent);
    void Place();
    void Refresh();
    void Finished(const QString& what, bool ok, const QString& reason,
                  const std::function<void(bool, QString)>& done);

    QWidget& m_window;
    PageControl& m_pages;
    QList<QPointer<BrowserView>> m_browsers;
    const AppState& m_state;
    PageToolRow* m_toolRow = nullptr;
    FindBar* m_findBar = nullptr;
    bool m_jobRunning = false;
};

} // namespace kelvra::ui
