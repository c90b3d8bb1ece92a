#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "input/HidCableFrame.h"
#include "input/UsbHidContext.h"

// A recording stand-in for the cable's HID interface. Every call the device layer makes, and every pause
// it takes through the context made by MakeContext, lands in one ordered list:
//   "find", "open <path>", "lengths", "prepare <n>", "write <frame hex>", "read <n> <timeout>",
//   "sleep <ms>", "close"
// where the frame hex is the frame inside the written report. How the device answers is set in `settings`
// before the calls; input reports may also be scripted one by one (ScriptRead), including one that never
// arrives, which the read reports as timed out. It also watches for two calls into the device at the same
// time (overlaps) and for a handle closed while another thread is inside a call on it.
class FakeHidTransport : public IHidTransport {
public:
    struct Settings {
        bool present = true;
        std::string path = "\\\\?\\hid#vid_35e6&pid_2402#fake";
        uint16_t vendorId = 0x35E6;
        uint16_t productId = 0x2402;
        bool openFails = false;
        std::optional<HidReportLengths> lengths = HidReportLengths{64, 64};
        bool prepareOk = true;
        HidIoStatus writeStatus = HidIoStatus::Done;
        uint32_t writeShortBy = 0;
        HidIoStatus readStatus = HidIoStatus::Done;
        std::chrono::microseconds callDelay{0}; // inside every write, to widen the window for overlaps
    };

    std::optional<std::string> FindDevice(uint16_t vendorId, uint16_t productId) override {
        Note("find");
        Settings s = Current();
        if (!s.present || vendorId != s.vendorId || productId != s.productId)
            return std::nullopt;
        return s.path;
    }

    std::unique_ptr<IHidDevice> Open(const std::string& path, uint32_t& error) override {
        Note("open " + path);
        if (Current().openFails) {
            error = 5;
            return nullptr;
        }
        return std::make_unique<Device>(*this);
    }

    // A context over this fake whose pauses are noted, not taken, and whose debug texts are kept.
    std::unique_ptr<UsbHidContext> MakeContext() {
        return std::make_unique<UsbHidContext>(
            *this, [this](uint32_t ms) { Note("sleep " + std::to_string(ms)); },
            [this](const char* text) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_debugTexts.emplace_back(text);
            });
    }

    // The next read returns these bytes (cut or zero-padded to the read's length).
    void ScriptRead(std::vector<uint8_t> bytes) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_scriptedReads.emplace_back(std::move(bytes));
    }
    // The next read waits for a reply that never comes: it ends as timed out.
    void ScriptMissingRead() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_scriptedReads.emplace_back(std::nullopt);
    }
    void Set(const Settings& s) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_settings = s;
    }
    Settings Current() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_settings;
    }
    void Note(const std::string& event) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(event);
    }
    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }
    // Only the events that start with prefix ("write", "sleep", ...).
    std::vector<std::string> Events(const std::string& prefix) {
        std::vector<std::string> matching;
        for (const std::string& e : Events())
            if (e.rfind(prefix, 0) == 0)
                matching.push_back(e);
        return matching;
    }
    void ClearEvents() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.clear();
    }
    // Every written report, whole.
    std::vector<std::vector<uint8_t>> Reports() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reports;
    }
    std::vector<std::string> DebugTexts() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_debugTexts;
    }

    std::atomic<int> overlaps{0};
    std::atomic<int> closedUnderCall{0};

private:
    class Device : public IHidDevice {
    public:
        explicit Device(FakeHidTransport& owner) : m_owner(owner) {}
        ~Device() override {
            if (m_owner.m_inCall.load() != 0)
                ++m_owner.closedUnderCall;
            m_owner.Note("close");
        }
        std::optional<HidReportLengths> ReportLengths() override {
            Call call(m_owner);
            m_owner.Note("lengths");
            return m_owner.Current().lengths;
        }
        bool PrepareOutputReport(uint8_t*, uint32_t length) override {
            Call call(m_owner);
            m_owner.Note("prepare " + std::to_string(length));
            return m_owner.Current().prepareOk;
        }
        HidIoResult WriteReport(const uint8_t* report, uint32_t length, uint32_t) override {
            Call call(m_owner);
            Settings s = m_owner.Current();
            if (s.callDelay.count() > 0)
                std::this_thread::sleep_for(s.callDelay);
            {
                std::lock_guard<std::mutex> lock(m_owner.m_mutex);
                m_owner.m_reports.emplace_back(report, report + length);
            }
            m_owner.Note("write " + FrameHex(report, length));
            if (s.writeStatus != HidIoStatus::Done)
                return {s.writeStatus, 0, 31};
            return {HidIoStatus::Done, length - s.writeShortBy, 0};
        }
        HidIoResult ReadReport(uint8_t* buffer, uint32_t length, uint32_t timeoutMs) override {
            Call call(m_owner);
            m_owner.Note("read " + std::to_string(length) + " " + std::to_string(timeoutMs));
            if (std::optional<std::optional<std::vector<uint8_t>>> scripted = m_owner.NextScriptedRead()) {
                if (!*scripted)
                    return {HidIoStatus::TimedOut, 0, 258u};
                for (uint32_t i = 0; i < length; ++i)
                    buffer[i] = i < (*scripted)->size() ? (**scripted)[i] : 0;
                return {HidIoStatus::Done, length, 0};
            }
            HidIoStatus status = m_owner.Current().readStatus;
            if (status != HidIoStatus::Done)
                return {status, 0, status == HidIoStatus::TimedOut ? 258u : 31u};
            for (uint32_t i = 0; i < length; ++i)
                buffer[i] = static_cast<uint8_t>(i);
            return {HidIoStatus::Done, length, 0};
        }

    private:
        FakeHidTransport& m_owner;
    };

    std::optional<std::optional<std::vector<uint8_t>>> NextScriptedRead() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_scriptedReads.empty())
            return std::nullopt;
        std::optional<std::vector<uint8_t>> next = std::move(m_scriptedReads.front());
        m_scriptedReads.pop_front();
        return next;
    }

    // Marks a call into the device; a second one at the same time is an overlap.
    struct Call {
        explicit Call(FakeHidTransport& owner) : m_owner(owner) {
            if (m_owner.m_inCall.fetch_add(1) != 0)
                ++m_owner.overlaps;
        }
        ~Call() { m_owner.m_inCall.fetch_sub(1); }
        FakeHidTransport& m_owner;
    };

    // The frame inside a report: from byte 1, its length read from its own length byte.
    static std::string FrameHex(const uint8_t* report, uint32_t length) {
        size_t frame = length > 5 ? static_cast<size_t>(report[5]) + 6 : 0;
        if (frame + 1 > length)
            frame = length > 0 ? length - 1 : 0;
        std::string hex;
        char byte[4];
        for (size_t i = 0; i < frame; ++i) {
            std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", report[1 + i]);
            hex += byte;
        }
        return hex;
    }

    std::mutex m_mutex;
    Settings m_settings;
    std::vector<std::string> m_events;
    std::vector<std::vector<uint8_t>> m_reports;
    std::vector<std::string> m_debugTexts;
    std::deque<std::optional<std::vector<uint8_t>>> m_scriptedReads; // nullopt: a reply that never arrives
    std::atomic<int> m_inCall{0};
};

// A frame as the fake prints it.
inline std::string HexOf(const HidCableFrame& frame) {
    std::string hex;
    char byte[4];
    for (size_t i = 0; i < frame.length; ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", frame.bytes[i]);
        hex += byte;
    }
    return hex;
}
