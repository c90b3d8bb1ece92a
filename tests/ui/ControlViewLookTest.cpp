#include <gtest/gtest.h>

#include "core/RuntimeState.h"
#include "ui/ControlViewLook.h"

namespace {

constexpr UiColour kRedBright{190, 64, 64}, kBlueBright{58, 118, 190}, kGreenBright{38, 150, 96},
    kGreyBright{82, 88, 96};

struct StateCase {
    int32_t state;
    bool cable;
    size_t peers;
    bool hovered;
    ControlViewKind kind;
    const char* english;
    const char* chinese;
    UiColour bright;
};

// Every program state 0..10 and one past the table, with the cable and discovery that change the word.
const StateCase kStates[] = {
    {0, false, 0, false, ControlViewKind::Idle, "Insert device", "等待设备插入", kGreyBright},
    {0, true, 0, false, ControlViewKind::Idle, "Waiting remote", "等待远端", kGreyBright},
    {0, true, 1, false, ControlViewKind::Connectable, "Connect", "连接", kGreenBright},
    {1, true, 1, false, ControlViewKind::Active, "Connecting", "连接中", kRedBright},
    {2, true, 0, false, ControlViewKind::Idle, "Waiting remote", "等待远端", kGreyBright},
    {2, true, 2, false, ControlViewKind::Connectable, "Connect", "连接", kGreenBright},
    {3, false, 0, false, ControlViewKind::Active, "Connecting", "连接中", kRedBright},
    {4, true, 1, false, ControlViewKind::Active, "Connecting", "连接中", kRedBright},
    {5, true, 1, false, ControlViewKind::Active, "Disconnect", "断开", kRedBright},
    {6, true, 1, false, ControlViewKind::Active, "Controlled", "被控", kBlueBright},
    {6, true, 1, true, ControlViewKind::Active, "Disconnect", "断开", kRedBright},
    {7, true, 1, false, ControlViewKind::Active, "Connecting", "连接中", kRedBright},
    {8, true, 0, false, ControlViewKind::Idle, "Lost", "丢失", kGreyBright},
    {8, false, 0, false, ControlViewKind::Idle, "Insert device", "等待设备插入", kGreyBright},
    {8, true, 1, false, ControlViewKind::Connectable, "Connect", "连接", kGreenBright},
    {9, true, 0, false, ControlViewKind::Idle, "Error", "错误", kGreyBright},
    {10, true, 1, false, ControlViewKind::Active, "Stopping", "断开中", kRedBright},
    {11, true, 0, false, ControlViewKind::Idle, "Waiting remote", "等待远端", kGreyBright},
    {-1, false, 0, false, ControlViewKind::Idle, "Insert device", "等待设备插入", kGreyBright},
    {42, true, 3, false, ControlViewKind::Connectable, "Connect", "连接", kGreenBright},
};

TEST(ControlViewLookTest, KindWordAndColourPerState) {
    for (const StateCase& c : kStates) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " cable " << c.cable << " peers " << c.peers
                                        << " hovered " << c.hovered);
        const ControlViewKind kind = ControlViewKindFor(c.state, c.cable, c.peers);
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(ControlButtonLabel(c.state, c.cable, c.peers, c.hovered, true), c.english);
        EXPECT_EQ(ControlButtonLabel(c.state, c.cable, c.peers, c.hovered, false), c.chinese);
        EXPECT_EQ(ControlViewColoursFor(kind, c.state, c.hovered).bright, c.bright);
    }
}

TEST(ControlViewLookTest, TheBordersLightUpOnHoverExceptWhenIdle) {
    const UiColour hover{245, 235, 220};
    EXPECT_EQ(ControlViewColoursFor(ControlViewKind::Connectable, 0, false).border, (UiColour{92, 155, 215}));
    EXPECT_EQ(ControlViewColoursFor(ControlViewKind::Connectable, 0, true).border, hover);
    EXPECT_EQ(ControlViewColoursFor(ControlViewKind::Active, 5, false).border, (UiColour{225, 120, 120}));
    EXPECT_EQ(ControlViewColoursFor(ControlViewKind::Active, 5, true).border, hover);
    EXPECT_EQ(ControlViewColoursFor(ControlViewKind::Active, 6, false).border, (UiColour{120, 170, 230}));
    EXPECT_EQ(ControlViewColoursFor(ControlViewKind::Active, 6, true).border, hover);
    EXPECT_EQ(ControlViewColoursFor(ControlViewKind::Idle, 0, true).border, (UiColour{112, 120, 130}));
    const ControlViewColours red = ControlViewColoursFor(ControlViewKind::Active, 10, false);
    EXPECT_EQ(red.mid, (UiColour{155, 52, 52}));
    EXPECT_EQ(red.dark, (UiColour{125, 42, 42}));
    EXPECT_EQ(red.pressed, (UiColour{102, 34, 34}));
}

TEST(ControlViewLookTest, LighteningBreathesOnlyWhileASessionIsOnItsWay) {
    struct Case {
        uint32_t frame;
        int32_t connecting, connectingHovered; // program state 4
    };
    // The wave folds at 30: frames 0, 15, 30, 45, 59 give 0, 15, 30, 15, 1; half of it is added.
    for (Case c : {Case{0, 8, 28}, Case{15, 15, 35}, Case{30, 23, 43}, Case{45, 15, 35}, Case{59, 8, 28},
                   Case{60 + 30, 23, 43}}) {
        SCOPED_TRACE(c.frame);
        EXPECT_EQ(ControlViewLightening(ControlViewKind::Active, 4, false, c.frame), c.connecting);
        EXPECT_EQ(ControlViewLightening(ControlViewKind::Active, 4, true, c.frame), c.connectingHovered);
        // Controlling and a connectable button stay steady; an idle one is flat unless hovered.
        EXPECT_EQ(ControlViewLightening(ControlViewKind::Active, 5, false, c.frame), 8);
        EXPECT_EQ(ControlViewLightening(ControlViewKind::Connectable, 0, true, c.frame), 28);
        EXPECT_EQ(ControlViewLightening(ControlViewKind::Idle, 0, false, c.frame), 0);
        EXPECT_EQ(ControlViewLightening(ControlViewKind::Idle, 0, true, c.frame), 10);
    }
}

TEST(ControlViewLookTest, LighteningAndGradientBlendTheChannels) {
    EXPECT_EQ(LightenTowardWhite({190, 64, 64}, 0), (UiColour{190, 64, 64}));
    EXPECT_EQ(LightenTowardWhite({190, 64, 64}, 28), (UiColour{208, 117, 117}));
    EXPECT_EQ(LightenTowardWhite({0, 0, 0}, 100), (UiColour{255, 255, 255}));

    const UiColour top{38, 150, 96}, bottom{25, 99, 63};
    EXPECT_EQ(ControlViewGradientRow(top, bottom, 0, 64), top);
    // The last row stops one step short of the bottom colour: 63 * 100 / 64 = 98 percent.
    EXPECT_EQ(ControlViewGradientRow(top, bottom, 63, 64), (UiColour{25, 100, 63}));
    EXPECT_EQ(ControlViewGradientRow(top, bottom, 32, 64), (UiColour{31, 124, 79}));
    EXPECT_EQ(ControlViewGradientRow(top, bottom, 0, 0), top);
}

} // namespace
