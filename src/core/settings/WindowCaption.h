#pragma once

#include <string>

#include "state/AppState.h"

namespace kelvra {

// The caption rule over the given texts: base caption + four blanks + welcome text + "," + user
// name while someone is logged in, else base caption + four blanks + not-logged-in text.
std::string CaptionWith(const AppState& state, const std::string& welcome,
                        const std::string& notLoggedIn);

// Window caption by the caption rule with the held texts ("login", "no_login"), or the built-in
// ones of the run's language where they were never loaded.
std::string CaptionFor(const AppState& state);

} // namespace kelvra
