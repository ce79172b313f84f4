#include "ui/widgets/StatusWidgets.h"

#include <QDateTime>
#include <QLocale>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>

namespace kelvra::ui {

ClockStatus::ClockStatus(QWidget* parent) : QLabel(parent) {
    setObjectName("RzClockStatus1");
    setAccessibleName(tr("Clock"));
    setAlignment(Qt::AlignCenter);
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &ClockStatus::Refresh);
    m_timer->start();
    Refresh();
}

QString ClockStatus::TextFor(const QDateTime& moment) {
    const QLocale locale = QLocale::system();
    // The long time format of some locales ends with the zone name, which does not fit the pane.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*$")));
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(moment.time(), timeFormat);
}

void ClockStatus::Refresh() {
    setText(TextFor(QDateTime::currentDateTime()));
}

UrlLabel::UrlLabel(QWidget* parent) : QLabel(parent) {
    setObjectName("suiURLLabel1");
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(p);
    setFixedWidth(260);
}

void UrlLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

QuotaStatus::QuotaStatus(QWidget* parent) : QLabel(parent) {
    setObjectName("Quota");
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

QString QuotaStatus::TextFor(const QuotaSummary& summary) {
    if (!summary.shown)
        return {};
    QString text = summary.unlimited
                       ? tr("Pages today: %1 (no limit)").arg(summary.used)
                       : tr("Pages today: %1/%2").arg(summary.used).arg(summary.limit);
    if (summary.vip)
        text += tr(" · VIP: %1/%2").arg(summary.usedVip).arg(summary.limitVip);
    return text;
}

void QuotaStatus::Show(const QuotaSummary& summary) {
    if (summary == m_summary && !text().isEmpty() == summary.shown)
        return;
    m_summary = summary;
    const QString text = TextFor(summary);
    setText(text);
    setAccessibleName(text.isEmpty() ? tr("Product pages today") : text);
}

void QuotaStatus::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        const QString text = TextFor(m_summary);
        setText(text);
        setAccessibleName(text.isEmpty() ? tr("Product pages today") : text);
    }
}

ServiceStatus::ServiceStatus(QWidget* parent) : QLabel(parent) {
    setObjectName("ServiceState");
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    hide();
}

void ServiceStatus::SetAnswering(bool answering) {
    m_answering = answering;
    setText(answering ? QString() : tr("Service not answering, retrying"));
    setAccessibleName(text());
    setVisible(!answering);
}

void ServiceStatus::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        SetAnswering(m_answering);
}

StatusHint::StatusHint(QWidget* parent) : QLabel(parent), m_hide(new QTimer(this)) {
    setObjectName("StatusHint");
    setAccessibleName(tr("Hint"));
    setAttribute(Qt::WA_StyledBackground, true);
    m_hide->setSingleShot(true);
    m_hide->setInterval(kShownMs);
    connect(m_hide, &QTimer::timeout, this, &QWidget::hide);
    hide();
}

void StatusHint::ShowFor(const QString& text) {
    setText(text);
    setToolTip(text);
    show();
    raise();
    m_hide->start();
}

} // namespace kelvra::ui
