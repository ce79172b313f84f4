#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvra {

// Tells a barcode scanner from a person by the rhythm of the keys. A scanner types a code and
// Enter in one burst, every key within a few milliseconds of the last; a person leaves far more
// than kScanGapMs between keys. While a burst may still be a scan its keys are held back from the
// control they were typed into; a burst of at least kScanMinLength characters whose every key,
// Enter included, came less than kScanGapMs after the one before is a scan, and the control gets
// none of it. Anything else is handed on in the order typed, at the latest when the keys pause.
//
// Times are milliseconds on one clock of the caller's choice (the window system's key times).
class ScanDetector {
public:
    static constexpr std::int64_t kScanGapMs = 30;
    static constexpr std::size_t kScanMinLength = 8;

    // What a key is to the detector. A character press has a single typed character and no
    // modifier but Shift; a Modifier is Shift alone (scanners press it for capitals), held with
    // the burst without ending or timing it; an auto-repeated press is Other (a held key is no
    // scanner).
    enum class Key { Character, Enter, Modifier, Other };

    // What the caller does with a key event, after delivering the held events when flushHeld:
    // Deliver it now; Hold it back (after the ones held); Scan: drop the held events and this
    // one, ScannedText() is the code; Drop it (the release of a key of a scan).
    enum class Action { Deliver, Hold, Scan, Drop };
    struct Decision {
        bool flushHeld = false;
        Action action = Action::Deliver;
        bool operator==(const Decision&) const = default;
    };

    // A key press: its kind, its character (UTF-8; for Character) and its time.
    Decision Press(Key key, std::string_view character, std::int64_t timeMs);
    // A key release: held with the presses while they are held; a scan's releases are dropped
    // until the next press.
    Decision Release();
    // The keys paused (the caller's timer ran out after the last held key): true when held
    // events are to be delivered now.
    bool Pause();

    // The code of the last Scan decision.
    const std::string& ScannedText() const { return m_scanned; }
    bool Holding() const { return m_holding; }

private:
    bool m_holding = false;
    bool m_afterScan = false;
    std::string m_held;
    std::size_t m_heldCount = 0;
    std::int64_t m_lastMs = 0;
    std::string m_scanned;
};

} // namespace kelvra
