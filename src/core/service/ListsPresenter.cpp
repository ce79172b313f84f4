#include "service/ListsPresenter.h"

#include <utility>

#include "settings/LanguageTables.h"

namespace kelvra {
ListsPresenter::ListsPresenter(AppState& state, HttpTransport& transport, ListsView& view,
                               std::function<bool()> networkOnline, HttpRequestOptions options)
    : m_state(state), m_transport(transport), m_view(view),
      m_networkOnline(std::move(networkOnline)), m_options(std::move(options)) {}

std::string ListsPresenter::PromptFor(ListBox list) const {
    const char* key = ListOf(list).promptKey;
    return m_state.Held(key, BuiltInText("Function", key, false));
}

bool ListsPresenter::Online() const {
    return m_networkOnline && m_networkOnline();
}

void ListsPresenter::ClearToPrompt(ListBox list) {
    m_view.ClearToPrompt(list, PromptFor(list));
}

bool ListsPresenter::Load(ListBox list) {
    const SelectionList& described = ListOf(list);
    std::string url = m_state.xmlBaseUrl + described.servicePath;
    if (described.parent) {
        url += std::to_string(m_view.ChosenId(*described.parent));
    }
    ListLoadResult result = LoadList(m_transport, url, described.format, m_options);
    for (const ListEntry& entry : result.entries) {
        m_view.AddEntry(list, entry.text, entry.id);
    }
    if (result.failed()) {
        m_view.ShowErrorPage();
        return false;
    }
    return true;
}

void ListsPresenter::GetComboxList() {
    const bool online = Online();
    ClearToPrompt(ListBox::cb_group1_brand);
    if (online) {
        Load(ListBox::cb_group1_brand);
    }
    ClearToPrompt(ListBox::cb_group1_brand_all);
    if (online) {
        Load(ListBox::cb_group1_brand_all);
    }
    m_view.SetItemIndex(ListBox::cb_group1_brand, 0);
    m_view.SetItemIndex(ListBox::cb_group1_brand_all, 0);

    ClearToPrompt(ListBox::cb_group1_category);
    m_view.SetItemIndex(ListBox::cb_group1_category, 0);
    ClearToPrompt(ListBox::cb_group1_type);
    m_view.SetItemIndex(ListBox::cb_group1_type, 0);

    ClearToPrompt(ListBox::cb_group2_eg);
    ClearToPrompt(ListBox::engine_code);
    ClearToPrompt(ListBox::cb_group2_eg_all);
    if (online && Load(ListBox::cb_group2_eg)) {
        Load(ListBox::cb_group2_eg_all);
    }
    m_view.SetItemIndex(ListBox::cb_group2_eg, 0);
    m_view.SetItemIndex(ListBox::engine_code, 0);
    m_view.SetItemIndex(ListBox::cb_group2_eg_all, 0);
}

void ListsPresenter::RefillEmptyLists() {
    if (m_state.xmlBaseUrl.empty() || !Online()) {
        return;
    }
    auto refill = [this](ListBox list) {
        if (m_view.EntryCount(list) > 1) {
            return true;
        }
        ClearToPrompt(list);
        const bool loaded = Load(list);
        m_view.SetItemIndex(list, 0);
        return loaded;
    };
    refill(ListBox::cb_group1_brand);
    refill(ListBox::cb_group1_brand_all);
    if (refill(ListBox::cb_group2_eg)) {
        refill(ListBox::cb_group2_eg_all);
    }
}

void ListsPresenter::cb_group1_brandChange() {
    ClearToPrompt(ListBox::cb_group1_category);
    ClearToPrompt(ListBox::cb_group1_type);
    if (Online()) {
        Load(ListBox::cb_group1_category);
    }
    m_view.SetItemIndex(ListBox::cb_group1_category, 0);
    m_view.SetItemIndex(ListBox::cb_group1_type, 0);
}

void ListsPresenter::cb_group1_categoryChange() {
    ClearToPrompt(ListBox::cb_group1_type);
    if (Online()) {
        Load(ListBox::cb_group1_type);
    }
    m_view.SetItemIndex(ListBox::cb_group1_type, 0);
}

void ListsPresenter::cb_group2_egChange() {
    ClearToPrompt(ListBox::engine_code);
    if (Online()) {
        Load(ListBox::engine_code);
    }
    m_view.SetItemIndex(ListBox::engine_code, 0);
}

} // namespace kelvra
