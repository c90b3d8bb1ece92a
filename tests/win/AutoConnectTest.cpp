#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "LogAssertions.h"
#include "core/Log.h"
#include "link/AutoConnect.h"
#include "link/AutoConnectProcessPorts.h"
#include "link/Discovery.h"
#include "support/EventCount.h"

// The auto-connect engine thread on Windows threads, woken through the process-wide discovery service's
// device-list generation. The session controller's ports are recorders, so nothing is sent to any peer.
namespace {

// A second look this soon after the first one can only be a wake: the period is a minute.
constexpr uint32_t kLongPeriodMs = 60000;
constexpr uint32_t kWaitMs = 5000;

class RecordingPorts final : public ProcessAutoConnectPorts {
public:
    AutoConnectAppFacts AppFacts() override {
        looks.Add();
        return AutoConnectAppFacts{false, true, true};
    }
    // No cable and no session: nothing is asked of the session controller.
    StateSnapshot SessionSnapshot() override { return StateSnapshot{}; }
    AutoConnectRuntimeFacts RuntimeFacts() override { return AutoConnectRuntimeFacts{}; }
    bool CablePresent() override { return false; }
    void OnLocalDeviceRemoved() override { ++sessionCalls; }
    void StopAllSessions(const char*) override { ++sessionCalls; }
    void ClearPeerCache() override { ++sessionCalls; }
    void OnLocalDeviceInserted() override { ++sessionCalls; }
    bool RequestControlDevice(const std::string&) override {
        ++sessionCalls;
        return false;
    }
    void SetRuntimeIdle() override {}
    void SetStatusMessage(const std::string&, bool) override {}

    EventCount looks; // a look begins with AppFacts
    std::atomic<int> sessionCalls{0};
};

class AutoConnectWine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Log::Open()); }
    void TearDown() override {
        engine.Stop();
        Log::Close();
    }

    RecordingPorts ports;
    AutoConnect engine{ports, kLongPeriodMs};
};

TEST_F(AutoConnectWine, TheEngineWakesAtOnceWhenTheDeviceListChanges) {
    engine.SetIntent(true, "boot restore saved auto-connect");
    engine.Start();
    ASSERT_TRUE(ports.looks.WaitFor(1, kWaitMs));

    // Discovery's own bump (a new peer or a changed id) and the cable's report each wake the thread.
    const int looks = ports.looks.Value();
    Discovery::Service().WakeDeviceListWaiters();
    EXPECT_TRUE(ports.looks.WaitFor(looks + 1, kWaitMs));
    engine.OnDevicePresence(true);
    EXPECT_TRUE(ports.looks.WaitFor(looks + 2, kWaitMs));
    engine.Stop();
    EXPECT_EQ(engine.State(), AutoConnectState::Stopped);
    EXPECT_EQ(ports.sessionCalls.load(), 0);
}

TEST_F(AutoConnectWine, StartAndStopAreIdempotent) {
    const size_t offset = OwnLog().size();
    engine.Start();
    engine.Start();
    ASSERT_TRUE(ports.looks.WaitFor(1, kWaitMs));
    const DWORD before = GetTickCount();
    engine.Stop();
    // The stop wakes the thread from its minute-long wait and joins it.
    EXPECT_LT(GetTickCount() - before, AutoConnect::kStopWaitMs);
    engine.Stop();
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.State(), AutoConnectState::Stopped);

    engine.Start();
    ASSERT_TRUE(ports.looks.WaitFor(2, kWaitMs));
    engine.Stop();

    Log::Flush();
    const std::string log = OwnLogSince(offset);
    EXPECT_EQ(CountOf(log, "[AUTOCONNECT] engine start intent=Disabled state=Idle"), 2u) << log;
    EXPECT_EQ(CountOf(log, "[AUTOCONNECT] start ignored: already running intent=Disabled state=Idle"), 1u);
    EXPECT_EQ(CountOf(log, "[AUTOCONNECT] thread enter"), 2u);
    EXPECT_EQ(CountOf(log, "[AUTOCONNECT] thread leave"), 2u);
    EXPECT_EQ(CountOf(log, "[AUTOCONNECT] engine stopped intent=Disabled state=Stopped"), 2u);
    EXPECT_TRUE(InOrder(log, {"[AUTOCONNECT] thread leave", "[AUTOCONNECT] engine stopped"}));
}

} // namespace
