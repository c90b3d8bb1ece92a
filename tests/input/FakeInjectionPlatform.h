#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "input/InjectionPlatform.h"

// A desktop in memory: keys go down and up as injected, a key-down of NumLock or CapsLock flips its lock
// (unless the test makes that path ineffective), and every call is recorded as text in order.
class FakeInjectionPlatform final : public IInjectionPlatform {
public:
    uint32_t SendInputs(const PlannedInput* events, uint32_t count) override {
        std::string call = "SendInput";
        for (uint32_t i = 0; i < count; ++i)
            call += " " + Describe(events[i]);
        calls.push_back(call);
        sent.insert(sent.end(), events, events + count);
        if (failSendInput)
            return 0;
        for (uint32_t i = 0; i < count; ++i)
            if (events[i].kind == PlannedInput::Kind::Keyboard && events[i].scan == 0)
                Apply(events[i].vk, (events[i].flags & InjectionFlags::kKeyUp) == 0, sendInputToggles);
        return count;
    }
    uint32_t LastError() override { return failSendInput ? 5 : 0; }
    void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) override {
        const bool down = (flags & InjectionFlags::kKeyUp) == 0;
        calls.push_back("keybd_event " + std::to_string(vk) + (down ? " down" : " up") + " scan=" +
                        std::to_string(scan) + ((flags & InjectionFlags::kKeyExtended) ? " ext" : ""));
        Apply(vk, down, keybdEventToggles);
    }
    uint32_t ScanCodeOf(uint32_t vk) override { return vk == 144 ? 0x45 : vk == 20 ? 0x3A : 0; }
    bool IsKeyDown(uint32_t vk) override { return down.count(vk) != 0; }
    bool IsToggledOn(uint32_t vk) override { return on.count(vk) != 0; }
    VirtualDesktop Desktop() override { return desktop; }
    void SleepMs(uint32_t ms) override { calls.push_back("sleep " + std::to_string(ms)); }

    // The keyboard operations only ("17 up", "144 down"), as SendInput or keybd_event gave them.
    std::vector<std::string> KeyOps() const {
        std::vector<std::string> ops;
        for (const std::string& call : calls)
            if (call.rfind("SendInput", 0) == 0 || call.rfind("keybd_event", 0) == 0)
                ops.push_back(call);
        return ops;
    }

    std::set<uint32_t> down; // held keys and mouse buttons
    std::set<uint32_t> on;   // lock keys that are on
    VirtualDesktop desktop{0, 0, 1920, 1080};
    bool failSendInput = false;
    bool sendInputToggles = true;
    bool keybdEventToggles = true;
    std::vector<std::string> calls;
    std::vector<PlannedInput> sent;

private:
    static std::string Describe(const PlannedInput& e) {
        if (e.kind == PlannedInput::Kind::Mouse)
            return "mouse flags=" + std::to_string(e.flags) + " " + std::to_string(e.dx) + "," +
                   std::to_string(e.dy) + " data=" + std::to_string(e.mouseData);
        std::string text = e.scan != 0 ? "scan " + std::to_string(e.scan) : std::to_string(e.vk);
        text += (e.flags & InjectionFlags::kKeyUp) ? " up" : " down";
        if (e.flags & InjectionFlags::kKeyExtended)
            text += " ext";
        return text;
    }
    void Apply(uint32_t vk, bool isDown, bool toggles) {
        if (isDown && toggles && (vk == 144 || vk == 20) && down.count(vk) == 0) {
            if (!on.erase(vk))
                on.insert(vk);
        }
        if (isDown)
            down.insert(vk);
        else
            down.erase(vk);
    }
};
