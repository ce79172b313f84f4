#pragma once

#include <QFrame>

class QToolButton;

namespace kelvra::ui {

// The compact row of page tools over the top right corner of a browser page ("PageTools"):
// back, forward, zoom out, zoom level (click: 100 %), zoom in, find, print, save as PDF.
class PageToolRow : public QFrame {
    Q_OBJECT
public:
    enum class Tool { Back, Forward, ZoomOut, ZoomReset, ZoomIn, Find, Print, SavePdf };

    explicit PageToolRow(QWidget* parent = nullptr);
    // Enables back and forward and shows the zoom of the active browser.
    void ShowState(bool canGoBack, bool canGoForward, int zoomPercent);
    QToolButton* Button(Tool tool) const;

signals:
    void triggered(PageToolRow::Tool tool);

protected:
    void changeEvent(QEvent* event) override;

private:
    void PutTexts();

    QList<QToolButton*> m_buttons; // in the order of Tool
    int m_zoom = 100;
};

} // namespace kelvra::ui
