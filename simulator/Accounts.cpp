#include "Accounts.h"

#include "Query.h"

#include <set>

namespace kelvra::sim {
namespace {

const char* kColumns = "gid, username, password, admin, s_mac, s_ip, s_login, s_ndate, s_hdate, "
                       "search_num, search_count, search_num_vip, search_count_vip";

Account FromRow(const DbRow& row) {
    Account a;
    a.gid = row[0];
    a.username = row[1];
    a.password = row[2];
    a.admin = row[3];
    a.s_mac = row[4];
    a.s_ip = row[5];
    a.s_login = row[6];
    a.s_ndate = row[7];
    a.s_hdate = row[8];
    a.search_num = ParseInt32(row[9]).value_or(0);
    a.search_count = ParseInt32(row[10]).value_or(0);
    a.search_num_vip = ParseInt32(row[11]).value_or(0);
    a.search_count_vip = ParseInt32(row[12]).value_or(0);
    return a;
}

} // namespace

std::optional<Account> FindAccount(Db& db, const std::string& username) {
    auto rows = db.Query(std::string("SELECT ") + kColumns + " FROM accounts WHERE username = ?",
                         {username});
    if (rows.empty()) {
        return std::nullopt;
    }
    return FromRow(rows[0]);
}

std::optional<Account> FindAccountByGid(Db& db, const std::string& gid) {
    auto rows = db.Query(std::string("SELECT ") + kColumns + " FROM accounts WHERE gid = ?", {gid});
    if (rows.empty()) {
        return std::nullopt;
    }
    return FromRow(rows[0]);
}

std::optional<Account> CheckCredentials(Db& db, const std::string& username,
                                        const std::string& password) {
    auto account = FindAccount(db, username);
    if (!account || account->password != password) {
        return std::nullopt;
    }
    return account;
}

void RecordLogin(Db& db, const std::string& gid, const std::string& mac, const std::string& ip) {
    db.Run("UPDATE accounts SET s_mac = ?, s_ip = ?, s_login = 'True' WHERE gid = ?",
           {mac, ip, gid});
}

void RecordLogout(Db& db, const std::string& gid) {
    db.Run("UPDATE accounts SET s_login = 'False' WHERE gid = ?", {gid});
}

void StoreSearchNum(Db& db, const std::string& gid, int count, bool vip) {
    db.Run(vip ? "UPDATE accounts SET search_num_vip = ? WHERE gid = ?"
               : "UPDATE accounts SET search_num = ? WHERE gid = ?",
           {std::to_string(count), gid});
}

bool SetAccountField(Db& db, const std::string& username, const std::string& field,
                     const std::string& value) {
    static const std::set<std::string> texts = {"password", "admin",   "s_mac",  "s_ip",
                                                "s_login",  "s_ndate", "s_hdate"};
    static const std::set<std::string> counters = {"search_num", "search_count", "search_num_vip",
                                                   "search_count_vip"};
    bool counter = counters.count(field) > 0;
    if (!counter && texts.count(field) == 0) {
        return false;
    }
    if (counter && !ParseInt32(value)) {
        return false;
    }
    // The column name comes from the fixed sets above, never from the request.
    return db.Run("UPDATE accounts SET " + field + " = ? WHERE username = ?", {value, username}) >
           0;
}

bool CreateAccount(Db& db, const std::string& username, const std::string& password) {
    if (username.empty() || FindAccount(db, username)) {
        return false;
    }
    db.Run("INSERT INTO accounts(username, password, admin, s_mac, s_ip, s_login, s_ndate, "
           "s_hdate, search_num, search_count, search_num_vip, search_count_vip) "
           "VALUES(?, ?, '1', '', '', 'False', '2024-06-01', '2024-06-01', 0, 20, 0, 0)",
           {username, password});
    return true;
}

} // namespace kelvra::sim
