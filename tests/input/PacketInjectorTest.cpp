#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeInjectionPlatform.h"
#include "core/Log.h"
#include "input/InjectionHid.h"
#include "input/InputPeers.h"
#include "input/PacketInjector.h"
#include "support/TestLog.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RecordingPeers final : public IInputPeers {
public:
    void RequestHostVideoRestart() override { calls.push_back("video-restart"); }
    bool SetDragVisualActive(bool active) override {
        calls.push_back("drag-visual " + std::to_string(active ? 1 : 0));
        return dragVisualChanges;
    }
    bool RemoteDragTakeover(uint32_t type, int32_t, int32_t) override {
        return takeover && type != static_cast<uint32_t>(InputPacketType::Key);
    }
    void RemoteDragObserve(uint32_t type, int32_t data1, int32_t data2) override {
        calls.push_back("observe " + std::to_string(type) + " " + std::to_string(data1) + " " +
                        std::to_string(data2));
    }
    bool HasRemoteFileOffer() override { return offer; }
    bool IsLocalClipboardEmpty() override { return true; }
    bool QueueRemoteFilesPaste() override {
        calls.push_back("paste");
        return true;
    }

    bool dragVisualChanges = true;
    bool takeover = false;
    bool offer = false;
    std::vector<std::string> calls;
};

class RecordingHid final : public IInjectionHid {
public:
    int ProbePresent() override { return present; }
    int SetSystemKey() override {
        calls.push_back("system-key");
        return systemKeyResult;
    }
    int SendWheel(int32_t x, int32_t y, int32_t delta) override {
        calls.push_back("wheel " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(delta));
        return wheelResult;
    }

    int present = -1;
    int systemKeyResult = 1;
    int wheelResult = 1;
    std::vector<std::string> calls;
};

InputPacket Key(int32_t vk, int32_t flags, int32_t scan = 0) {
    return MakeInputPacket(InputPacketType::Key, scan, 0, vk, flags);
}

InputPacket SystemKey(SystemKeyCode code, int32_t argument) {
    return MakeInputPacket(InputPacketType::SystemKey, 0, 0, static_cast<int32_t>(code), argument);
}

class PacketInjectorTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        SetInputPeers(&m_peers);
        SetInjectionHid(&m_hid);
    }
    void TearDown() override {
        SetInputPeers(nullptr);
        SetInjectionHid(nullptr);
    }

    FakeInjectionPlatform m_platform;
    RecordingPeers m_peers;
    RecordingHid m_hid;
    PacketInjector m_injector{m_platform};
};

TEST_F(PacketInjectorTest, SyncWithNothingWantedReleasesEveryModifierAndTurnsTheLocksOff) {
    m_platform.down = {17, 160, 18, 92};
    m_platform.on = {144, 20};
    m_injector.Inject(SystemKey(SystemKeyCode::KeyboardSync, 0x00));

    EXPECT_THAT(m_platform.down, IsEmpty());
    EXPECT_THAT(m_platform.on, IsEmpty());
    EXPECT_THAT(m_platform.KeyOps(),
                ElementsAre("SendInput 91 up", "SendInput 92 up ext", "SendInput 91 up", "SendInput 164 up",
                            "SendInput 165 up ext", "SendInput 18 up", "SendInput 162 up",
                            "SendInput 163 up ext", "SendInput 17 up", "SendInput 160 up", "SendInput 161 up",
                            "SendInput 16 up", "SendInput 144 down 144 up", "SendInput 20 down 20 up"));
    EXPECT_EQ(CountLogMessages("InjectInputPacket SYSTEM_KEY keyboard-state-sync flags=0x0"), 1u);
}

TEST_F(PacketInjectorTest, SyncTogglesCapsLockBeforeTheWantedShiftGoesDown) {
    m_injector.Inject(SystemKey(SystemKeyCode::KeyboardSync, 0x04 | 0x10 | 0x20));

    EXPECT_THAT(m_platform.KeyOps(),
                ElementsAre("SendInput 20 down 20 up", "SendInput 16 down", "SendInput 91 down"));
    EXPECT_EQ(m_platform.down, (std::set<uint32_t>{16, 91}));
    EXPECT_EQ(m_platform.on, (std::set<uint32_t>{20}));
    // A modifier change waits 5 ms, a toggle 25 ms, before the state is read back.
    EXPECT_EQ(std::count(m_platform.calls.begin(), m_platform.calls.end(), "sleep 5"), 2);
    EXPECT_EQ(std::count(m_platform.calls.begin(), m_platform.calls.end(), "sleep 25"), 1);
}

TEST_F(PacketInjectorTest, SyncFallsBackToKeybdEventWhenTheTapChangesNothing) {
    m_platform.sendInputToggles = false;
    m_injector.Inject(SystemKey(SystemKeyCode::KeyboardSync, 0x08 | 0x10));

    EXPECT_THAT(m_platform.KeyOps(),
                ElementsAre("SendInput 144 down 144 up", "keybd_event 144 down scan=69 ext",
                            "keybd_event 144 up scan=69 ext", "SendInput 20 down 20 up",
                            "keybd_event 20 down scan=58", "keybd_event 20 up scan=58"));
    EXPECT_EQ(m_platform.on, (std::set<uint32_t>{144, 20}));
}

TEST_F(PacketInjectorTest, CtrlPressedBySyncMakesTheNextVACtrlV) {
    m_peers.offer = true;
    m_injector.Inject(SystemKey(SystemKeyCode::KeyboardSync, 0x01));
    m_platform.calls.clear();
    m_injector.Inject(Key(86, 0x01, 0x2F));

    EXPECT_THAT(m_platform.KeyOps(), IsEmpty()) << "the V is not typed";
    EXPECT_THAT(m_peers.calls, ElementsAre("paste"));

    m_injector.Inject(SystemKey(SystemKeyCode::KeyboardSync, 0x00));
    m_platform.calls.clear();
    m_injector.Inject(Key(86, 0x01, 0x2F));
    EXPECT_THAT(m_platform.KeyOps(), ElementsAre("SendInput scan 47 down"));
}

struct NumLockFlow {
    const char* name;
    int32_t flags;
    bool initiallyOn;
    bool sendInputToggles;
    std::vector<std::string> keyOps;
    bool finallyOn;
    const char* logLine;
};

class RemoteNumLockFlowTest : public PacketInjectorTest, public ::testing::WithParamInterface<NumLockFlow> {};

TEST_P(RemoteNumLockFlowTest, ReachesTheWantedState) {
    const NumLockFlow& c = GetParam();
    if (c.initiallyOn)
        m_platform.on = {144};
    m_platform.sendInputToggles = c.sendInputToggles;
    m_injector.Inject(Key(144, c.flags, 0x45));

    EXPECT_EQ(m_platform.KeyOps(), c.keyOps);
    EXPECT_EQ(m_platform.IsToggledOn(144), c.finallyOn);
    EXPECT_EQ(CountLogMessages(c.logLine), 1u) << c.logLine;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoteNumLockFlowTest,
    ::testing::Values(
        NumLockFlow{"NoTargetInjectedAsAKey",
                    0x01,
                    false,
                    true,
                    {"SendInput scan 69 down"},
                    false,
                    "[KEY][NUMLOCK][RX] no-valid: fall through to normal injection down=1"},
        NumLockFlow{"TapBySendInput",
                    0x15,
                    true,
                    true,
                    {"SendInput 144 down 144 up"},
                    false,
                    "[KEY][NUMLOCK][RX_APPLY] mode=tap method=SendInput before=1 after=0"},
        NumLockFlow{"TapFallsBackToKeybdEvent",
                    0x15,
                    false,
                    false,
                    {"SendInput 144 down 144 up", "keybd_event 144 down scan=69 ext",
                     "keybd_event 144 up scan=69 ext"},
                    true,
                    "[KEY][NUMLOCK][RX_APPLY] mode=tap method=keybd_event before=0 after=1"},
        NumLockFlow{
            "TapUpConsumed", 0x14, true, true, {}, true, "[KEY][NUMLOCK][RX] consume-up tap=1 before=1"},
        NumLockFlow{"SyncOn",
                    0x0D,
                    false,
                    true,
                    {"SendInput 144 down 144 up"},
                    true,
                    "[KEY][NUMLOCK][RX_APPLY] mode=sync method=SendInput before=0 want=1 after=1"},
        NumLockFlow{"SyncFallsBackToKeybdEvent",
                    0x05,
                    true,
                    false,
                    {"SendInput 144 down 144 up", "keybd_event 144 down scan=69 ext",
                     "keybd_event 144 up scan=69 ext"},
                    false,
                    "[KEY][NUMLOCK][RX_APPLY] mode=sync method=keybd_event want=0 after=0"},
        NumLockFlow{"SyncAlreadyMatched",
                    0x0D,
                    true,
                    true,
                    {},
                    true,
                    "[KEY][NUMLOCK][RX_APPLY] mode=sync already-matched state=1"},
        NumLockFlow{
            "SyncUpConsumed", 0x0C, false, true, {}, false, "[KEY][NUMLOCK][RX] consume-up valid=1 tap=0"}),
    [](const ::testing::TestParamInfo<NumLockFlow>& info) { return std::string(info.param.name); });

TEST_F(PacketInjectorTest, SystemKeysReachTheirServices) {
    m_injector.Inject(SystemKey(SystemKeyCode::VideoRestart, 0));
    m_injector.Inject(SystemKey(SystemKeyCode::DragVisual, 1));
    m_peers.dragVisualChanges = false;
    m_injector.Inject(SystemKey(SystemKeyCode::DragVisual, 0));
    m_injector.Inject(SystemKey(SystemKeyCode::CtrlAltDel, 0));
    m_injector.Inject(SystemKey(static_cast<SystemKeyCode>(9), 0));

    EXPECT_THAT(m_peers.calls, ElementsAre("video-restart", "drag-visual 1", "drag-visual 0"));
    EXPECT_THAT(m_hid.calls, ElementsAre("system-key"));
    EXPECT_THAT(m_platform.KeyOps(), IsEmpty());
    EXPECT_THAT(TestLog().Messages(),
                ElementsAre("InjectInputPacket SYSTEM_KEY restart host video pipeline",
                            "Host video restart requested: remote secure desktop/unlock recovery",
                            // "[DRAGVIS][STATE] ..." is a state-category line, off in this log.
                            "InjectInputPacket SYSTEM_KEY drag-visual active=1",
                            "InjectInputPacket SYSTEM_KEY drag-visual active=0",
                            "InjectInputPacket SYSTEM_KEY Ctrl+Alt+Del via HID",
                            "[HW][SYSTEM-KEY] Ctrl+Alt+Del via HID",
                            "InjectInputPacket unknown SYSTEM_KEY data1=9"));
}

TEST_F(PacketInjectorTest, CtrlAltDelFailureOfTheCableIsLogged) {
    m_hid.systemKeyResult = -1;
    m_injector.Inject(SystemKey(SystemKeyCode::CtrlAltDel, 0));
    EXPECT_EQ(CountLogMessages("[HW][SYSTEM-KEY] Ctrl+Alt+Del via HID failed ret=-1"), 1u);
}

TEST_F(PacketInjectorTest, WheelGoesThroughThePresentCableInItsRange) {
    m_platform.desktop = {-1920, 0, 3840, 1080};
    m_hid.present = 1;
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseWheel, 1919, 1079, -120, 0));
    EXPECT_THAT(m_hid.calls, ElementsAre("wheel 4096,4096 -120"));
    EXPECT_THAT(m_platform.calls, IsEmpty());
}

TEST_F(PacketInjectorTest, WheelUsesSendInputWhenTheCableIsAbsentOrRefuses) {
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseWheel, 5, 5, 240, 0));
    EXPECT_THAT(m_hid.calls, IsEmpty());
    m_hid.present = 1;
    m_hid.wheelResult = -1;
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseWheel, 5, 5, -120, 0));
    EXPECT_THAT(m_hid.calls, ElementsAre("wheel 10,18 -120"));
    EXPECT_THAT(m_platform.calls, ElementsAre("SendInput mouse flags=2048 0,0 data=240",
                                              "SendInput mouse flags=2048 0,0 data=-120"));
}

TEST_F(PacketInjectorTest, MovesAndClicksAreInjectedAndObserved) {
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseMove, 1919, 0, 0, 0));
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 1, 1));
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 3, 1));
    EXPECT_THAT(m_platform.calls, ElementsAre("SendInput mouse flags=49153 65535,0 data=0",
                                              "SendInput mouse flags=8 0,0 data=0"));
    EXPECT_THAT(m_peers.calls, ElementsAre("observe 1 0 0", "observe 2 1 1"));
    EXPECT_EQ(CountLogMessages("InjectInputPacket unknown mouse button=3"), 1u);
}

TEST_F(PacketInjectorTest, TakeoverBlocksMouseInput) {
    m_peers.takeover = true;
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 0, 1));
    EXPECT_THAT(m_platform.calls, IsEmpty());
    EXPECT_THAT(m_peers.calls, IsEmpty());
    EXPECT_THAT(TestLog().Messages(),
                ElementsAre("[INPUT][INJECT][BLOCK] type=MOUSE_BUTTON by remote-drag takeover"));
}

TEST_F(PacketInjectorTest, FailedSendInputIsLoggedAndNotObserved) {
    m_platform.failSendInput = true;
    m_injector.Inject(Key(65, 0x01));
    m_injector.Inject(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 2, 0));
    EXPECT_THAT(m_peers.calls, IsEmpty());
    EXPECT_EQ(CountLogMessages("SendInput failed type=KEY gle=5"), 1u);
    EXPECT_EQ(CountLogMessages("SendInput failed type=MOUSE_BUTTON gle=5"), 1u);
}

TEST_F(PacketInjectorTest, HelloAndUnknownTypesInjectNothing) {
    m_injector.Inject(MakeHelloPacket(7));
    m_injector.Inject(MakeInputPacket(static_cast<InputPacketType>(42), 0, 0, 0, 0));
    EXPECT_THAT(m_platform.calls, IsEmpty());
    EXPECT_THAT(TestLog().Messages(),
                ElementsAre("InjectInputPacket HELLO", "InjectInputPacket unknown type=42"));
}

} // namespace
