#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;

namespace kelvra::sim {

using DbRow = std::vector<std::string>;

// One SQLite connection shared by every request thread; each call holds the connection's lock,
// so statements never interleave. Values are bound and read as text (NULL reads as "").
class Db {
public:
    // Opens (creating when missing) the database file; throws std::runtime_error with SQLite's
    // message when the file cannot be opened or written.
    explicit Db(const std::string& path);
    ~Db();
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    // Runs one or more statements without parameters; throws std::runtime_error on failure.
    void Exec(const std::string& sql);
    // Runs one statement with text parameters and returns its rows; throws on failure.
    std::vector<DbRow> Query(const std::string& sql, const std::vector<std::string>& args = {});
    // Runs one statement and returns the number of rows changed; throws on failure.
    int Run(const std::string& sql, const std::vector<std::string>& args = {});
    // Runs work inside a transaction that is committed when work returns and rolled back when
    // it throws (the exception is passed on).
    void Transaction(const std::function<void()>& work);

private:
    sqlite3* m_db = nullptr;
    std::recursive_mutex m_mutex;
};

} // namespace kelvra::sim
