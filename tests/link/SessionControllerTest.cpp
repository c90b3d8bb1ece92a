// The outgoing control request: its one-at-a-time guard, and how it meets an incoming request at each point
// of its way (deterministic interleavings driven from inside the fake services), including the tie-break
// of two requests that cross. Ends with a ThreadSanitizer stress of every entry point.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "SessionControllerTestSupport.h"

namespace {

using Calls = std::vector<std::string>;

// This PC is "TSLY-MID": a peer "TSLY-AAA" has the lower id, "TSLY-ZED" the higher.
constexpr const char* kLowerPeer = "TSLY-AAA";
constexpr const char* kHigherPeer = "TSLY-ZED";

std::string RequestFrom(const std::string& id) {
    return "TSLY_CONTROL_REQUEST;id=" + id +
           ";name=Desk;ver=20260827.3;req_w=0;req_h=0;req_fps=30;req_bitrate=8000000;view_hidden=0;view_seq="
           "1;"
           "req_audio=1;req_quality=0;quality_seq=0;cap_uq=1;end=1;";
}

class SessionController : public SessionControllerFixture {
protected:
    void PeerIs(const std::string& id) { services.peers = {Peer(id, kPeerIp)}; }
    void IncomingRequestFrom(const std::string& id) {
        handler.HandleControlMessage(kPeerIp, RequestFrom(id));
    }
    RuntimeSnapshot Snap() { return RuntimeMakeSnapshot(); }
};

TEST_F(SessionController, ARequestSendsAndMakesThisPcTheControllerWithoutWaitingForAcceptance) {
    PeerIs(kHigherPeer);

    EXPECT_TRUE(manager.RequestControlDevice(kHigherPeer));

    // Nothing ran, so the stop before the request tells the peer nothing.
    EXPECT_EQ(services.Calls(), (Calls{"stopClient", "stopHost", std::string("sendRequest ") + kPeerIp,
                                       "stopHost", "stopClient", std::string("startClient ") + kPeerIp}));
    EXPECT_EQ(ConfigService::Instance().GetPeerAddress(), kPeerIp);
    EXPECT_EQ(Snap().role, int32_t(RuntimeRole::Controller));
    EXPECT_EQ(Snap().peerVersion, "20260827.3");
    EXPECT_FALSE(manager.IsRequestInProgress());
}

TEST_F(SessionController, ARequestStopsARunningSessionFirstAndTellsItsPeer) {
    BecomeControlledBy(kOtherIp);
    PeerIs(kHigherPeer);

    EXPECT_TRUE(manager.RequestControlDevice(kHigherPeer));

    Calls calls = services.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 4),
              (Calls{std::string("sendStop ") + kOtherIp, "stopClient", "stopHost",
                     std::string("sendRequest ") + kPeerIp}));
    EXPECT_TRUE(HasLine("KVM stop all sessions reason=switch to controller"));
}

TEST_F(SessionController, AnUnknownPeerIdSendsNothing) {
    PeerIs(kHigherPeer);
    EXPECT_FALSE(manager.RequestControlDevice("TSLY-GONE"));
    EXPECT_TRUE(services.Calls().empty());
    EXPECT_FALSE(manager.IsRequestInProgress());
}

TEST_F(SessionController, ASecondRequestWhileOneIsUnderWayIsRefused) {
    PeerIs(kHigherPeer);
    bool second = true;
    services.onFindPeer = [&] {
        services.onFindPeer = nullptr;
        second = manager.RequestControlDevice(kHigherPeer);
    };

    EXPECT_TRUE(manager.RequestControlDevice(kHigherPeer));

    EXPECT_FALSE(second);
    EXPECT_TRUE(HasLine("DiscoveryRequestControlDevice ignored: control request already in progress "
                        "deviceId=TSLY-ZED"));
    EXPECT_EQ(services.Count(std::string("sendRequest ") + kPeerIp), 1u);
}

// The incoming request comes before this PC's request went out: it wins whatever the ids, its session is
// not stopped, nothing is sent, and the peer is not told to stop.
TEST_F(SessionController, AnIncomingRequestBeforeSendWinsAndItsSessionSurvives) {
    for (const char* peerId : {kLowerPeer, kHigherPeer}) {
        SCOPED_TRACE(peerId);
        manager.StopAllSessions("reset");
        PeerIs(peerId);
        services.ClearCalls();
        TestLog().Clear();
        services.onFindPeer = [&] {
            services.onFindPeer = nullptr;
            IncomingRequestFrom(peerId);
        };

        EXPECT_FALSE(manager.RequestControlDevice(peerId));

        EXPECT_TRUE(HasLine("[CONTROL][COLLISION] incoming request wins generation="));
        EXPECT_TRUE(HasLine("[CONTROL][COLLISION] outgoing request canceled before send peer=10.0.0.2"));
        EXPECT_EQ(services.Calls(), (Calls{"stopClient", "stopHost", std::string("startHost ") + kPeerIp}));
        EXPECT_EQ(Snap().role, int32_t(RuntimeRole::Controlled));
        EXPECT_TRUE(RuntimeIsHostRunning());
        EXPECT_FALSE(manager.IsRequestInProgress());
    }
}

// Both requests crossed. The PC with the lower id yields to the peer's request and keeps the controlled role.
TEST_F(SessionController, ACrossingRequestFromAHigherIdWinsAfterSend) {
    PeerIs(kHigherPeer);
    services.onSendRequest = [&] { IncomingRequestFrom(kHigherPeer); };

    EXPECT_FALSE(manager.RequestControlDevice(kHigherPeer));

    EXPECT_TRUE(
        HasLine("[CONTROL][COLLISION] outgoing request canceled after send peer=10.0.0.2; do not reverse"));
    EXPECT_FALSE(services.Called("startClient"));
    EXPECT_EQ(services.Count(std::string("startHost ") + kPeerIp), 1u);
    EXPECT_EQ(Snap().role, int32_t(RuntimeRole::Controlled));
}

// ... and the PC with the higher id drops the peer's request and becomes its controller.
TEST_F(SessionController, ACrossingRequestFromALowerIdLosesTheTieBreak) {
    PeerIs(kLowerPeer);
    uint32_t generationAtSend = 0;
    services.onSendRequest = [&] {
        generationAtSend = manager.CollisionGeneration();
        IncomingRequestFrom(kLowerPeer);
    };

    EXPECT_TRUE(manager.RequestControlDevice(kLowerPeer));

    EXPECT_TRUE(HasLine("[CONTROL][COLLISION] incoming request loses tie-break peer=10.0.0.2 peerId=TSLY-AAA "
                        "localId=TSLY-MID"));
    EXPECT_EQ(manager.CollisionGeneration(), generationAtSend);
    EXPECT_FALSE(services.Called("startHost"));
    EXPECT_EQ(services.Count(std::string("startClient ") + kPeerIp), 1u);
    EXPECT_EQ(Snap().role, int32_t(RuntimeRole::Controller));
}

// The crossing request may be read only after this PC's request has already made it the controller.
TEST_F(SessionController, ACrossingRequestAfterTheRequestCompletedIsJudgedTheSameWithinTheWindow) {
    struct Case {
        const char* name;
        const char* peerId;
        uint32_t laterMs;
        bool dropped;
    } cases[] = {
        {"lower peer id, inside the window", kLowerPeer, KvmSessionManager::kCrossingWindowMs - 1, true},
        {"lower peer id, after the window", kLowerPeer, KvmSessionManager::kCrossingWindowMs, false},
        {"higher peer id, inside the window", kHigherPeer, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager.StopAllSessions("reset");
        PeerIs(c.peerId);
        ASSERT_TRUE(manager.RequestControlDevice(c.peerId));
        services.ClearCalls();
        TestLog().tick += c.laterMs;

        IncomingRequestFrom(c.peerId);

        EXPECT_EQ(services.Called("startHost"), !c.dropped);
        EXPECT_EQ(Snap().role, int32_t(c.dropped ? RuntimeRole::Controller : RuntimeRole::Controlled));
    }
}

// A request from the same peer that did not cross (this PC is not its controller) is always accepted.
TEST_F(SessionController, ARequestFromAPeerThatThisPcNoLongerControlsIsAccepted) {
    PeerIs(kLowerPeer);
    ASSERT_TRUE(manager.RequestControlDevice(kLowerPeer));
    manager.StopAllSessions("peer tcp control stop");
    services.ClearCalls();

    IncomingRequestFrom(kLowerPeer);

    EXPECT_TRUE(services.Called("startHost"));
}

TEST_F(SessionController, ConnectFirstDeviceAsksTheFirstPeerOrSaysThereIsNone) {
    EXPECT_FALSE(manager.ConnectFirstDevice());
    EXPECT_EQ(Snap().statusMessage, "No device found");
    EXPECT_TRUE(services.Calls().empty());

    services.peers = {Peer(kHigherPeer, kPeerIp), Peer(kLowerPeer, kOtherIp)};
    EXPECT_TRUE(manager.ConnectFirstDevice());
    EXPECT_EQ(services.Count(std::string("sendRequest ") + kPeerIp), 1u);
    EXPECT_FALSE(services.Called(std::string("sendRequest ") + kOtherIp));
}

// Every entry point from several threads at once: no data race, no deadlock, and the guard and the active
// peer are consistent afterwards.
TEST_F(SessionController, EntryPointsFromManyThreadsStayConsistent) {
    services.peers = {Peer(kHigherPeer, kPeerIp), Peer(kLowerPeer, kOtherIp)};
    constexpr int kRounds = 150;
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i)
            manager.SwitchToController(i % 2 ? kPeerIp : kOtherIp, "Desk");
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i)
            IncomingRequestFrom(i % 2 ? kHigherPeer : kLowerPeer);
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i)
            manager.RequestControlDevice(i % 2 ? kHigherPeer : kLowerPeer);
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i) {
            manager.StopAllSessions(i % 2 ? "peer tcp control stop" : "tray disconnect");
            manager.OnPeerLost();
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kRounds; ++i) {
            manager.OnLocalDeviceInserted();
            handler.HandleControlMessage(kPeerIp, "TSLY_CONTROL_STOP;id=TSLY-ZED;name=Desk;end=1;");
            manager.IsActivePeer(kPeerIp);
            state.requests.RequestOwnedBy(manager.ActivePeerIp());
        }
    });
    for (std::thread& t : threads)
        t.join();

    EXPECT_FALSE(manager.IsRequestInProgress());
    manager.StopAllSessions("end");
    EXPECT_FALSE(RuntimeIsHostRunning());
    EXPECT_FALSE(RuntimeIsClientRunning());
    EXPECT_EQ(manager.ActivePeerName(), "");
    EXPECT_EQ(Snap().programState, int32_t(ProgramState::Idle));
}

} // namespace
