#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "core/Log.h"
#include "core/WorkerThread.h"
#include "support/TestLog.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

// "detach worker thread" is a start-up category line: in the log only while that category is on.
void ExpectDetachLine(const std::string& owner) {
    if (Log::IsDebugCategoryEnabled("startup"))
        EXPECT_THAT(TestLog().Messages(), ElementsAre(owner + ": detach worker thread"));
    else
        EXPECT_TRUE(TestLog().Messages().empty());
}

class WorkerThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
};

TEST_F(WorkerThreadTest, StopWakesTheBodyAndJoinsIt) {
    WorkerThread worker;
    std::atomic<int> passes{0};
    ASSERT_TRUE(worker.Start("Probe", [&](const StopSignal& stop) {
        while (!stop.WaitFor(10000))
            ++passes;
    }));
    EXPECT_TRUE(worker.Active());
    // The body waits 10 s per pass: only the stop can end it this soon.
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Stop(WorkerThread::kWaitForever, "Probe::m_thread"));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    EXPECT_FALSE(worker.Active());
    EXPECT_EQ(passes.load(), 0);
    EXPECT_TRUE(TestLog().Messages().empty()); // joined: nothing detached, nothing thrown
}

TEST_F(WorkerThreadTest, WorkerThatDoesNotEndInTimeIsDetachedWithItsOwnerName) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    // Shared with the body: the detached thread may still be inside set_value when the test ends.
    auto left = std::make_shared<std::promise<void>>();
    auto leftFuture = left->get_future();
    WorkerThread worker;
    ASSERT_TRUE(worker.Start("Stubborn", [released, left](const StopSignal&) {
        released.wait(); // ignores the stop
        left->set_value();
    }));
    EXPECT_FALSE(worker.Stop(30, "Stubborn::m_thread"));
    EXPECT_FALSE(worker.Active());
    EXPECT_TRUE(worker.Signal()->StopRequested());
    ExpectDetachLine("Stubborn::m_thread");
    release.set_value();
    leftFuture.wait(); // the detached body still runs to its end
}

TEST_F(WorkerThreadTest, StopFromTheWorkerItselfDetachesInsteadOfJoiningItself) {
    WorkerThread worker;
    std::promise<bool> result;
    std::promise<void> started;
    std::shared_future<void> go = started.get_future().share();
    ASSERT_TRUE(worker.Start("SelfStop", [&, go](const StopSignal&) {
        go.wait(); // Start has stored the thread
        result.set_value(worker.Stop(WorkerThread::kWaitForever, "SelfStop::self"));
    }));
    started.set_value();
    auto future = result.get_future();
    ASSERT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(future.get());
    ExpectDetachLine("SelfStop::self");
}

TEST_F(WorkerThreadTest, ExceptionsEndTheThreadWithTheirLine) {
    struct Case {
        const char* name;
        std::function<void()> fail;
        const char* expected;
    };
    const Case cases[] = {
        {"Thrower", [] { throw std::runtime_error("boom"); },
         "[THREAD][EXCEPTION] name=Thrower tid=1234 what=boom"},
        {"Oddball", [] { throw 7; }, "[THREAD][EXCEPTION] name=Oddball tid=1234 unknown"},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        WorkerThread worker;
        ASSERT_TRUE(worker.Start(c.name, [&c](const StopSignal&) { c.fail(); }));
        EXPECT_TRUE(worker.WaitEnded(10000)) << c.name;
        EXPECT_TRUE(worker.Stop(0, "unused"));
        EXPECT_THAT(TestLog().Messages(), ElementsAre(c.expected));
    }
}

TEST_F(WorkerThreadTest, LaunchFailureIsReportedAndLeavesNothingHeld) {
    WorkerThread worker([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    std::string error;
    EXPECT_FALSE(worker.Start(
        "NoRoom", [](const StopSignal&) {}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(worker.Active());
    EXPECT_TRUE(worker.Ended());
    EXPECT_TRUE(worker.Stop(0, "unused"));
}

TEST_F(WorkerThreadTest, StartWhileAThreadIsHeldIsRefusedAndARestartGetsAFreshSignal) {
    WorkerThread worker;
    ASSERT_TRUE(worker.Start("First", [](const StopSignal& stop) { stop.WaitFor(10000); }));
    std::string error;
    EXPECT_FALSE(worker.Start(
        "Second", [](const StopSignal&) {}, &error));
    EXPECT_THAT(error, HasSubstr("still held"));
    std::shared_ptr<StopSignal> first = worker.Signal();
    ASSERT_TRUE(worker.Stop(WorkerThread::kWaitForever, "First"));

    std::atomic<bool> sawStop{true};
    ASSERT_TRUE(worker.Start("Second", [&](const StopSignal& stop) { sawStop = stop.StopRequested(); }));
    ASSERT_TRUE(worker.WaitEnded(10000));
    EXPECT_TRUE(worker.Stop(WorkerThread::kWaitForever, "Second"));
    EXPECT_TRUE(first->StopRequested());
    EXPECT_FALSE(sawStop.load()); // the new run does not inherit the old stop
    EXPECT_STREQ(worker.Name(), "Second");
}

TEST_F(WorkerThreadTest, DestroyingARunningWorkerAsksItToStopAndNeverBlocks) {
    auto stopped = std::make_shared<std::promise<void>>();
    auto future = stopped->get_future();
    {
        WorkerThread worker;
        ASSERT_TRUE(worker.Start("Orphan", [stopped](const StopSignal& stop) {
            while (!stop.WaitFor(50)) {
            }
            stopped->set_value();
        }));
    }
    EXPECT_EQ(future.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    ExpectDetachLine("WorkerThread(destroyed)");
}

TEST(StopSignalTest, WaitForReturnsFalseOnTimeoutAndTrueOnceStopped) {
    StopSignal signal;
    EXPECT_FALSE(signal.WaitFor(1));
    std::thread stopper([&] { signal.RequestStop(); });
    EXPECT_TRUE(signal.WaitFor(10000));
    stopper.join();
    EXPECT_TRUE(signal.StopRequested());
    EXPECT_TRUE(signal.WaitFor(0));
}

} // namespace
