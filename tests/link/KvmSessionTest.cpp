// The session controller's entry points over fake sessions: which sessions are stopped and started, what the
// peer is told, and what the runtime state and the state manager show afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SessionControllerTestSupport.h"
#include "link/KvmSessionHid.h"

namespace {

using Calls = std::vector<std::string>;

class KvmSession : public SessionControllerFixture {
protected:
    RuntimeSnapshot Snap() { return RuntimeMakeSnapshot(); }
};

TEST_F(KvmSession, StopAllTellsThePeerOnlyWhenASessionRunsAndThePeerDidNotAskForTheStop) {
    struct Case {
        const char* name;
        bool sessionRuns;
        const char* activeIp; // empty: none active and no peerAddress either
        const char* reason;
        bool sendsStop;
    } cases[] = {
        {"tray stop of a running session", true, kPeerIp, "tray disconnect", true},
        {"peer asked for it", true, kPeerIp, "peer tcp control stop", false},
        {"peer asked, inside a longer reason", true, kPeerIp, "x peer tcp control stop y", false},
        {"nothing runs", false, kPeerIp, "tray disconnect", false},
        {"no peer known", true, "", "tray disconnect", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigService::Instance().SetPeerAddress("");
        manager.ClearActivePeer();
        if (*c.activeIp != '\0')
            manager.SetActivePeer(c.activeIp, "Desk");
        RuntimeSetHostRunning(c.sessionRuns);
        services.ClearCalls();

        manager.StopAllSessions(c.reason);

        Calls expected;
        if (c.sendsStop)
            expected.push_back(std::string("sendStop ") + c.activeIp);
        expected.insert(expected.end(), {"stopClient", "stopHost"});
        EXPECT_EQ(services.Calls(), expected);
        EXPECT_EQ(manager.ActivePeerName(), "");
        EXPECT_EQ(Snap().peerIp, "");
        EXPECT_EQ(Snap().programState, int32_t(ProgramState::Idle));
        EXPECT_EQ(Snap().role, int32_t(RuntimeRole::None));
        EXPECT_EQ(Snap().statusMessage, c.reason);
    }
}

TEST_F(KvmSession, StopAllWithoutReasonSaysKvmStoppedAndReleasesAForcedHidRoute) {
    BecomeControllerOf(kPeerIp);
    ForceHidFallback(runtime.stateManager, services);
    services.ClearCalls();

    manager.StopAllSessions("");

    EXPECT_TRUE(HasLine("[HID][FORCE] clear fallback: stop all sessions reason="));
    EXPECT_TRUE(HasLine("[HIDASYNC][FORCE] fallback=0 cachedHid=0"));
    EXPECT_FALSE(runtime.stateManager.IsHidForced());
    EXPECT_EQ(services.Calls(), (Calls{"hidCancel fallback-disabled", std::string("sendStop ") + kPeerIp,
                                       "stopClient", "stopHost"}));
    EXPECT_EQ(Snap().statusMessage, "KVM stopped");
    EXPECT_TRUE(HasLine("KVM stop all sessions reason="));
}

TEST_F(KvmSession, SwitchToControlledStopsBothSessionsThenStartsTheHostForThePeer) {
    manager.SetActivePeer(kOtherIp, "Old");
    services.ClearCalls();

    EXPECT_TRUE(manager.SwitchToControlled(kPeerIp, "Desk"));

    EXPECT_EQ(services.Calls(), (Calls{"stopClient", "stopHost", std::string("startHost ") + kPeerIp}));
    EXPECT_EQ(manager.ActivePeerIp(), kPeerIp);
    EXPECT_EQ(manager.ActivePeerName(), "Desk");
    EXPECT_EQ(ConfigService::Instance().GetPeerAddress(), kPeerIp);
    EXPECT_EQ(Snap().role, int32_t(RuntimeRole::Controlled));
    EXPECT_EQ(Snap().programState, int32_t(ProgramState::HostStarting));
    EXPECT_EQ(runtime.stateManager.GetSessionMode(), int32_t(SessionMode::ConnectingControlled));
    EXPECT_TRUE(HasLine("KVM switch to CONTROLLED peer=10.0.0.2 name=Desk"));

    services.ClearCalls();
    EXPECT_TRUE(manager.SwitchToControlled(kPeerIp, "Desk"));
    EXPECT_TRUE(services.Calls().empty());
    EXPECT_TRUE(HasLine("KVM switch to CONTROLLED ignored: already controlled by peer=10.0.0.2"));
}

TEST_F(KvmSession, SwitchToControllerStopsBothSessionsThenStartsTheClientForThePeer) {
    runtime.stateManager.SetNetworkPeerLost(true, kPeerIp, "test");
    runtime.stateManager.SetPeerLost(true, "test");

    EXPECT_TRUE(manager.SwitchToController(kPeerIp, "Desk"));

    EXPECT_EQ(services.Calls(), (Calls{"stopHost", "stopClient", std::string("startClient ") + kPeerIp}));
    EXPECT_EQ(Snap().role, int32_t(RuntimeRole::Controller));
    EXPECT_EQ(runtime.stateManager.GetSessionMode(), int32_t(SessionMode::ConnectingController));
    EXPECT_FALSE(runtime.stateManager.IsNetworkPeerLost());
    EXPECT_FALSE(runtime.stateManager.IsPeerLost());

    services.ClearCalls();
    EXPECT_TRUE(manager.SwitchToController(kPeerIp, "Desk"));
    EXPECT_TRUE(services.Calls().empty());
    EXPECT_TRUE(HasLine("KVM switch to CONTROLLER ignored: already controlling peer=10.0.0.2 locked=0"));
}

// The desktop-locked cache decides the HID route of a controller, also when it is already controlling.
TEST_F(KvmSession, SwitchToControllerKeepsHidWhileThePeerIsLockedAndReleasesItOtherwise) {
    state.desktop.Report(true);
    EXPECT_TRUE(manager.SwitchToController(kPeerIp, "Desk"));
    EXPECT_TRUE(HasLine("[HID][FORCE] keep fallback: switch-to-controller peer is locked peer=10.0.0.2"));
    EXPECT_TRUE(runtime.stateManager.IsHidForced());
    EXPECT_EQ(runtime.stateManager.GetInputRoute(), int32_t(InputRoute::Hid));
    EXPECT_EQ(services.Count("hidProbe force-hid"), 1u);

    TestLog().Clear();
    EXPECT_TRUE(manager.SwitchToController(kPeerIp, "Desk")); // already controlling, still locked
    EXPECT_TRUE(HasLine("[HID][FORCE] keep fallback: active peer locked peer=10.0.0.2 forced=1"));
    EXPECT_TRUE(HasLine("already controlling peer=10.0.0.2 locked=1"));
    EXPECT_EQ(services.Count("hidProbe force-hid"), 1u); // forcing again changes nothing

    state.desktop.Report(false);
    TestLog().Clear();
    EXPECT_TRUE(manager.SwitchToController(kPeerIp, "Desk"));
    EXPECT_TRUE(HasLine("[HID][FORCE] clear fallback: already controlling unlocked peer=10.0.0.2"));
    EXPECT_FALSE(runtime.stateManager.IsHidForced());
    EXPECT_EQ(runtime.stateManager.GetInputRoute(), int32_t(InputRoute::Tcp));
}

TEST_F(KvmSession, ASessionThatCannotStartLeavesErrorWithThePeerStillActive) {
    services.hostStarts = false;
    EXPECT_FALSE(manager.SwitchToControlled(kPeerIp, "Desk"));
    EXPECT_EQ(Snap().programState, int32_t(ProgramState::Error));
    EXPECT_EQ(Snap().errorText, "HostSession start failed");
    EXPECT_TRUE(manager.IsActivePeer(kPeerIp));

    services.clientStarts = false;
    EXPECT_FALSE(manager.SwitchToController(kOtherIp, "Desk"));
    EXPECT_EQ(Snap().programState, int32_t(ProgramState::Error));
    EXPECT_EQ(Snap().errorText, "ClientSession start failed");
    EXPECT_TRUE(manager.IsActivePeer(kOtherIp));
}

TEST_F(KvmSession, WhileStoppingSwitchesAndPeerLossOnlyLogButAStopStillRuns) {
    struct Case {
        const char* name;
        bool appRunning;
        ProgramState programState;
    } cases[] = {
        {"program state STOPPING", true, ProgramState::Stopping},
        {"application no longer running", false, ProgramState::Controlled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager.SetActivePeer(kPeerIp, "Desk");
        RuntimeSetAppRunning(c.appRunning);
        RuntimeSetProgramState(c.programState);
        services.ClearCalls();
        TestLog().Clear();

        EXPECT_FALSE(manager.SwitchToController(kPeerIp, "Desk"));
        EXPECT_FALSE(manager.SwitchToControlled(kPeerIp, "Desk"));
        manager.OnPeerLost();

        EXPECT_TRUE(services.Calls().empty());
        EXPECT_TRUE(HasLine("KVM switch to CONTROLLER ignored: stopping/shutdown peer=10.0.0.2"));
        EXPECT_TRUE(HasLine("KVM switch to CONTROLLED ignored: stopping/shutdown peer=10.0.0.2"));
        EXPECT_TRUE(HasLine("KVM peer lost ignored during stopping reason=Discovery TCP/heartbeat timeout"));
        EXPECT_EQ(Snap().programState, int32_t(c.programState));

        // The shutdown's own stop still ends everything.
        RuntimeSetHostRunning(true);
        manager.StopAllSessions("lifecycle stop");
        EXPECT_EQ(services.Calls(), (Calls{std::string("sendStop ") + kPeerIp, "stopClient", "stopHost"}));
    }
}

TEST_F(KvmSession, PeerLostEndsTheSessionAsPeerLostAndStillNamesThePeer) {
    BecomeControllerOf(kPeerIp);
    runtime.stateManager.SetRemoteLocked(true, "test");
    runtime.stateManager.SetTcpInputConnected(true, "test");
    ForceHidFallback(runtime.stateManager, services);
    RuntimeSetKeyboardActive(true);
    services.ClearCalls();

    manager.OnPeerLost();

    EXPECT_TRUE(HasLine("KVM peer lost ip=10.0.0.2 name=Desk reason=Discovery TCP/heartbeat timeout"));
    EXPECT_EQ(services.Calls(), (Calls{"hidCancel fallback-disabled", "stopClient", "stopHost"}));
    RuntimeSnapshot s = Snap();
    EXPECT_EQ(s.programState, int32_t(ProgramState::PeerLost));
    EXPECT_EQ(s.role, int32_t(RuntimeRole::None));
    EXPECT_EQ(s.peerIp, kPeerIp);
    EXPECT_EQ(s.peerName, "Desk");
    EXPECT_EQ(s.errorText, "Discovery TCP/heartbeat timeout");
    EXPECT_FALSE(s.keyboardActive);
    EXPECT_FALSE(runtime.stateManager.IsRemoteLocked());
    EXPECT_FALSE(runtime.stateManager.IsTcpInputConnected());
    EXPECT_FALSE(runtime.stateManager.IsHidForced());
    EXPECT_EQ(runtime.stateManager.GetSessionMode(), int32_t(SessionMode::PeerLost));
    EXPECT_EQ(manager.ActivePeerName(), ""); // the session controller itself forgot it
}

TEST_F(KvmSession, PeerLostWithoutAnyPeerDoesNothing) {
    manager.OnPeerLost();
    EXPECT_TRUE(services.Calls().empty());
    EXPECT_FALSE(HasLine("KVM peer lost"));
}

TEST_F(KvmSession, CableRemovalStopsEverythingAndWaitsForTheDevice) {
    BecomeControlledBy(kPeerIp);
    runtime.stateManager.SetNetworkPeerLost(true, kPeerIp, "test");

    manager.OnLocalDeviceRemoved();

    EXPECT_TRUE(HasLine("[DEVICE][SESSION] local authorized device removed; publish WaitingDevice"));
    EXPECT_EQ(services.Calls(), (Calls{"stopClient", "stopHost"}));
    RuntimeSnapshot s = Snap();
    EXPECT_EQ(s.statusMessage, "等待设备插入");
    EXPECT_EQ(s.errorText, "设备已断开: required USB device VID_067B&PID_27A5 not found");
    EXPECT_EQ(s.programState, int32_t(ProgramState::Idle));
    EXPECT_EQ(s.peerIp, "");
    EXPECT_FALSE(runtime.stateManager.IsNetworkPeerLost());
    EXPECT_TRUE(runtime.stateLog.Has("[STATE][NET] peerLost=0 ip= reason=local authorized device removed"));
}

TEST_F(KvmSession, CableInsertionRepairsOnlyAnIdleState) {
    BecomeControlledBy(kPeerIp);
    manager.OnLocalDeviceInserted();
    EXPECT_FALSE(HasLine("local authorized device inserted"));
    EXPECT_TRUE(manager.IsActivePeer(kPeerIp));

    manager.StopAllSessions("test");
    RuntimeSetErrorText("stale");
    manager.OnLocalDeviceInserted();
    EXPECT_TRUE(
        HasLine("[DEVICE][SESSION] local authorized device inserted; repair idle state for autoconnect"));
    EXPECT_EQ(Snap().statusMessage, "设备已插入，等待远端");
    EXPECT_EQ(Snap().errorText, "");
}

TEST_F(KvmSession, TheActivePeerFallsBackToTheLastPeerAddressOnceCleared) {
    EXPECT_FALSE(manager.IsActivePeer(""));
    EXPECT_FALSE(manager.IsActivePeer(kPeerIp));

    manager.SetActivePeer(kPeerIp, "Desk");
    manager.SetActivePeer(kPeerIp, ""); // an empty name keeps the old one
    EXPECT_EQ(manager.ActivePeerName(), "Desk");
    EXPECT_EQ(Snap().peerName, "Desk");

    state.requests.Store(kPeerIp, ControlRequestParams{1920, 1080, 30, 8000000, 0, 1, 1, 0, 0});
    state.desktop.Report(true);
    manager.ClearActivePeer();

    EXPECT_TRUE(HasLine("[SESSION] activePeer cleared"));
    EXPECT_EQ(Snap().peerIp, "");
    EXPECT_TRUE(manager.IsActivePeer(kPeerIp)); // the settings keep the last peer
    EXPECT_FALSE(manager.IsActivePeer(kOtherIp));
    EXPECT_EQ(state.requests.RequestOwnedBy(kPeerIp), ControlRequestParams{});
    EXPECT_EQ(state.desktop.Value(), DesktopLockCache::kUnknown);
}

// The runtime state's change notice runs subscribers on the publishing thread; one that asks the controller
// for the peer (from any thread) must not find the peer mutex still held.
TEST_F(KvmSession, ThePeerIsPublishedAfterThePeerMutexIsReleased) {
    std::vector<std::thread> readers;
    std::vector<std::string> seen;
    runtime.events.Subscribe(kEventRuntimeStateChanged, [&](const TslyEvent&) {
        auto answer = std::make_shared<std::promise<std::string>>();
        std::future<std::string> ip = answer->get_future();
        readers.emplace_back([this, answer] { answer->set_value(manager.ActivePeerName()); });
        seen.push_back(ip.wait_for(std::chrono::seconds(2)) == std::future_status::ready
                           ? ip.get()
                           : "<peer mutex held>");
    });

    manager.SetActivePeer(kPeerIp, "Desk");
    manager.ClearActivePeer();
    for (std::thread& reader : readers)
        reader.join();

    EXPECT_EQ(seen, (std::vector<std::string>{"Desk", ""}));
}

TEST_F(KvmSession, APeerIpChangeIsFoundByTheActiveName) {
    services.peers = {Peer("TSLY-A", "", "Desk"), Peer("TSLY-B", kPeerIp, "Desk"),
                      Peer("TSLY-C", "10.0.0.9", "Other"), Peer("TSLY-D", kOtherIp, "Desk")};
    std::string newIp;
    EXPECT_FALSE(manager.ResolvePeerIpChange(kPeerIp, newIp)); // no active name

    manager.SetActivePeer(kPeerIp, "Desk");
    EXPECT_TRUE(manager.ResolvePeerIpChange(kPeerIp, newIp));
    EXPECT_EQ(newIp, kOtherIp);

    services.peers.pop_back();
    newIp.clear();
    EXPECT_FALSE(manager.ResolvePeerIpChange(kPeerIp, newIp));
    EXPECT_EQ(newIp, "");
}

} // namespace
