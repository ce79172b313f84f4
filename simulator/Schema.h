#pragma once

#include "Db.h"

namespace kelvra::sim {

// Creates the tables and the seed data when the database has no current schema (a new file,
// an older layout or a damaged one); a database already holding the current schema is kept.
// Throws std::runtime_error when the file cannot be written.
void EnsureSchema(Db& db);

// Drops every table and writes schema and seed data again, in one transaction; throws on failure
// (the old data then stay).
void ResetDatabase(Db& db);

// Writes the seed catalogue (makes, models, types, engines, products) into empty tables.
void SeedCatalogue(Db& db);

// Writes the seed accounts into an empty account table.
void SeedAccounts(Db& db);

} // namespace kelvra::sim
