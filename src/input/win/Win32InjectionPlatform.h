#pragma once

#include "input/InjectionPlatform.h"

// Injection over SendInput, keybd_event, MapVirtualKeyW, GetAsyncKeyState, GetKeyState and the virtual
// desktop's system metrics.
class Win32InjectionPlatform final : public IInjectionPlatform {
public:
    uint32_t SendInputs(const PlannedInput* events, uint32_t count) override;
    uint32_t LastError() override { return m_lastError; }
    void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) override;
    uint32_t ScanCodeOf(uint32_t vk) override;
    bool IsKeyDown(uint32_t vk) override;
    bool IsToggledOn(uint32_t vk) override;
    VirtualDesktop Desktop() override;
    void SleepMs(uint32_t ms) override;

private:
    uint32_t m_lastError = 0;
};
