#include "search/SearchUrls.h"

#include "url/Endpoints.h"

namespace kelvra {
namespace {

std::string Identity(const AppState& state) {
    const Session& s = state.session;
    return "&Gid=" + EncodeQueryValue(s.gid) + "&Mac=" + EncodeQueryValue(s.s_mac) +
           "&IP=" + EncodeQueryValue(s.s_ip);
}

std::string Id(const ListChoice& c) {
    return std::to_string(c.id);
}
std::string Text(const ListChoice& c) {
    return EncodeQueryValue(c.text);
}

// The brand parameters shared by kinds 7 to 9, from t_search_brand to t_search_name, after the
// given separator ('?' when they open the query, '&' otherwise).
std::string BrandParameters(char separator, const ListChoice& brand) {
    return separator + std::string("t_search_brand=") + Id(brand) +
           "&t_search_brand_Name=" + Text(brand) + "&t_bra_id=" + Id(brand) +
           "&t_bra_name=" + Text(brand) + "&t_search_name=" + Text(brand);
}

} // namespace

std::string GetSearchURL(int kind, const SearchView& view, const AppState& state) {
    if (const NumberSearch* search = NumberSearchOf(kind)) {
        return state.pageBaseUrl + search->urlPrefix + EncodeQueryValue(view.FieldText(kind)) +
               "&f_mode=jqcz" + Identity(state);
    }
    const ListSearch* search = ListSearchOf(kind);
    if (search == nullptr) {
        return {};
    }
    // The block's first list holds the brand, its last the chosen detail (the brand again when
    // the block has one list).
    const ListChoice brand = view.Choice(search->lists.front());
    const ListChoice detail = view.Choice(search->lists.back());
    const bool vipPage = search->vipPage != nullptr && state.session.admin != "1";
    const std::string page = state.pageBaseUrl + (vipPage ? search->vipPage : search->page);
    switch (kind) {
    case kSearchVehicleType:
        return page + "?typ_id=" + Id(detail) + "&t_search_brand=" + Id(brand) +
               "&t_search_brand_Name=" + Text(brand) + "&t_selected=" + Id(detail) +
               "&t_bra_id=" + Id(brand) + "&t_bra_name=" + Text(brand) +
               "&t_search_name=" + Text(brand) + Identity(state);
    case kSearchVehicleBrand:
        return page + BrandParameters('?', brand) + "&t_selected=0" + Identity(state);
    default: // the engine searches
        return page + "?typ_id=" + Id(detail) + BrandParameters('&', brand) + "&t_selected=0" +
               Identity(state);
    }
}

} // namespace kelvra
