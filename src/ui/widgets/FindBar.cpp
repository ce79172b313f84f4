#include "ui/widgets/FindBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace kelvra::ui {
namespace {

QToolButton* BarButton(const char* name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setProperty("pageTool", true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

FindBar::FindBar(QWidget* parent) : QFrame(parent) {
    setObjectName("FindBar");
    setAttribute(Qt::WA_StyledBackground, true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(4);
    m_field = new QLineEdit(this);
    m_field->setObjectName("FindText");
    m_field->setClearButtonEnabled(true);
    m_field->setFixedWidth(200);
    m_field->installEventFilter(this);
    m_previous = BarButton("FindPrevious", this);
    m_previous->setText(QStringLiteral("\u25B2"));
    m_next = BarButton("FindNext", this);
    m_next->setText(QStringLiteral("\u25BC"));
    m_count = new QLabel(this);
    m_count->setObjectName("FindCount");
    m_count->setMinimumWidth(140); // "n of m" and "No matches" in either language, no jumping
    m_close = BarButton("FindClose", this);
    m_close->setText(QStringLiteral("\u2715"));
    row->addWidget(m_field);
    row->addWidget(m_previous);
    row->addWidget(m_next);
    row->addWidget(m_count);
    row->addStretch(1);
    row->addWidget(m_close);

    connect(m_field, &QLineEdit::textEdited, this,
            [this](const QString& text) { emit findRequested(text, false); });
    connect(m_field, &QLineEdit::returnPressed, this,
            [this] { emit findRequested(m_field->text(), false); });
    connect(m_next, &QToolButton::clicked, this,
            [this] { emit findRequested(m_field->text(), false); });
    connect(m_previous, &QToolButton::clicked, this,
            [this] { emit findRequested(m_field->text(), true); });
    connect(m_close, &QToolButton::clicked, this, &FindBar::closeRequested);
    PutTexts();
    hide();
}

QString FindBar::Text() const {
    return m_field->text();
}

void FindBar::Open() {
    show();
    raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

void FindBar::ShowCount(int active, int total) {
    m_active = m_field->text().isEmpty() ? -1 : active;
    m_total = total;
    PutTexts();
}

void FindBar::PutTexts() {
    m_field->setPlaceholderText(tr("Find in page"));
    m_field->setAccessibleName(tr("Find in page"));
    m_previous->setToolTip(tr("Previous match (Shift+F3)"));
    m_previous->setAccessibleName(tr("Previous match"));
    m_next->setToolTip(tr("Next match (F3)"));
    m_next->setAccessibleName(tr("Next match"));
    m_close->setToolTip(tr("Close the find bar (Esc)"));
    m_close->setAccessibleName(tr("Close the find bar"));
    if (m_active < 0)
        m_count->clear();
    else if (m_total == 0)
        m_count->setText(tr("No matches"));
    else
        m_count->setText(tr("%1 of %2").arg(m_active).arg(m_total));
}

void FindBar::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        PutTexts();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    // Shift+Enter in the field finds backwards. Esc is a key of the page area: it stops a page
    // that loads, else closes the bar.
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & Qt::ShiftModifier)) {
            emit findRequested(m_field->text(), true);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace kelvra::ui
