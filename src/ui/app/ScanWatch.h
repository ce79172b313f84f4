#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "search/ScanDetector.h"

class QEvent;
class QKeyEvent;
class QWidget;

namespace kelvra::ui {

// Catches barcode scans typed while the keyboard focus is in one of the areas (result pages,
// lists, side panel; text fields excepted) or nowhere in the window. The keys go through a
// ScanDetector: a scan is taken from the control it was typed into and handed to `scanned`;
// every other key reaches its control in the order typed, the last of a person's keys after a
// short pause. It watches the window and the focused control only (no application-wide filter).
class ScanWatch : public QObject {
    Q_OBJECT
public:
    // Watches from now on; window and areas may be destroyed before the watch.
    ScanWatch(QWidget* window, const QList<QWidget*>& areas,
              std::function<void(const std::string&)> scanned, QObject* parent = nullptr);
    ~ScanWatch() override;

    // How long after a held key with no key following the held keys go to their control.
    static constexpr int kPauseMs = 100;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when keys typed into this focused widget are watched.
    bool Watches(const QWidget* focus) const;
    void FocusChanged(QWidget* now);
    ScanDetector::Decision Decide(const QKeyEvent& key);
    // Hands the held key events to their controls, in order.
    void DeliverHeld();

    struct HeldEvent {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    QPointer<QWidget> m_window;
    QList<QPointer<QWidget>> m_areas;
    QPointer<QWidget> m_watched; // the focused control carrying this filter
    std::function<void(const std::string&)> m_scanned;
    ScanDetector m_detector;
    std::vector<HeldEvent> m_held;
    QTimer m_pause;
    QElapsedTimer m_clock;
    bool m_delivering = false;
};

} // namespace kelvra::ui
