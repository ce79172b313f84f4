#include "ui/browser/engine/PageTools.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace kelvra::ui {

void FindInPage(QWebEngineView* view, const QString& text, bool backward,
                std::function<void(int active, int total)> done) {
    QWebEnginePage::FindFlags flags;
    if (backward)
        flags |= QWebEnginePage::FindBackward;
    view->page()->findText(text, flags, [done](const QWebEngineFindTextResult& result) {
        if (done)
            done(result.activeMatch(), result.numberOfMatches());
    });
}

void PrintPageToPdf(QWebEngineView* view, const QString& filePath,
                    std::function<void(bool ok)> done) {
    // The connection goes with the first report, so a later job does not call this caller back.
    QObject::connect(
        view, &QWebEngineView::pdfPrintingFinished, view,
        [done](const QString&, bool ok) { done(ok); }, Qt::SingleShotConnection);
    view->printToPdf(filePath, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

void PrintPage(QWebEngineView* view, QPrinter* printer, std::function<void(bool ok)> done) {
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        // A PDF printer gets the engine's own PDF, with its text and links, in the printer's
        // page layout: printing goes through page pictures otherwise.
        QObject::connect(
            view, &QWebEngineView::pdfPrintingFinished, view,
            [done](const QString&, bool ok) { done(ok); }, Qt::SingleShotConnection);
        view->printToPdf(printer->outputFileName(), printer->pageLayout(), printer->pageRanges());
        return;
    }
    QObject::connect(
        view, &QWebEngineView::printFinished, view, [done](bool ok) { done(ok); },
        Qt::SingleShotConnection);
    view->print(printer);
}

} // namespace kelvra::ui
