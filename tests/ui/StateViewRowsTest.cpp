#include <gtest/gtest.h>

#include <string>

#include "ui/StateViewRows.h"

namespace {

const StateViewRow* FindRow(const std::vector<StateViewRow>& rows, const std::string& label) {
    for (const StateViewRow& row : rows)
        if (row.label == label)
            return &row;
    return nullptr;
}

StateViewFacts CableFacts() {
    StateViewFacts f;
    f.adapter.found = true;
    f.adapter.up = true;
    f.adapter.ipv4 = u"10.0.0.1";
    f.adapter.mask = u"255.0.0.0";
    f.hidPresence = 1;
    f.configuredFps = 60;
    f.runtime.programState = 5;
    f.runtime.role = 1;
    f.runtime.peerIp = "10.0.0.2";
    f.runtime.peerName = "studio";
    f.runtime.channelStates[0] = 4;
    f.runtime.channelStates[1] = 5;
    f.runtime.statusMessage = "Connected";
    return f;
}

TEST(StateViewRowsTest, RowsTopToBottomWithTheirTexts) {
    StateViewFacts f = CableFacts();
    f.runtime.streamWidth = 1920;
    f.runtime.streamHeight = 1080;
    f.runtime.clientReceiveFps = 59;
    f.runtime.clientDecodeFps = 58;
    f.runtime.clientDrawFps = 57;
    f.runtime.hostKbps = 2048;
    f.runtime.clientKbps = 512;
    f.runtime.httpRunning = true;
    f.runtime.httpPort = 5002;
    f.runtime.httpActiveDownloads = 1;
    f.runtime.httpLastBytes = 4096;
    f.runtime.mouseX = 12;
    f.runtime.mouseY = -3;
    f.runtime.mouseLeft = true;
    f.runtime.screenWidth = 2560;
    f.runtime.screenHeight = 1440;
    f.runtime.dpiScalePercent = 150;
    f.runtime.controlUiScalePercent = 80;
    const auto rows = BuildStateViewRows(f);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().kind, StateViewRow::Kind::Title);
    EXPECT_EQ(rows.front().label, "STATE VIEW");

    struct Expect {
        const char* label;
        int32_t y;
        const char* value;
        UiColour colour;
    };
    const Expect expected[] = {
        {"STATUS", 40, "UP  USB RNDIS", kPanelGood},
        {"IP/MASK", 56, "IP:10.0.0.1  MASK:255.0.0.0", kPanelGood},
        {"HID", 72, "HID=1", kPanelGood},
        {"STATE", 93, "Controlling", kPanelGood},
        {"ROLE", 109, "Controller", kPanelGood},
        {"PEER", 125, "studio 10.0.0.2", kPanelGood},
        {"NET", 146, "V:Connected I:Reconnecting A:Disabled C:Disabled", kPanelNeutral},
        {"HTTP", 185, "ON  PORT:5002  DL:1  LAST:4096", kPanelGood},
        {"MOUSE", 201, "X:12 Y:-3  L:D R:U M:U", kPanelWarning},
        {"DRAG", 217, "IDLE", kPanelIdle},
        {"SCREEN", 233, "2560x1440  DPI:150%  UI:80%", kPanelGood},
        {"PATH", 249, "-", kPanelIdle},
        {"VIDEO", 270, "1920x1080@60  R:59 D:58 P:57", kPanelGood},
        {"PERF", 286, "CAP:0 ENC:0 SEND:0 TX:2.0M RX:0.5M", kPanelNeutral},
        {"MSG", 302, "Connected", kPanelNeutral},
    };
    for (const Expect& e : expected) {
        const StateViewRow* row = FindRow(rows, e.label);
        ASSERT_NE(row, nullptr) << e.label;
        EXPECT_EQ(row->y, e.y) << e.label;
        EXPECT_EQ(row->value, e.value) << e.label;
        EXPECT_EQ(row->colour, e.colour) << e.label;
    }
    const StateViewRow* hardware = FindRow(rows, "HARDWARE");
    ASSERT_NE(hardware, nullptr);
    EXPECT_EQ(hardware->kind, StateViewRow::Kind::Section);
    EXPECT_EQ(hardware->y, 22);
    EXPECT_EQ(FindRow(rows, "SAVE"), nullptr);
}

TEST(StateViewRowsTest, ChineseHeadingsAndNames) {
    StateViewFacts f = CableFacts();
    f.english = false;
    const auto rows = BuildStateViewRows(f);
    EXPECT_EQ(rows.front().label, "状态视图");
    EXPECT_NE(FindRow(rows, "硬件"), nullptr);
    EXPECT_NE(FindRow(rows, "内部"), nullptr);
    EXPECT_EQ(FindRow(rows, "STATE")->value, "正在控制");
    EXPECT_EQ(FindRow(rows, "NET")->value, "V:已连接 I:重连中 A:禁用 C:禁用");
}

TEST(StateViewRowsTest, VideoMovesDownForTheSaveAndDragPathRows) {
    struct Case {
        const char* name;
        bool save, remotePath;
        int32_t videoY;
    };
    for (Case c : {Case{"Neither", false, false, 270}, Case{"SaveOnly", true, false, 286},
                   Case{"PathOnly", false, true, 286}, Case{"Both", true, true, 302}}) {
        SCOPED_TRACE(c.name);
        StateViewFacts f = CableFacts();
        if (c.save)
            f.runtime.httpLastFile = "C:\\Users\\me\\Desktop";
        f.runtime.remoteDragActive = true;
        if (c.remotePath)
            f.runtime.remoteDragPath = "D:\\photos";
        const auto rows = BuildStateViewRows(f);
        EXPECT_EQ(FindRow(rows, "VIDEO")->y, c.videoY);
        EXPECT_EQ(FindRow(rows, "MSG")->y, c.videoY + 32);
        if (c.save)
            EXPECT_EQ(FindRow(rows, "SAVE")->y, 265);
        if (c.remotePath) {
            const StateViewRow* path = FindRow(rows, "RPATH");
            ASSERT_NE(path, nullptr);
            EXPECT_EQ(path->y, c.videoY - 21);
            EXPECT_EQ(path->value, "D:\\photos");
            EXPECT_EQ(path->colour, kPanelPath);
        }
    }
}

TEST(StateViewRowsTest, OnlyTheFirstDragPathIsShown) {
    StateViewFacts f = CableFacts();
    f.runtime.localDragActive = true;
    f.runtime.localDragPath = "C:\\local";
    f.runtime.dropReady = true;
    f.runtime.dropTarget = "C:\\target";
    auto rows = BuildStateViewRows(f);
    EXPECT_EQ(FindRow(rows, "LPATH")->value, "C:\\local");
    EXPECT_EQ(FindRow(rows, "TARGET"), nullptr);
    f.runtime.localDragActive = false;
    rows = BuildStateViewRows(f);
    EXPECT_EQ(FindRow(rows, "LPATH"), nullptr);
    EXPECT_EQ(FindRow(rows, "TARGET")->value, "C:\\target");
}

TEST(StateViewRowsTest, AdapterAddressClassification) {
    struct Case {
        bool found;
        const char16_t* ip;
        const char16_t* mask;
        const char* value;
        UiColour colour;
    };
    for (Case c :
         {Case{true, u"10.0.0.1", u"255.0.0.0", "IP:10.0.0.1  MASK:255.0.0.0", kPanelGood},
          Case{true, u"192.168.1.4", u"255.0.0.0", "IP:192.168.1.4  MASK:255.0.0.0", kPanelWarning},
          Case{true, u"10.0.0.1", u"255.255.255.0", "IP:10.0.0.1  MASK:255.255.255.0", kPanelWarning},
          Case{true, u"100.1.1.1", u"255.0.0.0", "IP:100.1.1.1  MASK:255.0.0.0", kPanelWarning},
          Case{true, u"-", u"-", "IP:-  MASK:-", kPanelWarning}, Case{false, u"-", u"-", "-", kPanelIdle}}) {
        StateViewFacts f;
        f.adapter.found = c.found;
        f.adapter.ipv4 = c.ip;
        f.adapter.mask = c.mask;
        const auto rows = BuildStateViewRows(f);
        EXPECT_EQ(FindRow(rows, "IP/MASK")->value, c.value);
        EXPECT_EQ(FindRow(rows, "IP/MASK")->colour, c.colour) << c.value;
    }
    StateViewFacts none;
    const auto rows = BuildStateViewRows(none);
    EXPECT_EQ(FindRow(rows, "STATUS")->value, "USB RNDIS NOT FOUND");
    EXPECT_EQ(FindRow(rows, "STATUS")->colour, kPanelIdle);
    EXPECT_EQ(FindRow(rows, "HID")->value, "HID=-1");
    EXPECT_EQ(FindRow(rows, "HID")->colour, kPanelWarning);
    none.adapter.found = true; // down
    EXPECT_EQ(FindRow(BuildStateViewRows(none), "STATUS")->value, "DOWN  USB RNDIS");
}

TEST(StateViewRowsTest, DragRowTakesTheFirstActivity) {
    RuntimeSnapshot r;
    EXPECT_EQ(StateViewDragRow(r).text, "IDLE");
    r.clipboardItemKind = 5;
    r.clipboardItemCount = 1;
    EXPECT_EQ(StateViewDragRow(r).text, "CLIPBOARD REMOTE_IMAGE  CNT:1");
    EXPECT_EQ(StateViewDragRow(r).colour, kPanelGood);
    r.dropReady = true;
    r.dropCount = 2;
    r.dropBytes = 2048;
    EXPECT_EQ(StateViewDragRow(r).text, "DROP READY  CNT:2 SIZE:2.0KB");
    r.localDragActive = true;
    r.localDragCount = 3;
    r.localDragBytes = 1023;
    r.localDragFlag = 1;
    EXPECT_EQ(StateViewDragRow(r).text, "LOCAL DRAG  CNT:3 SIZE:1023B DIR:Y");
    EXPECT_EQ(StateViewDragRow(r).colour, kPanelWarning);
    r.remoteDragActive = true;
    r.remoteDragCount = 4;
    r.remoteDragBytes = 3u << 20;
    EXPECT_EQ(StateViewDragRow(r).text, "REMOTE DRAG  CNT:4 SIZE:3.0MB DIR:N");
    EXPECT_EQ(StateViewDragRow(r).colour, kPanelWarning);
}

TEST(StateViewRowsTest, MessagePriority) {
    struct Case {
        const char* name;
        const char* transfer;
        const char* health;
        uint32_t healthAge;
        const char* status;
        const char* error;
        const char* shown;
        UiColour colour;
    };
    const Case cases[] = {
        {"StatusAlone", "", "", 0, "Discovery running.", "", "Discovery running.", kPanelNeutral},
        {"NothingIsReady", "", "", 0, "", "", "Ready", kPanelNeutral},
        {"TransferBeatsStatus", "Receiving 40%", "", 0, "Connected", "", "Receiving 40%", kPanelNeutral},
        {"FreshHealthBeatsStatus", "", "Remote Mac: ok", 10000, "Connected", "", "Remote Mac: ok",
         kPanelNeutral},
        {"StaleHealthIsDropped", "", "Remote Mac: ok", 10001, "Connected", "", "Connected", kPanelNeutral},
        {"FreshHealthBeatsError", "", "Remote Mac: ok", 0, "", "send failed", "Remote Mac: ok", kPanelBad},
        {"ErrorBeatsStatus", "", "Remote Mac: ok", 10001, "Connected", "send failed", "send failed",
         kPanelBad},
        {"HealthWaitsForTheTransfer", "Sending 10%", "Remote Mac: ok", 0, "", "", "Sending 10%",
         kPanelNeutral},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StateViewFacts f;
        f.transferLine = c.transfer;
        f.healthLine = c.health;
        f.healthAgeMs = c.healthAge;
        f.runtime.statusMessage = c.status;
        f.runtime.errorText = c.error;
        const StateViewText msg = StateViewMessageRow(f);
        EXPECT_EQ(msg.text, c.shown);
        EXPECT_EQ(msg.colour, c.colour);
    }
    StateViewFacts chinese;
    chinese.english = false;
    EXPECT_EQ(StateViewMessageRow(chinese).text, "就绪");
}

TEST(StateViewRowsTest, PeerTextsFromThePeerAreMadeSafe) {
    StateViewFacts f = CableFacts();
    f.runtime.peerName = "mac\xFF\nbook";
    f.healthLine = std::string(2000, 'h') + "\x01";
    f.transferLine = "";
    const auto rows = BuildStateViewRows(f);
    EXPECT_EQ(FindRow(rows, "PEER")->value, "mac\xEF\xBF\xBD book 10.0.0.2");
    EXPECT_EQ(FindRow(rows, "MSG")->value, std::string(256, 'h'));
    f.runtime.peerName.clear();
    EXPECT_EQ(FindRow(BuildStateViewRows(f), "PEER")->value, "10.0.0.2");
    f.runtime.peerIp.clear();
    EXPECT_EQ(FindRow(BuildStateViewRows(f), "PEER")->value, "-");
}

TEST(StateViewRowsTest, StateColoursAreReadableOnTheDarkPanel) {
    EXPECT_EQ(StateViewStateColour(5), kPanelGood);
    EXPECT_EQ(StateViewStateColour(6), kPanelControlled);
    EXPECT_EQ(StateViewStateColour(8), kPanelBad);
    EXPECT_EQ(StateViewStateColour(9), kPanelBad);
    for (int32_t s : {1, 3, 4, 7, 10})
        EXPECT_EQ(StateViewStateColour(s), kPanelWarning) << s;
    for (int32_t s : {0, 2, 11, -1})
        EXPECT_EQ(StateViewStateColour(s), kPanelIdle) << s;
    // Every state colour stands well clear of the background RGB(18,22,29).
    for (int32_t s = -1; s <= 11; ++s) {
        const UiColour c = StateViewStateColour(s);
        EXPECT_GT(c.r + c.g + c.b, 3 * 100) << s;
    }
}

TEST(StateViewRowsTest, HidProbeGate) {
    StateViewHidProbeGate gate;
    EXPECT_FALSE(gate.Admit(1, false, 100)) << "a presence result is cached";
    EXPECT_FALSE(gate.Admit(-1, true, 100)) << "a probe runs";
    EXPECT_TRUE(gate.Admit(-1, false, 100));
    EXPECT_FALSE(gate.Admit(-1, false, 3099));
    EXPECT_TRUE(gate.Admit(-1, false, 3100));
    // The tick wraps.
    StateViewHidProbeGate wrapping;
    EXPECT_TRUE(wrapping.Admit(-1, false, 0xFFFFFF00u));
    EXPECT_FALSE(wrapping.Admit(-1, false, 100));
    EXPECT_TRUE(wrapping.Admit(-1, false, 0xFFFFFF00u + 3000u));
}

} // namespace
