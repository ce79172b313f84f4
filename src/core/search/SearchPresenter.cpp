#include "search/SearchPresenter.h"

#include <utility>

#include "app/Strings.h"
#include "search/SearchKinds.h"
#include "search/SearchUrls.h"
#include "settings/LanguageTables.h"

namespace kelvra {
namespace {

bool IsNumberKind(int kind) {
    return NumberSearchOf(kind) != nullptr;
}

bool BlankOnly(const std::string& text) {
    return ReplaceAll(text, " ", "").empty();
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
    m_state.searchKind = kind;
    m_view.NumberSearched(kind, text);
    if (m_networkOnline()) {
        m_view.NavigateMain(GetSearchURL(kind, m_view, m_state));
    }
    m_view.ShowPage(0);
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
    Search(kind);
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
    m_view.ShowPage(0);
}

} // namespace kelvra
