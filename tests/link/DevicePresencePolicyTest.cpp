#include <gtest/gtest.h>

#include <string>

#include "link/DevicePresencePolicy.h"

namespace {

struct IntervalCase {
    bool present;
    int32_t programState;
    bool notifications;
    uint32_t intervalMs;
};

class PollInterval : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(PollInterval, FollowsPresenceAndSessionState) {
    const IntervalCase& c = GetParam();
    EXPECT_EQ(DevicePresencePollIntervalMs(c.present, c.programState, c.notifications), c.intervalMs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PollInterval,
    ::testing::Values(IntervalCase{false, 0, true, 1500}, IntervalCase{false, 4, false, 1500},
                      IntervalCase{true, 1, true, 3000}, IntervalCase{true, 3, true, 3000},
                      IntervalCase{true, 4, false, 3000}, IntervalCase{true, 7, true, 3000},
                      IntervalCase{true, 8, true, 3000}, IntervalCase{true, 9, false, 3000},
                      IntervalCase{true, 0, true, 60000}, IntervalCase{true, 2, true, 60000},
                      IntervalCase{true, 5, true, 60000}, IntervalCase{true, 6, true, 60000},
                      IntervalCase{true, 10, true, 60000}, IntervalCase{true, 0, false, 15000},
                      IntervalCase{true, 6, false, 15000}, IntervalCase{true, -1, false, 15000}));

struct TurnCase {
    bool changed;
    bool scanned;
    uint32_t now;
    uint32_t lastScan;
    uint32_t intervalMs;
    uint32_t waitMs;
    const char* reason; // null: no scan due
};

class MonitorTurn : public ::testing::TestWithParam<TurnCase> {};

TEST_P(MonitorTurn, WaitsTheRestOfTheIntervalAndScansWhenDue) {
    const TurnCase& c = GetParam();
    EXPECT_EQ(DevicePresenceWaitMs(c.changed, c.scanned, c.now, c.lastScan, c.intervalMs), c.waitMs);
    const char* reason = DevicePresenceScanReason(c.changed, c.scanned, c.now, c.lastScan, c.intervalMs);
    if (c.reason == nullptr)
        EXPECT_EQ(reason, nullptr);
    else
        EXPECT_EQ(std::string(reason ? reason : "(none)"), c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MonitorTurn,
    ::testing::Values(TurnCase{false, true, 10000, 10000, 1500, 1500, nullptr},
                      TurnCase{false, true, 10500, 10000, 1500, 1000, nullptr},
                      TurnCase{false, true, 11499, 10000, 1500, 1, nullptr},
                      TurnCase{false, true, 11500, 10000, 1500, 0, "adaptive-fallback"},
                      TurnCase{false, true, 90000, 10000, 60000, 0, "adaptive-fallback"},
                      TurnCase{true, true, 10100, 10000, 60000, 0, "device-change"},
                      TurnCase{false, false, 5, 0, 60000, 0, "adaptive-fallback"},
                      // The tick wraps between the last scan and now.
                      TurnCase{false, true, 0x00000100u, 0xFFFFFF00u, 1500, 1500 - 0x200, nullptr},
                      TurnCase{false, true, 0x00000600u, 0xFFFFFF00u, 1500, 0, "adaptive-fallback"}));

} // namespace
