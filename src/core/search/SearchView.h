#pragma once

#include <cstdint>
#include <string>

#include "service/SelectionLists.h"

namespace kelvra {

// The chosen entry of a selection list: its id (0 for the prompt) and the text it shows.
struct ListChoice {
    std::int32_t id = 0;
    std::string text;
};

// What the search panels need of the main window. Number fields are addressed by search kind
// (1 to 5), lists by their ListBox.
class SearchView {
public:
    virtual ~SearchView() = default;
    virtual std::string FieldText(int kind) const = 0;
    virtual std::string FieldHint(int kind) const = 0;
    virtual void SetFieldText(int kind, const std::string& text) = 0;
    // Gives the field the keyboard focus (showing its group of the side panel first).
    virtual void FocusField(int kind) = 0;
    // Selects the whole text of the field, so that the next number typed or scanned replaces it.
    virtual void SelectFieldText(int /*kind*/) {}
    // Tells the user, without a box, that the EAN searched has a check digit that does not fit.
    virtual void ShowWrongCheckDigit(const std::string& /*number*/) {}
    virtual ListChoice Choice(ListBox list) const = 0;
    virtual void FocusList(ListBox list) = 0;
    // A modal information box with one OK button.
    virtual void ShowInfo(const std::string& text, const std::string& caption) = 0;
    // Navigates WebBrowser1.
    virtual void NavigateMain(const std::string& url) = 0;
    // The URL WebBrowser1 holds; empty while it has never been navigated.
    virtual std::string MainLocationUrl() const = 0;
    virtual void ShowPage(int index) = 0;
    // A number search of this kind (1 to 5) was accepted with this text; the window may remember
    // it. Nothing by default.
    virtual void NumberSearched(int /*kind*/, const std::string& /*text*/) {}
};

} // namespace kelvra
