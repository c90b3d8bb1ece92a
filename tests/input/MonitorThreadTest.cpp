#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include "core/Log.h"
#include "input/MonitorThread.h"
#include "support/EventCount.h"
#include "support/TestLog.h"

namespace {

using testing::Contains;
using testing::HasSubstr;

// A polling body that reports its entries and exits and how many of its runs poll at once. Shared with
// the threads: a detached one may still be leaving when the test ends.
struct Probe : std::enable_shared_from_this<Probe> {
    std::atomic<int> alive{0};
    EventCount entered;
    EventCount left;

    // Each run holds the probe, so a run still leaving after the test has ended never touches a freed one.
    WorkerThread::Body Body() {
        return [self = shared_from_this()](const StopSignal& stop) {
            ++self->alive;
            self->entered.Add();
            // Long sleeps: only the stop signal of this very run can end it within the test's waits.
            while (!stop.WaitFor(10000)) {
            }
            --self->alive;
            self->left.Add();
        };
    }
};

// Waits (bounded) until the monitor counts that many live threads.
bool LiveThreadsBecome(const MonitorThread& monitor, int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (monitor.LiveThreads() != count) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class MonitorThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
};

TEST_F(MonitorThreadTest, StartingTwiceStartsOneThread) {
    auto probe = std::make_shared<Probe>();
    MonitorThread monitor("ProbeMonitor");
    ASSERT_TRUE(monitor.Start(probe->Body()));
    ASSERT_TRUE(monitor.Start(probe->Body()));
    ASSERT_TRUE(probe->entered.WaitFor(1, 5000));
    EXPECT_FALSE(probe->entered.WaitFor(2, 200));
    EXPECT_EQ(CountLogMessages("ProbeMonitorStart ok"), 1u);
    EXPECT_TRUE(monitor.Running());
    monitor.Stop();
    EXPECT_TRUE(probe->left.WaitFor(1, 5000));
    EXPECT_FALSE(monitor.Running());
}

TEST_F(MonitorThreadTest, StopThenStartDuringTheOldSleepLeavesOnePollingThread) {
    auto probe = std::make_shared<Probe>();
    MonitorThread monitor("ProbeMonitor");
    ASSERT_TRUE(monitor.Start(probe->Body()));
    ASSERT_TRUE(probe->entered.WaitFor(1, 5000));
    monitor.Stop();
    ASSERT_TRUE(monitor.Start(probe->Body()));
    ASSERT_TRUE(probe->entered.WaitFor(2, 5000));
    // The old run leaves although the running flag is set again: its own stop ended its sleep.
    ASSERT_TRUE(probe->left.WaitFor(1, 5000));
    EXPECT_EQ(probe->alive.load(), 1);
    // The old thread stops counting itself just after its body returns.
    EXPECT_TRUE(LiveThreadsBecome(monitor, 1));
    monitor.Stop();
    ASSERT_TRUE(probe->left.WaitFor(2, 5000));
    EXPECT_EQ(probe->alive.load(), 0);
}

TEST_F(MonitorThreadTest, ABodyThatThrowsIsNoLongerCountedLive) {
    MonitorThread monitor("ProbeMonitor");
    EventCount threw;
    ASSERT_TRUE(monitor.Start([&](const StopSignal&) {
        threw.Add();
        throw std::runtime_error("poll failed");
    }));
    ASSERT_TRUE(threw.WaitFor(1, 5000));
    for (int i = 0; i < 100 && monitor.LiveThreads() != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(monitor.LiveThreads(), 0);
    monitor.Stop();
}

TEST_F(MonitorThreadTest, LogsEnterLeaveAndStopWithWhetherItRan) {
    auto probe = std::make_shared<Probe>();
    {
        MonitorThread monitor("ProbeMonitor");
        monitor.Stop();
        ASSERT_TRUE(monitor.Start(probe->Body()));
        ASSERT_TRUE(probe->entered.WaitFor(1, 5000));
        monitor.Stop();
        ASSERT_TRUE(probe->left.WaitFor(1, 5000));
    }
    const std::vector<std::string> messages = TestLog().Messages();
    // "wasRunning=0" is a line the log always drops.
    EXPECT_THAT(messages, Contains("ProbeMonitorStop wasRunning=1"));
    // Enter and leave are start-up category lines.
    if (Log::IsDebugCategoryEnabled("startup")) {
        EXPECT_THAT(messages, Contains("ProbeMonitor thread enter"));
        EXPECT_THAT(messages, Contains("ProbeMonitor thread leave"));
    }
}

TEST_F(MonitorThreadTest, AThreadThatCannotBeCreatedLeavesItStopped) {
    MonitorThread monitor("ProbeMonitor", [](std::function<void()>) -> std::thread {
        throw std::runtime_error("no threads left");
    });
    auto probe = std::make_shared<Probe>();
    EXPECT_FALSE(monitor.Start(probe->Body()));
    EXPECT_FALSE(monitor.Running());
    EXPECT_THAT(TestLog().Messages(), Contains("ProbeMonitorStart failed: no threads left"));
    EXPECT_FALSE(monitor.Start(probe->Body()))
        << "a failed start leaves the flag clear, so the next one tries";
}

} // namespace
