#pragma once

#include <cstdint>
#include <string>

#include "service/SelectionLists.h"

namespace kelvra {

// What the list logic needs of the main window's drop-down lists and page area. None of these
// calls may raise a change event: only a choice made by the user does.
class ListsView {
public:
    virtual ~ListsView() = default;
    // Empties the list and adds the prompt entry (id 0) as its only entry.
    virtual void ClearToPrompt(ListBox list, const std::string& prompt) = 0;
    // Appends an entry with its id as the entry's data.
    virtual void AddEntry(ListBox list, const std::string& text, std::int32_t id) = 0;
    // Selects an entry by index; an index out of range selects nothing.
    virtual void SetItemIndex(ListBox list, int index) = 0;
    // The selected index, -1 when nothing is selected.
    virtual int ItemIndex(ListBox list) const = 0;
    // How many entries the list holds, its prompt included.
    virtual int EntryCount(ListBox list) const = 0;
    // The id of the selected entry; 0 when nothing is selected.
    virtual std::int32_t ChosenId(ListBox list) const = 0;
    // Shows the error page (index 8 of the main page area).
    virtual void ShowErrorPage() = 0;
};

} // namespace kelvra
