#include "ui/widgets/PageToolRow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QToolButton>

namespace kelvra::ui {

PageToolRow::PageToolRow(QWidget* parent) : QFrame(parent) {
    setObjectName("PageTools");
    setAttribute(Qt::WA_StyledBackground, true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 2, 3, 2);
    row->setSpacing(2);
    const char* names[] = {"ToolBack",   "ToolForward", "ToolZoomOut", "ToolZoomReset",
                           "ToolZoomIn", "ToolFind",    "ToolPrint",   "ToolSavePdf"};
    for (int i = 0; i < 8; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(names[i]);
        button->setProperty("pageTool", true);
        button->setFocusPolicy(Qt::NoFocus); // the page keeps the focus; keys do the same
        row->addWidget(button);
        m_buttons.append(button);
        connect(button, &QToolButton::clicked, this,
                [this, i] { emit triggered(static_cast<Tool>(i)); });
    }
    PutTexts();
}

QToolButton* PageToolRow::Button(Tool tool) const {
    return m_buttons.value(static_cast<int>(tool));
}

void PageToolRow::ShowState(bool canGoBack, bool canGoForward, int zoomPercent) {
    Button(Tool::Back)->setEnabled(canGoBack);
    Button(Tool::Forward)->setEnabled(canGoForward);
    if (zoomPercent != m_zoom) {
        m_zoom = zoomPercent;
        PutTexts();
    }
}

void PageToolRow::PutTexts() {
    struct Text {
        Tool tool;
        QString caption;
        QString tip;
    };
    const Text texts[] = {
        {Tool::Back, QStringLiteral("\u25C0"), tr("Back (Alt+Left)")},
        {Tool::Forward, QStringLiteral("\u25B6"), tr("Forward (Alt+Right)")},
        {Tool::ZoomOut, QStringLiteral("\u2212"), tr("Zoom out (Ctrl+-)")},
        {Tool::ZoomReset, QStringLiteral("%1%").arg(m_zoom), tr("Actual size (Ctrl+0)")},
        {Tool::ZoomIn, QStringLiteral("+"), tr("Zoom in (Ctrl++)")},
        {Tool::Find, tr("Find"), tr("Find in page (Ctrl+F)")},
        {Tool::Print, tr("Print"), tr("Print the page (Ctrl+P)")},
        {Tool::SavePdf, tr("PDF"), tr("Save the page as PDF (Ctrl+Shift+S)")},
    };
    for (const Text& text : texts) {
        QToolButton* button = Button(text.tool);
        button->setText(text.caption);
        button->setToolTip(text.tip);
        button->setAccessibleName(text.tip);
    }
}

void PageToolRow::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        PutTexts();
}

} // namespace kelvra::ui
