#include "ui/app/Automation.h"

#include <QtGlobal>

namespace kelvra::ui {
namespace {

bool IsOn(const char* name) {
    return qEnvironmentVariable(name) == QLatin1String("1");
}

int PositiveNumber(const char* name) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : 0;
}

} // namespace

Automation Automation::FromEnvironment() {
    Automation seams;
    seams.messageLog = qEnvironmentVariable("KELVRA_AUTOMATION_LOG");
    seams.acceptMessages = IsOn("KELVRA_AUTOMATION_ACCEPT");
    seams.acceptUpdate = seams.acceptMessages && IsOn("KELVRA_AUTOMATION_ACCEPT_UPDATE");
    seams.screenshot = qEnvironmentVariable("KELVRA_SCREENSHOT");
    seams.exitAfterShow = IsOn("KELVRA_EXIT_AFTER_SHOW");
    seams.startPage = qEnvironmentVariable("KELVRA_START_PAGE");
    seams.versionCheckMs = PositiveNumber("KELVRA_VERSION_CHECK_MS");
    seams.updateWaitMs = PositiveNumber("KELVRA_UPDATE_WAIT_MS");
    return seams;
}

} // namespace kelvra::ui
