#pragma once

#include "Db.h"

#include <optional>
#include <string>

namespace kelvra::sim {

// One account as the service keeps it; the text fields are what get_login_status.asp reports.
struct Account {
    std::string gid;
    std::string username;
    std::string password;
    std::string admin;   // "1" ordinary, anything else VIP
    std::string s_mac;   // machine of the last full login
    std::string s_ip;    // IP of the last full login
    std::string s_login; // "True" while logged in, else "False"
    std::string s_ndate;
    std::string s_hdate;
    int search_num = 0;
    int search_count = 0;
    int search_num_vip = 0;
    int search_count_vip = 0;
};

// The account of username, or nullopt when there is none.
std::optional<Account> FindAccount(Db& db, const std::string& username);
// The account with group id gid, or nullopt.
std::optional<Account> FindAccountByGid(Db& db, const std::string& gid);
// The account when username and password match exactly, else nullopt.
std::optional<Account> CheckCredentials(Db& db, const std::string& username,
                                        const std::string& password);
// A full login: records machine and IP and marks the account logged in.
void RecordLogin(Db& db, const std::string& gid, const std::string& mac, const std::string& ip);
// Ends the login of the account (machine and IP stay recorded).
void RecordLogout(Db& db, const std::string& gid);
// Stores a reported page count (ordinary or VIP).
void StoreSearchNum(Db& db, const std::string& gid, int count, bool vip);
// Sets one stored field of an account by its reply name; false for an unknown field, an
// unknown account, or a counter value that is no 32-bit integer.
bool SetAccountField(Db& db, const std::string& username, const std::string& field,
                     const std::string& value);
// Creates an ordinary account with the seed defaults; false when the name is taken or empty.
bool CreateAccount(Db& db, const std::string& username, const std::string& password);

} // namespace kelvra::sim
