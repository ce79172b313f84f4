#pragma once

#include <functional>
#include <string>

#include "service/XmlDocument.h"
#include "state/AppState.h"

namespace kelvra {

// What the version check needs of the main window.
class VersionCheckView {
public:
    virtual ~VersionCheckView() = default;
    // Modal information box with one OK button; returns when it is acknowledged.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Modal question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // Selects the error page (index 8) of the page area.
    virtual void ShowErrorPage() = 0;
    // Hides the main window and shows the update window.
    virtual void ShowUpdateWindow() = 0;
    // Shows an error that escaped the handler (a settings file that cannot be written).
    virtual void ReportError(const std::string& text) = 0;
};

// The published version read from a get_version.asp reply. `failed`: the request or the reply
// was unreadable (the error page is due); the version is then empty.
struct PublishedVersion {
    bool failed = false;
    std::string version; // empty when none was published
};

// Reads a loaded reply: returnValue "true" (exact), then the now_version of the last `version`
// child of the root. A failed load or a `version` without now_version gives failed = true.
PublishedVersion ReadPublishedVersion(const XmlLoadResult& reply);

// What the comparison of the published with the installed version leads to.
enum class VersionOutcome {
    NoNetwork,    // the network test failed: the "TIP" message, nothing else
    AskUpdate,    // published is higher: ask message_update, Yes opens the update window
    ResetVersion, // published is lower (or none): Version = this build, reset_language = 0
    Nothing,      // equal
};

// The comparison alone (numeric, field by field; an empty published version is lower than any
// non-empty installed one). Never fails.
VersionOutcome DecideVersionOutcome(const std::string& installed, const std::string& published);

// The outside world of the check; every member has a working default (see Defaults()).
struct VersionCheckServices {
    // InternetConnected and NetworkPresent together.
    std::function<bool()> networkOnline;
    // Loads an XML document; the check runs on the window's thread, like every XML request.
    std::function<XmlLoadResult(const std::string& url)> loadXml;
    // The running program may be replaced by this user (its folder is writable). When it may
    // not (a package installed for the whole system), a newer version is not offered: the
    // download could only end in an error. Unset: replaceable.
    std::function<bool()> programReplaceable;

    // The platform's network tests and a libcurl transport of its own.
    static VersionCheckServices Defaults();
};

struct VersionCheckResult {
    VersionOutcome outcome = VersionOutcome::Nothing;
    bool errorPage = false;      // the error page was shown
    std::string published;       // the published version that was compared
    bool updateAccepted = false; // AskUpdate answered Yes
    bool updateBlocked = false;  // AskUpdate, but the program cannot be replaced: not asked
};

// Timer_updateTimer, once per run (the caller's timer is single-shot): network test, fetch of
// XML base + "get_version.asp", comparison with the installed Version of the settings file, and
// the outcome's message, question or settings writes through the view. A settings write failure
// is reported through the view (ReportError) and ends the check.
VersionCheckResult RunVersionCheck(const AppState& state, VersionCheckView& view,
                                   const VersionCheckServices& services);

// The `err_message_notconn` and `message_update` texts: the held text, or the built-in default
// of the current language when the texts were never loaded.
std::string NotConnectedText(const AppState& state);
std::string UpdateQuestionText(const AppState& state);

} // namespace kelvra
