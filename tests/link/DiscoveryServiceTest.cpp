#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "DiscoveryTestFakes.h"
#include "core/StateTestSupport.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "link/ControlMessage.h"
#include "link/DiscoveryService.h"
#include "link/LocalIdentity.h"
#include "support/TestLog.h"

namespace {

using namespace Discovery;

constexpr const char* kPeerIp = "10.0.0.2";

class DiscoveryServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().tick += 100000; // fresh throttle keys for the lines that are rate-limited
        TestLog().Clear();
        m_identity = CurrentLocalIdentity();
        SetLocalIdentity(MakeLocalIdentity("SELF"));
        service.SetReactions(&reactions);
    }
    void TearDown() override {
        SetLocalIdentity(m_identity);
        Log::Close();
    }

    std::vector<std::string> Ids() {
        std::vector<std::string> ids;
        for (const PeerRecord& r : service.GetDiscoveredDevices())
            ids.push_back(r.id);
        return ids;
    }
    // The active peer, seen 2501 ms ago: the next cleanup removes it with "udp-timeout".
    void ActivePeerFallsSilent() {
        reactions.activeIp = kPeerIp;
        service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, platform.now, "Bee"));
        platform.now += 2501;
    }

    RuntimeTestBinding runtime;
    FakeDiscoveryPlatform platform;
    RecordingReactions reactions;
    DiscoveryService service{platform};

private:
    LocalIdentity m_identity;
};

TEST_F(DiscoveryServiceTest, OnlyForeignPeersAtLinkAddressesAreAdded) {
    struct Case {
        const char* name;
        PeerRecord record;
        bool added;
        const char* line;
    };
    const uint32_t now = platform.now;
    const std::vector<Case> cases = {
        {"empty id", MakePeer("", kPeerIp, now), false, nullptr},
        {"own id (own broadcast)", MakePeer("TSLY-SELF", "10.77.0.1", now), false, nullptr},
        {"empty ip", MakePeer("TSLY-B", "", now), false, nullptr},
        {"outside 10/8", MakePeer("TSLY-B", "192.168.1.5", now), false,
         "Discovery ignored non-10 peer id=TSLY-B ip=192.168.1.5"},
        {"1.0.0.1 is not 10.x", MakePeer("TSLY-B", "1.0.0.1", now), false, nullptr},
        {"foreign id at 10.x", MakePeer("TSLY-B", kPeerIp, now, "Bee", "7", 1), true,
         "Discovery found device name=Bee id=TSLY-B ip=10.0.0.2 ver=7 ultra=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLog().Clear();
        service.OnDeviceFound(c.record);
        EXPECT_EQ(service.FindPeerById(c.record.id).has_value(), c.added);
        if (c.line != nullptr)
            EXPECT_EQ(CountLogMessages(c.line), 1u);
    }
    EXPECT_EQ(Ids(), std::vector<std::string>{"TSLY-B"});
}

TEST_F(DiscoveryServiceTest, AFoundPeerClearsBothPeerLostFlagsAndGivesTheActivePeersVersion) {
    StateManager& state = runtime.stateManager;
    state.SetNetworkPeerLost(true, kPeerIp, "test");
    state.SetPeerLost(true, "test");
    runtime.stateLog.Clear();

    service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, 1, "Bee", "5"));
    EXPECT_FALSE(state.IsNetworkPeerLost());
    EXPECT_FALSE(state.IsPeerLost());
    EXPECT_TRUE(runtime.stateLog.Has("[STATE][NET] peerLost=0 ip=10.0.0.2 reason=Discovery peer available"));
    EXPECT_EQ(runtime.stateLog.Count("[STATE] peerLost=0"), 1u);
    EXPECT_EQ(RuntimeMakeSnapshot().peerVersion, ""); // not the active peer

    reactions.activeIp = kPeerIp;
    service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, 2, "Bee", "6"));
    EXPECT_EQ(RuntimeMakeSnapshot().peerVersion, "6");
    service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, 3, "Bee", ""));
    EXPECT_EQ(RuntimeMakeSnapshot().peerVersion, "6"); // an empty version changes nothing
}

TEST_F(DiscoveryServiceTest, AFloodOfSpoofedPeersStaysBoundedAndIsLoggedSparingly) {
    for (int i = 0; i < 200; ++i)
        service.OnDeviceFound(MakePeer("X" + std::to_string(i), "10.1.0." + std::to_string(i), platform.now));
    EXPECT_EQ(service.GetDiscoveredDevices().size(), kPeerTableCapacity);
    EXPECT_EQ(CountLogMessages("Discovery ignored peer: table full"), 1u);
    for (int i = 0; i < 50; ++i)
        service.OnDeviceFound(MakePeer("Y", "172.16.0." + std::to_string(i), platform.now));
    EXPECT_EQ(CountLogMessages("Discovery ignored non-10 peer"), 1u);
}

TEST_F(DiscoveryServiceTest, DatagramsActOnDiscoverAndTheTwoControlVerbsOnly) {
    const std::string self = BuildDiscoverMessage(CurrentLocalIdentity());
    const std::string peer = BuildDiscoverMessage({"TSLY-B", "Bee", "9"});
    const std::string request = "TSLY_CONTROL_REQUEST;id=TSLY-B;name=Bee;req_w=0;";
    const std::string stop = "TSLY_CONTROL_STOP;id=TSLY-B;name=Bee;";

    service.HandleDatagram(self, "10.77.0.1");               // own broadcast
    service.HandleDatagram(peer, "192.168.0.9");             // outside the link
    service.HandleDatagram("TSLY_PING;id=TSLY-C;", kPeerIp); // not a discovery verb
    service.HandleDatagram("TSLY_VIDEO_VISIBILITY;id=TSLY-C;hidden=1;", kPeerIp);
    service.HandleDatagram("TSLY_DISCOVERY;id=TSLY-C;", kPeerIp);
    EXPECT_TRUE(Ids().empty());

    service.HandleDatagram(std::string(peer) + '\0' + "garbage", kPeerIp);
    std::vector<PeerRecord> peers = service.GetDiscoveredDevices();
    ASSERT_EQ(peers.size(), 1u);
    EXPECT_EQ(peers[0].id, "TSLY-B");
    EXPECT_EQ(peers[0].ip, kPeerIp);
    EXPECT_EQ(peers[0].lastSeenTick, platform.now.load());
    EXPECT_EQ(peers[0].ultra, 1u);

    service.HandleDatagram(request + std::string(1, '\0') + "tail", kPeerIp);
    service.HandleDatagram(stop, kPeerIp);
    service.HandleDatagram(stop, "127.0.0.1");
    service.HandleDatagram("TSLY_CONTROL_STOP;id=TSLY-SELF;", kPeerIp);
    service.HandleDatagram("TSLY_CONTROL_STOP;name=Bee;", kPeerIp);
    EXPECT_EQ(reactions.controlMessages, (std::vector<std::string>{std::string(kPeerIp) + "|" + request,
                                                                   std::string(kPeerIp) + "|" + stop}));
    EXPECT_EQ(CountLogMessages("Discovery ignored TCP/UDP control from non-10 peer ip=127.0.0.1"), 1u);
}

TEST_F(DiscoveryServiceTest, UltraCapabilityIsReadByAddress) {
    service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, 1, "Bee", "1", 1));
    service.OnDeviceFound(MakePeer("TSLY-C", "10.0.0.3", 1, "Cee", "1", 0));
    EXPECT_TRUE(service.IsPeerUltraCapable(kPeerIp));
    EXPECT_FALSE(service.IsPeerUltraCapable("10.0.0.3"));
    EXPECT_FALSE(service.IsPeerUltraCapable("10.0.0.4"));
    EXPECT_FALSE(service.IsPeerUltraCapable(""));
}

// The active peer that expires gets the same peer-lost reaction whichever path removed it.
TEST_F(DiscoveryServiceTest, AnExpiredActivePeerIsLostOnEveryExpiryPath) {
    enum class Path { Liveness, Lister };
    for (Path path : {Path::Liveness, Path::Lister}) {
        SCOPED_TRACE(path == Path::Liveness ? "liveness" : "lister");
        RuntimeStateReset();
        runtime.stateManager.SetPeerLost(false);
        runtime.stateManager.SetNetworkPeerLost(false, "", "reset");
        runtime.stateLog.Clear();
        TestLog().Clear();
        reactions.peerLost = 0;
        platform.pingOk = true; // port 5003 still answers: removed by age, "udp-timeout"
        ActivePeerFallsSilent();

        if (path == Path::Liveness) {
            DiscoveryRun run;
            service.CleanupExpired(&run);
        } else {
            EXPECT_TRUE(service.GetDiscoveredDevices().empty());
            // Never on the lister's thread (it may hold the session controller's locks): on the next turn
            // of the DiscoveryBroadcast thread.
            EXPECT_EQ(reactions.peerLost.load(), 0);
            service.RunPendingPeerLoss();
        }
        EXPECT_EQ(reactions.peerLost.load(), 1);
        EXPECT_EQ(
            CountLogMessages("Discovery expired device name=Bee id=TSLY-B ip=10.0.0.2 reason=udp-timeout fail=0"),
            1u);
        EXPECT_EQ(CountLogMessages("[NET][SERVICE] peerLost ip=10.0.0.2 reason=Discovery TCP/heartbeat timeout"), 1u);
        EXPECT_TRUE(runtime.stateManager.IsNetworkPeerLost());
        EXPECT_TRUE(runtime.stateManager.IsPeerLost());
        EXPECT_TRUE(runtime.stateLog.Has(
            "[STATE][NET] peerLost=1 ip=10.0.0.2 reason=Discovery TCP/heartbeat timeout"));
        EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, "Peer offline");
        service.RunPendingPeerLoss(); // once only
        EXPECT_EQ(reactions.peerLost.load(), 1);
    }
}

TEST_F(DiscoveryServiceTest, ExpiryOfAPeerThatIsNotActiveLosesNothing) {
    reactions.activeIp = "10.0.0.9";
    service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, platform.now));
    platform.now += 5000;
    EXPECT_TRUE(service.GetDiscoveredDevices().empty());
    service.RunPendingPeerLoss();
    EXPECT_EQ(reactions.peerLost.load(), 0);
    EXPECT_TRUE(platform.refreshes.empty());
}

TEST_F(DiscoveryServiceTest, ALossNoticedWhileStoppedIsDiscardedAtTheNextStart) {
    ActivePeerFallsSilent();
    service.GetDiscoveredDevices();
    service.DiscardPendingPeerLoss();
    service.RunPendingPeerLoss();
    EXPECT_EQ(reactions.peerLost.load(), 0);
}

TEST_F(DiscoveryServiceTest, LivenessChecksStopWhenTheRunStops) {
    service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, platform.now));
    platform.now += 1000;
    DiscoveryRun run;
    run.RequestStop();
    service.CleanupExpired(&run);
    EXPECT_TRUE(platform.pings.empty());
    DiscoveryRun live;
    service.CleanupExpired(&live);
    EXPECT_EQ(platform.pings, std::vector<std::string>{kPeerIp});
    EXPECT_EQ(service.GetDiscoveredDevices().at(0).tcpFailures, 1);
}

// The steps after the active peer expired, by outcome.
TEST_F(DiscoveryServiceTest, LossReactionFollowsTheDecision) {
    struct Case {
        const char* name;
        uint32_t downloads;
        bool cable;
        bool transportAlive;
        bool rescanned;
        const char* line;
        bool networkLost;
        bool sessionLost;
    };
    const std::vector<Case> cases = {
        {"download running", 1, true, false, false,
         "Discovery peer lost deferred during HTTP transfer ip=10.0.0.2 name=Bee", false, false},
        {"cable gone", 0, false, false, true,
         "Discovery peer loss mapped to local authorized-device removal ip=10.0.0.2", false, false},
        {"transport alive", 0, true, true, true,
         "[DISCOVERY][SESSION_GUARD] liveness lost but active transport alive; keep session ip=10.0.0.2 "
         "name=Bee",
         true, false},
        {"session lost", 0, true, false, true,
         "[NET][SERVICE] peerLost ip=10.0.0.2 reason=Discovery TCP/heartbeat timeout", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RuntimeStateReset();
        runtime.stateManager.SetNetworkPeerLost(false, "", "reset");
        runtime.stateManager.SetPeerLost(false);
        TestLog().Clear();
        platform.refreshes.clear();
        reactions.peerLost = 0;
        RuntimeSetHttpActiveDownloads(static_cast<int32_t>(c.downloads));
        platform.cablePresent = c.cable;
        RuntimeSetHostRunning(c.transportAlive);
        reactions.inputConnected = c.transportAlive;
        ActivePeerFallsSilent();
        DiscoveryRun run;
        service.CleanupExpired(&run);

        EXPECT_EQ(platform.refreshes, c.rescanned ? std::vector<std::string>{"peer-lost-fast-check"}
                                                  : std::vector<std::string>{});
        EXPECT_EQ(CountLogMessages(c.line), 1u) << c.line;
        EXPECT_EQ(runtime.stateManager.IsNetworkPeerLost(), c.networkLost);
        EXPECT_EQ(runtime.stateManager.IsPeerLost(), c.sessionLost);
        EXPECT_EQ(reactions.peerLost.load(), c.sessionLost ? 1 : 0);
    }
}

TEST_F(DiscoveryServiceTest, CableRemovalForgetsThePeersAndTheControlCaches) {
    service.OnDeviceFound(MakePeer("TSLY-B", kPeerIp, platform.now));
    service.ClearPeerCacheForDeviceRemoval();
    EXPECT_TRUE(service.GetDiscoveredDevices().empty());
    EXPECT_EQ(reactions.cacheResets.load(), 1);
    EXPECT_EQ(reactions.visibilityUnconfirmed.load(), 1);
    EXPECT_EQ(reactions.visibilityWakes.load(), 1);
    EXPECT_EQ(CountLogMessages("Discovery peer cache cleared for local authorized-device removal"), 1u);
}

TEST_F(DiscoveryServiceTest, BroadcastNowIsTakenOnce) {
    EXPECT_FALSE(service.TakeBroadcastNow());
    service.RequestBroadcastNow();
    EXPECT_TRUE(service.TakeBroadcastNow());
    EXPECT_FALSE(service.TakeBroadcastNow());
}

// Datagrams on the broadcast thread against the ControlView, auto-connect and session controller reading
// the table (ThreadSanitizer build).
TEST_F(DiscoveryServiceTest, FoundPeersAndReadersRunConcurrently) {
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 3000; ++i) {
            service.OnDeviceFound(MakePeer("TSLY-" + std::to_string(i % 40),
                                           "10.2.0." + std::to_string(i % 50), platform.now,
                                           "N" + std::to_string(i)));
            if (i % 100 == 0)
                service.ClearPeerCacheForDeviceRemoval();
        }
        done = true;
    });
    std::thread clock([&] {
        while (!done) {
            platform.now += 7;
            std::this_thread::yield();
        }
    });
    size_t reads = 0;
    while (!done) {
        for (const PeerRecord& r : service.GetDiscoveredDevices())
            EXPECT_EQ(r.ip.compare(0, 3, "10."), 0);
        service.IsPeerUltraCapable("10.2.0.1");
        service.FindPeerById("TSLY-1");
        service.WaitForDeviceListChange(service.DeviceListGeneration(), 0);
        ++reads;
    }
    writer.join();
    clock.join();
    EXPECT_GT(reads, 0u);
    EXPECT_LE(service.GetDiscoveredDevices().size(), kPeerTableCapacity);
}

} // namespace
