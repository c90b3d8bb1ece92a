#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "app/DiagnosticService.h"
#include "app/DiagnosticServiceFormat.h"
#include "core/EventBus.h"
#include "core/Log.h"
#include "core/StateManager.h"
#include "core/StateTestSupport.h"
#include "support/TestLog.h"

namespace {

// Every field differs from its neighbours, so a swapped argument shows.
StateSnapshot Busy() {
    StateSnapshot s;
    s.sessionMode = 3;
    s.connected = true;
    s.controller = true;
    s.peerIp = "192.168.7.20";
    s.peerName = "studio-mac";
    s.inputRoute = 1;
    s.tcpInputConnected = true;
    s.hidPresent = true;
    s.hidForced = false;
    s.dragActive = true;
    s.localDragFiles = 3;
    s.remoteDragFiles = 4;
    s.activeDownloads = 2;
    s.clipboardBusy = true;
    s.clipboardItems = 5;
    s.discoveryRunning = true;
    s.httpServer = true;
    s.httpPort = 49152;
    s.ports.video = 6100;
    s.ports.input = 5100;
    s.ports.audio = 7101;
    s.ports.clipboard = 5102;
    s.channelStates[0] = 4;
    s.channelStates[1] = 3;
    s.channelStates[2] = 0;
    s.channelStates[3] = 2;
    s.streamWidth = 1920;
    s.streamHeight = 1080;
    s.desktopWidth = 2560;
    s.desktopHeight = 1440;
    s.statusText = "Controlling studio-mac";
    s.lastErrorText = "none";
    return s;
}

TEST(DiagnosticSnapshotLines, OneLineFormat) {
    EXPECT_EQ(
        FormatSnapshotLines(Busy(), "periodic", false),
        std::vector<std::string>{
            "[DIAG][SNAPSHOT] reason=periodic session=Controller conn=1 role=1/0 reconnect=0 peerLost=0 "
            "peer=192.168.7.20/studio-mac input=TCP tcp=1 hid=1 lock=0 busy[d/t/c]=1/0/1 dl=2 "
            "net[d/c/h]=1/0/1:49152 ch=4/3/0/2 video=1920x1080 desktop=2560x1440 "
            "status=Controlling studio-mac lastError=none"});
}

TEST(DiagnosticSnapshotLines, DetailedFiveLines) {
    StateSnapshot s = Busy();
    s.hidForced = true;
    s.inputRoute = 2;
    s.remoteLocked = true;
    EXPECT_EQ(
        FormatSnapshotLines(s, "startup", true),
        (std::vector<std::string>{
            "[DIAG][SNAPSHOT] reason=startup session=Controller connected=1 controller=1 controlled=0 "
            "reconnecting=0 peerLost=0 peer=192.168.7.20/studio-mac",
            "[DIAG][INPUT] route=HID remoteLocked=1 tcpInput=1 hidPresent=1 useHid=1",
            "[DIAG][BUSY] drag=1 localDragFiles=3 remoteDragFiles=4 transfer=0 downloads=2 clipboard=1 "
            "clipboardItems=5",
            "[DIAG][NET] discovery=1 control=0 http=1:49152 ports d=38999 c=5003 v=6100 i=5100 a=7101 "
            "cb=5102 "
            "ch[v/i/a/cb]=4/3/0/2",
            "[DIAG][DISPLAY] stream=1920x1080 desktop=2560x1440 status=Controlling studio-mac lastError=none",
        }));
}

std::string Field(const std::string& line, const std::string& key) {
    size_t at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return "<missing>";
    at += key.size() + 2;
    // Free texts run to the next field; every other value ends at a blank.
    size_t end = key == "lastError" ? line.size()
                 : key == "status"  ? line.find(" lastError=", at)
                                    : line.find(' ', at);
    return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

TEST(DiagnosticSnapshotLines, OneLineCutsLongTextsAtCharacterBoundaries) {
    StateSnapshot s = Busy();
    // 159 ASCII bytes and a two-byte character across byte 160; 318 bytes and a four-byte one across 320.
    s.statusText = std::string(159, 's') + "\xC3\xA9" + "tail";
    s.lastErrorText = std::string(318, 'e') + "\xF0\x9F\x98\x80" + "tail";
    std::string line = FormatSnapshotLines(s, "r", false).at(0);
    EXPECT_EQ(Field(line, "status"), std::string(159, 's'));
    EXPECT_EQ(Field(line, "lastError"), std::string(318, 'e'));

    // Exactly at the bound nothing is lost; the detailed lines never cut.
    s.statusText = std::string(158, 's') + "\xC3\xA9";
    s.lastErrorText = std::string(316, 'e') + "\xF0\x9F\x98\x80";
    line = FormatSnapshotLines(s, "r", false).at(0);
    EXPECT_EQ(Field(line, "status"), s.statusText);
    EXPECT_EQ(Field(line, "lastError"), s.lastErrorText);
    s.statusText = std::string(500, 'x');
    EXPECT_EQ(Field(FormatSnapshotLines(s, "r", true).at(4), "status"), s.statusText);
}

TEST(DiagnosticSnapshotLines, TextsFromOutsideAreNotFormats) {
    StateSnapshot s = Busy();
    s.peerName = "50%s %n %d";
    s.statusText = "100% %x";
    s.lastErrorText = "%s%s%s";
    std::string line = FormatSnapshotLines(s, "%p", false).at(0);
    EXPECT_NE(line.find("reason=%p "), std::string::npos) << line;
    EXPECT_NE(line.find("peer=192.168.7.20/50%s %n %d "), std::string::npos) << line;
    EXPECT_EQ(Field(line, "status"), "100% %x");
    EXPECT_EQ(Field(line, "lastError"), "%s%s%s");
}

TEST(DiagnosticSnapshotLines, ReconnectingAndPeerLostShowAnyFlagOfTheirName) {
    struct Case {
        bool reconnecting, sessionPeerLost, networkPeerLost;
        const char* reconnect;
        const char* peerLost;
    };
    const Case cases[] = {
        {false, false, false, "0", "0"}, {true, false, false, "1", "0"}, {false, true, false, "0", "1"},
        {false, false, true, "0", "1"},  {false, true, true, "0", "1"},
    };
    for (const Case& c : cases) {
        StateSnapshot s;
        s.reconnecting = c.reconnecting;
        s.peerLost = c.sessionPeerLost;
        s.networkPeerLost = c.networkPeerLost;
        std::string oneLine = FormatSnapshotLines(s, "r", false).at(0);
        std::string detailed = FormatSnapshotLines(s, "r", true).at(0);
        EXPECT_EQ(Field(oneLine, "reconnect"), c.reconnect) << oneLine;
        EXPECT_EQ(Field(oneLine, "peerLost"), c.peerLost) << oneLine;
        EXPECT_EQ(Field(detailed, "reconnecting"), c.reconnect) << detailed;
        EXPECT_EQ(Field(detailed, "peerLost"), c.peerLost) << detailed;
    }
}

TEST(DiagnosticDecisions, TcpRouteRestoreTable) {
    struct Case {
        bool tcp, locked;
        int32_t route;
        bool restore;
    };
    const Case cases[] = {
        {true, false, 2, true},  {true, true, 2, false},  {false, false, 2, false},
        {true, false, 1, false}, {true, false, 0, false}, {true, false, 7, false},
    };
    for (const Case& c : cases) {
        StateSnapshot s;
        s.tcpInputConnected = c.tcp;
        s.remoteLocked = c.locked;
        s.inputRoute = c.route;
        EXPECT_EQ(NeedsTcpRouteRestore(s), c.restore)
            << "tcp=" << c.tcp << " locked=" << c.locked << " route=" << c.route;
    }
}

TEST(DiagnosticDecisions, SuspiciousStateTable) {
    struct Case {
        const char* what;
        void (*set)(StateSnapshot&);
        bool suspicious;
    };
    // The base is a sound controller session over TCP.
    const Case cases[] = {
        {"sound session", [](StateSnapshot&) {}, false},
        {"controller and controlled", [](StateSnapshot& s) { s.controlled = true; }, true},
        {"locked, input over TCP", [](StateSnapshot& s) { s.remoteLocked = true; }, true},
        {"locked, HID route without cable",
         [](StateSnapshot& s) { s.remoteLocked = true, s.inputRoute = 2, s.hidPresent = false; }, true},
        {"locked, HID route with cable", [](StateSnapshot& s) { s.remoteLocked = true, s.inputRoute = 2; },
         false},
        {"connected without any input path",
         [](StateSnapshot& s) { s.tcpInputConnected = false, s.hidPresent = false; }, true},
        {"connected over HID only", [](StateSnapshot& s) { s.tcpInputConnected = false; }, false},
        {"connected while reconnecting", [](StateSnapshot& s) { s.reconnecting = true; }, true},
        {"connected while the session lost its peer", [](StateSnapshot& s) { s.peerLost = true; }, true},
        {"connected while discovery lost the peer", [](StateSnapshot& s) { s.networkPeerLost = true; }, true},
        {"reconnecting while not connected",
         [](StateSnapshot& s) { s.connected = false, s.reconnecting = true; }, false},
        {"drag and transfer together", [](StateSnapshot& s) { s.fileTransferBusy = true; }, true},
    };
    for (const Case& c : cases) {
        StateSnapshot s = Busy();
        c.set(s);
        EXPECT_EQ(IsSuspiciousState(s), c.suspicious) << c.what;
    }
}

TEST(DiagnosticDecisions, SuspiciousStateLine) {
    StateSnapshot s = Busy();
    s.controlled = true;
    s.inputRoute = 2;
    s.remoteLocked = true;
    EXPECT_EQ(FormatSuspiciousStateLine(s),
              "[DIAG][WARN] suspicious state: session=Controller route=HID locked=1 hid=1 tcp=1 connected=1 "
              "controller=1 controlled=1 drag=1 transfer=0");
}

class DiagnosticPass : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }

    std::vector<std::string> Lines(const std::string& prefix) {
        std::vector<std::string> found;
        for (const std::string& m : TestLog().Messages())
            if (m.rfind(prefix, 0) == 0)
                found.push_back(m);
        return found;
    }

    CaptureStateLog stateLog;
    EventBus events{[](const char*) {}};
    StateManager state{&stateLog, &events};
};

TEST_F(DiagnosticPass, PutsAnHidRouteBackOnTcpAndLogsTheRepairedState) {
    state.SetTcpInputConnected(true);
    state.SetInputRoute(InputRoute::Hid, "test");
    stateLog.Clear();

    DiagnosticService::LogSnapshot("manual", state);

    EXPECT_EQ(state.GetInputRoute(), 1);
    EXPECT_TRUE(stateLog.Has("[STATE] inputRoute=1"));
    EXPECT_TRUE(
        stateLog.Has("[DIAG][INPUT] route HID -> TCP reason=DiagnosticTcpRouteRestore source=StateManager"));
    std::vector<std::string> snapshot = Lines("[DIAG][SNAPSHOT] reason=manual ");
    ASSERT_EQ(snapshot.size(), 1u);
    EXPECT_NE(snapshot[0].find(" input=TCP tcp=1 "), std::string::npos) << snapshot[0];
    EXPECT_TRUE(Lines("[DIAG][WARN]").empty());
}

TEST_F(DiagnosticPass, LeavesTheHidRouteWhileTheRemoteIsLockedAndWarnsWithoutTheCable) {
    state.SetTcpInputConnected(true);
    state.SetRemoteLocked(true);
    state.SetInputRoute(InputRoute::Hid, "test");
    stateLog.Clear();

    DiagnosticService::LogSnapshot("manual", state);

    EXPECT_EQ(state.GetInputRoute(), 2);
    EXPECT_EQ(stateLog.Count("inputRoute"), 0u);
    EXPECT_EQ(Lines("[DIAG][WARN] suspicious state: session=Idle route=HID locked=1 hid=0 tcp=1 ").size(), 1u)
        << ::testing::PrintToString(TestLog().Messages());
}

TEST_F(DiagnosticPass, ThreadPassesAtStartEveryMinuteAndAtTheEnd) {
    std::atomic<bool> running{true};
    int sleeps = 0;
    DiagnosticService::ThreadProc(running, state, [&] {
        if (++sleeps == 150)
            running.store(false);
    });

    EXPECT_EQ(sleeps, 150) << "the loop must stop at the first pause after the flag was cleared";
    std::vector<std::string> reasons;
    for (const std::string& line : Lines("[DIAG][SNAPSHOT] "))
        reasons.push_back(Field(line, "reason"));
    EXPECT_EQ(reasons, (std::vector<std::string>{"startup", "periodic", "periodic", "shutdown"}));
    std::vector<std::string> all = TestLog().Messages();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front(), "[DIAG] DiagnosticService thread start");
    EXPECT_EQ(all.back(), "[DIAG] DiagnosticService thread stop");
}

} // namespace
