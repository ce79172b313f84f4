#include "service/SelectionLists.h"

namespace kelvra {

const std::array<SelectionList, kListBoxCount>& SelectionLists() {
    static const std::array<SelectionList, kListBoxCount> lists = {{
        {ListBox::cb_group1_brand,
         "cb_group1_brand",
         "Make",
         "rcb_1",
         "get_brand.asp",
         std::nullopt,
         {"brand", "brand_id", "brand_name"}},
        {ListBox::cb_group1_category,
         "cb_group1_category",
         "Model",
         "rcb_2",
         "get_category.asp?mfa_id=",
         ListBox::cb_group1_brand,
         {"category", "category_id", "category_name"}},
        {ListBox::cb_group1_type,
         "cb_group1_type",
         "Vehicle type",
         "rcb_3",
         "get_type.asp?mod_id=",
         ListBox::cb_group1_category,
         {"type", "type_id", "type_name"}},
        {ListBox::cb_group1_brand_all,
         "cb_group1_brand_all",
         "All makes",
         "rcb_1",
         "get_brand_kelvra.asp",
         std::nullopt,
         {"brand", "brand_id", "brand_name"}},
        {ListBox::cb_group2_eg,
         "cb_group2_eg",
         "Engine brand",
         "rcb_4",
         "get_engine_brand_yorx.asp",
         std::nullopt,
         {"engine", "engine_id", "engine_name"}},
        {ListBox::engine_code,
         "engine_code",
         "Engine code",
         "rcb_5",
         "get_enginecode.asp?eng_id=",
         ListBox::cb_group2_eg,
         {"engine", "engine_id", "engine_name"}},
        {ListBox::cb_group2_eg_all,
         "cb_group2_eg_all",
         "All engine brands",
         "rcb_4",
         "get_engine_brand_kelvra.asp",
         std::nullopt,
         {"engine", "engine_id", "engine_name"}},
    }};
    return lists;
}

const SelectionList& ListOf(ListBox box) {
    return SelectionLists()[static_cast<std::size_t>(box)];
}

} // namespace kelvra
