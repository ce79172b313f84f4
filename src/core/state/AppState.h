#pragma once

#include <map>
#include <set>
#include <string>

#include "state/Session.h"
#include "state/Version.h"

namespace kelvra {

// Process-wide state of the client: created once by the entry, passed by reference to every
// window and presenter that needs it. Nothing here is global.
struct AppState {
    std::string dataFolder;           // holds the settings file and the language folder
    std::string language = "Chinese"; // "Chinese" or anything else (English)
    std::string pageBaseUrl; // ".../kelvra_cd/cn/" or ".../kelvra_cd/en/", set at first show
    std::string xmlBaseUrl;  // ".../kelvra_cd/xml/", set at first show
    std::string serviceRoot; // scheme, host and port of the service, no trailing "/"
    std::map<std::string, std::string> heldTexts; // language texts kept by key name
    std::string baseCaption = std::string("Kelvra(Ver ") + kBuildVersion + ")";
    bool startupDone = false;
    Session session;
    int searchKind = 1;
    std::set<std::string> reportedUnwritable; // files whose write failure was already reported

    bool IsChinese() const { return language == "Chinese"; }
    // A held text by key, or the fallback when the key was never loaded.
    std::string Held(const std::string& key, const std::string& fallback = {}) const {
        auto it = heldTexts.find(key);
        return it == heldTexts.end() ? fallback : it->second;
    }
};

} // namespace kelvra
