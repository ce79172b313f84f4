#pragma once

#include <string>

#include "search/SearchKinds.h"
#include "search/SearchView.h"
#include "state/AppState.h"

namespace kelvra {

// The URL of a search of the given kind from the controls as they are now and the session of the
// state; no check of placeholder, emptiness, choice or network. Every inserted value is
// percent-encoded. Any kind outside 1..9 gives an empty text.
std::string GetSearchURL(int kind, const SearchView& view, const AppState& state);

} // namespace kelvra
