#include "search/SearchKinds.h"

namespace kelvra {

const std::array<NumberSearch, 5>& NumberSearches() {
    static const std::array<NumberSearch, 5> searches = {{
        {kSearchAny, "suiEdit_group0_3", "Button3", "Any number", "se_3", "err_message_any",
         "search/so_list.asp?chaxuntiaojian=renyi&renyi="},
        {kSearchManufacturer, "suiEdit_group0_2", "Button2", "Manufacturer number", "se_2",
         "err_message_item", "search/so_list.asp?chaxuntiaojian=chansh&chansh="},
        {kSearchOe, "suiEdit_group0_1", "Button1", "OE number", "se_1", "err_message_oe",
         "search/so_list.asp?chaxuntiaojian=OEM&OEM="},
        {kSearchSpecial, "suiEdit_group0_4", "Button4", "Special number", "se_4", "err_message_tsh",
         "search/so_list.asp?chaxuntiaojian=teshu&teshu="},
        {kSearchEan, "suiEdit_group0_5", "Button6", "EAN", "se_5", "err_message_gjbm",
         "search/so_list.asp?chaxuntiaojian=guoji&guoji="},
    }};
    return searches;
}

const std::array<ListSearch, 4>& ListSearches() {
    static const std::array<ListSearch, 4> searches = {{
        {kSearchVehicleType,
         "Button5",
         "Search by vehicle type",
         "Label1",
         "title_1",
         {ListBox::cb_group1_brand, ListBox::cb_group1_category, ListBox::cb_group1_type},
         "search/brand_list_yorx.asp",
         nullptr},
        {kSearchVehicleBrand,
         "Button8",
         "Search by vehicle brand",
         "Label2",
         "title_2",
         {ListBox::cb_group1_brand_all},
         "search/brand_list_kelvra_normal.asp",
         "search/brand_list_kelvra_vip.asp"},
        {kSearchEngineCode,
         "Button7",
         "Search by engine code",
         "Label3",
         "title_3",
         {ListBox::cb_group2_eg, ListBox::engine_code},
         "search/engine_list_yorx.asp",
         nullptr},
        {kSearchEngineBrand,
         "Button9",
         "Search by engine brand",
         "Label4",
         "title_4",
         {ListBox::cb_group2_eg_all},
         "search/engine_list_kelvra_normal.asp",
         "search/engine_list_kelvra_vip.asp"},
    }};
    return searches;
}

const NumberSearch* NumberSearchOf(int kind) {
    return kind >= kSearchAny && kind <= kSearchEan ? &NumberSearches()[kind - kSearchAny]
                                                    : nullptr;
}

const ListSearch* ListSearchOf(int kind) {
    return kind >= kSearchVehicleType && kind <= kSearchEngineBrand
               ? &ListSearches()[kind - kSearchVehicleType]
               : nullptr;
}

} // namespace kelvra
