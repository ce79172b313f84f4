#include "ui/browser/BusyInputPanels.h"

#include <algorithm>

namespace kelvra::ui {

void BusyInputPanels::Keep(QWidget* window, const QList<QWidget*>& panels) {
    m_window = window;
    m_panels.clear();
    for (QWidget* panel : panels)
        m_panels.append(panel);
}

bool BusyInputPanels::Governs(const QWidget* window) const {
    return window != nullptr && window == m_window && !m_panels.isEmpty();
}

void BusyInputPanels::SetEnabled(bool enabled) {
    if (enabled) {
        for (const QPointer<QWidget>& part : m_disabled) {
            if (part)
                part->setEnabled(true);
        }
        m_disabled.clear();
    } else if (m_window && m_disabled.isEmpty()) {
        DisableAround(m_window);
    }
}

void BusyInputPanels::DisableAround(QWidget* widget) {
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || m_panels.contains(child))
            continue; // windows of their own are the indicator's business; kept panels stay
        const bool holdsPanel =
            std::any_of(m_panels.begin(), m_panels.end(), [child](const QPointer<QWidget>& panel) {
                return panel && child->isAncestorOf(panel);
            });
        if (holdsPanel) {
            DisableAround(child);
        } else if (!child->testAttribute(Qt::WA_ForceDisabled)) {
            child->setEnabled(false);
            m_disabled.append(child);
        }
    }
}

} // namespace kelvra::ui
