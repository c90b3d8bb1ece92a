#include <gtest/gtest.h>

#include "ui/RemoteViewKeys.h"

namespace {

constexpr uint32_t kF11 = 0x7A;

struct KeyCase {
    const char* name;
    uint32_t vk;
    bool ctrl, alt;
    RemoteViewKeyAction action;
};

class RemoteViewKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(RemoteViewKeyTest, Decides) {
    StateViewDebounce debounce;
    const KeyCase& c = GetParam();
    EXPECT_EQ(DecideRemoteViewKeyDown(c.vk, c.ctrl, c.alt, 5000, debounce), c.action);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoteViewKeyTest,
    ::testing::Values(KeyCase{"CtrlAltF11", kF11, true, true, RemoteViewKeyAction::ToggleFullscreen},
                      KeyCase{"CtrlAltZero", '0', true, true, RemoteViewKeyAction::ToggleStateView},
                      KeyCase{"F11WithoutAlt", kF11, true, false, RemoteViewKeyAction::Send},
                      KeyCase{"ZeroWithoutCtrl", '0', false, true, RemoteViewKeyAction::Send},
                      KeyCase{"NumpadZeroIsAnOrdinaryKey", 0x60, true, true, RemoteViewKeyAction::Send},
                      KeyCase{"CtrlAltOtherKey", 'A', true, true, RemoteViewKeyAction::Send},
                      KeyCase{"PlainZero", '0', false, false, RemoteViewKeyAction::Send}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(StateViewDebounce, SecondToggleWithin250MsIsIgnoredAndDoesNotExtendTheWindow) {
    StateViewDebounce d;
    EXPECT_EQ(DecideRemoteViewKeyDown('0', true, true, 1000, d), RemoteViewKeyAction::ToggleStateView);
    EXPECT_EQ(DecideRemoteViewKeyDown('0', true, true, 1249, d), RemoteViewKeyAction::StateViewDebounced);
    // Measured from the last toggle, not from the ignored press.
    EXPECT_EQ(DecideRemoteViewKeyDown('0', true, true, 1250, d), RemoteViewKeyAction::ToggleStateView);
}

TEST(StateViewDebounce, FirstToggleIsAcceptedAtAnyTickAndTheTickMayWrap) {
    StateViewDebounce d;
    EXPECT_TRUE(d.Accept(0)) << "no toggle yet: tick 0 must not look like a recent one";
    StateViewDebounce wrap;
    EXPECT_TRUE(wrap.Accept(0xFFFFFFC0u));
    EXPECT_FALSE(wrap.Accept(0x00000010u)) << "0x50 ms later across the wrap";
    EXPECT_TRUE(wrap.Accept(0x00000100u));
}

TEST(StateViewDebounce, F11DoesNotTouchTheStateViewDebounce) {
    StateViewDebounce d;
    EXPECT_EQ(DecideRemoteViewKeyDown('0', true, true, 1000, d), RemoteViewKeyAction::ToggleStateView);
    EXPECT_EQ(DecideRemoteViewKeyDown(kF11, true, true, 1100, d), RemoteViewKeyAction::ToggleFullscreen);
    EXPECT_EQ(DecideRemoteViewKeyDown('0', true, true, 1260, d), RemoteViewKeyAction::ToggleStateView);
}

} // namespace
