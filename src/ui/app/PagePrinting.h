#pragma once

#include <functional>

#include <QObject>

class QPrinter;
class QWidget;

namespace kelvra::ui {

class PageBrowsers;

// Printing and saving as PDF the page of the active browser, one job at a time. A failure is
// shown to the user in a message box over the window.
class PagePrinting : public QObject {
    Q_OBJECT
public:
    PagePrinting(QWidget& window, const PageBrowsers& browsers, QObject* parent = nullptr);

    // A print or PDF job is running (the print and PDF tools are off meanwhile).
    bool Running() const { return m_running; }
    // The print dialog with a preview, for the active page; nothing without a page or while a
    // job runs.
    void PrintWithDialog();
    // The save dialog, then the PDF of the active page; nothing without a page or while a job
    // runs.
    void SavePdfWithDialog();
    // Prints or saves the active page without a dialog; done(ok, reason). Without a page, while
    // a job runs or when the engine fails: done(false, reason) and the reason in a message box.
    void PrintTo(QPrinter* printer, std::function<void(bool, QString)> done = {});
    void SavePdfTo(const QString& filePath, std::function<void(bool, QString)> done = {});
    // The file suggested for the PDF of a page with this title, in the documents folder.
    static QString SuggestedPdfPath(const QString& title);

signals:
    // A job started or ended.
    void runningChanged(bool running);

private:
    void Started();
    // The end of a job that started.
    void Finished(const QString& what, bool ok, const QString& reason,
                  const std::function<void(bool, QString)>& done);
    // done(ok, reason), and a failure shown to the user.
    void Answer(const QString& what, bool ok, const QString& reason,
                const std::function<void(bool, QString)>& done);

    QWidget& m_window;
    const PageBrowsers& m_browsers;
    bool m_running = false;
};

} // namespace kelvra::ui
