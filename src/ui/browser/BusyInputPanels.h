#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace kelvra::ui {

// Disables a window as the busy indicator does, but for some panels of it that keep taking
// input (the search panel: a number typed or scanned while a page loads is never lost).
class BusyInputPanels {
public:
    // The panels of `window` that stay enabled; none: the whole window is disabled.
    void Keep(QWidget* window, const QList<QWidget*>& panels);
    // True when `window` is the one whose panels are kept.
    bool Governs(const QWidget* window) const;
    // Disables every part of the window that neither is nor holds a kept panel (parts already
    // disabled are left alone); enabled: enables again what the last call disabled.
    void SetEnabled(bool enabled);

private:
    void DisableAround(QWidget* widget);

    QPointer<QWidget> m_window;
    QList<QPointer<QWidget>> m_panels;
    QList<QPointer<QWidget>> m_disabled;
};

} // namespace kelvra::ui
