#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "core/LogThrottle.h"
#include "support/TestLog.h"

namespace {

TEST(LogThrottleTest, NewKeyThenRefusedWithinIntervalThenAllowed) {
    ThrottleTable table;
    EXPECT_TRUE(table.Allow("a", 1000, 5000));
    EXPECT_FALSE(table.Allow("a", 1000, 5000));
    EXPECT_FALSE(table.Allow("a", 1000, 5999));
    EXPECT_TRUE(table.Allow("b", 1000, 5999)); // keys are independent
    EXPECT_TRUE(table.Allow("a", 1000, 6000));
    EXPECT_FALSE(table.Allow("a", 1000, 6001));
}

TEST(LogThrottleTest, RefusedUseDoesNotRestamp) {
    ThrottleTable table;
    EXPECT_TRUE(table.Allow("k", 100, 1000));
    EXPECT_FALSE(table.Allow("k", 100, 1050));
    EXPECT_FALSE(table.Allow("k", 100, 1099));
    EXPECT_TRUE(table.Allow("k", 100, 1100));
}

TEST(LogThrottleTest, TickWrapsAround) {
    ThrottleTable table;
    EXPECT_TRUE(table.Allow("w", 1000, 0xFFFFFF00u));
    EXPECT_FALSE(table.Allow("w", 1000, 0x00000010u)); // 0x110 ms later
    EXPECT_FALSE(table.Allow("w", 1000, 0x000002E7u)); // 999 ms later
    EXPECT_TRUE(table.Allow("w", 1000, 0x000002E8u));  // 1000 ms later
    EXPECT_FALSE(table.Allow("w", 1000, 0x000002E9u));
}

TEST(LogThrottleTest, StoredZeroCountsAsNoUse) {
    ThrottleTable table;
    EXPECT_TRUE(table.Allow("z", 1000, 0));
    EXPECT_TRUE(table.Allow("z", 1000, 5));
    EXPECT_FALSE(table.Allow("z", 1000, 6));
}

TEST(LogThrottleTest, ExactlyOneOfManyConcurrentCallersIsAllowed) {
    ThrottleTable table;
    std::atomic<int> allowed{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            for (int k = 0; k < 100; ++k)
                if (table.Allow("shared", 60000, 777))
                    ++allowed;
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(allowed.load(), 1);
}

TEST(LogThrottleTest, ProcessWideTableUsesPlatformTickAndNullIsEmptyKey) {
    const uint32_t savedTick = TestLog().tick;
    TestLog().tick = 0x7A5E0000u;
    EXPECT_TRUE(LogThrottle::Allow("", 1));
    EXPECT_FALSE(LogThrottle::Allow(nullptr, 1000));
    TestLog().tick += 1000;
    EXPECT_TRUE(LogThrottle::Allow(nullptr, 1000));
    EXPECT_FALSE(LogThrottle::Allow("", 1000));
    TestLog().tick = savedTick;
}

} // namespace
