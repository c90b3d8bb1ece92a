#include <gtest/gtest.h>

#include <cstdint>

#include "media/SessionClock.h"
#include "support/TestLog.h"

namespace {

struct RateCase {
    const char* name;
    uint32_t lastTick;
    uint32_t now;
    uint32_t intervalMs;
    bool allowed;
    uint32_t lastTickAfter;
};

class TickRateLimitTest : public ::testing::TestWithParam<RateCase> {
protected:
    void SetUp() override { m_savedTick = TestLog().tick; }
    void TearDown() override { TestLog().tick = m_savedTick; }

private:
    uint32_t m_savedTick = 0;
};

TEST_P(TickRateLimitTest, Table) {
    const RateCase& c = GetParam();
    TestLog().tick = c.now;
    uint32_t last = c.lastTick;
    EXPECT_EQ(TickRateLimit(last, c.intervalMs), c.allowed);
    EXPECT_EQ(last, c.lastTickAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TickRateLimitTest,
    ::testing::Values(RateCase{"NeverPasses", 0, 5000, 1000, true, 5000},
                      RateCase{"NeverPassesAtTickZero", 0, 0, 1000, true, 0},
                      RateCase{"TooSoon", 5000, 5999, 1000, false, 5000},
                      RateCase{"ExactlyDue", 5000, 6000, 1000, true, 6000},
                      RateCase{"WrappedTooSoon", 0xFFFFFF00u, 0x000000F0u, 1000, false, 0xFFFFFF00u},
                      RateCase{"WrappedDue", 0xFFFFFF00u, 0x00000300u, 1000, true, 0x00000300u},
                      RateCase{"ZeroInterval", 5000, 5000, 0, true, 5000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SessionClockTest, CounterToMsScalesByFrequencyAndRefusesNoCounter) {
    EXPECT_DOUBLE_EQ(CounterToMs(1500, 1000), 1500.0);
    EXPECT_DOUBLE_EQ(CounterToMs(3, 1000000000), 0.000003);
    EXPECT_DOUBLE_EQ(CounterToMs(10000000, 10000000), 1000.0);
    EXPECT_EQ(CounterToMs(1000, 0), 0.0);
    EXPECT_EQ(CounterToMs(1000, -5), 0.0);
}

TEST(SessionClockTest, NowMsNeverGoesBack) {
    double previous = NowMs();
    for (int i = 0; i < 1000; ++i) {
        double now = NowMs();
        ASSERT_GE(now, previous);
        previous = now;
    }
}

} // namespace
