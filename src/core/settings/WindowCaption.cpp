#include "settings/WindowCaption.h"

#include "settings/LanguageTables.h"

namespace kelvra {

std::string CaptionWith(const AppState& state, const std::string& welcome,
                        const std::string& notLoggedIn) {
    if (state.session.LoggedIn()) {
        return state.baseCaption + "    " + welcome + "," + state.session.username;
    }
    return state.baseCaption + "    " + notLoggedIn;
}

std::string CaptionFor(const AppState& state) {
    const bool chinese = state.IsChinese();
    return CaptionWith(state, state.Held("login", BuiltInText("Title", "login", chinese)),
                       state.Held("no_login", BuiltInText("Title", "no_login", chinese)));
}

} // namespace kelvra
