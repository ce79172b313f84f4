#include "ui/widgets/SideChannel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVariantAnimation>

namespace kelvra::ui {

SideChannel::SideChannel(QWidget* parent) : QWidget(parent) {
    setObjectName("suiSideChannel1");
    setAccessibleName(tr("Side panel"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_StyledBackground, true);

    m_strip = new QWidget(this);
    m_strip->setObjectName("sideChannelCaption");
    m_strip->setAttribute(Qt::WA_StyledBackground, true);
    auto* strip = new QHBoxLayout(m_strip);
    strip->setContentsMargins(8, 0, 2, 0);
    strip->setSpacing(2);
    m_caption = new QLabel(QStringLiteral("KELVRA"), m_strip);
    m_caption->setObjectName("sideChannelTitle");
    m_pin = new QToolButton(m_strip);
    m_pin->setObjectName("sideChannelPin");
    m_pin->setAccessibleName(tr("Pin side panel"));
    m_pin->setCheckable(true);
    m_pin->setChecked(true);
    m_pin->setAutoRaise(true);
    m_pin->setFixedSize(20, 20);
    m_pin->setFocusPolicy(Qt::NoFocus);
    m_pin->setToolTip(tr("Pin or unpin the side panel"));
    m_pin->setText(QStringLiteral("\u25C2")); // small left-pointing triangle
    strip->addWidget(m_caption, 1);
    strip->addWidget(m_pin);
    connect(m_pin, &QToolButton::toggled, this, &SideChannel::SetPinned);

    m_bar = new QWidget(this);
    m_bar->setObjectName("sideChannelBar");
    m_bar->setAttribute(Qt::WA_StyledBackground, true);
    m_bar->hide();

    m_slide = new QVariantAnimation(this);
    m_slide->setDuration(160);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_slide, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& v) { ApplyWidth(v.toInt()); });
    connect(qApp, &QApplication::focusChanged, this, &SideChannel::FocusChanged);
}

// The focus leaves the channel's children while QWidget's destructor runs, after this class is
// gone: the application's focus signal must not reach it then.
SideChannel::~SideChannel() {
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void SideChannel::SetContent(QWidget* content) {
    m_content = content;
    m_content->setParent(this);
    LayoutChildren();
}

void SideChannel::SetCaption(const QString& caption) {
    m_caption->setText(caption);
}

void SideChannel::SetPinned(bool pinned) {
    if (m_pinned == pinned && m_pin->isChecked() == pinned)
        return;
    m_pinned = pinned;
    m_pin->setChecked(pinned);
    m_pin->setText(pinned ? QStringLiteral("\u25C2") : QStringLiteral("\u25B8"));
    m_slide->stop();
    // Unpinning happens under the mouse: the channel stays out until the mouse leaves.
    ApplyWidth(pinned || underMouse() ? kFullWidth : kCollapsedWidth);
    emit layoutChanged();
}

void SideChannel::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (!m_pinned) {
        raise();
        SlideTo(kFullWidth);
    }
}

void SideChannel::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!m_pinned)
        SlideTo(kCollapsedWidth);
}

void SideChannel::ShowContent() {
    if (m_pinned)
        return;
    raise();
    m_slide->stop();
    ApplyWidth(kFullWidth);
}

void SideChannel::FocusChanged(QWidget* old, QWidget* now) {
    const bool left = old != nullptr && isAncestorOf(old) && (now == nullptr || !isAncestorOf(now));
    if (!m_pinned && left && !underMouse() && m_visibleWidth > kCollapsedWidth)
        SlideTo(kCollapsedWidth);
}

void SideChannel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutChildren();
}

void SideChannel::SlideTo(int width) {
    m_slide->stop();
    m_slide->setStartValue(m_visibleWidth);
    m_slide->setEndValue(width);
    m_slide->start();
}

void SideChannel::ApplyWidth(int width) {
    m_visibleWidth = width;
    resize(width, height());
    LayoutChildren();
}

void SideChannel::LayoutChildren() {
    const bool collapsed = m_visibleWidth <= kCollapsedWidth;
    m_bar->setVisible(collapsed);
    m_strip->setVisible(!collapsed);
    if (m_content)
        m_content->setVisible(!collapsed);
    m_bar->setGeometry(0, 0, kCollapsedWidth, height());
    // The content keeps its full width while sliding, so nothing reflows during the animation.
    m_strip->setGeometry(0, 0, kFullWidth, kCaptionHeight);
    if (m_content)
        m_content->setGeometry(0, kCaptionHeight, kFullWidth, height() - kCaptionHeight);
}

} // namespace kelvra::ui
