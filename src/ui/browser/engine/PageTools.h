#pragma once

#include <functional>

class QPrinter;
class QString;
class QWebEngineView;

namespace kelvra::ui {

// The page-area tools done with the engine's own means: find, PDF and print. Each reports its
// end through done exactly once; one job at a time (the browser view sees to it).
void FindInPage(QWebEngineView* view, const QString& text, bool backward,
                std::function<void(int active, int total)> done);
void PrintPageToPdf(QWebEngineView* view, const QString& filePath,
                    std::function<void(bool ok)> done);
void PrintPage(QWebEngineView* view, QPrinter* printer, std::function<void(bool ok)> done);

} // namespace kelvra::ui
