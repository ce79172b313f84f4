#include "Schema.h"

namespace kelvra::sim {
namespace {

const char* kSchemaVersion = "1";

const char* kSchema = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE makes(id INTEGER PRIMARY KEY, name_en TEXT NOT NULL, name_cn TEXT NOT NULL);
CREATE TABLE models(id INTEGER PRIMARY KEY, make_id INTEGER NOT NULL, name_en TEXT NOT NULL,
                    name_cn TEXT NOT NULL);
CREATE TABLE types(id INTEGER PRIMARY KEY, model_id INTEGER NOT NULL, name TEXT NOT NULL,
                   years TEXT NOT NULL, power TEXT NOT NULL, engine_code_id INTEGER NOT NULL);
CREATE TABLE engine_brands(id INTEGER PRIMARY KEY, name_en TEXT NOT NULL, name_cn TEXT NOT NULL);
CREATE TABLE engine_codes(id INTEGER PRIMARY KEY, brand_id INTEGER NOT NULL, code TEXT NOT NULL,
                          displacement TEXT NOT NULL, fuel_en TEXT NOT NULL,
                          fuel_cn TEXT NOT NULL);
CREATE TABLE products(id INTEGER PRIMARY KEY, name_en TEXT NOT NULL, name_cn TEXT NOT NULL,
                      maker TEXT NOT NULL, mfr_no TEXT NOT NULL, oe_no TEXT NOT NULL,
                      special_no TEXT NOT NULL, ean TEXT NOT NULL, price INTEGER NOT NULL);
CREATE TABLE product_types(product_id INTEGER NOT NULL, type_id INTEGER NOT NULL,
                           PRIMARY KEY(product_id, type_id));
CREATE TABLE product_engines(product_id INTEGER NOT NULL, engine_code_id INTEGER NOT NULL,
                             PRIMARY KEY(product_id, engine_code_id));
CREATE TABLE accounts(gid INTEGER PRIMARY KEY, username TEXT NOT NULL UNIQUE,
                      password TEXT NOT NULL, admin TEXT NOT NULL, s_mac TEXT NOT NULL,
                      s_ip TEXT NOT NULL, s_login TEXT NOT NULL, s_ndate TEXT NOT NULL,
                      s_hdate TEXT NOT NULL, search_num INTEGER NOT NULL,
                      search_count INTEGER NOT NULL, search_num_vip INTEGER NOT NULL,
                      search_count_vip INTEGER NOT NULL);
)sql";

const char* kTables[] = {
    "meta",         "makes",    "models",        "types",           "engine_brands",
    "engine_codes", "products", "product_types", "product_engines", "accounts"};

bool HasCurrentSchema(Db& db) {
    try {
        auto rows = db.Query("SELECT value FROM meta WHERE key = 'schema'");
        return !rows.empty() && rows[0][0] == kSchemaVersion;
    } catch (const std::exception&) {
        return false;
    }
}

void Rebuild(Db& db) {
    for (const char* table : kTables) {
        db.Exec(std::string("DROP TABLE IF EXISTS ") + table);
    }
    db.Exec(kSchema);
    SeedCatalogue(db);
    SeedAccounts(db);
    db.Run("INSERT INTO meta(key, value) VALUES('schema', ?)", {kSchemaVersion});
}

} // namespace

void EnsureSchema(Db& db) {
    if (!HasCurrentSchema(db)) {
        db.Transaction([&] { Rebuild(db); });
    }
}

void ResetDatabase(Db& db) {
    db.Transaction([&] { Rebuild(db); });
}

} // namespace kelvra::sim
