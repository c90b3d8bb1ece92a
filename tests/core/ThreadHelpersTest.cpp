#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

#include "core/Log.h"
#include "core/ThreadHelpers.h"
#include "support/TestLog.h"

namespace {

// Works on the process-wide log. Its category switches are read once per process, so the lines checked
// here are ones whose fate does not depend on them: "CrashHandler" lines are always written and
// "[THREAD][STOP]" lines are always dropped.
class ThreadHelpersTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
};

TEST_F(ThreadHelpersTest, DetachesJoinableThreadAndNamesOwner) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::thread worker([released] { released.wait(); });
    DetachWorkerThread(worker, "CrashHandler");
    EXPECT_FALSE(worker.joinable());
    release.set_value();
    EXPECT_THAT(TestLog().Messages(), testing::ElementsAre("CrashHandler: detach worker thread"));
}

TEST_F(ThreadHelpersTest, NullOwnerIsNamedThread) {
    std::thread worker([] {});
    DetachWorkerThread(worker, nullptr);
    EXPECT_FALSE(worker.joinable());
    // A start-up category line: in the file only while that category is on.
    if (Log::IsDebugCategoryEnabled("startup"))
        EXPECT_THAT(TestLog().Messages(), testing::ElementsAre("thread: detach worker thread"));
    else
        EXPECT_TRUE(TestLog().Messages().empty());
}

TEST_F(ThreadHelpersTest, NonJoinableThreadIsLeftAlone) {
    std::thread none;
    DetachWorkerThread(none, "CrashHandler");
    std::thread joined([] {});
    joined.join();
    DetachWorkerThread(joined, "CrashHandler");
    EXPECT_FALSE(none.joinable());
    EXPECT_TRUE(TestLog().Messages().empty());
}

TEST_F(ThreadHelpersTest, ThreadStopLineNamesThreadAndId) {
    const uint32_t savedId = TestLog().threadId;
    TestLog().threadId = 4321;
    LogThreadStop("CrashHandler");
    LogThreadStop("net");
    LogThreadStop(nullptr);
    TestLog().threadId = savedId;
    // Only the first one holds an always-written marker; the filter drops the others from the file.
    EXPECT_THAT(TestLog().Messages(), testing::ElementsAre("[THREAD][STOP] name=CrashHandler tid=4321"));
}

TEST_F(ThreadHelpersTest, DetachedWorkerRunsTheBodyAndLogsWhatItThrows) {
    std::promise<void> ran;
    ASSERT_TRUE(StartDetachedWorker("TestDetached", [&ran] {
        ran.set_value();
        throw std::runtime_error("boom");
    }));
    ASSERT_EQ(ran.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
    // "[THREAD][START]" and "[THREAD][STOP]" lines are filtered out of the test log; the exception line is
    // not.
    for (int i = 0; i < 500 && CountLogMessages("what=boom") == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(CountLogMessages("[THREAD][EXCEPTION] name=TestDetached tid="), 1u);
    EXPECT_EQ(CountLogMessages("what=boom"), 1u);
}

} // namespace
