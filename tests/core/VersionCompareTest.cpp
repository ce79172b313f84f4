// Dotted version comparison and what the version check makes of it.
#include <gtest/gtest.h>

#include <string>

#include "update/VersionCheck.h"
#include "update/VersionCompare.h"

namespace kelvra {
namespace {

struct CompareCase {
    const char* published;
    const char* installed;
    int expected; // sign of CompareVersions(published, installed)
};

int SignOf(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

TEST(VersionCompareTest, ComparesFieldByFieldAsNumbers) {
    const CompareCase cases[] = {
        {"1.0.0.4", "1.0.0.3", 1},
        {"1.0.0.3", "1.0.0.3", 0},
        {"1.0.1.0", "1.0.0.3", 1},
        {"2.0", "1.0.0.3", 1},
        {"1.0.0.10", "1.0.0.9", 1}, // numeric, not by the text "10010" against "1009"
        {"1.0.0.9", "1.0.0.10", -1},
        {"1.0.0.2", "1.0.0.3", -1},
        {"1.0", "1.0.0.0", 0}, // missing fields count as 0
        {"1.0.0.0.1", "1.0", 1},
        {"1.00.0.3", "1.0.0.3", 0},  // leading zeros do not count
        {"1.0.0.3b", "1.0.0.3a", 1}, // the text after the digits decides a tie
        {"1.0.0.3", "1.0.0.3a", -1},
        {"1.0.0.4a", "1.0.0.3z", 1}, // the digits come first
        {"1.x", "1.0", 1},           // "x": no digits (0), then the text "x" against ""
        {"99999999999999999999999.1", "99999999999999999999998.9", 1}, // no overflow
        {"", "1.0.0.3", -1}, // nothing published is lower than any installed version
        {"1.0.0.3", "", 1},
        {"", "", 0},
        {"0", "", 1},
    };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(SignOf(CompareVersions(c.published, c.installed)), c.expected)
            << c.published << " against " << c.installed;
        EXPECT_EQ(SignOf(CompareVersions(c.installed, c.published)), -c.expected)
            << c.installed << " against " << c.published << " (reversed)";
    }
}

TEST(VersionCompareTest, OutcomeFollowsTheComparison) {
    struct OutcomeCase {
        const char* installed;
        const char* published;
        VersionOutcome expected;
    };
    const OutcomeCase cases[] = {
        {"1.0.0.3", "1.0.0.4", VersionOutcome::AskUpdate},
        {"1.0.0.3", "1.0.0.3", VersionOutcome::Nothing},
        {"1.0.0.3", "1.0.1.0", VersionOutcome::AskUpdate},
        {"1.0.0.9", "1.0.0.10", VersionOutcome::AskUpdate},
        {"1.0.0.3", "2.0", VersionOutcome::AskUpdate},
        {"1.0.0.4", "1.0.0.3", VersionOutcome::ResetVersion},
        {"1.0.0.3", "", VersionOutcome::ResetVersion},
        {"", "", VersionOutcome::Nothing},
    };
    for (const OutcomeCase& c : cases) {
        EXPECT_EQ(DecideVersionOutcome(c.installed, c.published), c.expected)
            << "installed " << c.installed << ", published " << c.published;
    }
}

} // namespace
} // namespace kelvra
