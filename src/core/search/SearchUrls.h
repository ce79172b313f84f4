#pragma once

#include <string>

#include "app/AppState.h"
#include "search/SearchView.h"

namespace kelvra {

// Number search kinds 1 to 5 and list search kinds 6 to 9.
enum SearchKindValue {
    kSearchAny = 1,
    kSearchManufacturer = 2,
    kSearchOe = 3,
    kSearchSpecial = 4,
    kSearchEan = 5,
    kSearchVehicleType = 6,
    kSearchVehicleBrand = 7,
    kSearchEngineCode = 8,
    kSearchEngineBrand = 9,
};

// Object name of the field of a number search kind (1 to 5); empty for any other kind.
const char* FieldNameForKind(int kind);

// The URL of a search of the given kind from the controls as they are now and the session of the
// state; no check of placeholder, emptiness, choice or network. Every inserted value is
// percent-encoded. Any kind outside 1..9 gives an empty text.
std::string GetSearchURL(int kind, const SearchView& view, const AppState& state);

} // namespace kelvra
