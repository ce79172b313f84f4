#include "settings/ViewSettings.h"

#include <algorithm>
#include <array>

#include "settings/DataPaths.h"

namespace kelvra {
namespace {

constexpr const char* kSection = "View";
constexpr std::array<int, 17> kSteps{25,  33,  50,  67,  75,  80,  90,  100, 110,
                                     125, 150, 175, 200, 250, 300, 400, 500};

std::string ZoomKey(int browser) {
    return "WebBrowser" + std::to_string(browser) + ".Zoom";
}

} // namespace

ViewSettings::ViewSettings(const std::string& dataFolder) : m_ini(SettingsFilePath(dataFolder)) {}

int ViewSettings::ReadZoomPercent(int browser) const {
    const int percent = m_ini.ReadInteger(kSection, ZoomKey(browser), 100);
    return percent >= kMinZoomPercent && percent <= kMaxZoomPercent ? percent : 100;
}

void ViewSettings::WriteZoomPercent(int browser, int percent) const {
    const int kept = std::clamp(percent, kMinZoomPercent, kMaxZoomPercent);
    m_ini.WriteString(kSection, ZoomKey(browser), std::to_string(kept));
}

int NextZoomPercent(int percent, int direction) {
    if (direction == 0)
        return 100;
    if (direction > 0) {
        auto next = std::upper_bound(kSteps.begin(), kSteps.end(), percent);
        return next == kSteps.end() ? std::min(percent, kMaxZoomPercent) : *next;
    }
    auto below = std::lower_bound(kSteps.begin(), kSteps.end(), percent);
    return below == kSteps.begin() ? std::max(percent, kMinZoomPercent) : *(below - 1);
}

} // namespace kelvra
