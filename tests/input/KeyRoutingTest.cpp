#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/InputMessages.h"
#include "input/InputPacket.h"
#include "input/KeyRouting.h"

namespace {

using namespace InputMessage;

TEST(FoldHidVirtualKey, LeftAndRightModifiersBecomeGeneric) {
    const std::vector<std::pair<uint32_t, uint32_t>> cases = {
        {160, 16}, {161, 16}, {162, 17}, {163, 17},  {164, 18},  {165, 18}, {92, 91},
        {91, 91},  {16, 16},  {65, 65},  {144, 144}, {159, 159}, {166, 166}};
    for (const auto& [vk, folded] : cases)
        EXPECT_EQ(FoldHidVirtualKey(vk), folded) << vk;
}

TEST(IsModifierVirtualKey, GenericLeftRightAndWin) {
    for (uint32_t vk : {16u, 17u, 18u, 160u, 161u, 162u, 163u, 164u, 165u, 91u, 92u})
        EXPECT_TRUE(IsModifierVirtualKey(vk)) << vk;
    for (uint32_t vk : {15u, 19u, 20u, 90u, 93u, 144u, 159u, 166u})
        EXPECT_FALSE(IsModifierVirtualKey(vk)) << vk;
}

TEST(PlanHidKey, AnOrdinaryKeyFirstBringsTheModifiersInLine) {
    const HidKeyPlan plan = PlanHidKey(kSysKeyDown, 65, HidModifierMask::kAlt);
    ASSERT_EQ(plan.count, 2u);
    EXPECT_EQ(plan.items[0], MakeHidSetModifiersItem(HidModifierMask::kAlt));
    EXPECT_EQ(plan.items[1], MakeHidKeyItem(kSysKeyDown, 65));
}

TEST(PlanHidKey, AModifierKeyGoesFoldedAndAlone) {
    const HidKeyPlan plan = PlanHidKey(kKeyUp, 163, HidModifierMask::kCtrl);
    ASSERT_EQ(plan.count, 1u);
    EXPECT_EQ(plan.items[0], MakeHidKeyItem(kKeyUp, 17));
    const HidKeyPlan rwin = PlanHidKey(kKeyDown, 92, 0);
    ASSERT_EQ(rwin.count, 1u);
    EXPECT_EQ(rwin.items[0], MakeHidKeyItem(kKeyDown, 91));
}

TEST(PlanHidKey, NumLockIsOneTapOnItsPressAndNothingOnItsRelease) {
    for (uint32_t msg : {kKeyDown, kSysKeyDown}) {
        const HidKeyPlan plan = PlanHidKey(msg, 144, HidModifierMask::kShift);
        ASSERT_EQ(plan.count, 1u);
        EXPECT_EQ(plan.items[0], MakeHidNumLockTapItem());
    }
    EXPECT_EQ(PlanHidKey(kKeyUp, 144, 0).count, 0u);
    EXPECT_EQ(PlanHidKey(kSysKeyUp, 144, 0).count, 0u);
}

TEST(KeyStateFlags, BothBitOrdersFromOneKeyboardState) {
    LocalKeyStates keys;
    keys.ctrl = keys.shift = keys.win = keys.numLock = true;
    EXPECT_EQ(KeySyncFlagsOf(keys),
              KeySyncFlags::kCtrl | KeySyncFlags::kShift | KeySyncFlags::kWin | KeySyncFlags::kNumLock);
    EXPECT_EQ(KeySyncFlagsOf(keys), 0x01 | 0x04 | 0x20 | 0x08);
    EXPECT_EQ(HidModifierMaskOf(keys), 0x01u | 0x02u | 0x08u);
    EXPECT_EQ(ReleaseSyncFlagsOf(keys), 0x08) << "a release keeps only the lock states";
    keys.alt = true;
    keys.capsLock = true;
    EXPECT_EQ(KeySyncFlagsOf(keys), 0x3F);
    EXPECT_EQ(HidModifierMaskOf(keys), 0x0Fu);
    EXPECT_EQ(ReleaseSyncFlagsOf(keys), 0x18);
}

TEST(DecodeWmKey, ScanAndExtendedFromLParam) {
    // Right Ctrl down: scan 0x1D, extended; repeat count 1.
    const WmKeyFacts rctrl = DecodeWmKey(kKeyDown, static_cast<intptr_t>(0x011D0001));
    EXPECT_TRUE(rctrl.down);
    EXPECT_EQ(rctrl.scan, 0x1Du);
    EXPECT_TRUE(rctrl.extended);
    EXPECT_EQ(KeyPacketFlagsOf(rctrl.down, rctrl.extended), 0x03);
    // Alt+A release: transition and previous-state bits set, which must not leak into scan or extended.
    const WmKeyFacts altA = DecodeWmKey(kSysKeyUp, static_cast<intptr_t>(static_cast<int32_t>(0xE01E0001u)));
    EXPECT_FALSE(altA.down);
    EXPECT_EQ(altA.scan, 0x1Eu);
    EXPECT_FALSE(altA.extended);
    EXPECT_TRUE(DecodeWmKey(kSysKeyDown, 0).down);
}

TEST(NumLockPacketFlags, CarryTheTargetState) {
    EXPECT_EQ(NumLockPacketFlags(KeyPacketFlagsOf(true, false), true), 0x01 | 0x04 | 0x08);
    EXPECT_EQ(NumLockPacketFlags(KeyPacketFlagsOf(false, true), false), 0x02 | 0x04);
    EXPECT_TRUE(HookNumLockTarget(true, false)) << "the press toggles what is on now";
    EXPECT_FALSE(HookNumLockTarget(true, true));
    EXPECT_TRUE(HookNumLockTarget(false, true)) << "the release confirms the toggled state";
}

TEST(HookKeyMessage, AltHeldMakesItASystemKey) {
    EXPECT_EQ(HookKeyMessage(kHookFlagAltDown, true), kSysKeyDown);
    EXPECT_EQ(HookKeyMessage(kHookFlagAltDown | kHookFlagExtended, false), kSysKeyUp);
    EXPECT_EQ(HookKeyMessage(kHookFlagExtended, true), kKeyDown);
    EXPECT_EQ(HookKeyMessage(0, false), kKeyUp);
}

struct MouseCase {
    uint32_t msg;
    int32_t button;
    bool press;
    const char* name;
};

TEST(MouseMessages, ButtonPressAndName) {
    const MouseCase cases[] = {
        {kMouseMove, 0, false, "WM_MOUSEMOVE"},        {kLButtonDown, 0, true, "WM_LBUTTONDOWN"},
        {kLButtonUp, 0, false, "WM_LBUTTONUP"},        {kLButtonDblClk, 0, true, "WM_LBUTTONDBLCLK"},
        {kRButtonDown, 1, true, "WM_RBUTTONDOWN"},     {kRButtonUp, 1, false, "WM_RBUTTONUP"},
        {kRButtonDblClk, 1, true, "WM_RBUTTONDBLCLK"}, {kMButtonDown, 2, true, "WM_MBUTTONDOWN"},
        {kMButtonUp, 2, false, "WM_MBUTTONUP"},        {kMButtonDblClk, 2, true, "WM_MBUTTONDBLCLK"},
        {0x020A, 0, false, "WM_MOUSE_UNKNOWN"},
    };
    for (const MouseCase& c : cases) {
        EXPECT_EQ(MouseButtonOfMessage(c.msg), c.button) << c.name;
        EXPECT_EQ(IsMouseButtonPress(c.msg), c.press) << c.name;
        EXPECT_STREQ(MouseMessageName(c.msg), c.name);
    }
    EXPECT_STREQ(KeyMessageName(kSysKeyUp), "WM_SYSKEYUP");
    EXPECT_STREQ(KeyMessageName(0x0102), "WM_KEY_UNKNOWN");
}

} // namespace
