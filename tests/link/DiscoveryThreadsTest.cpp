#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "DiscoveryTestFakes.h"
#include "core/StateTestSupport.h"
#include "core/Log.h"
#include "link/DiscoveryService.h"
#include "link/DiscoveryThreads.h"
#include "support/TestLog.h"

namespace {

using namespace Discovery;
using Clock = std::chrono::steady_clock;

// Thread bodies that run until their run stops, counting themselves. The first control server can be
// made to hang, ignoring the stop, until it is released; it then looks at its run once more.
class LoopingReactions final : public IDiscoveryReactions {
public:
    void RunControlServer(const DiscoveryRun& run) override {
        bool hang = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            hang = std::exchange(m_hangFirst, false);
        }
        if (hang) {
            ++control;
            std::unique_lock<std::mutex> lock(m_mutex);
            m_released.wait(lock, [this] { return m_release; });
            lock.unlock();
            if (run.Running())
                ++revived;
            --control;
            ++hungEnded;
            return;
        }
        Body(run, control);
    }
    void RunVisibilitySync(const DiscoveryRun& run) override { Body(run, visibility); }
    void RunQualitySync(const DiscoveryRun& run) override { Body(run, quality); }
    void WakeSyncWorkers() override { ++wakes; }
    void MarkVisibilityUnconfirmed() override { ++unconfirmed; }

    void HangFirstControl() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hangFirst = true;
    }
    void Release() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_release = true;
        }
        m_released.notify_all();
    }

    std::atomic<int> control{0}, visibility{0}, quality{0}, wakes{0}, unconfirmed{0};
    std::atomic<int> revived{0}, hungEnded{0};

private:
    static void Body(const DiscoveryRun& run, std::atomic<int>& running) {
        ++running;
        while (run.SleepFor(5)) {
        }
        --running;
    }
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_hangFirst = false; // under m_mutex
    bool m_release = false;   // under m_mutex
};

class DiscoveryThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        service.SetReactions(&reactions);
    }
    void TearDown() override {
        reactions.Release();
        Log::Close();
    }

    ThreadBody BroadcastBody() {
        return [this](const DiscoveryRun& run) {
            ++broadcast;
            while (run.SleepFor(5)) {
            }
            --broadcast;
        };
    }
    template <typename Pred> static bool WaitFor(Pred pred) {
        auto deadline = Clock::now() + std::chrono::seconds(5);
        while (!pred()) {
            if (Clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    // Each of the four bodies runs once, plus `extraControl` control servers.
    bool AllRunning(int extraControl = 0) {
        return WaitFor([&] {
            return broadcast == 1 && reactions.control == 1 + extraControl && reactions.visibility == 1 &&
                   reactions.quality == 1;
        });
    }

    RuntimeTestBinding runtime;
    FakeDiscoveryPlatform platform;
    LoopingReactions reactions;
    DiscoveryService service{platform};
    std::atomic<int> broadcast{0};
};

TEST_F(DiscoveryThreadsTest, StartRunsFourNamedThreadsAndStopEndsThemPromptly) {
    DiscoveryThreads threads(service, BroadcastBody());
    int prepared = 0;
    ASSERT_TRUE(threads.Start([&] { ++prepared; }));
    ASSERT_TRUE(AllRunning());
    EXPECT_TRUE(threads.Start([&] { ++prepared; })); // already running: nothing new
    EXPECT_EQ(prepared, 1);
    EXPECT_EQ(reactions.unconfirmed.load(), 1);
    EXPECT_TRUE(service.TakeBroadcastNow());

    runtime.stateManager.SetDiscoveryRunning(true);
    runtime.stateManager.SetControlRunning(true);
    auto before = Clock::now();
    threads.Stop();
    EXPECT_LT(Clock::now() - before, std::chrono::milliseconds(DiscoveryThreads::kStopWaitMs));
    EXPECT_EQ(broadcast + reactions.control + reactions.visibility + reactions.quality, 0);
    EXPECT_GE(reactions.wakes.load(), 1);
    EXPECT_FALSE(runtime.stateManager.IsDiscoveryRunning());
    EXPECT_FALSE(runtime.stateManager.IsControlRunning());

    EXPECT_TRUE(runtime.stateLog.Has("[STATE][NET] discoveryRunning=0"));
    EXPECT_TRUE(runtime.stateLog.Has("[STATE][NET] controlRunning=0"));
    EXPECT_EQ(CountLogMessages("DiscoveryStop wasRunning=1"), 1u);

    threads.Stop(); // twice is fine
}

TEST_F(DiscoveryThreadsTest, StopWithoutStartIsSafe) {
    DiscoveryThreads threads(service, BroadcastBody());
    threads.Stop();
    EXPECT_FALSE(runtime.stateManager.IsDiscoveryRunning());
}

TEST_F(DiscoveryThreadsTest, AThreadThatCannotStartFailsTheStartAndLeavesNothingRunning) {
    int launches = 0;
    DiscoveryThreads threads(service, BroadcastBody(), [&](std::function<void()> work) {
        if (++launches == 3)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        return std::thread(std::move(work));
    });
    EXPECT_FALSE(threads.Start());
    EXPECT_EQ(CountLogMessages("DiscoveryStart thread create failed: "), 1u);
    EXPECT_GE(reactions.wakes.load(), 1);
    // The two detached threads see their run stopped and end by themselves.
    EXPECT_TRUE(WaitFor([&] { return broadcast == 0 && reactions.control == 0; }));

    launches = 100; // the next start works
    EXPECT_TRUE(threads.Start());
    EXPECT_TRUE(AllRunning());
    threads.Stop();
}

TEST_F(DiscoveryThreadsTest, ANonStandardExceptionIsReportedAsUnknown) {
    DiscoveryThreads threads(service, [](const DiscoveryRun&) { throw 42; });
    ASSERT_TRUE(threads.Start());
    threads.Stop();
    EXPECT_EQ(CountLogMessages("[THREAD][EXCEPTION] name=DiscoveryBroadcast tid="), 1u);
    EXPECT_EQ(CountLogMessages(" unknown"), 1u);
}

// A thread that does not end in time is detached (a join would never return); an immediate restart must
// not let it run on.
TEST_F(DiscoveryThreadsTest, AHungThreadIsDetachedAndARestartDoesNotReviveIt) {
    DiscoveryThreads threads(service, BroadcastBody());
    reactions.HangFirstControl();
    ASSERT_TRUE(threads.Start());
    ASSERT_TRUE(AllRunning());
    auto before = Clock::now();
    threads.Stop();
    EXPECT_GE(Clock::now() - before, std::chrono::milliseconds(DiscoveryThreads::kStopWaitMs - 50));

    ASSERT_TRUE(threads.Start());
    ASSERT_TRUE(AllRunning(1)); // the new control server and the hung one
    reactions.Release();
    EXPECT_TRUE(WaitFor([&] { return reactions.hungEnded == 1; }));
    EXPECT_EQ(reactions.revived.load(), 0); // its own run stays stopped although the service runs again
    EXPECT_EQ(reactions.control.load(), 1);
    threads.Stop();
}

} // namespace
