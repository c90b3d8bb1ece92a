#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/Log.h"
#include "input/HidWorkerCore.h"
#include "input/InputMessages.h"
#include "input/HidWorkerFakes.h"
#include "support/TestLog.h"

namespace {

using namespace InputMessage;
using Calls = std::vector<std::string>;

class HidWorkerCoreTest : public ::testing::Test {
protected:
    // Each test starts far from the last one, so process-wide log throttles never carry over; the clock is
    // set before the worker exists, which starts its heartbeat interval from it.
    static uint32_t StartClock() {
        static uint32_t start = 0;
        start += 1000000;
        Log::Open();
        TestLog().Clear();
        TestLog().tick = start;
        return start;
    }

    // Runs every queued item on this thread.
    void RunAll() {
        while (core.RunOne(0)) {
        }
    }

    uint32_t m_start = StartClock();
    FakeHidCable cable;
    FakeHidClock clock;
    std::vector<std::string> openResults;
    HidWorkerCore core{cable, clock, [this](bool available, const char* reason) {
                           openResults.push_back(std::to_string(available) + " " + reason);
                       }};
};

TEST_F(HidWorkerCoreTest, ItemsBecomeTheirCableCallsAfterALazyOpen) {
    core.Enqueue(MakeHidMouseItem(kRButtonDblClk, 4096, 0));
    core.Enqueue(MakeHidWheelItem(10, 20, -120));
    core.Enqueue(MakeHidKeyItem(kKeyDown, 65));
    RunAll();
    EXPECT_EQ(cable.Calls(), (Calls{"open", "mouse 0x0206 4096,0", "wheel 10,20 -120", "kb 65 0x0100"}));
    EXPECT_EQ(openResults, (std::vector<std::string>{"1 AsyncHidWorkerOpen"}));
    EXPECT_EQ(CountLogMessages("[HIDASYNC][OPEN] ret=1"), 1u);
    const HidWorkerCounters c = core.Counters();
    EXPECT_EQ(c.openAttempts, 1u);
    EXPECT_EQ(c.sent, 3u);
    EXPECT_EQ(c.failed, 0u);
}

TEST_F(HidWorkerCoreTest, ModifierItemSendsOnlyTheKeysThatDifferFromWhatWasSent) {
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kShift | HidModifierMask::kAlt));
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kShift | HidModifierMask::kWin));
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kShift | HidModifierMask::kWin));
    RunAll();
    EXPECT_EQ(cable.Calls(), (Calls{"open", "kb 16 0x0100", "kb 18 0x0100", // Shift, Alt down
                                    "kb 18 0x0101", "kb 91 0x0100"}));      // Alt up, Win down; then nothing
    EXPECT_EQ(core.Sent(), (HidWorkerCore::SentModifiers{true, false, false, true}));
    EXPECT_EQ(core.Counters().sent, 3u);
}

TEST_F(HidWorkerCoreTest, ReleaseSendsEveryModifierUpInOrderAndForgetsThem) {
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kCtrl));
    core.Enqueue(MakeHidReleaseModifiersItem());
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kCtrl));
    RunAll();
    EXPECT_EQ(cable.Calls(),
              (Calls{"open", "kb 17 0x0100", "kb 91 0x0101", "kb 92 0x0101", "kb 164 0x0101", "kb 165 0x0101",
                     "kb 18 0x0101", "kb 162 0x0101", "kb 163 0x0101", "kb 17 0x0101", "kb 160 0x0101",
                     "kb 161 0x0101", "kb 16 0x0101", "kb 17 0x0100"}))
        << "after the release Ctrl counts as up, so it goes down again";
}

TEST_F(HidWorkerCoreTest, AReopenedDeviceStartsWithNoModifiersSent) {
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kShift | HidModifierMask::kCtrl));
    RunAll();
    ASSERT_EQ(core.Sent(), (HidWorkerCore::SentModifiers{true, true, false, false}));

    // The handle is lost (a failed write closes it); the worker opens it again, which resets the cable's
    // keyboard, so Shift and Ctrl must be sent again for the next key.
    cable.Close();
    TestLog().tick += HidWorkerCore::kOpenRetryMs;
    cable.ClearCalls();
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kShift | HidModifierMask::kCtrl));
    RunAll();
    EXPECT_EQ(cable.Calls(), (Calls{"open", "kb 16 0x0100", "kb 17 0x0100"}));
    EXPECT_EQ(core.Sent(), (HidWorkerCore::SentModifiers{true, true, false, false}));
}

TEST_F(HidWorkerCoreTest, AWriteThatReopensTheDeviceForgetsTheModifiersSent) {
    const uint32_t all = HidModifierMask::kShift | HidModifierMask::kCtrl | HidModifierMask::kAlt;
    core.Enqueue(MakeHidSetModifiersItem(HidModifierMask::kShift));
    RunAll();
    // Ctrl's write loses the handle; Alt's write reopens the device, which resets the cable's keyboard.
    cable.loseHandleOnNextKey = true;
    core.Enqueue(MakeHidSetModifiersItem(all));
    core.Enqueue(MakeHidSetModifiersItem(all));
    cable.ClearCalls();
    RunAll();
    EXPECT_EQ(cable.Calls(),
              (Calls{"kb 17 0x0100 lost", "reopen", "kb 18 0x0100", // the reset drops all three
                     "kb 16 0x0100", "kb 17 0x0100", "kb 18 0x0100"}));
    EXPECT_EQ(core.Sent(), (HidWorkerCore::SentModifiers{true, true, true, false}));
}

TEST_F(HidWorkerCoreTest, GenericModifierKeysKeepTheRecordInLine) {
    core.Enqueue(MakeHidKeyItem(kKeyDown, 16));
    core.Enqueue(MakeHidSetModifiersItem(0));
    RunAll();
    EXPECT_EQ(cable.Calls(), (Calls{"open", "kb 16 0x0100", "kb 16 0x0101"}))
        << "Shift went down as a key, so a mask without Shift releases it";
}

TEST_F(HidWorkerCoreTest, NumLockTapIsDownEightMillisecondsUp) {
    core.Enqueue(MakeHidNumLockTapItem());
    RunAll();
    EXPECT_EQ(cable.Calls(), (Calls{"open", "kb 144 0x0100", "kb 144 0x0101"}));
    EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{8}));

    cable.failVk = 144;
    core.Enqueue(MakeHidNumLockTapItem());
    RunAll();
    EXPECT_EQ(core.Counters().failed, 1u);
}

TEST_F(HidWorkerCoreTest, WithoutTheCableItemsFailAndOpenIsTriedOncePerSecond) {
    cable.present = false;
    for (int i = 0; i < 3; ++i)
        core.Enqueue(MakeHidKeyItem(kKeyDown, 65));
    RunAll();
    EXPECT_EQ(cable.Calls(), (Calls{"open"}));
    HidWorkerCounters c = core.Counters();
    EXPECT_EQ(c.failed, 3u);
    EXPECT_EQ(c.openAttempts, 1u);
    EXPECT_EQ(c.openFailures, 1u);
    EXPECT_EQ(openResults, (std::vector<std::string>{"0 AsyncHidWorkerOpenFailed"}));
    EXPECT_EQ(CountLogMessages("[HIDASYNC][OPEN][UNAVAILABLE] ret=-1 attempts=1 failures=1"), 1u);

    TestLog().tick += 999;
    EXPECT_FALSE(core.Open());
    TestLog().tick += 1;
    EXPECT_FALSE(core.Open());
    EXPECT_EQ(core.Counters().openAttempts, 2u);
}

TEST_F(HidWorkerCoreTest, AFoundDeviceThatWillNotOpenCountsAsAFailure) {
    cable.openHandle = false;
    EXPECT_FALSE(core.Open());
    EXPECT_EQ(core.Counters().openFailures, 1u);
    EXPECT_EQ(CountLogMessages("[HIDASYNC][OPEN][FAIL] ret=1 attempts=1 failures=1"), 1u);
}

TEST_F(HidWorkerCoreTest, CancelRemovesQueuedItemsAndLogsOnlyWhenSomethingWentAway) {
    EXPECT_EQ(core.Cancel("nothing-here"), 0u);
    core.Enqueue(MakeHidKeyItem(kKeyDown, 65));
    core.Enqueue(MakeHidMouseItem(kMouseMove, 1, 1));
    EXPECT_EQ(core.Cancel("tcp-input-ready"), 2u);
    EXPECT_FALSE(core.RunOne(0));
    EXPECT_EQ(CountLogMessages("[HIDASYNC][CANCEL]"), 1u);
    EXPECT_EQ(CountLogMessages("[HIDASYNC][CANCEL] reason=tcp-input-ready removed=2"), 1u);
}

TEST_F(HidWorkerCoreTest, SlowItemsCountAndTheHeartbeatReportsAndResetsTheMaximum) {
    clock.stepUs = 6000;
    core.Enqueue(MakeHidKeyItem(kKeyDown, 65));
    RunAll();
    EXPECT_EQ(core.Counters().slow, 1u);
    EXPECT_EQ(core.Counters().maxUs, 6000u);
    EXPECT_EQ(CountLogMessages("[HIDASYNC][HEARTBEAT]"), 0u);

    TestLog().tick += HidWorkerCore::kHeartbeatMs;
    clock.stepUs = 10;
    core.Enqueue(MakeHidKeyItem(kKeyUp, 65));
    RunAll();
    EXPECT_EQ(
        CountLogMessages("[HIDASYNC][HEARTBEAT] depth=0 openAttempts=1 openFailures=0 enqueued=2 sent=2 "
                         "failed=0 coalesced=0 dropped=0 slow=1 max_us=6000"),
        1u);
    EXPECT_EQ(core.Counters().maxUs, 0u);
}

// The worker writes without its lock: moves queued while a write is under way coalesce into one, and a button
// up queued after them follows that move.
TEST_F(HidWorkerCoreTest, ABurstOfMovesWhileTheWorkerIsBusyReachesTheCableAsOneMove) {
    core.Enqueue(MakeHidKeyItem(kKeyDown, 65));
    cable.HoldNextWrite();
    std::thread worker([this] {
        for (int i = 0; i < 3; ++i)
            core.RunOne(5000);
    });
    ASSERT_TRUE(cable.WaitInsideWrite());
    constexpr int kBurst = 25;
    for (int i = 0; i < kBurst; ++i)
        ASSERT_TRUE(core.Enqueue(MakeHidMouseItem(kMouseMove, i, i)));
    ASSERT_TRUE(core.Enqueue(MakeHidMouseItem(kLButtonUp, 0, 0)));
    cable.Release();
    worker.join();

    EXPECT_EQ(cable.Calls(), (Calls{"open", "kb 65 0x0100", "mouse 0x0200 24,24", "mouse 0x0202 0,0"}));
    const HidWorkerCounters c = core.Counters();
    EXPECT_EQ(c.coalesced, uint64_t(kBurst - 1));
    EXPECT_EQ(c.sent, 3u);
}

} // namespace
