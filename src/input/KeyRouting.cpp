#include "input/KeyRouting.h"

#include "input/InputMessages.h"
#include "input/InputPacket.h"

int32_t KeySyncFlagsOf(const LocalKeyStates& keys) {
    int32_t flags = 0;
    if (keys.ctrl)
        flags |= KeySyncFlags::kCtrl;
    if (keys.alt)
        flags |= KeySyncFlags::kAlt;
    if (keys.shift)
        flags |= KeySyncFlags::kShift;
    if (keys.win)
        flags |= KeySyncFlags::kWin;
    return flags | ReleaseSyncFlagsOf(keys);
}

int32_t ReleaseSyncFlagsOf(const LocalKeyStates& keys) {
    return (keys.numLock ? KeySyncFlags::kNumLock : 0) | (keys.capsLock ? KeySyncFlags::kCapsLock : 0);
}

uint32_t HidModifierMaskOf(const LocalKeyStates& keys) {
    uint32_t mask = 0;
    if (keys.shift)
        mask |= HidModifierMask::kShift;
    if (keys.ctrl)
        mask |= HidModifierMask::kCtrl;
    if (keys.alt)
        mask |= HidModifierMask::kAlt;
    if (keys.win)
        mask |= HidModifierMask::kWin;
    return mask;
}

uint32_t FoldHidVirtualKey(uint32_t vk) {
    switch (vk) {
    case 160:
    case 161:
        return 16;
    case 162:
    case 163:
        return 17;
    case 164:
    case 165:
        return 18;
    case 92:
        return 91;
    default:
        return vk;
    }
}

bool IsModifierVirtualKey(uint32_t vk) {
    return (vk >= 16 && vk <= 18) || (vk >= 160 && vk <= 165) || vk == 91 || vk == 92;
}

HidKeyPlan PlanHidKey(uint32_t msg, uint32_t vk, uint32_t localModifierMask) {
    HidKeyPlan plan;
    const uint32_t folded = FoldHidVirtualKey(vk);
    if (folded == kVkNumLock) {
        if (IsKeyDownMessage(msg))
            plan.items[plan.count++] = MakeHidNumLockTapItem();
        return plan;
    }
    if (!IsModifierVirtualKey(vk))
        plan.items[plan.count++] = MakeHidSetModifiersItem(localModifierMask);
    plan.items[plan.count++] = MakeHidKeyItem(msg, folded);
    return plan;
}

WmKeyFacts DecodeWmKey(uint32_t msg, intptr_t lParam) {
    const uint64_t bits = static_cast<uint64_t>(lParam);
    WmKeyFacts facts;
    facts.down = IsKeyDownMessage(msg);
    facts.scan = static_cast<uint32_t>((bits >> 16) & 0xFF);
    facts.extended = ((bits >> 24) & 1) != 0;
    return facts;
}

int32_t KeyPacketFlagsOf(bool down, bool extended) {
    return (down ? KeyPacketFlags::kDown : 0) | (extended ? KeyPacketFlags::kExtended : 0);
}

int32_t NumLockPacketFlags(int32_t flags, bool targetOn) {
    return flags | KeyPacketFlags::kNumLockValid | (targetOn ? KeyPacketFlags::kNumLockWantOn : 0);
}

bool HookNumLockTarget(bool down, bool localNumLockOn) {
    return down ? !localNumLockOn : localNumLockOn;
}

uint32_t HookKeyMessage(uint32_t hookFlags, bool down) {
    if ((hookFlags & kHookFlagAltDown) != 0)
        return down ? InputMessage::kSysKeyDown : InputMessage::kSysKeyUp;
    return down ? InputMessage::kKeyDown : InputMessage::kKeyUp;
}

bool InsideMirrorWindow(uint64_t now, uint64_t until) {
    return now < until;
}
