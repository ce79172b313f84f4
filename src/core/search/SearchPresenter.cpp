#include "search/SearchPresenter.h"

#include <utility>

#include "app/Strings.h"
#include "search/SearchUrls.h"

namespace kelvra {
namespace {

// Message key and built-in English text of each number kind (1 to 5).
struct KindMessage {
    const char* key;
    const char* fallback;
};
constexpr KindMessage kMessages[] = {
    {"err_message_any", "Input Any Number"}, {"err_message_item", "Input Manufacturer Number"},
    {"err_message_oe", "Input OE Number"},   {"err_message_tsh", "Input Special Number"},
    {"err_message_gjbm", "Input EAN"},
};

// Lists checked by each list search, in order (kinds 6 to 9).
const std::vector<const char*>& ListsOfKind(int kind) {
    static const std::vector<const char*> kVehicleType = {"cb_group1_brand", "cb_group1_category",
                                                          "cb_group1_type"};
    static const std::vector<const char*> kVehicleBrand = {"cb_group1_brand_all"};
    static const std::vector<const char*> kEngineCode = {"cb_group2_eg", "engine_code"};
    static const std::vector<const char*> kEngineBrand = {"cb_group2_eg_all"};
    static const std::vector<const char*> kNone;
    switch (kind) {
    case kSearchVehicleType:
        return kVehicleType;
    case kSearchVehicleBrand:
        return kVehicleBrand;
    case kSearchEngineCode:
        return kEngineCode;
    case kSearchEngineBrand:
        return kEngineBrand;
    default:
        return kNone;
    }
}

bool IsNumberKind(int kind) {
    return kind >= kSearchAny && kind <= kSearchEan;
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
    const auto& lists = ListsOfKind(kind);
    if (lists.empty()) {
        return;
    }
    for (const char* list : lists) {
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
    const KindMessage& m = kMessages[kind - 1];
    m_view.ShowInfo(m_state.Held(m.key, m.fallback), m_state.Held("message_tip", "Tip"));
}

void SearchPresenter::Search(int kind) {
    m_state.searchKind = kind;
    m_view.NavigateMain(GetSearchURL(kind, m_view, m_state));
    m_view.ShowPage(0);
}

} // namespace kelvra
