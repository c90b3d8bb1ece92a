#pragma once

#include <cstdint>

#include "input/InjectionPlan.h"

// The Windows calls injection makes, so the order of key operations, the retries and the log lines are
// testable with a recording fake. The Win32 shell implements it over SendInput, keybd_event and friends.
class IInjectionPlatform {
public:
    virtual ~IInjectionPlatform() = default;

    // One SendInput call with these events; the number injected.
    virtual uint32_t SendInputs(const PlannedInput* events, uint32_t count) = 0;
    // GetLastError right after the call before.
    virtual uint32_t LastError() = 0;
    // keybd_event.
    virtual void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) = 0;
    // MapVirtualKeyW(vk, MAPVK_VK_TO_VSC).
    virtual uint32_t ScanCodeOf(uint32_t vk) = 0;
    // GetAsyncKeyState: the key (or mouse button) is down now.
    virtual bool IsKeyDown(uint32_t vk) = 0;
    // GetKeyState bit 0: the lock key is on.
    virtual bool IsToggledOn(uint32_t vk) = 0;
    virtual VirtualDesktop Desktop() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
};
