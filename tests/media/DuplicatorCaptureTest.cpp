#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "media/DuplicatorCapture.h"
#include "support/TestLog.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Polls cond for up to five seconds.
bool WaitUntil(const std::function<bool()>& cond) {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!cond()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(milliseconds(1));
    }
    return true;
}

// Runs a script for each capture call (numbered from 1): frame n is one byte n, n pixels wide.
class ScriptedStep : public ICaptureStep {
public:
    using Script = std::function<CaptureStatus(int call, CapturedFrame& frame)>;

    CaptureStatus CaptureOne(CaptureMode mode, int32_t maxWidth, int32_t maxHeight,
                             CapturedFrame& frame) override {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            lastMode = mode;
            lastMax = {maxWidth, maxHeight};
        }
        const int call = ++calls;
        return script ? script(call, frame) : Deliver(call, frame);
    }

    static CaptureStatus Deliver(int call, CapturedFrame& frame) {
        frame.bytes.assign(1, uint8_t(call));
        frame.width = call;
        frame.height = 1;
        return CaptureStatus::FrameDelivered;
    }

    Script script;
    std::atomic<int> calls{0};
    CaptureMode lastMode = CaptureMode::CpuBgra; // under m_mutex
    std::pair<int32_t, int32_t> lastMax{-1, -1}; // under m_mutex

    std::pair<int32_t, int32_t> LastMax() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return lastMax;
    }

private:
    std::mutex m_mutex;
};

// Delivers frames 1..count, then only time-outs.
ScriptedStep::Script DeliverFirst(int count) {
    return [count](int call, CapturedFrame& frame) {
        return call <= count ? ScriptedStep::Deliver(call, frame) : CaptureStatus::NoNewFrame;
    };
}

class DuplicatorCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
};

TEST_F(DuplicatorCaptureTest, HandsOutTheNewestFrameOfItsOwnModeOnly) {
    ScriptedStep step;
    step.script = DeliverFirst(4);
    DuplicatorCapture capture(step);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 1280, 720), DuplicatorCapture::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return step.calls.load() > 4; }));

    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    EXPECT_FALSE(capture.TakeLatest(CaptureMode::GpuNv12, bytes, width, height, 0));
    ASSERT_TRUE(capture.TakeLatest(CaptureMode::CpuBgra, bytes, width, height, 0));
    EXPECT_EQ(bytes, std::vector<uint8_t>{4});
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(step.LastMax(), (std::pair<int32_t, int32_t>{1280, 720}));
    capture.Stop();
    EXPECT_FALSE(capture.TakeLatest(CaptureMode::CpuBgra, bytes, width, height, 0));
}

TEST_F(DuplicatorCaptureTest, SecondTakeWithoutANewFrameWaitsItsTimeOutAndFails) {
    ScriptedStep step;
    step.script = DeliverFirst(1);
    DuplicatorCapture capture(step);
    ASSERT_EQ(capture.Start(CaptureMode::GpuNv12, 640, 480), DuplicatorCapture::StartResult::Started);
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    ASSERT_TRUE(capture.TakeLatest(CaptureMode::GpuNv12, bytes, width, height, 5000));
    EXPECT_EQ(bytes, std::vector<uint8_t>{1});
    // The GPU mode has no maximum size.
    EXPECT_EQ(step.LastMax(), (std::pair<int32_t, int32_t>{0, 0}));

    const auto start = Clock::now();
    EXPECT_FALSE(capture.TakeLatest(CaptureMode::GpuNv12, bytes, width, height, 60));
    EXPECT_GE(Clock::now() - start, milliseconds(55));
    EXPECT_FALSE(capture.TakeLatest(CaptureMode::GpuNv12, bytes, width, height, 0));
}

TEST_F(DuplicatorCaptureTest, ConsumerAndCaptureThreadShareTheRingWithoutRaces) {
    // Frames of growing size; the consumer must see every frame whole and the numbers only rise.
    ScriptedStep step;
    step.script = [](int call, CapturedFrame& frame) {
        if (call > 400)
            return CaptureStatus::NoNewFrame;
        frame.bytes.assign(size_t(call) * 16, uint8_t(call));
        frame.width = call;
        frame.height = 1;
        return CaptureStatus::FrameDelivered;
    };
    DuplicatorCapture capture(step);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    int last = 0;
    int taken = 0;
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    while (last < 400 && capture.TakeLatest(CaptureMode::CpuBgra, bytes, width, height, 2000)) {
        ASSERT_GT(width, last);
        ASSERT_EQ(bytes.size(), size_t(width) * 16);
        ASSERT_EQ(bytes.front(), uint8_t(width));
        ASSERT_EQ(bytes.back(), uint8_t(width));
        last = width;
        ++taken;
    }
    EXPECT_EQ(last, 400);
    EXPECT_GT(taken, 0);
}

TEST_F(DuplicatorCaptureTest, StopWakesAWaitingConsumer) {
    ScriptedStep step;
    step.script = [](int, CapturedFrame&) { return CaptureStatus::NoNewFrame; };
    DuplicatorCapture capture(step);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    std::atomic<bool> returned{false};
    std::atomic<bool> result{true};
    std::thread consumer([&] {
        std::vector<uint8_t> bytes;
        int32_t width = 0, height = 0;
        result = capture.TakeLatest(CaptureMode::CpuBgra, bytes, width, height, 60000);
        returned = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return step.calls.load() > 2; }));
    capture.Stop();
    EXPECT_TRUE(WaitUntil([&] { return returned.load(); }));
    consumer.join();
    EXPECT_FALSE(result.load());
    EXPECT_FALSE(capture.Running());
}

TEST_F(DuplicatorCaptureTest, StatusFollowsTheLastCapture) {
    std::atomic<CaptureStatus> next{CaptureStatus::AccessLost};
    ScriptedStep step;
    step.script = [&](int call, CapturedFrame& frame) {
        const CaptureStatus status = next.load();
        return status == CaptureStatus::FrameDelivered ? ScriptedStep::Deliver(call, frame) : status;
    };
    DuplicatorCapture capture(step);
    EXPECT_EQ(capture.Status(), CaptureStatus::NoNewFrame);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    EXPECT_TRUE(WaitUntil([&] { return capture.Status() == CaptureStatus::AccessLost; }));
    next = CaptureStatus::DeviceLost;
    EXPECT_TRUE(WaitUntil([&] { return capture.Status() == CaptureStatus::DeviceLost; }));
    next = CaptureStatus::FrameDelivered;
    EXPECT_TRUE(WaitUntil([&] { return capture.Status() == CaptureStatus::FrameDelivered; }));
    capture.Stop();
    capture.ResetStatus();
    EXPECT_EQ(capture.Status(), CaptureStatus::NoNewFrame);
}

TEST_F(DuplicatorCaptureTest, StartWhileRunningIsIgnoredAndAnEndedThreadIsJoinedFirst) {
    ScriptedStep step;
    std::atomic<bool> fail{false};
    step.script = [&](int, CapturedFrame&) -> CaptureStatus {
        if (fail.load())
            throw std::runtime_error("capture broke");
        return CaptureStatus::NoNewFrame;
    };
    DuplicatorCapture capture(step);
    const size_t ignored =
        CountLogMessages("DesktopDuplicator StartAsyncCapture ignored: previous async thread");
    const size_t cleaned =
        CountLogMessages("DesktopDuplicator StartAsyncCaptureNV12 cleanup exited stale thread");
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    EXPECT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::AlreadyRunning);
    EXPECT_EQ(CountLogMessages("DesktopDuplicator StartAsyncCapture ignored: previous async thread"),
              ignored + 1);

    // A capture that throws ends the thread; the next start cleans it up and runs a new one.
    fail = true;
    ASSERT_TRUE(
        WaitUntil([&] { return CountLogMessages("[THREAD][EXCEPTION] name=DesktopDuplicatorAsync ") > 0; }));
    fail = false;
    const int callsBefore = step.calls.load();
    ASSERT_TRUE(WaitUntil([&] {
        return capture.Start(CaptureMode::GpuNv12, 0, 0) == DuplicatorCapture::StartResult::Started;
    }));
    EXPECT_EQ(CountLogMessages("DesktopDuplicator StartAsyncCaptureNV12 cleanup exited stale thread"),
              cleaned + 1);
    EXPECT_TRUE(WaitUntil([&] { return step.calls.load() > callsBefore + 2; }));
    EXPECT_EQ(capture.Mode(), CaptureMode::GpuNv12);
}

TEST_F(DuplicatorCaptureTest, StopFromTheCaptureThreadDetachesWithoutDeadlock) {
    ScriptedStep step;
    DuplicatorCapture* self = nullptr;
    step.script = [&](int call, CapturedFrame& frame) {
        if (call == 3)
            self->Stop();
        return ScriptedStep::Deliver(call, frame);
    };
    DuplicatorCapture capture(step);
    self = &capture;
    const size_t detached = CountLogMessages("StopAsyncCapture called from capture thread; detach self");
    const size_t exited = CountLogMessages("DesktopDuplicator async thread exited");
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    ASSERT_TRUE(
        WaitUntil([&] { return CountLogMessages("DesktopDuplicator async thread exited") > exited; }));
    EXPECT_EQ(CountLogMessages("StopAsyncCapture called from capture thread; detach self"), detached + 1);
    EXPECT_FALSE(capture.Running());
    // The stopping capture published nothing more.
    EXPECT_EQ(step.calls.load(), 3);
    std::vector<uint8_t> bytes;
    int32_t width = 0, height = 0;
    EXPECT_FALSE(capture.TakeLatest(CaptureMode::CpuBgra, bytes, width, height, 0));

    // Nothing is held any more, so a new start runs a new thread.
    step.script = DeliverFirst(1000000);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    EXPECT_TRUE(capture.TakeLatest(CaptureMode::CpuBgra, bytes, width, height, 5000));
}

TEST_F(DuplicatorCaptureTest, StopJoinsOnceAndIsQuietWithoutAThread) {
    ScriptedStep step;
    DuplicatorCapture capture(step);
    const size_t joining = CountLogMessages("DesktopDuplicator StopAsyncCapture joining capture thread");
    const size_t stopped = CountLogMessages("DesktopDuplicator async capture stopped");
    capture.Stop();
    EXPECT_EQ(CountLogMessages("DesktopDuplicator async capture stopped"), stopped);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    capture.Stop();
    capture.Stop();
    EXPECT_EQ(CountLogMessages("DesktopDuplicator StopAsyncCapture joining capture thread"), joining + 1);
    EXPECT_EQ(CountLogMessages("DesktopDuplicator async capture stopped"), stopped + 1);
    EXPECT_FALSE(capture.Running());
}

std::atomic<uint64_t> g_fakeNow{0};
uint64_t FakeNow() {
    return g_fakeNow.load();
}

TEST_F(DuplicatorCaptureTest, PublishesFramesPerSecondAfterEachSecond) {
    g_fakeNow = 0;
    ScriptedStep step;
    step.script = DeliverFirst(5);
    DuplicatorCapture capture(step, &FakeNow);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return step.calls.load() > 5; }));
    EXPECT_EQ(capture.CapturedFps(), 0u);
    g_fakeNow = 1000;
    EXPECT_TRUE(WaitUntil([&] { return capture.CapturedFps() == 5; }));
    // The next second had no frames.
    g_fakeNow = 2000;
    EXPECT_TRUE(WaitUntil([&] { return capture.CapturedFps() == 0; }));
}

TEST_F(DuplicatorCaptureTest, PacingWaitEndsWhenTheIntervalChangesOrOnStop) {
    g_fakeNow = 0; // time stands still, so a paced thread waits its whole interval
    ScriptedStep step;
    DuplicatorCapture capture(step, &FakeNow);
    capture.SetIntervalMs(60000);
    ASSERT_EQ(capture.Start(CaptureMode::CpuBgra, 0, 0), DuplicatorCapture::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return step.calls.load() >= 1; }));
    std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(step.calls.load(), 1);
    capture.SetIntervalMs(0);
    EXPECT_TRUE(WaitUntil([&] { return step.calls.load() >= 3; }));

    capture.SetIntervalMs(60000);
    std::this_thread::sleep_for(milliseconds(50));
    const int paced = step.calls.load();
    std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(step.calls.load(), paced);
    const auto start = Clock::now();
    capture.Stop();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

} // namespace
