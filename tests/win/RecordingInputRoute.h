#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "input/RemoteInputRoute.h"

// An input route that says what the test sets and records every send, in order, as text.
class RecordingInputRoute final : public IRemoteInputRoute {
public:
    bool active = true;
    bool tcpReady = false;
    bool virtualScope = false; // the virtual screen holds the cursor
    bool hidRoute = false;     // SelectInputRoute picks HID
    // Scan code and hook flags of each SendHookKey, in order (read once the sends are over).
    std::vector<uint32_t> hookScans, hookFlags;

    bool IsRemoteControlActive() override { return active; }
    bool IsTcpReady() override { return tcpReady; }
    bool SendRemoteMouseMove(int32_t x, int32_t y, bool priority) override {
        return Add("move " + std::to_string(x) + "," + std::to_string(y) + (priority ? " priority" : ""));
    }
    bool SendMouseButton(uintptr_t, uint32_t message, int32_t x, int32_t y) override {
        return Add("button " + Hex(message) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    bool SendMouseWheel(uintptr_t, int32_t delta, int32_t x, int32_t y) override {
        return Add("wheel " + std::to_string(delta) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    bool QueueHidMouse(uintptr_t, uint32_t message, int32_t x, int32_t y) override {
        return Add("hid " + Hex(message) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    bool SendWmKey(uint32_t message, uint32_t vk, intptr_t) override {
        return Add("key " + Hex(message) + " " + std::to_string(vk));
    }
    bool SyncRemoteModifiers(const char* reason) override { return Add(std::string("sync ") + reason); }
    bool ReleaseRemoteModifiers(const char* reason) override { return Add(std::string("release ") + reason); }
    bool CancelRemoteDrag() override { return Add("cancel-drag"); }
    bool SendHookKey(uint32_t vk, uint32_t scan, uint32_t flags, bool down) override {
        hookScans.push_back(scan);
        hookFlags.push_back(flags);
        return Add("hook " + std::to_string(vk) + (down ? " down" : " up"));
    }
    bool QueueHidKey(uint32_t message, uint32_t vk) override {
        return Add("hidkey " + Hex(message) + " " + std::to_string(vk));
    }
    bool SelectInputRoute() override { return hidRoute; }
    bool IsVirtualScreenInputScope() override { return virtualScope; }

    std::vector<std::string> Calls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.clear();
    }

private:
    static std::string Hex(uint32_t v) {
        char text[16];
        snprintf(text, sizeof text, "0x%04X", v);
        return text;
    }
    bool Add(std::string call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(std::move(call));
        return true;
    }

    std::mutex m_mutex;
    std::vector<std::string> m_calls;
};
