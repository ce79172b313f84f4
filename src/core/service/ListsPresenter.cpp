#include "service/ListsPresenter.h"

#include <utility>

namespace kelvra {
namespace {

struct ListInfo {
    const char* promptKey;
    const char* promptDefault;
    ListFormat format;
};

const ListInfo& InfoFor(ListBox list) {
    static const ListInfo kBrand{"rcb_1", "Select Make", {"brand", "brand_id", "brand_name"}};
    static const ListInfo kCategory{
        "rcb_2", "Select Model", {"category", "category_id", "category_name"}};
    static const ListInfo kType{"rcb_3", "Select Detail", {"type", "type_id", "type_name"}};
    static const ListInfo kEngine{
        "rcb_4", "Select Engine Brand", {"engine", "engine_id", "engine_name"}};
    static const ListInfo kEngineCode{
        "rcb_5", "Select Engine Model", {"engine", "engine_id", "engine_name"}};
    switch (list) {
    case ListBox::cb_group1_brand:
    case ListBox::cb_group1_brand_all:
        return kBrand;
    case ListBox::cb_group1_category:
        return kCategory;
    case ListBox::cb_group1_type:
        return kType;
    case ListBox::cb_group2_eg:
    case ListBox::cb_group2_eg_all:
        return kEngine;
    case ListBox::engine_code:
        return kEngineCode;
    }
    return kBrand;
}

} // namespace

const ListFormat& ListFormatFor(ListBox list) {
    return InfoFor(list).format;
}

ListsPresenter::ListsPresenter(AppState& state, HttpTransport& transport, ListsView& view,
                               std::function<bool()> networkOnline, HttpRequestOptions options)
    : m_state(state), m_transport(transport), m_view(view),
      m_networkOnline(std::move(networkOnline)), m_options(std::move(options)) {}

std::string ListsPresenter::PromptFor(ListBox list) const {
    const ListInfo& info = InfoFor(list);
    return m_state.Held(info.promptKey, info.promptDefault);
}

bool ListsPresenter::Online() const {
    return m_networkOnline && m_networkOnline();
}

void ListsPresenter::ClearToPrompt(ListBox list) {
    m_view.ClearToPrompt(list, PromptFor(list));
}

bool ListsPresenter::Load(ListBox list, const std::string& servicePath) {
    ListLoadResult result =
        LoadList(m_transport, m_state.xmlBaseUrl + servicePath, ListFormatFor(list), m_options);
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
        Load(ListBox::cb_group1_brand, "get_brand.asp");
    }
    ClearToPrompt(ListBox::cb_group1_brand_all);
    if (online) {
        Load(ListBox::cb_group1_brand_all, "get_brand_kelvra.asp");
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
    if (online && Load(ListBox::cb_group2_eg, "get_engine_brand_yorx.asp")) {
        Load(ListBox::cb_group2_eg_all, "get_engine_brand_kelvra.asp");
    }
    m_view.SetItemIndex(ListBox::cb_group2_eg, 0);
    m_view.SetItemIndex(ListBox::engine_code, 0);
    m_view.SetItemIndex(ListBox::cb_group2_eg_all, 0);
}

void ListsPresenter::RefillEmptyLists() {
    if (m_state.xmlBaseUrl.empty() || !Online()) {
        return;
    }
    auto refill = [this](ListBox list, const char* servicePath) {
        if (m_view.EntryCount(list) > 1) {
            return true;
        }
        ClearToPrompt(list);
        const bool loaded = Load(list, servicePath);
        m_view.SetItemIndex(list, 0);
        return loaded;
    };
    refill(ListBox::cb_group1_brand, "get_brand.asp");
    refill(ListBox::cb_group1_brand_all, "get_brand_kelvra.asp");
    if (refill(ListBox::cb_group2_eg, "get_engine_brand_yorx.asp")) {
        refill(ListBox::cb_group2_eg_all, "get_engine_brand_kelvra.asp");
    }
}

void ListsPresenter::cb_group1_brandChange() {
    ClearToPrompt(ListBox::cb_group1_category);
    ClearToPrompt(ListBox::cb_group1_type);
    if (Online()) {
        Load(ListBox::cb_group1_category,
             "get_category.asp?mfa_id=" +
                 std::to_string(m_view.ChosenId(ListBox::cb_group1_brand)));
    }
    m_view.SetItemIndex(ListBox::cb_group1_category, 0);
    m_view.SetItemIndex(ListBox::cb_group1_type, 0);
}

void ListsPresenter::cb_group1_categoryChange() {
    ClearToPrompt(ListBox::cb_group1_type);
    if (Online()) {
        Load(ListBox::cb_group1_type,
             "get_type.asp?mod_id=" + std::to_string(m_view.ChosenId(ListBox::cb_group1_category)));
    }
    m_view.SetItemIndex(ListBox::cb_group1_type, 0);
}

void ListsPresenter::cb_group2_egChange() {
    ClearToPrompt(ListBox::engine_code);
    if (Online()) {
        Load(ListBox::engine_code,
             "get_enginecode.asp?eng_id=" + std::to_string(m_view.ChosenId(ListBox::cb_group2_eg)));
    }
    m_view.SetItemIndex(ListBox::engine_code, 0);
}

} // namespace kelvra
