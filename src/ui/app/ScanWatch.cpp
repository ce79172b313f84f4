#include "ui/app/ScanWatch.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace kelvra::ui {
namespace {

using Key = ScanDetector::Key;

// What a key press is to the detector.
Key KindOf(const QKeyEvent& key) {
    if (key.isAutoRepeat())
        return Key::Other;
    const Qt::KeyboardModifiers extra =
        key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (extra != Qt::NoModifier)
        return Key::Other;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        return Key::Enter;
    if (key.key() == Qt::Key_Shift)
        return Key::Modifier;
    const QString text = key.text();
    const bool one = text.size() == 1 || (text.size() == 2 && text[0].isHighSurrogate());
    return one && text[0].isPrint() ? Key::Character : Key::Other;
}

bool IsTextEntry(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

} // namespace

ScanWatch::ScanWatch(QWidget* window, const QList<QWidget*>& areas,
                     std::function<void(const std::string&)> scanned, QObject* parent)
    : QObject(parent), m_window(window), m_scanned(std::move(scanned)) {
    for (QWidget* area : areas)
        m_areas.append(area);
    m_clock.start();
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, [this] {
        if (m_detector.Pause())
            DeliverHeld();
    });
    if (m_window)
        m_window->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { FocusChanged(now); });
    FocusChanged(QApplication::focusWidget());
}

ScanWatch::~ScanWatch() {
    if (m_watched)
        m_watched->removeEventFilter(this);
    if (m_window)
        m_window->removeEventFilter(this);
}

bool ScanWatch::Watches(const QWidget* focus) const {
    if (focus == nullptr || IsTextEntry(focus))
        return false;
    for (const QPointer<QWidget>& area : m_areas) {
        if (area && (area == focus || area->isAncestorOf(focus)))
            return true;
    }
    return false;
}

void ScanWatch::FocusChanged(QWidget* now) {
    // Keys held for the control that had the focus are its keys: they go to it before anything
    // typed into the next one.
    if (m_detector.Pause())
        DeliverHeld();
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = Watches(now) ? now : nullptr;
    if (m_watched)
        m_watched->installEventFilter(this);
}

ScanDetector::Decision ScanWatch::Decide(const QKeyEvent& key) {
    if (key.type() == QEvent::KeyRelease)
        return m_detector.Release();
    // The window system's time of the key; events made by the program itself carry none.
    const std::int64_t time =
        key.timestamp() != 0 ? std::int64_t(key.timestamp()) : m_clock.elapsed();
    return m_detector.Press(KindOf(key), key.text().toStdString(), time);
}

bool ScanWatch::eventFilter(QObject* watched, QEvent* event) {
    if (m_delivering || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    if (watched == m_window) {
        // Only keys that reach the window itself because no control has the focus; the ones a
        // control passed on to its parents were seen at that control.
        const QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && focus != m_window)
            return false;
    } else if (watched != m_watched) {
        return false;
    }
    const ScanDetector::Decision decision = Decide(*static_cast<QKeyEvent*>(event));
    if (decision.flushHeld)
        DeliverHeld();
    switch (decision.action) {
    case ScanDetector::Action::Deliver:
        return false;
    case ScanDetector::Action::Hold:
        if (!m_detector.Holding())
            return false; // a held key moved the focus on its way: this one follows it now
        m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
        m_pause.start();
        return true;
    case ScanDetector::Action::Scan:
        m_held.clear();
        m_pause.stop();
        if (m_scanned)
            m_scanned(m_detector.ScannedText());
        return true;
    case ScanDetector::Action::Drop:
        return true;
    }
    return false;
}

void ScanWatch::DeliverHeld() {
    m_pause.stop();
    std::vector<HeldEvent> held;
    held.swap(m_held);
    const bool delivering = m_delivering;
    m_delivering = true;
    for (HeldEvent& h : held) {
        if (h.receiver)
            QCoreApplication::sendEvent(h.receiver, h.event.get());
    }
    m_delivering = delivering;
}

} // namespace kelvra::ui
