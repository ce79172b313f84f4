#include "search/SearchPresenter.h"

#include <utility>

#include "search/NumberText.h"
#include "search/SearchKinds.h"
#include "search/SearchUrls.h"
#include "settings/LanguageTables.h"
#include "text/Strings.h"
#include "window/MainPage.h"

namespace kelvra {
namespace {

bool IsNumberKind(int kind) {
    return NumberSearchOf(kind) != nullptr;
}

// Blanks only, as the checks of the panel take it; tabs, line breaks and the wide blanks that a
// paste brings count as blanks too.
bool BlankOnly(const std::string& text) {
    return ReplaceAll(text, " ", "").empty() || OnlyWhiteSpace(text);
}

} // namespace

SearchPresenter::SearchPresenter(AppState& state, SearchView& view,
                                 std::function<bool()> networkOnline)
    : m_state(state), m_view(view), m_networkOnline(std::move(networkOnline)) {}

bool SearchPresenter::ShowsPlaceholder(int kind) const {
    return m_view.FieldText(kind) == m_view.FieldHint(kind);
}

void SearchPresenter::FieldKeyPress(int kind, char key) {
    if (key != 13 || !IsNumberKind(kind)) {
        return;
    }
    const std::string text = m_view.FieldText(kind);
    const bool blanksCount = kind == kSearchAny || kind == kSearchManufacturer;
    if (ShowsPlaceholder(kind) || (blanksCount ? text.empty() : BlankOnly(text))) {
        ShowKindMessage(kind);
        return;
    }
    CleanField(kind);
    m_state.searchKind = kind;
    m_view.NumberSearched(kind, m_view.FieldText(kind)); // remembered as it is searched
    if (m_networkOnline()) {
        m_view.NavigateMain(GetSearchURL(kind, m_view, m_state));
    }
    m_view.ShowPage(kPageResults);
    AfterNumberSearch(kind);
}

void SearchPresenter::NumberButtonClick(int kind) {
    if (!IsNumberKind(kind)) {
        return;
    }
    if (ShowsPlaceholder(kind) || BlankOnly(m_view.FieldText(kind))) {
        m_view.FocusField(kind);
        return;
    }
    if (!m_networkOnline()) {
        return;
    }
    CleanField(kind);
    Search(kind);
    m_view.FocusField(kind); // the next scan or number goes into the field, not the button
    AfterNumberSearch(kind);
}

void SearchPresenter::ScannedNumber(const std::string& text) {
    const int kind = HasEanLength(CleanNumber(text)) ? kSearchEan : kSearchAny;
    m_view.FocusField(kind); // entering the field clears its placeholder
    m_view.SetFieldText(kind, text);
    FieldKeyPress(kind, 13);
}

void SearchPresenter::CleanField(int kind) {
    const std::string text = m_view.FieldText(kind);
    if (OnlyWhiteSpace(text))
        return; // blanks searched by Enter (any and manufacturer number) go as typed
    const std::string clean = CleanNumber(text);
    if (clean != text)
        m_view.SetFieldText(kind, clean);
}

void SearchPresenter::AfterNumberSearch(int kind) {
    m_view.SelectFieldText(kind);
    if (kind == kSearchEan) {
        const std::string number = m_view.FieldText(kind);
        if (CheckEan(number) == EanCheck::WrongCheckDigit)
            m_view.ShowWrongCheckDigit(number);
    }
}

void SearchPresenter::FieldEnter(int kind) {
    if (IsNumberKind(kind) && ShowsPlaceholder(kind)) {
        m_view.SetFieldText(kind, "");
    }
}

void SearchPresenter::FieldExit(int kind) {
    if (IsNumberKind(kind) && BlankOnly(m_view.FieldText(kind))) {
        m_view.SetFieldText(kind, m_view.FieldHint(kind));
    }
}

void SearchPresenter::ListButtonClick(int kind) {
    const ListSearch* search = ListSearchOf(kind);
    if (search == nullptr) {
        return;
    }
    for (const ListBox list : search->lists) {
        if (m_view.Choice(list).id == 0) {
            m_view.FocusList(list);
            return;
        }
    }
    if (!m_networkOnline()) {
        return;
    }
    Search(kind);
}

void SearchPresenter::AfterLogin(const std::string& outcome) {
    if (m_view.MainLocationUrl().empty()) {
        return;
    }
    try {
        if (outcome == "0") {
            if (IsNumberKind(m_state.searchKind) && !ShowsPlaceholder(m_state.searchKind))
                CleanField(m_state.searchKind);
            m_view.NavigateMain(GetSearchURL(m_state.searchKind, m_view, m_state));
        } else {
            m_view.NavigateMain(m_state.pageBaseUrl +
                                (m_state.IsChinese() ? "err.asp" : "err_en.asp"));
        }
    } catch (...) {
        // The replay is best effort: a failure to build or navigate is dropped silently.
    }
}

void SearchPresenter::ShowKindMessage(int kind) {
    const char* key = NumberSearchOf(kind)->messageKey;
    m_view.ShowInfo(m_state.Held(key, BuiltInText("Function", key, false)),
                    m_state.Held("message_tip", "Tip"));
}

void SearchPresenter::Search(int kind) {
    m_state.searchKind = kind;
    if (IsNumberKind(kind)) {
        m_view.NumberSearched(kind, m_view.FieldText(kind));
    }
    m_view.NavigateMain(GetSearchURL(kind, m_view, m_state));
    m_view.ShowPage(kPageResults);
}

} // namespace kelvra
