// The seed accounts; simulator/README.md lists them with their purpose.
#include "Schema.h"

#include <string>

namespace kelvra::sim {
namespace {

struct SeedAccount {
    int gid;
    const char* username;
    const char* password;
    const char* admin; // "1" ordinary, anything else VIP
    const char* ndate;
    const char* hdate;
    int searchNum;
    int searchCount;
    int searchNumVip;
    int searchCountVip;
};

const SeedAccount kAccounts[] = {
    {101, "demo", "demo123", "1", "2024-06-01", "2024-06-01", 0, 20, 0, 0},
    {102, "vip", "vip123", "0", "2024-06-01", "2024-06-01", 0, 200, 0, 50},
    {103, "张伟", "zhang123", "1", "2024-06-01", "2024-06-01", 2, 20, 0, 0},
    {104, "limit", "limit123", "1", "2024-06-01", "2024-06-01", 5, 5, 0, 0},
    {105, "dates", "dates123", "1", "2024-06-01", "2025-06-01", 30, 20, 0, 0},
    {106, "viplimit", "viplimit123", "0", "2024-06-01", "2024-06-01", 0, 20, 3, 2},
    {107, "a&b c", "p#1+%", "1", "2024-06-01", "2024-06-01", 0, 20, 0, 0},
};

} // namespace

void SeedAccounts(Db& db) {
    for (const SeedAccount& a : kAccounts) {
        db.Run("INSERT INTO accounts VALUES(?,?,?,?,'','','False',?,?,?,?,?,?)",
               {std::to_string(a.gid), a.username, a.password, a.admin, a.ndate, a.hdate,
                std::to_string(a.searchNum), std::to_string(a.searchCount),
                std::to_string(a.searchNumVip), std::to_string(a.searchCountVip)});
    }
}

} // namespace kelvra::sim
