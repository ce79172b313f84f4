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
    auto* once = new QObject(view);
    QObject::connect(view, &QWebEngineView::pdfPrintingFinished, once,
                     [once, done](const QString&, bool ok) {
                         delete once;
                         done(ok);
                     });
    view->printToPdf(filePath, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                           QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

void PrintPage(QWebEngineView* view, QPrinter* printer, std::function<void(bool ok)> done) {
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        // A PDF printer gets the engine's own PDF, with its text and links, in the printer's
        // page layout: printing goes through page pictures otherwise.
        auto* once = new QObject(view);
        QObject::connect(view, &QWebEngineView::pdfPrintingFinished, once,
                         [once, done](const QString&, bool ok) {
                             delete once;
                             done(ok);
                         });
        view->printToPdf(printer->outputFileName(), printer->pageLayout(), printer->pageRanges());
        return;
    }
    auto* once = new QObject(view);
    QObject::connect(view, &QWebEngineView::printFinished, once, [once, done](bool ok) {
        delete once;
        done(ok);
    });
    view->print(printer);
}

} // namespace kelvra::ui
