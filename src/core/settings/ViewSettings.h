#pragma once

#include <string>

#include "settings/IniFile.h"

namespace kelvra {

// The zoom of each browser, in percent, kept in section "View" of the settings file (key
// "WebBrowserN.Zoom"). Nothing is written until the user changes a zoom, so a first run leaves
// the settings file as the program has always written it.
class ViewSettings {
public:
    explicit ViewSettings(const std::string& dataFolder);

    // The stored zoom of browser 1..4; 100 when missing, not a number or out of range.
    int ReadZoomPercent(int browser) const;
    // Stores the zoom of a browser (clamped to the allowed range). Throws SettingsWriteError.
    void WriteZoomPercent(int browser, int percent) const;

private:
    IniFile m_ini;
};

inline constexpr int kMinZoomPercent = 25;
inline constexpr int kMaxZoomPercent = 500;

// The next zoom step above (direction > 0) or below (direction < 0) the given zoom, as browsers
// step it; the zoom itself at either end of the range, 100 for direction 0.
int NextZoomPercent(int percent, int direction);

} // namespace kelvra
