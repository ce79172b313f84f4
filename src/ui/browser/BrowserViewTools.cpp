// The page-area tools of a browser view: history, stop, zoom, find, print and PDF.

#include <algorithm>

#include "settings/ViewSettings.h"
#include "ui/browser/BrowserView.h"

namespace kelvra::ui {

QString BrowserView::Title() const {
    return m_engine ? m_engine->Title() : QString();
}

void BrowserView::GoBack() {
    if (m_engine && m_engine->CanGoBack())
        m_engine->Back();
}

void BrowserView::GoForward() {
    if (m_engine && m_engine->CanGoForward())
        m_engine->Forward();
}

bool BrowserView::CanGoBack() const {
    return m_engine && m_engine->CanGoBack();
}

bool BrowserView::CanGoForward() const {
    return m_engine && m_engine->CanGoForward();
}

bool BrowserView::StopLoading() {
    if (!IsLoading())
        return false;
    m_engine->Stop();
    return true;
}

void BrowserView::SetZoomPercent(int percent) {
    m_zoomPercent = std::clamp(percent, kMinZoomPercent, kMaxZoomPercent);
    if (m_engine)
        m_engine->SetZoomFactor(m_zoomPercent / 100.0);
}

void BrowserView::ZoomStep(int direction) {
    const int next = NextZoomPercent(m_zoomPercent, direction);
    if (next == m_zoomPercent)
        return;
    SetZoomPercent(next);
    emit zoomChanged(m_zoomPercent);
}

void BrowserView::Find(const QString& text, bool backward, std::function<void(int, int)> done) {
    if (!m_engine) {
        done(0, 0);
        return;
    }
    m_engine->Find(text, backward, std::move(done));
}

void BrowserView::PrintToPdf(const QString& filePath, std::function<void(bool, QString)> done) {
    if (!m_engine || LocationURL().isEmpty()) {
        done(false, tr("There is no page to save."));
        return;
    }
    if (m_printing) {
        done(false, tr("The page is still being printed."));
        return;
    }
    m_printing = true;
    m_engine->PrintToPdf(filePath, [this, done, filePath](bool ok) {
        m_printing = false;
        done(ok, ok ? QString() : tr("The file %1 could not be written.").arg(filePath));
    });
}

void BrowserView::Print(QPrinter* printer, std::function<void(bool, QString)> done) {
    if (!m_engine || LocationURL().isEmpty()) {
        done(false, tr("There is no page to print."));
        return;
    }
    if (m_printing) {
        done(false, tr("The page is still being printed."));
        return;
    }
    m_printing = true;
    m_engine->Print(printer, [this, done](bool ok) {
        m_printing = false;
        done(ok, ok ? QString() : tr("The printer did not take the page."));
    });
}

} // namespace kelvra::ui
