#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/CommandBus.h"
#include "core/EventBus.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"

// Helpers shared by the runtime-state and state-manager tests.

// Captures the StateManager's lines; timeline category and throttle under test control.
class CaptureStateLog final : public IStateLog {
public:
    void Line(const char* text) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.emplace_back(text);
    }
    bool CategoryOn(const char* name) override { return timeline && std::string(name) == "timeline"; }
    bool Allow(const char* key, uint32_t intervalMs) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_last.find(key);
        if (it != m_last.end() && now - it->second < intervalMs)
            return false;
        m_last[key] = now;
        return true;
    }
    std::vector<std::string> Lines() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.clear();
    }
    size_t Count(const std::string& needle) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::count_if(m_lines.begin(), m_lines.end(),
                             [&](const std::string& l) { return l.find(needle) != std::string::npos; });
    }
    bool Has(const std::string& exact) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::find(m_lines.begin(), m_lines.end(), exact) != m_lines.end();
    }

    bool timeline = false;
    uint64_t now = 100000;

private:
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::map<std::string, uint64_t> m_last;
};

class FakePoster final : public IRuntimeWindowPoster {
public:
    struct PostCall {
        RuntimeWindow window;
        uint32_t message;
        uintptr_t wParam;
    };
    bool Post(RuntimeWindow window, uint32_t message, uintptr_t wParam, uint32_t& error) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        posts.push_back({window, message, wParam});
        if (fail) {
            error = 1400; // ERROR_INVALID_WINDOW_HANDLE
            return false;
        }
        return true;
    }
    void Invalidate(RuntimeWindow window) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        invalidated.push_back(window);
    }
    size_t CountPosts(uint32_t message) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::count_if(posts.begin(), posts.end(),
                             [&](const PostCall& c) { return c.message == message; });
    }

    bool fail = false;
    std::vector<PostCall> posts;
    std::vector<RuntimeWindow> invalidated;

private:
    std::mutex m_mutex;
};

// Binds the runtime record to test buses, a test StateManager and a fake poster for one test; restores the
// process-wide ones afterwards. The record is reset before and after.
class RuntimeTestBinding {
public:
    explicit RuntimeTestBinding(bool backlogNotifies = false)
        : commands(nullptr, backlogNotifies ? &RuntimeNotifyChanged : nullptr),
          stateManager(&stateLog, &events) {
        RuntimeStateReset();
        m_previous = RuntimeBind({&events, &commands, &stateManager});
        m_previousPoster = RuntimeWindowPoster();
        RuntimeSetWindowPoster(&poster);
        events.Subscribe(kEventRuntimeStateChanged, [this](const TslyEvent&) { ++runtimeEvents; });
        events.Subscribe(kEventChannelStateChanged, [this](const TslyEvent& e) {
            std::lock_guard<std::mutex> lock(m_mutex);
            channelEvents.push_back(e);
        });
        commands.Subscribe(kCommandRuntimeStateChanged, [this](const CommandMessage& m) {
            std::lock_guard<std::mutex> lock(m_mutex);
            runtimeCommands.push_back(m.PayloadText());
        });
    }
    ~RuntimeTestBinding() {
        RuntimeSetWindowPoster(m_previousPoster);
        RuntimeBind(m_previous);
        RuntimeStateReset();
    }
    RuntimeTestBinding(const RuntimeTestBinding&) = delete;
    RuntimeTestBinding& operator=(const RuntimeTestBinding&) = delete;

    std::vector<TslyEvent> ChannelEvents() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return channelEvents;
    }

    CaptureStateLog stateLog;
    EventBus events{[](const char*) {}};
    CommandBus commands;
    StateManager stateManager;
    FakePoster poster;
    std::atomic<int> runtimeEvents{0};
    std::vector<std::string> runtimeCommands; // payloads of drained type-500 commands
    std::vector<TslyEvent> channelEvents;

private:
    std::mutex m_mutex;
    RuntimeBindings m_previous;
    IRuntimeWindowPoster* m_previousPoster = nullptr;
};
