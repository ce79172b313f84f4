#pragma once

#include <cstdint>
#include <string>

namespace kelvra {

// The account logged in on this machine, as the service last described it. Held in memory only:
// the password never reaches a file or a log.
struct Session {
    std::string username; // empty: nobody is logged in
    std::string password;
    std::string gid = "0";   // "0": no account known
    std::string admin = "1"; // exactly "1": ordinary account, anything else VIP
    std::string s_mac;
    std::string s_ip;
    std::string s_login = "False";
    std::string s_ndate;
    std::string s_hdate;
    std::int32_t search_num = 0;
    std::int32_t search_count = 0;
    std::int32_t search_num_vip = 0;
    std::int32_t search_count_vip = 0;

    bool LoggedIn() const { return !username.empty(); }
    bool IsVip() const { return admin != "1"; }
};

} // namespace kelvra
