#pragma once

#include <array>
#include <vector>

#include "service/SelectionLists.h"

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

// A search by a typed number: its field and button on the side panel, its texts and its page.
struct NumberSearch {
    int kind;
    const char* field;          // object name of the field
    const char* button;         // object name of its search button
    const char* accessibleName; // what the field is, for assistive technology
    const char* hintKey;        // "Function" key of the field's text and hint
    const char* messageKey;     // "Function" key of the message for a field left empty
    const char* urlPrefix;      // the search page and query, up to the encoded number
};

// A search by the choices of selection lists: its block of lists on the side panel.
struct ListSearch {
    int kind;
    const char* button;         // object name of its search button
    const char* accessibleName; // what the button does, for assistive technology
    const char* titleLabel;     // object name of the block's title
    const char* titleKey;       // "Function" key of that title
    std::vector<ListBox> lists; // the block's lists, top to bottom: checked in this order
    const char* page;           // the result page, below the page base URL
    const char* vipPage;        // the result page for VIP accounts; nullptr: the same page
};

// Kinds 1 to 5 in order (also their order on the panel, top to bottom).
const std::array<NumberSearch, 5>& NumberSearches();
// Kinds 6 to 9 in order (also the order of their blocks on the panels).
const std::array<ListSearch, 4>& ListSearches();
// The number search of a kind; nullptr for any other kind.
const NumberSearch* NumberSearchOf(int kind);
// The list search of a kind; nullptr for any other kind.
const ListSearch* ListSearchOf(int kind);

} // namespace kelvra
