#include "ui/app/PagePrinting.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>

#include "ui/app/MessageBoxes.h"
#include "ui/app/PageBrowsers.h"
#include "ui/browser/BrowserView.h"

namespace kelvra::ui {

PagePrinting::PagePrinting(QWidget& window, const PageBrowsers& browsers, QObject* parent)
    : QObject(parent), m_window(window), m_browsers(browsers) {}

QString PagePrinting::SuggestedPdfPath(const QString& title) {
    QString name = title.simplified();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")),
                 QStringLiteral("_"));
    name = name.left(100).trimmed();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("Kelvra");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

void PagePrinting::Started() {
    m_running = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    emit runningChanged(true);
}

void PagePrinting::Finished(const QString& what, bool ok, const QString& reason,
                            const std::function<void(bool, QString)>& done) {
    m_running = false;
    QApplication::restoreOverrideCursor();
    emit runningChanged(false);
    Answer(what, ok, reason, done);
}

void PagePrinting::Answer(const QString& what, bool ok, const QString& reason,
                          const std::function<void(bool, QString)>& done) {
    if (!ok)
        ShowInformation(&m_window, what, reason);
    if (done)
        done(ok, reason);
}

void PagePrinting::SavePdfTo(const QString& filePath, std::function<void(bool, QString)> done) {
    BrowserView* browser = m_browsers.Active();
    const QString what = tr("Save as PDF");
    if (!browser || m_running) {
        // Refused before it starts: a job that runs goes on as it is.
        Answer(what, false,
               browser ? tr("The page is still being printed.") : tr("There is no page to save."),
               done);
        return;
    }
    Started();
    browser->PrintToPdf(filePath, [this, what, done](bool ok, QString reason) {
        Finished(what, ok, reason, done);
    });
}

void PagePrinting::PrintTo(QPrinter* printer, std::function<void(bool, QString)> done) {
    BrowserView* browser = m_browsers.Active();
    const QString what = tr("Print");
    if (!browser || m_running) {
        Answer(what, false,
               browser ? tr("The page is still being printed.") : tr("There is no page to print."),
               done);
        return;
    }
    Started();
    browser->Print(
        printer, [this, what, done](bool ok, QString reason) { Finished(what, ok, reason, done); });
}

void PagePrinting::SavePdfWithDialog() {
    BrowserView* browser = m_browsers.Active();
    if (!browser || m_running)
        return;
    const QString path =
        QFileDialog::getSaveFileName(&m_window, tr("Save the page as PDF"),
                                     SuggestedPdfPath(browser->Title()), tr("PDF files (*.pdf)"));
    if (!path.isEmpty())
        SavePdfTo(path);
}

void PagePrinting::PrintWithDialog() {
    if (!m_browsers.Active() || m_running)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, &m_window);
    preview.setWindowTitle(tr("Print the page"));
    // The preview paints synchronously; the engine prints asynchronously: wait for it here.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        QEventLoop loop;
        PrintTo(target, [&loop](bool, QString) { loop.quit(); });
        if (m_running)
            loop.exec();
    });
    preview.exec();
}

} // namespace kelvra::ui
