// Counting on for --number: the width and leading zeros kept, only the last run of digits
// counted, and a count that needs more digits refused rather than wrapped or widened.
#include "app/fleet_plan.h"

#include <gtest/gtest.h>

#include <climits>

TEST(FleetPlan, CountingKeepsTheWidthAndRefusesMoreDigits) {
    struct Case {
        const char* start;
        std::size_t k;
        const char* want; // nullptr: refused
    } const cases[] = {
        {"00101", 0, "00101"}, {"00101", 1, "00102"},
        {"00199", 1, "00200"}, {"A19", 1, "A20"},
        {"12A05", 4, "12A09"}, {"446.0", 3, "446.3"},
        {"99", 1, nullptr},    {"ABC", 0, nullptr},
        {"", 0, nullptr},      {"0000000000000000000001", SIZE_MAX - 1, "0018446744073709551615"},
    };
    for (const Case& c : cases) {
        std::string out;
        const bool ok = CountOn(c.start, c.k, &out);
        EXPECT_EQ(ok, c.want != nullptr) << c.start << " + " << c.k;
        if (ok && c.want) {
            EXPECT_EQ(out, c.want) << c.start << " + " << c.k;
        }
    }
}
