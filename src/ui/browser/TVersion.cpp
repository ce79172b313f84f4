#include "ui/browser/TVersion.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>
#include <QWindow>

namespace kelvra::ui {
namespace {

constexpr int kFrameMs = 40; // 25 frames a second; one sweep takes kCycle frames

WindowHandle HandleOf(const QWidget* widget) {
    return reinterpret_cast<WindowHandle>(widget);
}

} // namespace

BusyBar::BusyBar(QWidget* parent) : QWidget(parent), m_frames(new QTimer(this)) {
    setObjectName("fcImager1");
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    m_frames->setInterval(kFrameMs);
    connect(m_frames, &QTimer::timeout, this, [this] {
        m_phase = (m_phase + 1) % kCycle;
        update();
    });
}

void BusyBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF track = rect();
    p.fillRect(track, QColor(0x0b, 0x53, 0x94));
    // The band is half the bar wide and enters from beyond the left edge, so that the sweep
    // starts and ends with the track alone.
    const double band = track.width() / 2;
    const double left = -band + (track.width() + band) * m_phase / (kCycle - 1);
    QLinearGradient glow(left, 0, left + band, 0);
    glow.setColorAt(0.0, QColor(0x1c, 0x7e, 0xd6, 0));
    glow.setColorAt(0.5, QColor(0x8f, 0xd3, 0xff));
    glow.setColorAt(1.0, QColor(0x1c, 0x7e, 0xd6, 0));
    p.fillRect(QRectF(left, 0, band, track.height()), glow);
    p.setPen(QColor(0x06, 0x33, 0x5e));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void BusyBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_frames->start();
}

void BusyBar::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_frames->stop();
}

TVersion::TVersion(QWidget* mainWindow, QWidget* sideChannel, const QList<QWidget*>& inputPanels,
                   QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_main(mainWindow), m_side(sideChannel), m_busy(*this) {
    if (mainWindow)
        m_inputPanels.Keep(mainWindow, inputPanels);
    setObjectName("Version");
    setWindowTitle(QStringLiteral("Version"));
    setAccessibleName(tr("Loading"));
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setFixedSize(kWidth, kHeight);
    m_bar = new BusyBar(this);
    m_bar->setGeometry(0, 0, kWidth, kHeight);
    m_watchdog = new QTimer(this);
    m_watchdog->setObjectName("busyWatchdog");
    m_watchdog->setSingleShot(true);
    connect(m_watchdog, &QTimer::timeout, this, [this] { m_busy.WatchdogExpired(); });
}

TVersion::~TVersion() {
    // Never leave the program's windows disabled behind a destroyed indicator.
    m_busy.HideBusy();
}

std::vector<TopLevelWindow> TVersion::TopLevelWindows() const {
    std::vector<TopLevelWindow> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isWindow())
            windows.push_back({HandleOf(widget), widget->isVisible(), widget->isEnabled()});
    }
    return windows;
}

WindowHandle TVersion::IndicatorHandle() const {
    return HandleOf(this);
}

void TVersion::SetWindowEnabled(WindowHandle window, bool enabled) {
    // The handle is only compared, never followed, until it is found among the living windows.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (HandleOf(widget) == window) {
            if (m_inputPanels.Governs(widget))
                m_inputPanels.SetEnabled(enabled);
            else
                widget->setEnabled(enabled);
            return;
        }
    }
}

MainWindowFrame TVersion::MainFrame() const {
    if (!m_main)
        return {};
    const QRect outer = m_main->frameGeometry();
    return {outer.x(), outer.y(), outer.width(), outer.height(), m_side ? m_side->width() : 0};
}

void TVersion::ShowIndicatorAt(int left, int top, int width, int height) {
    // A tool window stays above the window it belongs to, and only above that one.
    if (m_main && m_main->window()->windowHandle()) {
        winId(); // makes the native window, so that it can be given its owner
        windowHandle()->setTransientParent(m_main->window()->windowHandle());
    }
    setFixedSize(width, height);
    m_bar->setGeometry(0, 0, width, height);
    move(left, top);
    show();
    raise();
}

void TVersion::HideIndicator() {
    hide();
}

void TVersion::StartWatchdog(int milliseconds) {
    m_watchdog->start(milliseconds);
}

void TVersion::StopWatchdog() {
    m_watchdog->stop();
}

void TVersion::RememberFocus() {
    m_focus = QApplication::focusWidget();
}

void TVersion::RestoreFocus() {
    QWidget* focus = m_focus;
    m_focus = nullptr;
    if (!focus || !focus->isVisible() || !focus->isEnabled())
        return;
    // The panels that kept taking input may have the focus the user gave them meanwhile.
    const QWidget* now = QApplication::focusWidget();
    if (now != nullptr && now != focus && now->isEnabled())
        return;
    // Some window systems activate the indicator when it shows, or nothing once the windows
    // were disabled; the window that had the focus gets it back then, never when the user has
    // gone on to another program meanwhile.
    QWidget* active = QApplication::activeWindow();
    if (active == this || active == nullptr)
        focus->window()->activateWindow();
    focus->setFocus(Qt::OtherFocusReason);
}
} // namespace kelvra::ui
