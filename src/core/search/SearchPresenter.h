#pragma once

#include <functional>
#include <string>

#include "search/SearchView.h"
#include "state/AppState.h"

namespace kelvra {

// The rules of the number panel and of the vehicle and engine searches: validation, the search
// kind, navigation of the main browser, and the replay of the last search after a login.
class SearchPresenter {
public:
    // `networkOnline` is asked at each handler that would talk to the service.
    SearchPresenter(AppState& state, SearchView& view, std::function<bool()> networkOnline);

    // Key press in the field of a number search kind (1 to 5); only Enter (13) acts.
    // The key is never swallowed. A number that is searched is cleaned first (CleanNumber; the
    // field shows the cleaned text) and left selected, with the focus in its field.
    void FieldKeyPress(int kind, char key);
    // Click of the search button of a number kind (1 to 5); cleans and selects as Enter does,
    // and gives the field the focus.
    void NumberButtonClick(int kind);
    // A barcode scan caught outside the number fields: put into the EAN field when it is 8, 12
    // or 13 digits, else into the any-number field, and searched there as Enter would.
    void ScannedNumber(const std::string& text);
    // Focus enters / leaves the field of a number kind: placeholder handling.
    void FieldEnter(int kind);
    void FieldExit(int kind);
    // Clicks of the list searches: kinds 6 (Button5), 7 (Button8), 8 (Button7), 9 (Button9).
    void ListButtonClick(int kind);
    // Run when the login window closes; outcome "0" means logged in. Errors are dropped.
    void AfterLogin(const std::string& outcome);

    // True when the field shows its placeholder (its text equals its hint exactly).
    bool ShowsPlaceholder(int kind) const;

private:
    void ShowKindMessage(int kind);
    void Search(int kind);
    // Replaces the field's text by its cleaned form; a text of white space only stays.
    void CleanField(int kind);
    // After an accepted number search: the field's text selected, an EAN's check digit checked.
    void AfterNumberSearch(int kind);

    AppState& m_state;
    SearchView& m_view;
    std::function<bool()> m_networkOnline;
};

} // namespace kelvra
