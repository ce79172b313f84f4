#pragma once

#include "Db.h"
#include "Page.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvra::sim {

struct Product {
    std::string id;
    std::string nameEn;
    std::string nameCn;
    std::string maker;
    std::string mfrNo;
    std::string oeNo;
    std::string specialNo;
    std::string ean;
    int price = 0;
};

// Which number of a product a number search compares.
enum class NumberField { Any, Manufacturer, Oe, Special, Ean };

// Products whose number contains the searched number, both compared without blanks, dashes,
// dots and slashes and without letter case; an empty number finds nothing.
std::vector<Product> FindByNumber(Db& db, NumberField field, const std::string& number);
std::vector<Product> FindByType(Db& db, int typeId);
std::vector<Product> FindByMake(Db& db, int makeId);
std::vector<Product> FindByEngineCode(Db& db, int engineCodeId);
std::vector<Product> FindByEngineBrand(Db& db, int engineBrandId);
std::optional<Product> FindProduct(Db& db, int id);

// Display names; empty when the id is unknown.
std::string MakeName(Db& db, int makeId, Lang lang);
std::string TypeTitle(Db& db, int typeId, Lang lang);             // make, model, type
std::string EngineCodeTitle(Db& db, int engineCodeId, Lang lang); // brand, code, size, fuel
std::string EngineBrandName(Db& db, int engineBrandId, Lang lang);
// The vehicles and engines a product fits, as display lines.
std::vector<std::string> VehicleFitments(Db& db, const std::string& productId, Lang lang);
std::vector<std::string> EngineFitments(Db& db, const std::string& productId, Lang lang);

} // namespace kelvra::sim
