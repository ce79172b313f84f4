#include "search/ScanDetector.h"

namespace kelvra {

ScanDetector::Decision ScanDetector::Press(Key key, std::string_view character,
                                           std::int64_t timeMs) {
    m_afterScan = false;
    if (key == Key::Modifier) {
        // Held with the burst it may start or belong to; it does not time the burst.
        if (!m_holding) {
            m_holding = true;
            m_held.clear();
            m_heldCount = 0;
            m_lastMs = timeMs;
        }
        return {false, Action::Hold};
    }
    const bool quick = m_holding && timeMs - m_lastMs >= 0 && timeMs - m_lastMs < kScanGapMs;
    const bool wasHolding = m_holding;
    if (key == Key::Character) {
        if (!quick) {
            // A pause before this key: what was held was typed by a person; this key may start
            // a scan.
            m_held.clear();
            m_heldCount = 0;
        }
        m_held += character;
        ++m_heldCount;
        m_holding = true;
        m_lastMs = timeMs;
        return {wasHolding && !quick, Action::Hold};
    }
    m_holding = false;
    if (key == Key::Enter && quick && m_heldCount >= kScanMinLength) {
        m_scanned = m_held;
        m_held.clear();
        m_heldCount = 0;
        m_afterScan = true;
        return {false, Action::Scan};
    }
    m_held.clear();
    m_heldCount = 0;
    return {wasHolding, Action::Deliver};
}

ScanDetector::Decision ScanDetector::Release() {
    if (m_holding)
        return {false, Action::Hold};
    return {false, m_afterScan ? Action::Drop : Action::Deliver};
}

bool ScanDetector::Pause() {
    if (!m_holding)
        return false;
    m_holding = false;
    m_held.clear();
    m_heldCount = 0;
    return true;
}

} // namespace kelvra
