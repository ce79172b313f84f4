#include "search/SearchUrls.h"

#include "service/Endpoints.h"

namespace kelvra {
namespace {

struct NumberSearch {
    const char* field;
    const char* prefix;
};

// Indexed by kind - 1, in panel order of the kinds.
constexpr NumberSearch kNumberSearches[] = {
    {"suiEdit_group0_3", "search/so_list.asp?chaxuntiaojian=renyi&renyi="},
    {"suiEdit_group0_2", "search/so_list.asp?chaxuntiaojian=chansh&chansh="},
    {"suiEdit_group0_1", "search/so_list.asp?chaxuntiaojian=OEM&OEM="},
    {"suiEdit_group0_4", "search/so_list.asp?chaxuntiaojian=teshu&teshu="},
    {"suiEdit_group0_5", "search/so_list.asp?chaxuntiaojian=guoji&guoji="},
};

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

// The brand parameters shared by kinds 6 to 9, from t_search_brand to t_search_name.
std::string BrandParameters(const ListChoice& brand) {
    return "&t_search_brand=" + Id(brand) + "&t_search_brand_Name=" + Text(brand) +
           "&t_bra_id=" + Id(brand) + "&t_bra_name=" + Text(brand) +
           "&t_search_name=" + Text(brand);
}

} // namespace

const char* FieldNameForKind(int kind) {
    if (kind < kSearchAny || kind > kSearchEan) {
        return "";
    }
    return kNumberSearches[kind - 1].field;
}

std::string GetSearchURL(int kind, const SearchView& view, const AppState& state) {
    const std::string& base = state.pageBaseUrl;
    const bool ordinary = state.session.admin == "1";
    if (kind >= kSearchAny && kind <= kSearchEan) {
        return base + kNumberSearches[kind - 1].prefix + EncodeQueryValue(view.FieldText(kind)) +
               "&f_mode=jqcz" + Identity(state);
    }
    switch (kind) {
    case kSearchVehicleType: {
        const ListChoice type = view.Choice("cb_group1_type");
        const ListChoice brand = view.Choice("cb_group1_brand");
        return base + "search/brand_list_yorx.asp" + "?typ_id=" + Id(type) +
               "&t_search_brand=" + Id(brand) + "&t_search_brand_Name=" + Text(brand) +
               "&t_selected=" + Id(type) + "&t_bra_id=" + Id(brand) + "&t_bra_name=" + Text(brand) +
               "&t_search_name=" + Text(brand) + Identity(state);
    }
    case kSearchVehicleBrand: {
        const ListChoice brand = view.Choice("cb_group1_brand_all");
        std::string page =
            ordinary ? "search/brand_list_kelvra_normal.asp" : "search/brand_list_kelvra_vip.asp";
        std::string params = BrandParameters(brand);
        params[0] = '?';
        return base + page + params + "&t_selected=0" + Identity(state);
    }
    case kSearchEngineCode: {
        const ListChoice code = view.Choice("engine_code");
        const ListChoice brand = view.Choice("cb_group2_eg");
        return base + "search/engine_list_yorx.asp" + "?typ_id=" + Id(code) +
               BrandParameters(brand) + "&t_selected=0" + Identity(state);
    }
    case kSearchEngineBrand: {
        const ListChoice brand = view.Choice("cb_group2_eg_all");
        std::string page =
            ordinary ? "search/engine_list_kelvra_normal.asp" : "search/engine_list_kelvra_vip.asp";
        return base + page + "?typ_id=" + Id(brand) + BrandParameters(brand) + "&t_selected=0" +
               Identity(state);
    }
    default:
        return {};
    }
}

} // namespace kelvra
