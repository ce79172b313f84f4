// The seven list services under the XML base. Vehicle lists (makes, models, types) are UTF-8;
// the engine lists (engine brands, engine codes) are GB2312, as the old service sent them.
#include "Areas.h"
#include "ListShapes.h"
#include "Query.h"
#include "Reply.h"

#include <iterator>

namespace kelvra::sim {
namespace {

const ListShape kShapes[] = {
    {"get_brand.asp", "brand", "brand_id", "brand_name", false},
    {"get_brand_kelvra.asp", "brand", "brand_id", "brand_name", false},
    {"get_category.asp", "category", "category_id", "category_name", false},
    {"get_type.asp", "type", "type_id", "type_name", false},
    {"get_engine_brand_yorx.asp", "engine", "engine_id", "engine_name", true},
    {"get_engine_brand_kelvra.asp", "engine", "engine_id", "engine_name", true},
    {"get_enginecode.asp", "engine", "engine_id", "engine_name", true},
};

const char* kXmlBase = "/kelvra_cd/xml/";

// Rows of (id, name) for a list service; an id query value that is missing or no integer
// matches nothing, so the list is empty (still a positive reply, as the old service did).
std::vector<DbRow> ListRows(Db& db, const std::string& service, const Query& query) {
    if (service == "get_brand.asp") {
        return db.Query("SELECT id, name_en || ' ' || name_cn FROM makes "
                        "WHERE id IN (SELECT make_id FROM models) ORDER BY name_en");
    }
    if (service == "get_brand_kelvra.asp") {
        return db.Query("SELECT id, name_en || ' ' || name_cn FROM makes ORDER BY name_en");
    }
    if (service == "get_category.asp") {
        auto make = query.Int("mfa_id");
        return db.Query("SELECT id, name_en || ' ' || name_cn FROM models WHERE make_id = ? "
                        "ORDER BY id",
                        {make ? std::to_string(*make) : "none"});
    }
    if (service == "get_type.asp") {
        auto model = query.Int("mod_id");
        return db.Query("SELECT id, name || ' (' || years || ', ' || power || ')' FROM types "
                        "WHERE model_id = ? ORDER BY id",
                        {model ? std::to_string(*model) : "none"});
    }
    if (service == "get_engine_brand_yorx.asp") {
        return db.Query("SELECT id, name_cn || ' ' || name_en FROM engine_brands "
                        "WHERE id IN (SELECT brand_id FROM engine_codes) ORDER BY id");
    }
    if (service == "get_engine_brand_kelvra.asp") {
        return db.Query("SELECT id, name_cn || ' ' || name_en FROM engine_brands ORDER BY id");
    }
    auto brand = query.Int("eng_id");
    return db.Query("SELECT id, code || ' ' || displacement || ' ' || fuel_cn FROM engine_codes "
                    "WHERE brand_id = ? ORDER BY id",
                    {brand ? std::to_string(*brand) : "none"});
}

} // namespace

const ListShape* FindListShape(const std::string& pathOrName) {
    std::string name = pathOrName;
    if (name.rfind(kXmlBase, 0) == 0) {
        name = name.substr(std::char_traits<char>::length(kXmlBase));
    }
    for (const ListShape& shape : kShapes) {
        if (name == shape.service) {
            return &shape;
        }
    }
    return nullptr;
}

void RegisterListServices(Router& routes, Context& context) {
    for (const ListShape& shape : kShapes) {
        routes.Add(std::string(kXmlBase) + shape.service,
                   [&context, &shape](const httplib::Request& req, httplib::Response& res) {
                       Query query = Query::FromTarget(req.target, true);
                       XmlBuilder doc("root");
                       doc.ReturnValue("true");
                       for (const DbRow& row : ListRows(context.Database(), shape.service, query)) {
                           doc.Element(shape.element, {{shape.idAttribute, row[0]},
                                                       {shape.nameAttribute, row[1]}});
                       }
                       SendXml(res, doc, shape.gb2312);
                   });
    }
}

} // namespace kelvra::sim
