#include <gtest/gtest.h>

#include "dragdrop/VirtualScreenGeometry.h"
#include "dragdrop/VirtualScreenPackets.h"
#include "input/InputPacket.h"

namespace {

constexpr ScreenRect kDesktop{0, 0, 1920, 1080};

struct EdgeCase {
    const char* name;
    int32_t mode;
    int32_t margin;
    ScreenPoint point;
    bool atEdge;
};

TEST(VirtualScreenGeometry, EdgeTestPerModeWithBothMargins) {
    const EdgeCase cases[] = {
        {"left at margin 3", 1, 3, {3, 500}, true},
        {"left just past margin 3", 1, 3, {4, 500}, false},
        {"left at margin 32", 1, 32, {32, 500}, true},
        {"left past margin 32", 1, 32, {33, 500}, false},
        {"left below the desktop", 1, 3, {0, 1080}, false},
        {"right crossing at 1917", 2, 3, {1917, 10}, true},
        {"right not yet at 1916", 2, 3, {1916, 10}, false},
        {"right at margin 32", 2, 32, {1888, 10}, true},
        {"right past margin 32", 2, 32, {1887, 10}, false},
        {"top at margin 3", 3, 3, {800, 3}, true},
        {"top past margin 3", 3, 3, {800, 4}, false},
        {"top at margin 32", 3, 32, {800, 32}, true},
        {"top outside the desktop's width", 3, 32, {1920, 0}, false},
        {"bottom at margin 3", 4, 3, {5, 1077}, true},
        {"bottom past margin 3", 4, 3, {5, 1076}, false},
        {"bottom at margin 32", 4, 32, {5, 1048}, true},
        {"bottom past margin 32", 4, 32, {5, 1047}, false},
        {"mode off", 0, 32, {0, 0}, false},
        {"mode 5", 5, 32, {0, 0}, false},
    };
    for (const EdgeCase& c : cases)
        EXPECT_EQ(IsPointAtVirtualEdge(kDesktop, c.point, c.mode, c.margin), c.atEdge) << c.name;
}

TEST(VirtualScreenGeometry, EdgeTestFollowsAVirtualDesktopLeftOfThePrimary) {
    const ScreenRect desktop = DesktopRectFrom(-1280, -200, 3200, 1280, 1920, 1080);
    EXPECT_EQ(desktop, (ScreenRect{-1280, -200, 1920, 1080}));
    EXPECT_TRUE(IsPointAtVirtualEdge(desktop, {-1277, -200}, 1, 3));
    EXPECT_FALSE(IsPointAtVirtualEdge(desktop, {0, 0}, 1, 3));
    // An empty virtual desktop falls back to the primary screen.
    EXPECT_EQ(DesktopRectFrom(5, 5, 0, 0, 1024, 768), (ScreenRect{0, 0, 1024, 768}));
}

TEST(VirtualScreenGeometry, ModesOfFiveOrMoreOrNegativeAreOff) {
    EXPECT_EQ(ClampVirtualScreenMode(0), 0);
    EXPECT_EQ(ClampVirtualScreenMode(1), 1);
    EXPECT_EQ(ClampVirtualScreenMode(4), 4);
    EXPECT_EQ(ClampVirtualScreenMode(5), 0);
    EXPECT_EQ(ClampVirtualScreenMode(7), 0);
    EXPECT_EQ(ClampVirtualScreenMode(-1), 0);
    EXPECT_EQ(ClampVirtualScreenMode(0xFFFFFFFFll), 0);
}

TEST(VirtualScreenGeometry, RemoteSizeIsThePeersDesktopThenTheStreamThenFullHd) {
    struct Case {
        const char* name;
        uint32_t desktopW, desktopH, streamW, streamH;
        RemoteScreenSize size;
    };
    const Case cases[] = {
        {"desktop wins over a scaled-down stream", 2560, 1440, 1280, 720, {2560, 1440}},
        {"stream while the desktop is unknown", 0, 0, 1280, 720, {1280, 720}},
        {"half a desktop size counts as unknown", 2560, 0, 1280, 720, {1280, 720}},
        {"nothing known", 0, 0, 0, 0, {1920, 1080}},
        {"an axis still unknown takes its default", 0, 0, 1280, 0, {1280, 1080}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualScreenRemoteSize(c.desktopW, c.desktopH, c.streamW, c.streamH), c.size) << c.name;
}

TEST(VirtualScreenGeometry, EntryPlacesTheRemoteCursorAtThePeersNearSideAndPinsTheLocalOne) {
    const RemoteScreenSize size{2560, 1440};
    struct Case {
        const char* name;
        int32_t mode;
        ScreenPoint local;
        ScreenPoint remote;
        ScreenPoint pin;
    };
    const Case cases[] = {
        {"left: enters at the peer's right side", 1, {1, 540}, {2559, 720}, {0, 540}},
        {"right: enters at the peer's left side", 2, {1919, 1079}, {0, 1438}, {1919, 1079}},
        {"top: enters at the peer's bottom", 3, {960, 2}, {1280, 1439}, {960, 0}},
        {"bottom: enters at the peer's top", 4, {0, 1079}, {0, 0}, {0, 1079}},
        {"a point past the desktop is pinned on it", 2, {1925, 1200}, {0, 1439}, {1919, 1079}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RemoteCursorForEntry(c.mode, c.local, kDesktop, size), c.remote) << c.name;
        EXPECT_EQ(PinPointForEntry(c.mode, c.local, kDesktop), c.pin) << c.name;
    }
}

TEST(VirtualScreenGeometry, LeaveRestoresThirtySixPixelsInsideTheEdge) {
    EXPECT_EQ(RestorePointForLeave(1, {0, 540}, kDesktop), (ScreenPoint{36, 540}));
    EXPECT_EQ(RestorePointForLeave(2, {1919, 540}, kDesktop), (ScreenPoint{1883, 540}));
    EXPECT_EQ(RestorePointForLeave(3, {960, 0}, kDesktop), (ScreenPoint{960, 36}));
    EXPECT_EQ(RestorePointForLeave(4, {960, 1079}, kDesktop), (ScreenPoint{960, 1043}));
    // A desktop narrower than the inset keeps the point on it.
    EXPECT_EQ(RestorePointForLeave(2, {9, 5}, ScreenRect{0, 0, 10, 10}), (ScreenPoint{0, 5}));
}

TEST(VirtualScreenGeometry, EdgeStripIsThirtyTwoPixelsAlongTheModesEdge) {
    EXPECT_EQ(EdgeStrip(1, kDesktop), (ScreenRect{0, 0, 32, 1080}));
    EXPECT_EQ(EdgeStrip(2, kDesktop), (ScreenRect{1888, 0, 1920, 1080}));
    EXPECT_EQ(EdgeStrip(3, kDesktop), (ScreenRect{0, 0, 1920, 32}));
    EXPECT_EQ(EdgeStrip(4, kDesktop), (ScreenRect{0, 1048, 1920, 1080}));
    EXPECT_EQ(EdgeStrip(0, kDesktop), ScreenRect{});
}

TEST(VirtualScreenGeometry, OutwardMotionAndTheReturnOvershoot) {
    EXPECT_TRUE(IsOutwardMotion(1, -1, 0));
    EXPECT_FALSE(IsOutwardMotion(1, 1, -5));
    EXPECT_TRUE(IsOutwardMotion(2, 1, 0));
    EXPECT_TRUE(IsOutwardMotion(3, 0, -1));
    EXPECT_TRUE(IsOutwardMotion(4, 0, 1));
    EXPECT_FALSE(IsOutwardMotion(4, 5, 0));
    const RemoteScreenSize size{100, 50};
    EXPECT_FALSE(IsBackToLocal(1, 109, 0, size));
    EXPECT_TRUE(IsBackToLocal(1, 110, 0, size));
    EXPECT_FALSE(IsBackToLocal(2, -10, 0, size));
    EXPECT_TRUE(IsBackToLocal(2, -11, 0, size));
    EXPECT_TRUE(IsBackToLocal(3, 0, 60, size));
    EXPECT_TRUE(IsBackToLocal(4, 0, -11, size));
    EXPECT_FALSE(IsBackToLocal(0, -1000, -1000, size));
}

TEST(VirtualScreenPackets, TableMatchesTheInputChannelsRecords) {
    struct Case {
        const char* name;
        VirtualScreenPacket packet;
        InputPacket expected;
    };
    const Case cases[] = {
        {"cursor", CursorPacket(12, 34), MakeInputPacket(InputPacketType::MouseMove, 12, 34, 0, 0)},
        {"left down", ButtonPacket(0, true), MakeInputPacket(InputPacketType::MouseButton, 0, 0, 0, 1)},
        {"middle up", ButtonPacket(2, false), MakeInputPacket(InputPacketType::MouseButton, 0, 0, 2, 0)},
        {"wheel back", WheelPacket(5, 6, -120), MakeInputPacket(InputPacketType::MouseWheel, 5, 6, -120, 0)},
        {"drag visual on", DragVisualPacket(true),
         MakeInputPacket(InputPacketType::SystemKey, 0, 0, static_cast<int32_t>(SystemKeyCode::DragVisual),
                         1)},
        {"drag visual off", DragVisualPacket(false),
         MakeInputPacket(InputPacketType::SystemKey, 0, 0, static_cast<int32_t>(SystemKeyCode::DragVisual),
                         0)},
    };
    for (const Case& c : cases) {
        const InputPacket got{c.packet.type, c.packet.x, c.packet.y, c.packet.data1, c.packet.data2};
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(VirtualScreenPackets, HookButtonsAndWheelDelta) {
    struct Case {
        uint32_t message;
        bool isButton;
        int32_t button;
        bool down;
    };
    const Case cases[] = {
        {HookMessage::kLButtonDown, true, 0, true},   {HookMessage::kLButtonUp, true, 0, false},
        {HookMessage::kLButtonDblClk, true, 0, true}, {HookMessage::kRButtonDown, true, 1, true},
        {HookMessage::kRButtonUp, true, 1, false},    {HookMessage::kMButtonDblClk, true, 2, true},
        {HookMessage::kMButtonUp, true, 2, false},    {HookMessage::kMouseMove, false, 0, false},
        {HookMessage::kMouseWheel, false, 0, false},
    };
    for (const Case& c : cases) {
        int32_t button = -1;
        bool down = false;
        ASSERT_EQ(HookButtonOf(c.message, button, down), c.isButton) << std::hex << c.message;
        if (c.isButton) {
            EXPECT_EQ(button, c.button) << std::hex << c.message;
            EXPECT_EQ(down, c.down) << std::hex << c.message;
        }
    }
    EXPECT_EQ(WheelDeltaOf(0xFF880000u), -120);
    EXPECT_EQ(WheelDeltaOf(0x00780000u), 120);
}

} // namespace
