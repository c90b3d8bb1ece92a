// The auto-connect engine's decisions over plain facts: one table per step of a tick, the cooldowns, the log
// gates, the forgotten last attempt and suppress-until across the tick's wrap.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AutoConnectTestSupport.h"
#include "link/AutoConnect.h"
#include "link/AutoConnectTick.h"

namespace {

using Effects = std::vector<std::string>;
using Change = std::function<void(AutoConnectTickInput&)>;

constexpr uint32_t kNow = 100000;

const char* const kDeviceMissingEn =
    "Marlo hardware: not detected | network: unavailable | remote: waiting for hardware";
const char* const kDeviceMissingZh = "Marlo硬件：未检测到 | 网络：不可用 | 远端：等待硬件就绪";
const char* const kAdapterMissingEn =
    "Marlo hardware: detected | local Marlo network adapter: missing | remote: "
    "powered off or USB network not ready";
const char* const kAdapterDownEn =
    "Marlo hardware: detected | local Marlo network adapter: down | remote: powered off or USB link down";
const char* const kNoTenDotEn =
    "Marlo hardware: detected | local Marlo network: no valid 10.x IP | remote: network not ready";
const char* const kNoTenDotZh = "Marlo硬件：已检测 | 本机Marlo网络：没有有效10.x IP | 远端：网络尚未就绪";
const char* const kNetNotReadyEn = "Local Marlo network is not ready";
const char* const kNetNotReadyZh = "本机Marlo网络未就绪";
const char* const kNoPeerEn =
    "Marlo hardware: ready | network: waiting for remote 10.x / Marlo service | remote: not discovered";
const char* const kNoPeerZh = "Marlo硬件：已就绪 | 网络：等待远端10.x网卡/Marlo服务 | 远端：尚未发现";
const char* const kPeerAvailableEn = "Marlo hardware: ready | network: ready | remote discovered: PC-B "
                                     "(10.0.0.2) | requesting remote state...";
const char* const kPeerAvailableZh =
    "Marlo硬件：已就绪 | 网络：已就绪 | 已发现远端：PC-B (10.0.0.2) | 正在获取远端状态...";
const char* const kRediscoveredEn =
    "Marlo hardware: detected | local network: ready 10.0.0.1 | remote: "
    "rediscovered PC-B (10.0.0.2) | session: reconnecting / waiting for remote "
    "health";
const char* const kRediscoveredZh = "Marlo硬件：已检测 | 本机网络：已就绪 10.0.0.1 | 远端：已重新发现 PC-B "
                                    "(10.0.0.2) | 会话：正在重连/等待远端状态";
const char* const kNotRediscoveredEn = "Marlo hardware: detected | local network: ready 10.x | remote: not "
                                       "discovered (rebooting/offline) | session: reconnecting";
const char* const kHealth = "Remote Mac: hardware=ok | network=ok 10.0.0.2 | desktop=aqua";

std::string Attempt(const char* state = "Connecting") {
    return std::string("log [AUTOCONNECT] attempting control peer name=PC-B ip=10.0.0.2 id=TSLY-PC-B "
                       "devicePresent=true intent=Enabled state=") +
           state;
}

const std::string kDeviceLog =
    "log [AUTOCONNECT] device not inserted; waiting intent=Enabled state=WaitingDevice";
const std::string kNoPeerLog =
    "log [AUTOCONNECT] discovery running but no peer yet intent=Enabled state=WaitingPeer";

struct Case {
    const char* name;
    Change setup;
    Effects effects;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AutoConnectTickInput input = ReadyWorld(kNow);
        c.setup(input);
        EXPECT_EQ(Describe(AutoConnect::Tick(input).effects), c.effects);
    }
}

TEST(AutoConnectTick, TheGateSettlesTheStateWithoutLookingFurther) {
    RunCases({
        {"shutting down",
         [](auto& in) { in.app.shuttingDown = true; },
         {"state Stopped (application shutting down)"}},
        {"application not running",
         [](auto& in) { in.app.appRunning = false; },
         {"state Stopped (application shutting down)"}},
        {"lifecycle not started",
         [](auto& in) { in.app.lifecycleStarted = false; },
         {"state Stopped (lifecycle refused start)"}},
        {"intent disabled, even with a stale session and no cable",
         [](auto& in) {
             in.intentEnabled = false;
             in.cablePresent = false;
             in.session.clientRunning = true;
         },
         {"state Idle (auto intent disabled)"}},
    });
}

TEST(AutoConnectTick, AMissingCableEndsAnyStaleSessionAndWaits) {
    RunCases({
        {"no session",
         [](auto& in) { in.cablePresent = false; },
         {"state WaitingDevice (device not inserted)", std::string("status ") + kDeviceMissingEn,
          kDeviceLog}},
        {"client running",
         [](auto& in) {
             in.cablePresent = false;
             in.session.clientRunning = true;
         },
         {"OnLocalDeviceRemoved", "state WaitingDevice (device not inserted)",
          std::string("status ") + kDeviceMissingEn, kDeviceLog}},
        {"only the mode says peer lost",
         [](auto& in) {
             in.cablePresent = false;
             in.session.sessionMode = 6;
         },
         {"OnLocalDeviceRemoved", "state WaitingDevice (device not inserted)",
          std::string("status ") + kDeviceMissingEn, kDeviceLog}},
        {"controlled flag, Chinese",
         [](auto& in) {
             in.cablePresent = false;
             in.session.controlled = true;
             in.english = false;
         },
         {"OnLocalDeviceRemoved", "state WaitingDevice (device not inserted)",
          std::string("status ") + kDeviceMissingZh, kDeviceLog}},
        {"the runtime state's flags alone are no stale session",
         [](auto& in) {
             in.cablePresent = false;
             in.runtime.hostRunning = true;
         },
         {"state WaitingDevice (device not inserted)", std::string("status ") + kDeviceMissingEn,
          kDeviceLog}},
    });
}

TEST(AutoConnectTick, ACableNetworkThatIsNotReadyStopsStaleSessionsAndShowsWhy) {
    const std::string clearing =
        "log [AUTOCONNECT][LOCAL_NET] desk network unavailable; clearing stale session ";
    const std::string waiting = "state WaitingPeer (local Marlo network unavailable)";
    const std::string stop = "StopAllSessions local Marlo network unavailable";
    RunCases({
        {"adapter missing",
         [](auto& in) { in.network = CableNetwork{}; },
         {waiting, "RuntimeIdle", std::string("status ") + kAdapterMissingEn,
          std::string("status+repaint ") + kNetNotReadyEn,
          "log [AUTOCONNECT][LOCAL_NET] waiting found=0 up=0 has10=0 ip="}},
        {"adapter down with its address",
         [](auto& in) { in.network.up = false; },
         {waiting, "RuntimeIdle", std::string("status ") + kAdapterDownEn,
          std::string("status+repaint ") + kNetNotReadyEn,
          "log [AUTOCONNECT][LOCAL_NET] waiting found=1 up=0 has10=1 ip=10.0.0.1"}},
        {"link-local address with a running client, Chinese",
         [](auto& in) {
             in.network.hasTenDot = false;
             in.network.ip = "169.254.7.9";
             in.session.clientRunning = true;
             in.session.sessionMode = 3;
             in.english = false;
         },
         {clearing + "found=1 up=1 has10=0 ip=169.254.7.9 mode=3 reconnect=0", stop, "ClearPeerCache",
          waiting, "RuntimeIdle", std::string("status ") + kNoTenDotZh,
          std::string("status+repaint ") + kNetNotReadyZh,
          "log [AUTOCONNECT][LOCAL_NET] waiting found=1 up=1 has10=0 ip=169.254.7.9"}},
        {"reconnecting alone is a stale session",
         [](auto& in) {
             in.network.hasTenDot = false;
             in.network.ip = "169.254.7.9";
             in.session.reconnecting = true;
         },
         {clearing + "found=1 up=1 has10=0 ip=169.254.7.9 mode=0 reconnect=1", stop, "ClearPeerCache",
          waiting, "RuntimeIdle", std::string("status ") + kNoTenDotEn,
          std::string("status+repaint ") + kNetNotReadyEn,
          "log [AUTOCONNECT][LOCAL_NET] waiting found=1 up=1 has10=0 ip=169.254.7.9"}},
    });
}

TEST(AutoConnectTick, AnOrphanedSessionStateIsRepairedAndLookedAtAgain) {
    struct Row {
        const char* name;
        Change setup;
        bool repair;
    } rows[] = {
        {"connecting as controller, nothing runs",
         [](auto& in) {
             in.session.sessionMode = 1;
             in.session.reconnecting = true;
         },
         true},
        {"controlled flag alone", [](auto& in) { in.session.controlled = true; }, true},
        {"controller flag with mode 3",
         [](auto& in) {
             in.session.controller = true;
             in.session.sessionMode = 3;
         },
         true},
        {"the client runs",
         [](auto& in) {
             in.session.sessionMode = 1;
             in.runtime.clientRunning = true;
         },
         false},
        {"connected",
         [](auto& in) {
             in.session.controller = true;
             in.session.connected = true;
         },
         false},
        {"a control request is being sent",
         [](auto& in) {
             in.session.sessionMode = 1;
             in.session.reconnecting = true;
             in.runtime.requestInProgress = true;
         },
         false},
        {"already repaired in this tick",
         [](auto& in) {
             in.session.sessionMode = 2;
             in.orphanRepaired = true;
         },
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AutoConnectTickInput input = ReadyWorld(kNow);
        row.setup(input);
        const AutoConnectTickResult result = AutoConnect::Tick(input);
        const Effects effects = Describe(result.effects);
        EXPECT_EQ(result.lookAgain, row.repair);
        ASSERT_FALSE(effects.empty());
        EXPECT_EQ(effects.back() == "OnLocalDeviceInserted", row.repair) << effects.back();
        EXPECT_EQ(effects.front().rfind("log [AUTOCONNECT][RECOVERY] repair orphan session state mode=", 0) ==
                      0,
                  row.repair);
    }
    AutoConnectTickInput input = ReadyWorld(kNow);
    input.session.sessionMode = 2;
    input.session.controlled = true;
    input.session.reconnecting = true;
    EXPECT_EQ(
        Describe(AutoConnect::Tick(input).effects),
        (Effects{"log [AUTOCONNECT][RECOVERY] repair orphan session state mode=2 reconnect=1 controller=0 "
                 "controlled=1",
                 "OnLocalDeviceInserted"}));
}

TEST(AutoConnectTick, ARunningSessionIsConnectedAndShowsAFreshHealthLine) {
    RunCases({
        {"client running",
         [](auto& in) { in.session.clientRunning = true; },
         {"state Connected (session already active)"}},
        {"runtime host running",
         [](auto& in) { in.runtime.hostRunning = true; },
         {"state Connected (session already active)"}},
        {"mode controlled",
         [](auto& in) { in.session.sessionMode = 4; },
         {"state Connected (session already active)"}},
        {"health line 10000 ms old",
         [](auto& in) {
             in.session.connected = true;
             in.health = MacHealthEntry{kHealth, "10.0.0.2", kNow - 10000};
         },
         {"state Connected (session already active)", std::string("status ") + kHealth}},
        {"health line 10001 ms old",
         [](auto& in) {
             in.session.connected = true;
             in.health = MacHealthEntry{kHealth, "10.0.0.2", kNow - 10001};
         },
         {"state Connected (session already active)"}},
    });
}

TEST(AutoConnectTick, ASessionBeingSetUpShowsWhatIsKnownOfThePeer) {
    const std::string connecting = "state Connecting (session busy/connecting)";
    RunCases({
        {"peer discovered again",
         [](auto& in) {
             in.session.reconnecting = true;
             in.runtime.requestInProgress = true;
         },
         {connecting, std::string("status ") + kRediscoveredEn}},
        {"peer discovered again, Chinese",
         [](auto& in) {
             in.session.sessionMode = 1;
             in.runtime.requestInProgress = true;
             in.english = false;
         },
         {connecting, std::string("status ") + kRediscoveredZh}},
        {"no peer and no local address",
         [](auto& in) {
             in.session.sessionMode = 2;
             in.orphanRepaired = true;
             in.peers.clear();
             in.network.ip.clear();
         },
         {connecting, std::string("status ") + kNotRediscoveredEn}},
        {"a fresh health line wins",
         [](auto& in) {
             in.session.reconnecting = true;
             in.orphanRepaired = true;
             in.health = MacHealthEntry{kHealth, "10.0.0.2", kNow - 1};
         },
         {connecting, std::string("status ") + kHealth}},
    });
}

TEST(AutoConnectTick, IdleAndReadyAsksTheFirstPeerUnlessHeldBack) {
    RunCases({
        {"no peer",
         [](auto& in) { in.peers.clear(); },
         {"state WaitingPeer (no discovery peer)", std::string("status ") + kNoPeerEn, kNoPeerLog}},
        {"no peer, Chinese",
         [](auto& in) {
             in.peers.clear();
             in.english = false;
         },
         {"state WaitingPeer (no discovery peer)", std::string("status ") + kNoPeerZh, kNoPeerLog}},
        {"first peer asked",
         [](auto& in) { in.peers.push_back(Peer("TSLY-PC-C", "PC-C", "10.0.0.3")); },
         {"state Ready (peer available)", std::string("status+repaint ") + kPeerAvailableEn,
          "state Connecting (issuing control request)", Attempt(), "request TSLY-PC-B"}},
        {"Chinese status",
         [](auto& in) { in.english = false; },
         {"state Ready (peer available)", std::string("status+repaint ") + kPeerAvailableZh,
          "state Connecting (issuing control request)", Attempt(), "request TSLY-PC-B"}},
        {"suppressed for one more millisecond",
         [](auto& in) { in.suppressUntil = kNow + 1; },
         {"state Cooldown (attempt cooldown)"}},
        {"suppression ends at its tick",
         [](auto& in) {
             in.state = AutoConnectState::Cooldown;
             in.suppressUntil = kNow;
         },
         {"state Ready (peer available)", std::string("status+repaint ") + kPeerAvailableEn,
          "state Connecting (issuing control request)", Attempt(), "request TSLY-PC-B"}},
        {"same peer asked 2999 ms ago",
         [](auto& in) {
             in.clocks.lastAttemptPeer = "TSLY-PC-B";
             in.clocks.lastAttemptTick = kNow - 2999;
         },
         {"state Ready (peer available)", std::string("status+repaint ") + kPeerAvailableEn}},
        {"same peer asked 3000 ms ago",
         [](auto& in) {
             in.clocks.lastAttemptPeer = "TSLY-PC-B";
             in.clocks.lastAttemptTick = kNow - 3000;
         },
         {"state Ready (peer available)", std::string("status+repaint ") + kPeerAvailableEn,
          "state Connecting (issuing control request)", Attempt(), "request TSLY-PC-B"}},
        {"another peer asked a moment ago",
         [](auto& in) {
             in.clocks.lastAttemptPeer = "TSLY-PC-C";
             in.clocks.lastAttemptTick = kNow - 1;
         },
         {"state Ready (peer available)", std::string("status+repaint ") + kPeerAvailableEn,
          "state Connecting (issuing control request)", Attempt(), "request TSLY-PC-B"}},
        {"the cable came back: the last attempt is forgotten",
         [](auto& in) {
             in.cableEvent = true;
             in.clocks.lastAttemptPeer = "TSLY-PC-B";
             in.clocks.lastAttemptTick = kNow - 1;
         },
         {"state Ready (peer available)", std::string("status+repaint ") + kPeerAvailableEn,
          "state Connecting (issuing control request)", Attempt(), "request TSLY-PC-B"}},
    });
}

TEST(AutoConnectTick, AnAttemptIsRecordedAndAPassedSuppressionCleared) {
    AutoConnectTickInput input = ReadyWorld(kNow);
    input.suppressUntil = kNow - 1;
    AutoConnectTickResult result = AutoConnect::Tick(input);
    EXPECT_TRUE(result.clearSuppress);
    EXPECT_EQ(result.clocks.lastAttemptPeer, "TSLY-PC-B");
    EXPECT_EQ(result.clocks.lastAttemptTick, kNow);

    input = ReadyWorld(kNow);
    input.suppressUntil = kNow + 1;
    result = AutoConnect::Tick(input);
    EXPECT_FALSE(result.clearSuppress);
    EXPECT_TRUE(result.clocks.lastAttemptPeer.empty());

    input = ReadyWorld(kNow);
    input.cableEvent = true;
    input.clocks.lastAttemptPeer = "TSLY-PC-B";
    input.clocks.lastAttemptTick = kNow - 1;
    input.peers.clear();
    result = AutoConnect::Tick(input);
    EXPECT_TRUE(result.clocks.lastAttemptPeer.empty());
    EXPECT_EQ(result.clocks.lastAttemptTick, 0u);
}

TEST(AutoConnectTick, WaitingLinesAreWrittenOncePerInterval) {
    struct Row {
        const char* name;
        Change setup;
        uint32_t AutoConnectClocks::*gate;
        uint32_t intervalMs;
        std::string line;
    } rows[] = {
        {"device", [](auto& in) { in.cablePresent = false; }, &AutoConnectClocks::deviceLogTick, 30000,
         kDeviceLog},
        {"local network", [](auto& in) { in.network.up = false; }, &AutoConnectClocks::localNetLogTick, 5000,
         "log [AUTOCONNECT][LOCAL_NET] waiting found=1 up=0 has10=1 ip=10.0.0.1"},
        {"no peer", [](auto& in) { in.peers.clear(); }, &AutoConnectClocks::noPeerLogTick, 10000, kNoPeerLog},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto hasLine = [&](const AutoConnectTickResult& result) {
            const Effects effects = Describe(result.effects);
            return std::find(effects.begin(), effects.end(), row.line) != effects.end();
        };
        AutoConnectTickInput input = ReadyWorld(kNow);
        row.setup(input);
        input.clocks.*row.gate = kNow - row.intervalMs;
        AutoConnectTickResult result = AutoConnect::Tick(input);
        EXPECT_FALSE(hasLine(result));
        EXPECT_EQ(result.clocks.*row.gate, kNow - row.intervalMs);

        input.clocks.*row.gate = kNow - row.intervalMs - 1;
        result = AutoConnect::Tick(input);
        EXPECT_TRUE(hasLine(result));
        EXPECT_EQ(result.clocks.*row.gate, kNow);

        // Across the wrap of the tick.
        input.now = 5;
        input.clocks.*row.gate = 0xFFFFFFF0u;
        EXPECT_FALSE(hasLine(AutoConnect::Tick(input)));
    }
}

TEST(AutoConnectTick, SuppressUntilHoldsAcrossTheWrapOfTheTick) {
    const uint32_t until = AutoConnectSuppressDeadline(0xFFFFF000u, kAutoConnectUserConnectSuppressMs);
    EXPECT_EQ(until, 0x00000F40u);
    struct Row {
        uint32_t now;
        bool suppressed;
    } rows[] = {{0xFFFFF000u, true},
                {0xFFFFFFFFu, true},
                {0x00000F3Fu, true},
                {0x00000F40u, false},
                {0x00010000u, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.now);
        EXPECT_EQ(AutoConnectSuppressed(until, row.now), row.suppressed);
        AutoConnectTickInput input = ReadyWorld(row.now);
        input.suppressUntil = until;
        const Effects effects = Describe(AutoConnect::Tick(input).effects);
        EXPECT_EQ(effects.front() == "state Cooldown (attempt cooldown)", row.suppressed) << effects.front();
    }
    // 0 means "none": a deadline that lands on it moves one millisecond on.
    EXPECT_EQ(AutoConnectSuppressDeadline(0xFFFFFFFFu - 4999u, 5000), 1u);
    EXPECT_FALSE(AutoConnectSuppressed(0, 0x80000000u));
}

TEST(AutoConnectTick, AFailedRequestCoolsDownForFiveSeconds) {
    EXPECT_EQ(
        Describe(AutoConnect::AfterRequest(true, "TSLY-PC-B", true, AutoConnectState::Connecting, kNow)),
        (Effects{"log [AUTOCONNECT] DiscoveryRequestControlDevice ok=1 peer=TSLY-PC-B intent=Enabled "
                 "state=Connecting"}));
    EXPECT_EQ(
        Describe(AutoConnect::AfterRequest(false, "TSLY-PC-B", true, AutoConnectState::Connecting, kNow)),
        (Effects{"log [AUTOCONNECT] DiscoveryRequestControlDevice ok=0 peer=TSLY-PC-B intent=Enabled "
                 "state=Connecting",
                 "suppress until 105000", "state Cooldown (connect request failed)",
                 "log [AUTOCONNECT][SUPPRESS] ms=5000 reason=connect request failed"}));
}

TEST(AutoConnectTick, AStateOutsideTheTableIsUnknown) {
    EXPECT_STREQ(AutoConnectStateName(AutoConnectState::BlockedByManualSession), "BlockedByManualSession");
    EXPECT_STREQ(AutoConnectStateName(10), "Unknown");
    EXPECT_STREQ(AutoConnectStateName(-1), "Unknown");
}

} // namespace
