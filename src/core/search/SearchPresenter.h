#pragma once

#include <functional>
#include <string>

#include "app/AppState.h"
#include "search/SearchView.h"

namespace kelvra {

// The rules of the number panel and of the vehicle and engine searches: validation, the search
// kind, navigation of the main browser, and the replay of the last search after a login.
class SearchPresenter {
public:
    // `networkOnline` is asked at each handler that would talk to the service.
    SearchPresenter(AppState& state, SearchView& view, std::function<bool()> networkOnline);

    // Key press in the field of a number search kind (1 to 5); only Enter (13) acts.
    // The key is never swallowed.
    void FieldKeyPress(int kind, char key);
    // Click of the search button of a number kind (1 to 5).
    void NumberButtonClick(int kind);
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

    AppState& m_state;
    SearchView& m_view;
    std::function<bool()> m_networkOnline;
};

} // namespace kelvra
