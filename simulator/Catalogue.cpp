#include "Catalogue.h"

#include "Query.h"

#include <cctype>

namespace kelvra::sim {
namespace {

const char* kProductColumns =
    "p.id, p.name_en, p.name_cn, p.maker, p.mfr_no, p.oe_no, p.special_no, p.ean, p.price";

std::vector<Product> Products(Db& db, const std::string& where,
                              const std::vector<std::string>& args) {
    std::vector<Product> products;
    for (const DbRow& r : db.Query(std::string("SELECT DISTINCT ") + kProductColumns +
                                       " FROM products p " + where + " ORDER BY p.id",
                                   args)) {
        products.push_back(
            {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], ParseInt32(r[8]).value_or(0)});
    }
    return products;
}

std::string Normalized(const std::string& number) {
    std::string out;
    for (char c : number) {
        if (c == ' ' || c == '-' || c == '.' || c == '/' || c == '\t') {
            continue;
        }
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

bool Contains(const std::string& number, const std::string& wanted) {
    return Normalized(number).find(wanted) != std::string::npos;
}

std::string One(Db& db, const std::string& sql, int id) {
    auto rows = db.Query(sql, {std::to_string(id)});
    return rows.empty() ? std::string() : rows[0][0];
}

} // namespace

std::vector<Product> FindByNumber(Db& db, NumberField field, const std::string& number) {
    std::string wanted = Normalized(number);
    std::vector<Product> found;
    if (wanted.empty()) {
        return found;
    }
    for (const Product& p : Products(db, "", {})) {
        bool match = false;
        switch (field) {
        case NumberField::Any:
            match = Contains(p.mfrNo, wanted) || Contains(p.oeNo, wanted) ||
                    Contains(p.specialNo, wanted) || Contains(p.ean, wanted);
            break;
        case NumberField::Manufacturer:
            match = Contains(p.mfrNo, wanted);
            break;
        case NumberField::Oe:
            match = Contains(p.oeNo, wanted);
            break;
        case NumberField::Special:
            match = Contains(p.specialNo, wanted);
            break;
        case NumberField::Ean:
            match = Contains(p.ean, wanted);
            break;
        }
        if (match) {
            found.push_back(p);
        }
    }
    return found;
}

std::vector<Product> FindByType(Db& db, int typeId) {
    return Products(db, "JOIN product_types pt ON pt.product_id = p.id WHERE pt.type_id = ?",
                    {std::to_string(typeId)});
}

std::vector<Product> FindByMake(Db& db, int makeId) {
    return Products(db,
                    "JOIN product_types pt ON pt.product_id = p.id "
                    "JOIN types t ON t.id = pt.type_id JOIN models m ON m.id = t.model_id "
                    "WHERE m.make_id = ?",
                    {std::to_string(makeId)});
}

std::vector<Product> FindByEngineCode(Db& db, int engineCodeId) {
    return Products(db,
                    "JOIN product_engines pe ON pe.product_id = p.id WHERE pe.engine_code_id = ?",
                    {std::to_string(engineCodeId)});
}

std::vector<Product> FindByEngineBrand(Db& db, int engineBrandId) {
    return Products(db,
                    "JOIN product_engines pe ON pe.product_id = p.id "
                    "JOIN engine_codes c ON c.id = pe.engine_code_id WHERE c.brand_id = ?",
                    {std::to_string(engineBrandId)});
}

std::optional<Product> FindProduct(Db& db, int id) {
    auto products = Products(db, "WHERE p.id = ?", {std::to_string(id)});
    if (products.empty()) {
        return std::nullopt;
    }
    return products[0];
}

std::string MakeName(Db& db, int makeId, Lang lang) {
    return One(db,
               lang == Lang::Chinese ? "SELECT name_cn || ' ' || name_en FROM makes WHERE id = ?"
                                     : "SELECT name_en FROM makes WHERE id = ?",
               makeId);
}

std::string TypeTitle(Db& db, int typeId, Lang lang) {
    return One(db,
               std::string("SELECT ") +
                   (lang == Lang::Chinese ? "k.name_cn || ' ' || m.name_cn"
                                          : "k.name_en || ' ' || m.name_en") +
                   " || ' ' || t.name || ' (' || t.years || ', ' || t.power || ')' "
                   "FROM types t JOIN models m ON m.id = t.model_id "
                   "JOIN makes k ON k.id = m.make_id WHERE t.id = ?",
               typeId);
}

std::string EngineCodeTitle(Db& db, int engineCodeId, Lang lang) {
    return One(db,
               std::string("SELECT ") + (lang == Lang::Chinese ? "b.name_cn" : "b.name_en") +
                   " || ' ' || c.code || ' ' || c.displacement || ' ' || " +
                   (lang == Lang::Chinese ? "c.fuel_cn" : "c.fuel_en") +
                   " FROM engine_codes c JOIN engine_brands b ON b.id = c.brand_id "
                   "WHERE c.id = ?",
               engineCodeId);
}

std::string EngineBrandName(Db& db, int engineBrandId, Lang lang) {
    return One(db,
               lang == Lang::Chinese
                   ? "SELECT name_cn || ' ' || name_en FROM engine_brands WHERE id = ?"
                   : "SELECT name_en FROM engine_brands WHERE id = ?",
               engineBrandId);
}

std::vector<std::string> VehicleFitments(Db& db, const std::string& productId, Lang lang) {
    std::vector<std::string> lines;
    for (const DbRow& r :
         db.Query("SELECT type_id FROM product_types WHERE product_id = ? ORDER BY type_id",
                  {productId})) {
        lines.push_back(TypeTitle(db, ParseInt32(r[0]).value_or(0), lang));
    }
    return lines;
}

std::vector<std::string> EngineFitments(Db& db, const std::string& productId, Lang lang) {
    std::vector<std::string> lines;
    for (const DbRow& r : db.Query("SELECT engine_code_id FROM product_engines "
                                   "WHERE product_id = ? ORDER BY engine_code_id",
                                   {productId})) {
        lines.push_back(EngineCodeTitle(db, ParseInt32(r[0]).value_or(0), lang));
    }
    return lines;
}

} // namespace kelvra::sim
