#include "Db.h"

#include <sqlite3.h>
#include <stdexcept>

namespace kelvra::sim {
namespace {

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

} // namespace

Db::Db(const std::string& path) {
    int rc = sqlite3_open_v2(path.c_str(), &m_db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw std::runtime_error("cannot open database " + path + ": " + message);
    }
    sqlite3_busy_timeout(m_db, 2000);
    // A write probe: a read-only file or folder fails here, at start, not at the first request.
    Exec("CREATE TABLE IF NOT EXISTS sim_probe(x); DROP TABLE sim_probe;");
}

Db::~Db() {
    sqlite3_close(m_db);
}

void Db::Exec(const std::string& sql) {
    std::lock_guard lock(m_mutex);
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("database: " + message);
    }
}

std::vector<DbRow> Db::Query(const std::string& sql, const std::vector<std::string>& args) {
    std::lock_guard lock(m_mutex);
    Statement st;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st.stmt, nullptr) != SQLITE_OK) {
        Fail(m_db, "database prepare");
    }
    for (size_t i = 0; i < args.size(); ++i) {
        sqlite3_bind_text(st.stmt, static_cast<int>(i + 1), args[i].data(),
                          static_cast<int>(args[i].size()), SQLITE_TRANSIENT);
    }
    std::vector<DbRow> rows;
    for (;;) {
        int rc = sqlite3_step(st.stmt);
        if (rc == SQLITE_DONE) {
            break;
        }
        if (rc != SQLITE_ROW) {
            Fail(m_db, "database step");
        }
        DbRow row;
        int columns = sqlite3_column_count(st.stmt);
        for (int c = 0; c < columns; ++c) {
            auto text = reinterpret_cast<const char*>(sqlite3_column_text(st.stmt, c));
            int size = sqlite3_column_bytes(st.stmt, c);
            row.emplace_back(text ? std::string(text, static_cast<size_t>(size)) : std::string());
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int Db::Run(const std::string& sql, const std::vector<std::string>& args) {
    std::lock_guard lock(m_mutex);
    Query(sql, args);
    return sqlite3_changes(m_db);
}

void Db::Transaction(const std::function<void()>& work) {
    std::lock_guard lock(m_mutex);
    Exec("BEGIN IMMEDIATE");
    try {
        work();
    } catch (...) {
        try {
            Exec("ROLLBACK");
        } catch (...) {
        }
        throw;
    }
    Exec("COMMIT");
}

} // namespace kelvra::sim
