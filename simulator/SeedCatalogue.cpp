// The sample catalogue: makes, models and vehicle types, engine brands and codes, and about
// sixty products with manufacturer, OE, special numbers and EANs, each fitted to vehicle types
// and engines. Everything is deterministic, so tests and the README can name real numbers.
#include "Schema.h"

#include <cstdio>
#include <string>
#include <vector>

namespace kelvra::sim {
namespace {

struct Make {
    int id;
    const char* en;
    const char* cn;
    const char* oePattern; // printf pattern for OE numbers of this make, two int fields
};

struct Model {
    int id;
    int makeId;
    const char* en;
    const char* cn;
};

struct VehicleType {
    int id;
    int modelId;
    const char* name;
    const char* years;
    const char* power;
    int engineCodeId;
};

struct EngineBrand {
    int id;
    const char* en;
    const char* cn;
};

struct EngineCode {
    int id;
    int brandId;
    const char* code;
    const char* displacement;
    bool diesel;
};

struct PartKind {
    const char* en;
    const char* cn;
    const char* maker;
    const char* mfrPattern; // printf pattern with one int field
};

const Make kMakes[] = {
    {16, "BMW", "宝马", "11 42 7 %03d %03d"},
    {21, "Volkswagen", "大众", "06J %03d %03d"},
    {23, "Mercedes-Benz", "奔驰", "A %03d 180 %03d"},
    {5, "Audi", "奥迪", "8K0 %03d %03d"},
    {111, "Toyota", "丰田", "90915-%02d%03d"},
    {45, "Honda", "本田", "15400-R%02d-%03d"},
    {183, "Hyundai", "现代", "26300-%02d%03d"},
    {120, "Volvo", "沃尔沃", "31%03d%03d"},
    {27, "Geely", "吉利", "10%03d%03d"},
};

const Model kModels[] = {
    {1601, 16, "3 Series (E90)", "3系"}, {1602, 16, "5 Series (F10)", "5系"},
    {1603, 16, "X5 (E70)", "X5"},        {2101, 21, "Golf VI", "高尔夫6"},
    {2102, 21, "Passat B7", "帕萨特"},   {2103, 21, "Jetta", "捷达"},
    {2301, 23, "C-Class (W204)", "C级"}, {2302, 23, "E-Class (W212)", "E级"},
    {501, 5, "A4 (B8)", "A4"},           {502, 5, "A6 (C7)", "A6"},
    {11101, 111, "Corolla", "卡罗拉"},   {11102, 111, "Camry", "凯美瑞"},
    {4501, 45, "Accord", "雅阁"},        {4502, 45, "Civic", "思域"},
    {18301, 183, "Elantra", "伊兰特"},   {18302, 183, "Tucson", "途胜"},
    {12001, 120, "S60", "S60"},          {12002, 120, "XC60", "XC60"},
};

const VehicleType kTypes[] = {
    {160101, 1601, "320i 2.0", "2011-2012", "135 kW", 201},
    {160102, 1601, "325i 2.5", "2005-2012", "160 kW", 202},
    {160201, 1602, "528i 2.0", "2011-2016", "180 kW", 201},
    {160202, 1602, "535i 3.0", "2010-2016", "225 kW", 203},
    {160301, 1603, "xDrive35i 3.0", "2010-2013", "225 kW", 203},
    {210101, 2101, "1.4 TSI", "2008-2012", "90 kW", 101},
    {210102, 2101, "2.0 TSI GTI", "2009-2013", "155 kW", 103},
    {210201, 2102, "1.8 TSI", "2010-2014", "118 kW", 102},
    {210202, 2102, "2.0 TSI", "2010-2014", "147 kW", 103},
    {210301, 2103, "1.6", "2005-2013", "75 kW", 104},
    {210302, 2103, "1.4 TSI", "2013-2018", "96 kW", 101},
    {230101, 2301, "C 200 CGI", "2007-2014", "135 kW", 301},
    {230102, 2301, "C 300", "2007-2014", "170 kW", 302},
    {230201, 2302, "E 260 CGI", "2009-2013", "150 kW", 301},
    {230202, 2302, "E 300", "2009-2013", "170 kW", 302},
    {50101, 501, "1.8 TFSI", "2008-2015", "118 kW", 102},
    {50102, 501, "2.0 TFSI", "2008-2015", "155 kW", 103},
    {50201, 502, "2.0 TFSI", "2011-2018", "132 kW", 103},
    {1110101, 11101, "1.6 VVT-i", "2007-2013", "91 kW", 401},
    {1110102, 11101, "1.8 VVT-i", "2007-2013", "103 kW", 402},
    {1110201, 11102, "2.0 VVT-i", "2006-2011", "108 kW", 403},
    {1110202, 11102, "2.5 Dual VVT-i", "2011-2017", "133 kW", 404},
    {450101, 4501, "2.0 i-VTEC", "2008-2013", "115 kW", 502},
    {450102, 4501, "2.4 i-VTEC", "2008-2013", "132 kW", 503},
    {450201, 4502, "1.8 i-VTEC", "2006-2011", "103 kW", 501},
    {1830101, 18301, "1.6 Gamma", "2006-2011", "90 kW", 601},
    {1830201, 18302, "2.0 Theta II", "2010-2015", "122 kW", 602},
    {1200101, 12001, "T5 2.0", "2010-2015", "177 kW", 701},
    {1200201, 12002, "T6 3.0", "2008-2013", "224 kW", 702},
};

const EngineBrand kEngineBrands[] = {
    {1, "Volkswagen", "大众"}, {2, "BMW", "宝马"},     {3, "Mercedes-Benz", "奔驰"},
    {4, "Toyota", "丰田"},     {5, "Honda", "本田"},   {6, "Hyundai", "现代"},
    {7, "Volvo", "沃尔沃"},    {8, "Weichai", "潍柴"}, {9, "Yuchai", "玉柴"},
    {10, "Cummins", "康明斯"},
};

const EngineCode kEngineCodes[] = {
    {101, 1, "EA211", "1.4T", false},  {102, 1, "EA888", "1.8T", false},
    {103, 1, "EA888", "2.0T", false},  {104, 1, "EA113", "1.6", false},
    {201, 2, "N20B20", "2.0T", false}, {202, 2, "N52B25", "2.5", false},
    {203, 2, "N55B30", "3.0T", false}, {301, 3, "M271", "1.8T", false},
    {302, 3, "M272", "3.0", false},    {401, 4, "1ZR-FE", "1.6", false},
    {402, 4, "2ZR-FE", "1.8", false},  {403, 4, "1AZ-FE", "2.0", false},
    {404, 4, "2AR-FE", "2.5", false},  {501, 5, "R18A1", "1.8", false},
    {502, 5, "R20A", "2.0", false},    {503, 5, "K24Z2", "2.4", false},
    {601, 6, "G4FC", "1.6", false},    {602, 6, "G4KD", "2.0", false},
    {701, 7, "B4204T", "2.0T", false}, {702, 7, "B6304T", "3.0T", false},
    {801, 8, "WP10", "9.7", true},     {802, 8, "WP12", "11.6", true},
    {901, 9, "YC6L", "8.4", true},
};

const PartKind kPartKinds[] = {
    {"Oil filter", "机油滤清器", "MANN-FILTER", "W 712/%02d"},
    {"Air filter", "空气滤清器", "MAHLE", "LX %04d"},
    {"Fuel filter", "燃油滤清器", "BOSCH", "F 026 402 %03d"},
    {"Cabin air filter", "空调滤清器", "MANN-FILTER", "CUK %04d"},
    {"Front brake pad set", "前刹车片", "BREMBO", "P 85 %03d"},
    {"Rear brake pad set", "后刹车片", "TRW", "GDB%04d"},
    {"Brake disc", "刹车盘", "ATE", "24.0125-%04d"},
    {"Spark plug", "火花塞", "NGK", "PLZKAR6A-%02d"},
    {"Ignition coil", "点火线圈", "BOSCH", "0 221 604 %03d"},
    {"Timing belt kit", "正时皮带套件", "GATES", "K015%03d"},
    {"Water pump", "水泵", "SKF", "VKPC 81%03d"},
    {"Thermostat", "节温器", "WAHLER", "4%04d"},
    {"Front shock absorber", "前减震器", "SACHS", "313 %03d"},
    {"Wiper blade", "雨刮片", "VALEO", "574%03d"},
    {"Alternator", "发电机", "DENSO", "DAN%04d"},
    {"Starter motor", "起动机", "BOSCH", "0 001 1%02d %03d"},
    {"Clutch kit", "离合器套件", "LUK", "623 3%03d"},
    {"Radiator", "散热器", "NISSENS", "6%04d"},
    {"Oxygen sensor", "氧传感器", "DENSO", "DOX-%04d"},
    {"Front control arm", "前控制臂", "LEMFORDER", "3%04d 01"},
};

std::string Format(const char* pattern, int a, int b) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, a, b);
    return buffer;
}

// EAN-13 with its check digit, from a 12-digit stem.
std::string Ean13(long long stem) {
    std::string digits = std::to_string(stem);
    int sum = 0;
    for (size_t i = 0; i < 12; ++i) {
        sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    }
    return digits + std::to_string((10 - sum % 10) % 10);
}

const Make& MakeOfType(const VehicleType& type) {
    for (const Model& model : kModels) {
        if (model.id == type.modelId) {
            for (const Make& make : kMakes) {
                if (make.id == model.makeId) {
                    return make;
                }
            }
        }
    }
    return kMakes[0];
}

void InsertProduct(Db& db, int id, const PartKind& kind, int serial, const std::string& oe,
                   const std::vector<int>& typeIds, const std::vector<int>& engineIds) {
    std::string mfr = Format(kind.mfrPattern, 10 + serial % 90, 100 + serial * 7 % 900);
    std::string special = "KV-" + std::to_string(50000 + serial * 37);
    std::string ean = Ean13(690123400000LL + serial * 113);
    int price = 30 + serial * 47 % 900;
    db.Run("INSERT INTO products VALUES(?,?,?,?,?,?,?,?,?)",
           {std::to_string(id), kind.en, kind.cn, kind.maker, mfr, oe, special, ean,
            std::to_string(price)});
    for (int typeId : typeIds) {
        db.Run("INSERT OR IGNORE INTO product_types VALUES(?,?)",
               {std::to_string(id), std::to_string(typeId)});
    }
    for (int engineId : engineIds) {
        db.Run("INSERT OR IGNORE INTO product_engines VALUES(?,?)",
               {std::to_string(id), std::to_string(engineId)});
    }
}

} // namespace

void SeedCatalogue(Db& db) {
    for (const Make& m : kMakes) {
        db.Run("INSERT INTO makes VALUES(?,?,?)", {std::to_string(m.id), m.en, m.cn});
    }
    for (const Model& m : kModels) {
        db.Run("INSERT INTO models VALUES(?,?,?,?)",
               {std::to_string(m.id), std::to_string(m.makeId), m.en, m.cn});
    }
    for (const VehicleType& t : kTypes) {
        db.Run("INSERT INTO types VALUES(?,?,?,?,?,?)",
               {std::to_string(t.id), std::to_string(t.modelId), t.name, t.years, t.power,
                std::to_string(t.engineCodeId)});
    }
    for (const EngineBrand& b : kEngineBrands) {
        db.Run("INSERT INTO engine_brands VALUES(?,?,?)", {std::to_string(b.id), b.en, b.cn});
    }
    for (const EngineCode& c : kEngineCodes) {
        db.Run("INSERT INTO engine_codes VALUES(?,?,?,?,?,?)",
               {std::to_string(c.id), std::to_string(c.brandId), c.code, c.displacement,
                c.diesel ? "Diesel" : "Petrol", c.diesel ? "柴油" : "汽油"});
    }
    // Passenger-car parts: each fits two vehicle types and their engines.
    const int typeCount = static_cast<int>(std::size(kTypes));
    for (int serial = 1; serial <= 60; ++serial) {
        const PartKind& kind = kPartKinds[(serial - 1) % std::size(kPartKinds)];
        const VehicleType& first = kTypes[(serial * 5) % typeCount];
        const VehicleType& second = kTypes[(serial * 5 + 11) % typeCount];
        std::string oe = Format(MakeOfType(first).oePattern, serial, 100 + serial * 13 % 900);
        InsertProduct(db, 1000 + serial, kind, serial, oe, {first.id, second.id},
                      {first.engineCodeId, second.engineCodeId});
    }
    // Truck diesel parts: fitted to engines only.
    const int trucks[][2] = {{0, 801}, {2, 802}, {1, 901}, {0, 901}};
    int serial = 61;
    for (const auto& [kindIndex, engineId] : trucks) {
        std::string oe = Format("61000%04d%04d", serial, engineId);
        InsertProduct(db, 1000 + serial, kPartKinds[kindIndex], serial, oe, {}, {engineId});
        ++serial;
    }
}

} // namespace kelvra::sim
