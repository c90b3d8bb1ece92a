#include <gtest/gtest.h>

#include <climits>

#include "input/InjectionPlan.h"
#include "input/VirtualKeyName.h"

namespace {

using namespace InjectionFlags;
using Kind = PlannedInput::Kind;

constexpr VirtualDesktop kFullHd{0, 0, 1920, 1080};
// A second monitor left of and above the primary one.
constexpr VirtualDesktop kNegativeOrigin{-1280, -200, 3200, 1280};

struct PlanCase {
    const char* name;
    InputPacket packet;
    VirtualDesktop desktop;
    PlannedInput want;
};

PlannedInput Mouse(uint32_t flags, int32_t dx = 0, int32_t dy = 0, int32_t data = 0) {
    PlannedInput p;
    p.kind = Kind::Mouse;
    p.flags = flags;
    p.dx = dx;
    p.dy = dy;
    p.mouseData = data;
    return p;
}

PlannedInput Key(uint32_t flags, uint16_t vk, uint16_t scan) {
    PlannedInput p;
    p.kind = Kind::Keyboard;
    p.flags = flags;
    p.vk = vk;
    p.scan = scan;
    return p;
}

PlannedInput Nothing(const char* reason) {
    PlannedInput p;
    p.skipReason = reason;
    return p;
}

InputPacket Packet(InputPacketType type, int32_t x, int32_t y, int32_t data1, int32_t data2) {
    return MakeInputPacket(type, x, y, data1, data2);
}

constexpr uint32_t kAbsMove = kMouseMove | kMouseVirtualDesk | kMouseAbsolute;
constexpr auto kMove = InputPacketType::MouseMove;
constexpr auto kButton = InputPacketType::MouseButton;
constexpr auto kKey = InputPacketType::Key;

class PlanPacketInputTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanPacketInputTest, Plans) {
    const PlanCase& c = GetParam();
    PlannedInput got = PlanPacketInput(c.packet, c.desktop);
    EXPECT_EQ(got.kind, c.want.kind);
    EXPECT_EQ(got.flags, c.want.flags);
    EXPECT_EQ(got.dx, c.want.dx);
    EXPECT_EQ(got.dy, c.want.dy);
    EXPECT_EQ(got.mouseData, c.want.mouseData);
    EXPECT_EQ(got.vk, c.want.vk);
    EXPECT_EQ(got.scan, c.want.scan);
    EXPECT_STREQ(got.skipReason, c.want.skipReason);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlanPacketInputTest,
    ::testing::Values(
        PlanCase{"MoveOrigin", Packet(kMove, 0, 0, 0, 0), kFullHd, Mouse(kAbsMove, 0, 0)},
        PlanCase{"MoveRightMostPixel", Packet(kMove, 1919, 1079, 0, 0), kFullHd,
                 Mouse(kAbsMove, 65535, 65535)},
        PlanCase{"MoveMiddleTruncates", Packet(kMove, 960, 540, 0, 0), kFullHd,
                 Mouse(kAbsMove, 32784, 32797)},
        PlanCase{"MoveNegativeOriginLeftEdge", Packet(kMove, -1280, -200, 0, 0), kNegativeOrigin,
                 Mouse(kAbsMove, 0, 0)},
        PlanCase{"MoveNegativeOriginPrimaryTopLeft", Packet(kMove, 0, 0, 0, 0), kNegativeOrigin,
                 Mouse(kAbsMove, 26222, 10247)},
        PlanCase{"MoveNegativeOriginFarCorner", Packet(kMove, 1919, 1079, 0, 0), kNegativeOrigin,
                 Mouse(kAbsMove, 65535, 65535)},
        PlanCase{"MoveLeftOfDesktopClampsToEdge", Packet(kMove, -5000, -1, 0, 0), kFullHd,
                 Mouse(kAbsMove, 0, 0)},
        PlanCase{"MoveHugeXClamps", Packet(kMove, INT_MAX, INT_MAX, 0, 0), kFullHd,
                 Mouse(kAbsMove, 65535, 65535)},
        PlanCase{"MoveHugeNegativeClamps", Packet(kMove, INT_MIN, INT_MIN, 0, 0), kNegativeOrigin,
                 Mouse(kAbsMove, 0, 0)},
        PlanCase{"MoveOnePixelDesktop", Packet(kMove, 0, 0, 0, 0), VirtualDesktop{0, 0, 1, 1},
                 Mouse(kAbsMove, 0, 0)},
        PlanCase{"MoveOnePixelWideOnly", Packet(kMove, 7, 1079, 0, 0), VirtualDesktop{0, 0, 1, 1080},
                 Mouse(kAbsMove, 0, 65535)},
        PlanCase{"MoveUnknownDesktop", Packet(kMove, 100, 100, 0, 0), VirtualDesktop{0, 0, 0, 0},
                 Mouse(kAbsMove, 0, 0)},
        PlanCase{"LeftDown", Packet(kButton, 5, 5, 0, 1), kFullHd, Mouse(kMouseLeftDown)},
        PlanCase{"LeftUp", Packet(kButton, 0, 0, 0, 0), kFullHd, Mouse(kMouseLeftUp)},
        PlanCase{"RightDown", Packet(kButton, 0, 0, 1, 1), kFullHd, Mouse(kMouseRightDown)},
        PlanCase{"RightUp", Packet(kButton, 0, 0, 1, 0), kFullHd, Mouse(kMouseRightUp)},
        PlanCase{"MiddleDownAnyNonZero", Packet(kButton, 0, 0, 2, 7), kFullHd, Mouse(kMouseMiddleDown)},
        PlanCase{"MiddleUp", Packet(kButton, 0, 0, 2, 0), kFullHd, Mouse(kMouseMiddleUp)},
        PlanCase{"Button3Nothing", Packet(kButton, 0, 0, 3, 1), kFullHd, Nothing("unknown mouse button")},
        PlanCase{"NegativeButtonNothing", Packet(kButton, 0, 0, -1, 1), kFullHd,
                 Nothing("unknown mouse button")},
        PlanCase{"WheelSignedDelta", Packet(InputPacketType::MouseWheel, 10, 10, -240, 0), kFullHd,
                 Mouse(kMouseWheel, 0, 0, -240)},
        PlanCase{"KeyByVirtualKeyDown", Packet(kKey, 0, 0, 65, 0x01), kFullHd, Key(0, 65, 0)},
        PlanCase{"KeyByVirtualKeyUpExtended", Packet(kKey, 0, 0, 46, 0x02), kFullHd,
                 Key(kKeyUp | kKeyExtended, 46, 0)},
        PlanCase{"KeyByScanIgnoresVirtualKey", Packet(kKey, 0x1E, 0, 65, 0x01), kFullHd,
                 Key(kKeyScanCode, 0, 0x1E)},
        PlanCase{"KeyScanUpExtended", Packet(kKey, 0x4B, 0, 37, 0x02), kFullHd,
                 Key(kKeyScanCode | kKeyUp | kKeyExtended, 0, 0x4B)},
        PlanCase{"KeyScanLow16BitsOnly", Packet(kKey, 0x7FFF0000, 0, 65, 0x01), kFullHd, Key(0, 65, 0)},
        PlanCase{"KeyVirtualKeyLow16BitsOnly", Packet(kKey, 0, 0, 0x10041, 0x01), kFullHd, Key(0, 0x41, 0)},
        PlanCase{"SystemKeyNothing", Packet(InputPacketType::SystemKey, 0, 0, 2, 0), kFullHd,
                 Nothing("unknown type")},
        PlanCase{"UnknownTypeNothing", MakeInputPacket(static_cast<InputPacketType>(77), 0, 0, 0, 0), kFullHd,
                 Nothing("unknown type")}),
    [](const ::testing::TestParamInfo<PlanCase>& info) { return std::string(info.param.name); });

TEST(HidWheelPoint, ScalesToTheCableRangeWithClampAndGuard) {
    auto point = [](int32_t x, int32_t y, VirtualDesktop d) {
        HidPoint p = HidWheelPoint(Packet(InputPacketType::MouseWheel, x, y, 120, 0), d);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(point(0, 0, kFullHd), std::make_pair(0, 0));
    EXPECT_EQ(point(1919, 1079, kFullHd), std::make_pair(4096, 4096));
    EXPECT_EQ(point(960, 540, kFullHd), std::make_pair(2049, 2049));
    EXPECT_EQ(point(-1280, 440, kNegativeOrigin), std::make_pair(0, 2049));
    EXPECT_EQ(point(INT_MAX, INT_MIN, kFullHd), std::make_pair(4096, 0));
    EXPECT_EQ(point(500, 500, VirtualDesktop{0, 0, 1, 1}), std::make_pair(0, 0));
}

TEST(VirtualKeyName, NamesModifiersAndLocksOnly) {
    EXPECT_STREQ(VirtualKeyName(17), "CTRL");
    EXPECT_STREQ(VirtualKeyName(92), "RWIN");
    EXPECT_STREQ(VirtualKeyName(144), "NUM");
    EXPECT_STREQ(VirtualKeyName(165), "RALT");
    EXPECT_STREQ(VirtualKeyName(65), "");
    EXPECT_STREQ(VirtualKeyName(0xFFFFFFFFu), "");
}

} // namespace
