#pragma once

#include <string>

namespace kelvra {

// What applying a language needs of the main window. Controls are addressed by their object
// name ("RzGroup1", "Button5", "Label6", "suiURLLabel1", "suiEdit_group0_1", ...).
class LanguageView {
public:
    virtual ~LanguageView() = default;
    // Sets the caption or text of a named control; an unknown name is ignored.
    virtual void SetControlText(const std::string& controlName, const std::string& text) = 0;
    // Sets the hint (tool tip) of a named control; an unknown name is ignored.
    virtual void SetControlHint(const std::string& controlName, const std::string& hint) = 0;
    virtual void SetWindowCaption(const std::string& caption) = 0;
    // Side-menu items by group number (4 or 5) and item index (0-based); out of range is ignored.
    virtual void SetSideItemCaption(int group, int index, const std::string& caption) = 0;
    virtual void SetSideItemImage(int group, int index, int imageIndex) = 0;
    virtual void SetSideItemSelected(int group, int index, bool selected) = 0;
    // Shows a page of RzPageControl1 by index; outside 0..8 leaves no page selected.
    virtual void ShowPage(int index) = 0;
    // Rebuilds the seven vehicle and engine lists from the service (GetComboxList).
    virtual void RefillLists() = 0;
    // Makes the translations of the texts beyond the language files follow the language, before
    // any text is put on a control; the default does nothing.
    virtual void MakeTranslationsCurrent(bool chinese) {}
};

} // namespace kelvra
