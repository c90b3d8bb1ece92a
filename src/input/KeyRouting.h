#pragma once

#include <cstddef>
#include <cstdint>

#include "input/HidQueueItem.h"

// The local keyboard as the router reads it (asynchronous key states, toggle bits).
struct LocalKeyStates {
    bool ctrl = false, alt = false, shift = false, win = false; // either side of the pair is down
    bool numLock = false, capsLock = false;                     // toggled on
};

// KeySyncFlags of SYSTEM_KEY 3: the whole local state.
int32_t KeySyncFlagsOf(const LocalKeyStates& keys);
// KeySyncFlags that release every modifier on the peer and keep only its NumLock and CapsLock in line.
int32_t ReleaseSyncFlagsOf(const LocalKeyStates& keys);
// HidModifierMask of the held modifiers.
uint32_t HidModifierMaskOf(const LocalKeyStates& keys);

constexpr uint32_t kVkNumLock = 144;
constexpr uint32_t kVkCapsLock = 20;
constexpr uint32_t kVkEscape = 27;

// The cable knows only the generic modifier keys: left and right Shift, Ctrl and Alt become 16, 17, 18, and
// right Win becomes left Win (91). Other keys pass through.
uint32_t FoldHidVirtualKey(uint32_t vk);
// 16-18, 160-165, 91 and 92.
bool IsModifierVirtualKey(uint32_t vk);

// The items one key message becomes on the HID path, in order. An ordinary key first brings the peer's
// modifiers in line with the local ones (a set-modifiers item); NumLock goes as one tap on its press and
// nothing on its release.
struct HidKeyPlan {
    HidQueueItem items[2];
    size_t count = 0;
};
HidKeyPlan PlanHidKey(uint32_t msg, uint32_t vk, uint32_t localModifierMask);

// A key message of a window, as a KEY packet: lParam bits 16-23 scan code, bit 24 extended.
struct WmKeyFacts {
    bool down = false;
    uint32_t scan = 0;
    bool extended = false;
};
WmKeyFacts DecodeWmKey(uint32_t msg, intptr_t lParam);

// KeyPacketFlags: down 0x01, extended 0x02.
int32_t KeyPacketFlagsOf(bool down, bool extended);
// A NumLock KEY packet says which state the peer must end in.
int32_t NumLockPacketFlags(int32_t flags, bool targetOn);
// The hook sees NumLock before Windows toggles it: a press aims at the opposite of the local state, a release
// at the local state.
bool HookNumLockTarget(bool down, bool localNumLockOn);

// Low-level hook flags: bit 0 extended, 0x20 Alt held.
constexpr uint32_t kHookFlagExtended = 0x01;
constexpr uint32_t kHookFlagAltDown = 0x20;
// The window message a hooked key would have produced: WM_SYSKEYDOWN/UP while Alt is held.
uint32_t HookKeyMessage(uint32_t hookFlags, bool down);

// Whether a NumLock or CapsLock message falls inside the hook's mirror window (its deadline, in ticks).
bool InsideMirrorWindow(uint64_t now, uint64_t until);
