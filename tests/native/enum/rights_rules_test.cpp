#include <gtest/gtest.h>

#include "enum/rights_rules.h"

namespace {

constexpr uint32_t kLow = 0x1000;
constexpr uint32_t kMedium = 0x2000;
constexpr uint32_t kMediumPlus = 0x2100;
constexpr uint32_t kHigh = 0x3000;
constexpr uint32_t kSystem = 0x4000;
constexpr uint32_t kUnread = 0xFFFFFFFF;

// Which rows carry the shield, and when Apply asks for the consent.
TEST(Rights, MarkedWhenKnownHigherOrRefusedAndShieldedOnlyWhereElevationReaches) {
    const struct {
        uint32_t own;
        uint32_t target;
        bool bRefused;
        bool bMarked;
        bool bShield;
    } rows[] = {
        {kMedium, kMedium, false, false, false},
        {kMedium, kLow, false, false, false},
        {kMedium, kMediumPlus, false, true, false},
        {kMedium, kHigh, false, true, true},
        {kLow, kHigh, false, true, true},
        {kMedium, kSystem, false, true, false},
        {kMedium, kUnread, false, false, false},
        {kMedium, kUnread, true, true, false},
        {kMedium, kMedium, true, true, false},
        {kHigh, kHigh, false, false, false},
        {kHigh, kSystem, false, true, false},
        {kUnread, kHigh, false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << std::hex << row.own << " " << row.target << " " << row.bRefused);
        EXPECT_EQ(NeedsMoreRights(row.own, row.target, row.bRefused), row.bMarked);
        EXPECT_EQ(ElevationWouldMove(row.own, row.target), row.bShield);
    }
}

}  // namespace
