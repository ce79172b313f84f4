#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "service/ListLoader.h"

namespace kelvra {

// The seven selection lists of the side panel, by their control names.
enum class ListBox {
    cb_group1_brand,
    cb_group1_category,
    cb_group1_type,
    cb_group1_brand_all,
    cb_group2_eg,
    engine_code,
    cb_group2_eg_all,
};
inline constexpr std::size_t kListBoxCount = 7;

// Everything the program knows of one selection list; the one place where a list is described.
struct SelectionList {
    ListBox box;
    const char* controlName;    // object name of its drop-down list
    const char* accessibleName; // what assistive technology announces
    const char* promptKey;      // "Function" key of the language files: the prompt entry (id 0)
    // The list service, below the XML base URL. For a cascaded list the path ends with the query
    // parameter that takes the id chosen in its parent list.
    const char* servicePath;
    std::optional<ListBox> parent; // the list whose choice fills this one; none for a top list
    ListFormat format;             // entry element and attributes of the service's documents
};

// Every list, in the order of the enum.
const std::array<SelectionList, kListBoxCount>& SelectionLists();
// The description of one list.
const SelectionList& ListOf(ListBox box);

} // namespace kelvra
