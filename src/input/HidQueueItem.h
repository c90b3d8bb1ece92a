#pragma once

#include <cstdint>

// One action for the HID worker: the router queues it on the UI or hook thread and the worker turns it into
// cable frames on its own thread, so that a slow HID write never stalls a window procedure or the hook.
enum class HidItemType : uint32_t {
    Mouse = 0,            // msg (WM_MOUSEMOVE or a button message) at x, y
    Wheel = 1,            // delta at x, y
    Key = 2,              // vk (a generic key, left/right folded) with msg
    NumLockTap = 3,       // NumLock down, 8 ms, up
    SetModifiers = 4,     // bring Shift, Ctrl, Alt, Win in line with the mask
    ReleaseModifiers = 5, // every modifier key up
};

// Modifier bits of a HID item. Not the order of KeySyncFlags; each belongs to its own path.
namespace HidModifierMask {
constexpr uint32_t kShift = 0x01;
constexpr uint32_t kCtrl = 0x02;
constexpr uint32_t kAlt = 0x04;
constexpr uint32_t kWin = 0x08;
} // namespace HidModifierMask

// The cable's absolute mouse range: x and y are 0..kHidAbsoluteMax on the peer's screen.
constexpr int32_t kHidAbsoluteMax = 4096;

// A point in that range.
struct HidPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct HidQueueItem {
    uint32_t type = 0; // HidItemType
    uint32_t msg = 0;
    uint32_t vk = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t delta = 0;
    uint32_t modifiers = 0; // HidModifierMask

    bool Is(HidItemType t) const { return type == static_cast<uint32_t>(t); }
    bool operator==(const HidQueueItem&) const = default;
};

HidQueueItem MakeHidMouseItem(uint32_t msg, int32_t x, int32_t y);
HidQueueItem MakeHidWheelItem(int32_t x, int32_t y, int32_t delta);
HidQueueItem MakeHidKeyItem(uint32_t msg, uint32_t vk);
HidQueueItem MakeHidNumLockTapItem();
HidQueueItem MakeHidSetModifiersItem(uint32_t mask);
HidQueueItem MakeHidReleaseModifiersItem();

// The worker's counters, as the heartbeat line prints them.
struct HidWorkerCounters {
    uint64_t openAttempts = 0;
    uint64_t openFailures = 0;
    uint64_t enqueued = 0;
    uint64_t sent = 0;
    uint64_t failed = 0;
    uint64_t coalesced = 0;
    uint64_t dropped = 0;
    uint64_t slow = 0;
    uint64_t maxUs = 0;
};
