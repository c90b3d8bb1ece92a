#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/StateTestSupport.h"

namespace {

constexpr RuntimeWindow kWindow = 0x5678;

class StateManagerTest : public ::testing::Test {
protected:
    StateManagerTest() {
        sm.SetSeams(seams);
        t.stateLog.Clear();
    }
    std::vector<std::string> Lines() { return t.stateLog.Lines(); }

    RuntimeTestBinding t;
    StateManager& sm = t.stateManager;
    StateManagerSeams seams;
};

// --- The flag family.

struct FlagCase {
    const char* module;
    const char* field;
    const char* reasonTrue;
    const char* reasonFalse;
    bool (StateManager::*setter)(bool, const char*);
    bool (StateManager::*getter)() const;
    bool netLine;
};

const FlagCase kFlags[] = {
    {"APP", "running", "RunningChanged", "RunningChanged", &StateManager::SetRunning,
     &StateManager::IsRunning, false},
    {"SESSION", "hostRunning", "HostRunningChanged", "HostRunningChanged", &StateManager::SetHostRunning,
     &StateManager::IsHostRunning, false},
    {"SESSION", "clientRunning", "ClientRunningChanged", "ClientRunningChanged",
     &StateManager::SetClientRunning, &StateManager::IsClientRunning, false},
    {"SESSION", "controller", "ControllerFlagChanged", "ControllerFlagChanged", &StateManager::SetController,
     &StateManager::IsController, false},
    {"SESSION", "controlled", "ControlledFlagChanged", "ControlledFlagChanged", &StateManager::SetControlled,
     &StateManager::IsControlled, false},
    {"SESSION", "connected", "Connected", "Disconnected", &StateManager::SetConnected,
     &StateManager::IsConnected, false},
    {"SESSION", "reconnecting", "ReconnectStart", "ReconnectStop", &StateManager::SetReconnecting,
     &StateManager::IsReconnecting, false},
    {"SESSION", "peerLost", "PeerLost", "PeerRecovered", &StateManager::SetPeerLost,
     &StateManager::IsPeerLost, false},
    {"LOCK", "remoteLocked", "RemoteLocked", "RemoteUnlocked", &StateManager::SetRemoteLocked,
     &StateManager::IsRemoteLocked, false},
    {"INPUT", "tcpInputConnected", "TcpInputConnected", "TcpInputDisconnected",
     &StateManager::SetTcpInputConnected, &StateManager::IsTcpInputConnected, false},
    {"HID", "hidPresent", "HidAttached", "HidRemoved", &StateManager::SetHidPresent,
     &StateManager::IsHidPresent, false},
    {"TRANSFER", "fileTransferBusy", "TransferStart", "TransferStop", &StateManager::SetFileTransferBusy,
     &StateManager::IsFileTransferBusy, false},
    {"CLIPBOARD", "clipboardBusy", "ClipboardBusy", "ClipboardIdle", &StateManager::SetClipboardBusy,
     &StateManager::IsClipboardBusy, false},
    {"NETWORK", "discoveryRunning", "DiscoveryStart", "DiscoveryStop", &StateManager::SetDiscoveryRunning,
     &StateManager::IsDiscoveryRunning, true},
    {"NETWORK", "controlRunning", "ControlStart", "ControlStop", &StateManager::SetControlRunning,
     &StateManager::IsControlRunning, true},
};

std::string ValueLine(const FlagCase& f, bool v) {
    return std::string(f.netLine ? "[STATE][NET] " : "[STATE] ") + f.field + "=" + (v ? "1" : "0");
}

std::string Transition(const char* module, const char* field, const char* from, const char* to,
                       const char* reason) {
    return std::string("[DIAG][") + module + "] " + field + " " + from + " -> " + to + " reason=" + reason +
           " source=StateManager";
}

TEST_F(StateManagerTest, FlagFamilyLogsValueAndTransitionWithDefaultReasons) {
    for (const FlagCase& f : kFlags) {
        if (std::string(f.field) == "tcpInputConnected")
            sm.SetRemoteLocked(true); // keep the route-restore rule out of this table
        t.stateLog.Clear();
        EXPECT_TRUE((sm.*f.setter)(true, nullptr)) << f.field;
        EXPECT_TRUE((sm.*f.getter)());
        EXPECT_FALSE((sm.*f.setter)(true, "ignored")) << f.field;
        EXPECT_TRUE((sm.*f.setter)(false, "")) << f.field;
        EXPECT_FALSE((sm.*f.getter)());
        EXPECT_EQ(Lines(), (std::vector<std::string>{
                               ValueLine(f, true), Transition(f.module, f.field, "0", "1", f.reasonTrue),
                               ValueLine(f, false), Transition(f.module, f.field, "1", "0", f.reasonFalse)}))
            << f.field;
        if (std::string(f.field) == "tcpInputConnected")
            sm.SetRemoteLocked(false);
    }
    EXPECT_TRUE(t.ChannelEvents().empty());
    EXPECT_EQ(t.runtimeEvents.load(), 0);
}

TEST_F(StateManagerTest, AGivenReasonReplacesTheDefaultAndTimelineAddsTheTwin) {
    t.stateLog.timeline = true;
    sm.SetRemoteLocked(true, "peer desktop state locked");
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "[STATE] remoteLocked=1",
                  "[DIAG][LOCK] remoteLocked 0 -> 1 reason=peer desktop state locked source=StateManager",
                  "[DIAG][TIMELINE] module=LOCK state=remoteLocked from=0 to=1 reason=peer desktop state "
                  "locked source=StateManager"}));
}

TEST_F(StateManagerTest, SettingAFlagToItsValueIsSilent) {
    for (const FlagCase& f : kFlags)
        EXPECT_FALSE((sm.*f.setter)(false, "x")) << f.field;
    EXPECT_FALSE(sm.SetInputRoute(InputRoute::None));
    EXPECT_FALSE(sm.SetSessionMode(0));
    EXPECT_FALSE(sm.SetHttpServer(false, 0));
    EXPECT_FALSE(sm.SetActiveDownloads(0));
    EXPECT_FALSE(sm.SetActiveDownloads(-4));
    EXPECT_FALSE(sm.SetLocalDrag(false, 3));
    EXPECT_FALSE(sm.SetRemoteDrag(false, 0));
    EXPECT_FALSE(sm.SetClipboardItemCount(-1));
    EXPECT_FALSE(sm.SetNetworkPeerLost(false, "10.0.0.2", "x"));
    sm.LogIntTransition("M", "f", 3, 3, "r");
    EXPECT_TRUE(Lines().empty());
    EXPECT_TRUE(t.ChannelEvents().empty());
    EXPECT_EQ(t.runtimeEvents.load(), 0);
}

TEST_F(StateManagerTest, TcpInputRestoresTheTcpRouteUnlessTheRemoteIsLocked) {
    sm.SetInputRoute(InputRoute::Hid, "ForceHidFallback");
    t.stateLog.Clear();
    sm.SetChannelState(kChannelInput, ChannelState::Connected);
    EXPECT_EQ(sm.GetInputRoute(), 1);
    EXPECT_TRUE(
        t.stateLog.Has(Transition("INPUT", "route", "HID", "TCP", "TcpInputConnectedRestoreTcpRoute")));
    EXPECT_TRUE(t.stateLog.Has("[STATE] inputRoute=1"));

    sm.SetChannelState(kChannelInput, ChannelState::Reconnecting);
    EXPECT_FALSE(sm.IsTcpInputConnected());
    sm.SetInputRoute(InputRoute::Hid);
    sm.SetRemoteLocked(true);
    sm.SetChannelState(kChannelInput, ChannelState::Connected);
    EXPECT_TRUE(sm.IsTcpInputConnected());
    EXPECT_EQ(sm.GetInputRoute(), 2) << "locked: the route stays HID";

    sm.SetRemoteLocked(false);
    sm.SetInputRoute(InputRoute::None);
    sm.SetTcpInputConnected(true, "InputHostHandshake"); // unchanged flag, rule still applies
    EXPECT_EQ(sm.GetInputRoute(), 1);
    EXPECT_TRUE(t.stateLog.Has(Transition("INPUT", "route", "NONE", "TCP", "InputHostHandshake")));
}

TEST_F(StateManagerTest, InputRouteLinesAndNames) {
    EXPECT_TRUE(sm.SetInputRoute(InputRoute::Tcp));
    EXPECT_TRUE(sm.SetInputRoute(7, "odd")); // "NONE" by name as well as 0
    EXPECT_TRUE(sm.SetInputRoute(InputRoute::None, "back"));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "[STATE] inputRoute=1", Transition("INPUT", "route", "NONE", "TCP", "InputRouteChanged"),
                  "[STATE] inputRoute=7", Transition("INPUT", "route", "TCP", "NONE", "odd"),
                  "[STATE] inputRoute=0"}))
        << "no transition when the names are equal";
}

TEST_F(StateManagerTest, SessionModeLineIsThrottledTransitionsAreNot) {
    for (int i = 0; i < 20; ++i)
        sm.SetSessionMode(i % 2 ? 3 : 1, nullptr);
    EXPECT_EQ(t.stateLog.Count("[STATE] sessionMode="), 1u);
    EXPECT_EQ(t.stateLog.Count("[DIAG][SESSION] mode "), 20u);
    EXPECT_TRUE(
        t.stateLog.Has(Transition("SESSION", "mode", "Idle", "ConnectingController", "SessionModeChanged")));
    t.stateLog.now += 1000;
    sm.SetSessionMode(42, "x");
    EXPECT_EQ(t.stateLog.Count("[STATE] sessionMode="), 2u);
    EXPECT_TRUE(t.stateLog.Has(Transition("SESSION", "mode", "Controller", "Unknown", "x")));
}

TEST_F(StateManagerTest, HttpServerDownloadsDragsAndPeerLines) {
    sm.SetHttpServer(true, 50123);
    sm.SetHttpServer(false, 50123);
    EXPECT_EQ(sm.GetHttpPort(), 0);
    sm.SetActiveDownloads(2);
    sm.SetActiveDownloads(1);
    sm.SetActiveDownloads(-3);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "[STATE] httpServer running=1 port=50123",
                           Transition("NETWORK", "httpServer", "0", "1", "HttpServerStart"),
                           "[STATE] httpServer running=0 port=0",
                           Transition("NETWORK", "httpServer", "1", "0", "HttpServerStop"),
                           "[STATE] activeDownloads=2 fileTransferBusy=1",
                           Transition("TRANSFER", "activeDownloads", "0", "2", "ActiveDownloadsChanged"),
                           Transition("TRANSFER", "fileTransferBusy", "0", "1", "DownloadStart"),
                           "[STATE] activeDownloads=1 fileTransferBusy=1",
                           Transition("TRANSFER", "activeDownloads", "2", "1", "ActiveDownloadsChanged"),
                           "[STATE] activeDownloads=0 fileTransferBusy=0",
                           Transition("TRANSFER", "activeDownloads", "1", "0", "ActiveDownloadsChanged"),
                           Transition("TRANSFER", "fileTransferBusy", "1", "0", "DownloadComplete"),
                       }));
    t.stateLog.Clear();
    sm.SetLocalDrag(true, 3);
    sm.SetRemoteDrag(true, -2);
    sm.SetLocalDrag(false, 3);
    sm.SetRemoteDrag(false, 0);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "[STATE] localDrag active=1 count=3",
                           Transition("DRAG", "localDrag", "0", "1", "LocalDragStart"),
                           Transition("DRAG", "localDragFiles", "0", "3", "LocalDragFileCountChanged"),
                           Transition("DRAG", "dragActive", "0", "1", "LocalDragStart"),
                           "[STATE] remoteDrag active=1 count=0",
                           Transition("DRAG", "remoteDrag", "0", "1", "RemoteDragStart"),
                           "[STATE] localDrag active=0 count=0",
                           Transition("DRAG", "localDrag", "1", "0", "LocalDragStop"),
                           Transition("DRAG", "localDragFiles", "3", "0", "LocalDragFileCountChanged"),
                           "[STATE] remoteDrag active=0 count=0",
                           Transition("DRAG", "remoteDrag", "1", "0", "RemoteDragStop"),
                           Transition("DRAG", "dragActive", "1", "0", "RemoteDragStop"),
                       }));
    t.stateLog.Clear();
    sm.SetActivePeer("10.0.0.2", "PC-B");
    sm.SetActivePeer("10.0.0.2", "PC-B");
    sm.SetActivePeer(nullptr, nullptr);
    EXPECT_EQ(
        Lines(),
        (std::vector<std::string>{
            "[STATE] activePeer ip=10.0.0.2 name=PC-B",
            "[DIAG][SESSION] activePeer / -> 10.0.0.2/PC-B reason=ActivePeerChanged source=StateManager",
            "[STATE] activePeer ip=10.0.0.2 name=PC-B",
            "[STATE] activePeer ip= name=",
            "[DIAG][SESSION] activePeer 10.0.0.2/PC-B -> / reason=ActivePeerChanged source=StateManager",
        }));
}

TEST_F(StateManagerTest, IntTransitionDefaultsPortsAndNetworkPeerLost) {
    sm.LogIntTransition(nullptr, nullptr, 1, 2, nullptr);
    PortSet ports;
    ports.video = 6100;
    ports.http = 0;
    sm.PublishPorts(ports);
    EXPECT_TRUE(sm.SetNetworkPeerLost(true, "10.0.0.2", nullptr));
    EXPECT_TRUE(sm.SetNetworkPeerLost(false, "", "Discovery peer available"));
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  "[DIAG][STATE] state 1 -> 2 reason= source=StateManager",
                  "[STATE][NET] ports discovery=38999 control=5003 video=6100 input=5000 audio=7001 "
                  "clipboard=5002 http=0",
                  "[NET][SERVICE] ports discovery=38999 control=5003 video=6100 input=5000 audio=7001 "
                  "clipboard=5002 http=0",
                  "[STATE][NET] peerLost=1 ip=10.0.0.2 reason=PeerLost",
                  Transition("NETWORK", "peerLost", "0", "1", "PeerLost"),
                  "[STATE][NET] peerLost=0 ip= reason=Discovery peer available",
                  Transition("NETWORK", "peerLost", "1", "0", "Discovery peer available"),
              }));
    EXPECT_EQ(sm.GetPorts().video, 6100);
    EXPECT_FALSE(sm.ExchangeHidForced(true));
    EXPECT_TRUE(sm.ExchangeHidForced(false));
}

// --- Channels.

TEST_F(StateManagerTest, ChannelChangeIsPublishedAsEventTypeFourWithExactLines) {
    sm.SetChannelState(kChannelAudio, ChannelState::Connected, "audio ok");
    auto events = t.ChannelEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, 4u);
    EXPECT_EQ(events[0].id, 0u);
    EXPECT_EQ(events[0].value1, 2);
    EXPECT_EQ(events[0].value2, 4);
    EXPECT_EQ(events[0].text, "audio ok");
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "[STATE][NET] channel=2 state=4",
                           Transition("NETWORK", "channelState", "0", "4", "ChannelStateChanged"),
                           "[NET][SERVICE] channel=2 state=4 reason=audio ok",
                           "ConnectionState Audio: Disabled -> Connected reason=audio ok",
                       }));
    EXPECT_EQ(RuntimeGetChannelState(kChannelAudio), 4);
    EXPECT_EQ(sm.GetChannelState(kChannelAudio), 4);
    EXPECT_EQ(t.runtimeEvents.load(), 1) << "the runtime entry changed: notice";
    EXPECT_FALSE(sm.IsConnected()) << "Audio never touches connected";
    EXPECT_TRUE(t.poster.posts.empty()) << "Audio never touches the drag service";

    t.stateLog.Clear();
    sm.SetChannelState(kChannelAudio, ChannelState::Connected, "again");
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(t.ChannelEvents().size(), 1u);

    sm.SetChannelState(kChannelAudio, ChannelState::Listening);
    EXPECT_EQ(Lines().back(), "ConnectionState Audio: Connected -> Listening");
    EXPECT_EQ(t.ChannelEvents().back().text, "");
}

TEST_F(StateManagerTest, AChannelOutsideZeroToThreeIsRefused) {
    for (int channel : {4, -1, 100}) {
        sm.SetChannelState(channel, ChannelState::Connected, "bad");
        EXPECT_EQ(Lines().back(), "[STATE][WARN] channel state refused channel=" + std::to_string(channel) +
                                      " state=4 reason=bad");
    }
    EXPECT_EQ(Lines().size(), 3u);
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), 0) << "not written into channel 0";
    EXPECT_EQ(sm.GetChannelState(kChannelVideo), 0);
    EXPECT_FALSE(sm.IsConnected());
    EXPECT_TRUE(t.ChannelEvents().empty());
    EXPECT_EQ(t.runtimeEvents.load(), 0);
}

TEST_F(StateManagerTest, VideoConnectedPostsTheDragMessageToTheMainWindow) {
    RuntimeSetMainWindow(kWindow);
    sm.SetChannelState(kChannelVideo, ChannelState::Connected, "video up");
    EXPECT_EQ(t.poster.CountPosts(kDragServiceMessage), 1u);
    EXPECT_TRUE(sm.IsConnected());
    EXPECT_TRUE(t.stateLog.Has("[DRAG][SERVICE][CONNECTION] connected=1 reason=video up"));
    EXPECT_EQ(t.stateLog.Count("[DRAG][SERVICE][POST_UI] connected=1 posted=1 hwnd=0x"), 1u);
    EXPECT_TRUE(t.stateLog.Has(Transition("SESSION", "connected", "0", "1", "Connected")));

    // Marked and (per the seam) not running: posts again.
    sm.SetChannelState(kChannelVideo, ChannelState::Reconnecting);
    sm.SetChannelState(kChannelVideo, ChannelState::Connected);
    EXPECT_EQ(t.poster.CountPosts(kDragServiceMessage), 2u);
    EXPECT_TRUE(t.stateLog.Has("[DRAG][SERVICE][CONNECTION] connected=1"));

    // Marked and running: nothing more.
    StateManagerSeams running;
    running.dragRunning = [] { return true; };
    sm.SetSeams(running);
    sm.SetChannelState(kChannelVideo, ChannelState::Reconnecting);
    sm.SetChannelState(kChannelVideo, ChannelState::Connected);
    EXPECT_EQ(t.poster.CountPosts(kDragServiceMessage), 2u);

    sm.SetChannelState(kChannelVideo, ChannelState::Disconnected, "video down");
    ASSERT_EQ(t.poster.CountPosts(kDragServiceMessage), 3u);
    EXPECT_EQ(t.poster.posts.back().wParam, 0u);
    EXPECT_EQ(t.poster.posts.back().window, kWindow);
    EXPECT_FALSE(sm.IsConnected());
    EXPECT_TRUE(t.stateLog.Has("[DRAG][SERVICE][CONNECTION] connected=0 reason=video down"));
}

TEST_F(StateManagerTest, WithoutAWindowOrWhenThePostFailsTheDragServiceIsDrivenDirectly) {
    int starts = 0;
    int stops = 0;
    StateManagerSeams drag;
    drag.startDrag = [&] { ++starts; };
    drag.stopDrag = [&] { ++stops; };
    sm.SetSeams(drag);
    sm.SetChannelState(kChannelVideo, ChannelState::Connected);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(t.stateLog.Count("[DRAG][SERVICE][POST_UI][WARN]"), 0u) << "no window: nothing was posted";

    RuntimeSetMainWindow(kWindow);
    t.poster.fail = true;
    sm.SetChannelState(kChannelVideo, ChannelState::Error);
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(t.stateLog.Has("[DRAG][SERVICE][POST_UI][WARN] failed gle=1400"));
    sm.SetChannelState(kChannelVideo, ChannelState::Disabled);
    EXPECT_EQ(stops, 1) << "neither marked nor running: nothing to stop";
}

TEST_F(StateManagerTest, ResetConnectionStatesTouchesOnlyTheRuntimeEntriesSilently) {
    RuntimeSetMainWindow(kWindow);
    sm.SetChannelState(kChannelVideo, ChannelState::Connected);
    sm.SetChannelState(kChannelInput, ChannelState::Connected);
    RuntimeClearNotifyPending();
    size_t events = t.ChannelEvents().size();
    int notices = t.runtimeEvents.load();
    t.stateLog.Clear();
    sm.ResetConnectionStates();
    for (int c = 0; c < kChannelCount; ++c)
        EXPECT_EQ(RuntimeGetChannelState(c), 1);
    EXPECT_EQ(sm.GetChannelState(kChannelVideo), 4) << "the StateManager's copies stay";
    EXPECT_EQ(t.ChannelEvents().size(), events);
    EXPECT_EQ(t.runtimeEvents.load(), notices);
    EXPECT_FALSE(sm.IsConnected());
    EXPECT_FALSE(sm.IsTcpInputConnected());
    EXPECT_EQ(t.poster.posts.back().message, kDragServiceMessage);
    EXPECT_EQ(t.poster.posts.back().wParam, 0u);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "[DRAG][SERVICE][CONNECTION] connected=0 reason=ResetConnectionStates",
                           Lines()[1],
                           "[STATE] connected=0",
                           Transition("SESSION", "connected", "1", "0", "Disconnected"),
                           "[STATE] tcpInputConnected=0",
                           Transition("INPUT", "tcpInputConnected", "1", "0", "TcpInputDisconnected"),
                       }));
}

// --- The unified state.

struct UnifiedCase {
    int32_t mode;
    bool ready, audio, clipboard, requestedAudio;
    // expected
    int32_t role, programState, sessionMode;
    bool controller, controlled, connected, reconnecting, peerLost, tcpInput;
    int32_t route; // -1: unchanged from the preset (HID)
    int32_t channels[4];
    const char* reasons[4]; // nullptr: the row's reason
    bool rendererStopped;
    bool viewCleared, sizesZeroed;
};

const char* kNoAudio = "controller did not request audio";

const UnifiedCase kUnified[] = {
    {0,     false, true,  true, false,        0,  0,    0,    false, false, false,
     false, false, false, 0,    {1, 1, 1, 1}, {}, true, true, true},
    {5,     false, true,  true, false,        0,  0,    0,    false, false, false,
     false, false, false, 0,    {1, 1, 1, 1}, {}, true, true, true},
    {1,    false, true,  true, false,        1,  4,    1,    true, false, false,
     true, false, false, -1,   {3, 3, 3, 3}, {}, true, true, true},
    {1,    false, false, false, false,        1,  4,    1,    true, false, false,
     true, false, false, -1,    {3, 3, 0, 0}, {}, true, true, true},
    {2,    false, true,  true, true,         2,  1,    2,    false, true, false,
     true, false, false, -1,   {2, 2, 2, 2}, {}, true, true, true},
    {2,
     false,
     true,
     false,
     false,
     2,
     1,
     2,
     false,
     true,
     false,
     true,
     false,
     false,
     -1,
     {2, 2, 0, 0},
     {nullptr, nullptr, kNoAudio, nullptr},
     true,
     true,
     true},
    {3,
     true,
     true,
     true,
     false,
     1,
     5,
     3,
     true,
     false,
     true,
     false,
     false,
     true,
     1,
     {4, 4, 4, 4},
     {nullptr, "input TCP handshake confirmed", nullptr, nullptr},
     false,
     false,
     false},
    {3,
     false,
     false,
     false,
     false,
     1,
     5,
     3,
     true,
     false,
     true,
     false,
     false,
     false,
     -1,
     {4, 3, 0, 0},
     {nullptr, "waiting input TCP handshake", nullptr, nullptr},
     false,
     false,
     false},
    {4,
     true,
     true,
     true,
     true,
     2,
     6,
     4,
     false,
     true,
     true,
     false,
     false,
     true,
     1,
     {4, 4, 4, 4},
     {nullptr, "input TCP handshake confirmed", nullptr, nullptr},
     false,
     true,
     false},
    {4,
     false,
     true,
     false,
     false,
     2,
     6,
     4,
     false,
     true,
     true,
     false,
     false,
     false,
     -1,
     {4, 2, 0, 0},
     {nullptr, "waiting input client handshake", kNoAudio, nullptr},
     false,
     true,
     false},
    {6,     false, true,  true, false,        0,  8,    6,    false, false, false,
     false, true,  false, 0,    {1, 1, 1, 1}, {}, true, true, true},
    {7,     false, true,  true, false,        0,  9,    7,    false, false, false,
     false, false, false, 0,    {6, 1, 1, 1}, {}, true, true, true},
};

TEST_F(StateManagerTest, UnifiedStateTableOverAllModes) {
    for (const UnifiedCase& c : kUnified) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " ready=" + std::to_string(c.ready) +
                     " audio=" + std::to_string(c.audio) + " clipboard=" + std::to_string(c.clipboard) +
                     " requestedAudio=" + std::to_string(c.requestedAudio));
        RuntimeStateReset();
        int rendererStops = 0;
        StateManagerSeams s;
        s.inputChannelReady = [&] { return c.ready; };
        s.audioEnabled = [&] { return c.audio; };
        s.clipboardEnabled = [&] { return c.clipboard; };
        s.controllerRequestedAudio = [&] { return c.requestedAudio; };
        s.stopRenderer = [&] { ++rendererStops; };
        sm.SetSeams(s);
        // Preset: every channel Reconnecting (so every row changes all four), route HID, remote locked only
        // where the row does not connect TCP input, view and sizes set.
        for (int ch = 0; ch < kChannelCount; ++ch)
            sm.SetChannelState(ch, ChannelState::Reconnecting, "preset");
        sm.SetRemoteLocked(!c.tcpInput);
        sm.SetInputRoute(InputRoute::Hid, "preset");
        RuntimeSetKeyboardActive(true);
        RuntimeSetDesktopSize(1920, 1080);
        RuntimeSetStreamSize(1280, 720);
        size_t firstEvent = t.ChannelEvents().size();
        t.stateLog.Clear();

        sm.SetUnifiedState(c.mode, "row reason");

        RuntimeSnapshot r = RuntimeMakeSnapshot();
        StateSnapshot m = sm.Snapshot();
        EXPECT_EQ(r.role, c.role);
        EXPECT_EQ(r.programState, c.programState);
        EXPECT_EQ(m.sessionMode, c.sessionMode) << "the mode the program state maps to";
        EXPECT_EQ(m.controller, c.controller);
        EXPECT_EQ(m.controlled, c.controlled);
        EXPECT_EQ(m.connected, c.connected);
        EXPECT_EQ(m.reconnecting, c.reconnecting);
        EXPECT_EQ(m.peerLost, c.peerLost);
        EXPECT_EQ(m.tcpInputConnected, c.tcpInput);
        EXPECT_EQ(m.inputRoute, c.route < 0 ? 2 : c.route);
        if (c.mode == 6)
            EXPECT_FALSE(m.remoteLocked) << "PeerLost clears remoteLocked";
        for (int ch = 0; ch < kChannelCount; ++ch) {
            EXPECT_EQ(r.channelStates[ch], c.channels[ch]) << ChannelName(ch);
            EXPECT_EQ(m.channelStates[ch], c.channels[ch]) << ChannelName(ch);
        }
        auto events = t.ChannelEvents();
        ASSERT_EQ(events.size() - firstEvent, 4u) << "one type-4 event per channel, in order";
        for (int ch = 0; ch < kChannelCount; ++ch) {
            const TslyEvent& e = events[firstEvent + ch];
            EXPECT_EQ(e.value1, ch);
            EXPECT_EQ(e.value2, c.channels[ch]);
            EXPECT_EQ(e.text, c.reasons[ch] != nullptr ? c.reasons[ch] : "row reason") << ChannelName(ch);
        }
        EXPECT_EQ(rendererStops, c.rendererStopped ? 1 : 0);
        EXPECT_EQ(r.keyboardActive, !c.viewCleared);
        EXPECT_EQ(r.desktopWidth, c.sizesZeroed ? 0u : 1920u);
        EXPECT_EQ(r.streamHeight, c.sizesZeroed ? 0u : 720u);
        EXPECT_EQ(m.desktopWidth, c.sizesZeroed ? 0 : 1920);
        EXPECT_EQ(m.streamWidth, c.sizesZeroed ? 0 : 1280);
        EXPECT_EQ(r.statusMessage, "row reason");
        if (c.mode == 6 || c.mode == 7)
            EXPECT_EQ(r.errorText, "row reason");
        EXPECT_EQ(Lines().back(), "[SESSION] unifiedState=" + std::to_string(c.mode) + " reason=row reason");
    }
}

TEST_F(StateManagerTest, DisconnectingSettlesAtIdle) {
    sm.SetUnifiedState(SessionMode::Controller, "up");
    t.stateLog.Clear();
    sm.SetUnifiedState(SessionMode::Disconnecting, "bye");
    EXPECT_EQ(sm.GetSessionMode(), 0);
    EXPECT_EQ(RuntimeGetProgramState(), 0);
    EXPECT_EQ(RuntimeGetRole(), 0);
    EXPECT_TRUE(t.stateLog.Has(Transition("SESSION", "mode", "Controller", "Disconnecting", "bye")));
    EXPECT_TRUE(
        t.stateLog.Has(Transition("SESSION", "mode", "Disconnecting", "Idle", "RuntimeSyncSessionState")));
}

TEST_F(StateManagerTest, PeerLostWithoutReasonUsesTheWaitingText) {
    sm.SetUnifiedState(SessionMode::PeerLost, nullptr);
    RuntimeSnapshot r = RuntimeMakeSnapshot();
    EXPECT_EQ(r.statusMessage, "Peer offline / waiting remote");
    EXPECT_EQ(r.errorText, "Peer offline / waiting remote");
    EXPECT_EQ(sm.GetLastErrorText(), "Peer offline / waiting remote");
    EXPECT_EQ(Lines().back(), "[SESSION] unifiedState=6 reason=");
}

TEST_F(StateManagerTest, ModeEightOrMoreOnlySetsModeZeroAndTheStatus) {
    sm.SetUnifiedState(SessionMode::Controller, "up");
    sm.SetUnifiedState(8, "odd");
    EXPECT_EQ(RuntimeGetProgramState(), 5) << "no row applied";
    EXPECT_EQ(RuntimeGetRole(), 1);
    EXPECT_EQ(sm.GetSessionMode(), 0);
    EXPECT_EQ(RuntimeMakeSnapshot().statusMessage, "odd");
    EXPECT_EQ(Lines().back(), "[SESSION] unifiedState=8 reason=odd");
    sm.SetUnifiedState(-2, "neg");
    EXPECT_EQ(sm.GetSessionMode(), 0);
    EXPECT_EQ(RuntimeGetProgramState(), 5);
}

TEST_F(StateManagerTest, ClampedMapsOutOfRangeToError) {
    sm.SetUnifiedStateClamped(9, "clamped");
    EXPECT_EQ(sm.GetSessionMode(), 7);
    EXPECT_EQ(RuntimeGetProgramState(), 9);
    EXPECT_EQ(RuntimeGetChannelState(kChannelVideo), 6);
    sm.SetUnifiedStateClamped(-1, "neg");
    EXPECT_EQ(sm.GetSessionMode(), 7);
    sm.SetUnifiedStateClamped(3, "ok");
    EXPECT_EQ(sm.GetSessionMode(), 3);
}

TEST_F(StateManagerTest, SnapshotCopiesEveryValue) {
    sm.SetRunning(true);
    sm.SetHostRunning(true);
    sm.SetClientRunning(true);
    sm.SetController(true);
    sm.SetControlled(true);
    sm.SetConnected(true);
    sm.SetReconnecting(true);
    sm.SetPeerLost(true);
    sm.SetNetworkPeerLost(true, "ip", "r");
    sm.SetSessionMode(4);
    sm.SetRemoteLocked(true);
    sm.SetTcpInputConnected(true);
    sm.SetHidPresent(true);
    sm.ExchangeHidForced(true);
    sm.SetInputRoute(InputRoute::Hid);
    sm.SetLocalDrag(true, 5);
    sm.SetRemoteDrag(true, 6);
    sm.SetActiveDownloads(7);
    sm.SetClipboardBusy(true);
    sm.SetClipboardItemCount(8);
    sm.SetDiscoveryRunning(true);
    sm.SetControlRunning(true);
    sm.SetHttpServer(true, 9);
    for (int ch = 0; ch < kChannelCount; ++ch)
        sm.SetChannelState(ch, 5 - ch); // Input Connected keeps tcpInputConnected
    PortSet ports;
    ports.audio = 7100;
    ports.http = 9;
    sm.PublishPorts(ports);
    sm.SetStreamSizeCopy(10, 11);
    sm.SetDesktopSizeCopy(12, 13);
    sm.SetActivePeer("10.0.0.3", "peer");
    sm.SetStatusText("status");
    sm.SetLastErrorText("error");

    StateSnapshot s = sm.Snapshot();
    EXPECT_TRUE(s.running && s.hostRunning && s.clientRunning && s.controller && s.controlled && s.connected);
    EXPECT_TRUE(s.reconnecting && s.peerLost && s.networkPeerLost && s.remoteLocked && s.tcpInputConnected);
    EXPECT_TRUE(s.hidPresent && s.hidForced && s.dragActive && s.localDrag && s.remoteDrag);
    EXPECT_TRUE(s.fileTransferBusy && s.clipboardBusy && s.discoveryRunning && s.controlRunning &&
                s.httpServer);
    EXPECT_EQ(s.sessionMode, 4);
    EXPECT_EQ(s.inputRoute, 2);
    EXPECT_EQ(s.localDragFiles, 5);
    EXPECT_EQ(s.remoteDragFiles, 6);
    EXPECT_EQ(s.activeDownloads, 7);
    EXPECT_EQ(s.clipboardItems, 8);
    EXPECT_EQ(s.httpPort, 9);
    EXPECT_EQ(s.channelStates[0], 5);
    EXPECT_EQ(s.channelStates[1], 4);
    EXPECT_EQ(s.channelStates[2], 3);
    EXPECT_EQ(s.channelStates[3], 2);
    EXPECT_EQ(s.ports.audio, 7100);
    EXPECT_EQ(s.ports.http, 9);
    EXPECT_EQ(s.ports.control, 5003);
    EXPECT_EQ(s.streamWidth, 10);
    EXPECT_EQ(s.streamHeight, 11);
    EXPECT_EQ(s.desktopWidth, 12);
    EXPECT_EQ(s.desktopHeight, 13);
    EXPECT_EQ(s.peerIp, "10.0.0.3");
    EXPECT_EQ(s.peerName, "peer");
    EXPECT_EQ(s.statusText, "status");
    EXPECT_EQ(s.lastErrorText, "error");
}

TEST(StateManagerNames, Tables) {
    const char* modes[] = {"Idle",
                           "ConnectingController",
                           "ConnectingControlled",
                           "Controller",
                           "Controlled",
                           "Disconnecting",
                           "PeerLost",
                           "Error"};
    for (int i = 0; i < 8; ++i)
        EXPECT_STREQ(SessionModeName(i), modes[i]);
    EXPECT_STREQ(SessionModeName(8), "Unknown");
    EXPECT_STREQ(SessionModeName(-1), "Unknown");
    const char* states[] = {"Disabled",  "Disconnected", "Listening", "Connecting",
                            "Connected", "Reconnecting", "Error"};
    for (int i = 0; i < 7; ++i)
        EXPECT_STREQ(ConnectionStateName(i), states[i]);
    EXPECT_STREQ(ConnectionStateName(7), "Unknown");
    EXPECT_STREQ(ChannelName(0), "Video");
    EXPECT_STREQ(ChannelName(3), "Clipboard");
    EXPECT_STREQ(ChannelName(4), "Unknown");
    EXPECT_STREQ(InputRouteName(0), "NONE");
    EXPECT_STREQ(InputRouteName(1), "TCP");
    EXPECT_STREQ(InputRouteName(2), "HID");
    EXPECT_STREQ(InputRouteName(3), "NONE");
}

TEST(StateManagerConcurrency, SettersChannelsAndSnapshotsFromManyThreads) {
    RuntimeTestBinding t;
    StateManager& sm = t.stateManager;
    RuntimeSetMainWindow(kWindow);
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int w = 0; w < 4; ++w)
        threads.emplace_back([&, w] {
            for (int i = 0; i < 300; ++i) {
                sm.SetConnected(i % 2 == 0, "c");
                sm.SetRemoteLocked(i % 3 == 0);
                sm.SetChannelState((i + w) % 4, i % 7, "r");
                sm.SetActivePeer(i % 2 ? "10.0.0.1" : "10.0.0.2", "n");
                sm.SetLocalDrag(i % 2 == 0, i);
                sm.SetActiveDownloads(i % 4);
                sm.SetInputRoute(i % 3);
                if (w == 0 && i % 10 == 0)
                    sm.SetUnifiedState(i % 8, "u"); // callers serialise it: one thread only
                RuntimeSetStatusMessage(i % 2 ? "a" : "b");
                RuntimeSetErrorText(i % 2 ? "x failed" : "y failed");
            }
        });
    threads.emplace_back([&] {
        while (!stop.load()) {
            StateSnapshot s = sm.Snapshot();
            (void)s;
            t.commands.Drain();
            RuntimeClearNotifyPending();
        }
    });
    for (int w = 0; w < 4; ++w)
        threads[w].join();
    stop = true;
    threads[4].join();
    StateSnapshot s = sm.Snapshot();
    EXPECT_TRUE(s.statusText == "a" || s.statusText == "b");
}

} // namespace
