#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "input/HidWorkerCore.h"
#include "support/TestLog.h"

// A cable that records every frame request as text ("kb 16 0x0100", "mouse 0x0200 10,20", "wheel 5,6 120",
// "open") and answers as the test sets. The device is "closed" until Open succeeds; closeOnNextKey makes the
// next key write find the handle gone and reopen it the way the link does (which resets the cable).
class FakeHidCable final : public IHidCable {
public:
    bool IsOpen() override { return m_open; }
    int Open() override {
        Record("open");
        if (!present)
            return -1;
        m_open = openHandle;
        return 1;
    }
    int SetMouseMsg(uint32_t msg, int32_t x, int32_t y) override {
        Block();
        return Record("mouse " + Hex(msg) + " " + std::to_string(x) + "," + std::to_string(y));
    }
    int SetMouseWheelMsg(uint32_t, int32_t x, int32_t y, int32_t delta) override {
        return Record("wheel " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(delta));
    }
    int SetKBMsg(uint32_t vk, uint32_t msg) override {
        Block();
        if (loseHandleOnNextKey) {
            loseHandleOnNextKey = false;
            m_open = false;
            Record("kb " + std::to_string(vk) + " " + Hex(msg) + " lost");
            return -1;
        }
        if (!m_open) {
            Record("reopen");
            m_open = present;
        }
        const int result = Record("kb " + std::to_string(vk) + " " + Hex(msg));
        return failVk == vk ? -1 : result;
    }

    std::vector<std::string> Calls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    void ClearCalls() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.clear();
    }
    void Close() { m_open = false; }

    // Holds the next mouse or key write until Release, and says when the worker is inside it.
    void HoldNextWrite() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hold = true;
        m_inside = false;
    }
    bool WaitInsideWrite() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [this] { return m_inside; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hold = false;
        m_changed.notify_all();
    }

    bool present = true;
    bool openHandle = true; // an open that finds the device but cannot open it leaves the handle closed
    bool loseHandleOnNextKey = false;
    uint32_t failVk = 0;

private:
    static std::string Hex(uint32_t v) {
        char text[16];
        snprintf(text, sizeof text, "0x%04X", v);
        return text;
    }
    int Record(std::string call) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back(std::move(call));
        return 1;
    }
    void Block() {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_hold)
            return;
        m_inside = true;
        m_changed.notify_all();
        m_changed.wait_for(lock, std::chrono::seconds(5), [this] { return !m_hold; });
    }

    bool m_open = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_hold = false, m_inside = false;
    std::vector<std::string> m_calls;
};

// Ticks follow the test log's clock; each MicrosNow call advances the steady clock by stepUs.
class FakeHidClock final : public IHidWorkerClock {
public:
    uint32_t TickMs() override { return TestLog().tick; }
    uint64_t MicrosNow() override {
        micros += stepUs;
        return micros;
    }
    void SleepMs(uint32_t ms) override { sleeps.push_back(ms); }

    uint64_t micros = 0;
    uint64_t stepUs = 100;
    std::vector<uint32_t> sleeps;
};
