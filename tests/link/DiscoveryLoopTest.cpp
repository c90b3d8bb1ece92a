#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DiscoveryTestFakes.h"
#include "core/StateTestSupport.h"
#include "core/Log.h"
#include "link/ControlMessage.h"
#include "link/DiscoveryBroadcastLoop.h"
#include "link/DiscoverySchedule.h"
#include "link/DiscoveryService.h"
#include "link/LocalIdentity.h"
#include "support/TestLog.h"

namespace {

using namespace Discovery;

TEST(DiscoverySchedule, PrimaryRetryEvery2000Ms) {
    struct Case {
        uint32_t attempt;
        uint32_t now;
        bool due;
    };
    const std::vector<Case> cases = {
        {1000, 1100, false},          {1000, 2999, false},         {1000, 3000, true},
        {0xFFFFFF00u, 0x6CFu, false}, {0xFFFFFF00u, 0x6D0u, true}, // across the wrap
    };
    for (const Case& c : cases) {
        DiscoverySchedule s;
        EXPECT_TRUE(s.PrimaryBindDue(c.attempt)); // nothing tried yet
        s.PrimaryAttempted(c.attempt);
        EXPECT_EQ(s.PrimaryBindDue(c.now), c.due) << c.attempt << " -> " << c.now;
    }
}

TEST(DiscoverySchedule, LegacyRetryEvery60000MsAndItsFailureIsLoggedOncePerSuccess) {
    DiscoverySchedule s;
    EXPECT_TRUE(s.LegacyBindDue(5));
    EXPECT_TRUE(s.LegacyAttempted(5, false)); // first failure after start: logged
    EXPECT_FALSE(s.LegacyBindDue(60004));
    EXPECT_TRUE(s.LegacyBindDue(60005));
    EXPECT_FALSE(s.LegacyAttempted(60005, false)); // later failures are silent
    EXPECT_FALSE(s.LegacyAttempted(120005, true));
    EXPECT_TRUE(s.LegacyAttempted(180005, false)); // first failure after a success
    s.PrimaryBound();                              // a new primary bind forgets the last attempt
    EXPECT_TRUE(s.LegacyBindDue(180006));
}

TEST(DiscoverySchedule, BroadcastEvery501MsAtOnceWhenAskedAndAfterAPrimaryBind) {
    DiscoverySchedule s;
    EXPECT_TRUE(s.BroadcastDue(100, false)); // never broadcast yet
    s.Broadcasted(100);
    EXPECT_FALSE(s.BroadcastDue(600, false));
    EXPECT_TRUE(s.BroadcastDue(601, false));
    EXPECT_TRUE(s.BroadcastDue(120, true));
    s.PrimaryBound();
    EXPECT_TRUE(s.BroadcastDue(120, false));
}

// Two sockets whose binds follow a script; everything the loop does is recorded on the fake clock.
class ScriptedTransport final : public IDiscoveryTransport {
public:
    explicit ScriptedTransport(FakeDiscoveryPlatform& platform) : m_platform(platform) {}

    bool IsOpen(DiscoverySocketRole role) const override { return m_open[Index(role)]; }
    bool Bind(DiscoverySocketRole role) override {
        std::deque<bool>& script = role == DiscoverySocketRole::Primary ? primaryBinds : legacyBinds;
        bool ok = script.empty() || script.front();
        if (!script.empty())
            script.pop_front();
        (role == DiscoverySocketRole::Primary ? primaryAttempts : legacyAttempts).push_back(m_platform.now);
        m_open[Index(role)] = ok;
        return ok;
    }
    void SendBroadcast(std::string_view message) override {
        broadcasts.push_back(m_platform.now);
        lastBroadcast = std::string(message);
    }
    void Receive(DiscoverySocketRole role, const DatagramSink& sink) override {
        if (role == DiscoverySocketRole::Legacy)
            return;
        while (!inbox.empty() && inbox.front().first <= m_platform.now) {
            inbox.front().second(sink);
            inbox.pop_front();
        }
    }
    void CloseAll() override {
        m_open[0] = m_open[1] = false;
        ++closes;
    }

    std::deque<bool> primaryBinds, legacyBinds;
    std::vector<uint32_t> primaryAttempts, legacyAttempts, broadcasts;
    std::string lastBroadcast;
    // At or after a tick: something that happens on the primary socket's turn.
    std::deque<std::pair<uint32_t, std::function<void(const DatagramSink&)>>> inbox;
    int closes = 0;

private:
    static int Index(DiscoverySocketRole role) { return role == DiscoverySocketRole::Primary ? 0 : 1; }
    FakeDiscoveryPlatform& m_platform;
    bool m_open[2] = {false, false};
};

class DiscoveryLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        m_identity = CurrentLocalIdentity();
        SetLocalIdentity(MakeLocalIdentity("SELF"));
        service.SetReactions(&reactions);
        platform.stopRun = &run;
    }
    void TearDown() override {
        SetLocalIdentity(m_identity);
        Log::Close();
    }
    RuntimeTestBinding runtime;
    FakeDiscoveryPlatform platform;
    RecordingReactions reactions;
    DiscoveryService service{platform};
    ScriptedTransport transport{platform};
    DiscoveryRun run;

private:
    LocalIdentity m_identity;
};

TEST_F(DiscoveryLoopTest, BindsWithRetriesBroadcastsOnScheduleAndCleansUpAtTheEnd) {
    const uint32_t start = platform.now;
    transport.primaryBinds = {false, false, true};
    transport.legacyBinds = {false, false};
    platform.stopAt = start + 4000 + 61000;
    RunBroadcastLoop(run, service, transport);

    EXPECT_EQ(transport.primaryAttempts, (std::vector<uint32_t>{start, start + 2000, start + 4000}));
    EXPECT_EQ(CountLogMessages("[DISCOVERY][BIND] role=primary port=38999 failed; retryMs=2000"), 2u);
    EXPECT_TRUE(runtime.stateLog.Has("[STATE][NET] ports discovery=38999 control=5003 video=6000 input=5000 "
                                     "audio=7001 clipboard=5002 http=0"));
    EXPECT_TRUE(runtime.stateLog.Has("[STATE][NET] discoveryRunning=1"));
    EXPECT_EQ(CountLogMessages("Discovery started primary=38999 legacy=58999 local_id=TSLY-SELF"), 1u);

    // The legacy socket right after the primary one, then a minute later; its failure logged once.
    EXPECT_EQ(transport.legacyAttempts, (std::vector<uint32_t>{start + 4000, start + 64000}));
    EXPECT_EQ(
        CountLogMessages("[DISCOVERY][COMPAT] legacy port=58999 unavailable; primary port=38999 remains active"), 1u);

    // Nothing is broadcast before the primary socket is bound; then at once, and every 501 ms or a little
    // more (the loop turns every 20 ms).
    ASSERT_GT(transport.broadcasts.size(), 100u);
    EXPECT_EQ(transport.broadcasts.front(), start + 4000);
    for (size_t i = 1; i < transport.broadcasts.size(); ++i) {
        uint32_t gap = transport.broadcasts[i] - transport.broadcasts[i - 1];
        EXPECT_GE(gap, 501u);
        EXPECT_LT(gap, 521u);
    }
    EXPECT_EQ(transport.lastBroadcast, BuildDiscoverMessage(CurrentLocalIdentity()));

    EXPECT_EQ(transport.closes, 1);
    EXPECT_FALSE(runtime.stateManager.IsDiscoveryRunning());
    EXPECT_TRUE(runtime.stateLog.Has("[STATE][NET] discoveryRunning=0"));
    EXPECT_EQ(TestLog().Messages().back(), "Discovery stopped");
}

TEST_F(DiscoveryLoopTest, BroadcastNowSendsOnTheNextTurn) {
    const uint32_t start = platform.now;
    transport.inbox.push_back({start + 200, [this](const DatagramSink&) { service.RequestBroadcastNow(); }});
    platform.stopAt = start + 400;
    RunBroadcastLoop(run, service, transport);
    ASSERT_EQ(transport.broadcasts.size(), 2u);
    EXPECT_EQ(transport.broadcasts[0], start);
    EXPECT_EQ(transport.broadcasts[1], start + 220);
}

TEST_F(DiscoveryLoopTest, ReceivedPeersAreCheckedAfterBroadcastsAndExpireWhenDead) {
    const uint32_t start = platform.now;
    const std::string message = BuildDiscoverMessage({"TSLY-B", "Bee", "9"});
    transport.inbox.push_back({start + 40, [&](const DatagramSink& sink) { sink(message, "10.0.0.2"); }});
    platform.pingOk = false;
    platform.stopAt = start + 3000;
    RunBroadcastLoop(run, service, transport);

    EXPECT_EQ(CountLogMessages("Discovery found device name=Bee id=TSLY-B ip=10.0.0.2 ver=9 ultra=1"), 1u);
    // Checked from 701 ms of age on, at each broadcast: dead after the second failure.
    EXPECT_EQ(platform.pings, (std::vector<std::string>{"10.0.0.2", "10.0.0.2"}));
    EXPECT_EQ(CountLogMessages("Discovery expired device name=Bee id=TSLY-B ip=10.0.0.2 reason=tcp-dead fail=2"), 1u);
    EXPECT_TRUE(service.GetDiscoveredDevices().empty());
}

TEST_F(DiscoveryLoopTest, APeerLossLeftByAReaderRunsOnTheLoopsNextTurn) {
    reactions.activeIp = "10.0.0.2";
    service.OnDeviceFound(MakePeer("TSLY-B", "10.0.0.2", platform.now, "Bee"));
    platform.now += 2501;
    service.GetDiscoveredDevices(); // a reader removes it
    EXPECT_EQ(reactions.peerLost.load(), 0);
    platform.stopAt = platform.now + 20;
    RunBroadcastLoop(run, service, transport);
    EXPECT_EQ(reactions.peerLost.load(), 1);
}

TEST_F(DiscoveryLoopTest, AStoppedRunDoesNothing) {
    run.RequestStop();
    RunBroadcastLoop(run, service, transport);
    EXPECT_TRUE(transport.primaryAttempts.empty());
    EXPECT_EQ(TestLog().Messages(), std::vector<std::string>{"Discovery stopped"});
}

} // namespace
