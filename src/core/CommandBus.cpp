#include "core/CommandBus.h"

#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

#include "core/Log.h"
#include "core/RuntimeState.h"

uint64_t CommandBusSteadyMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

const char* CommandTypeName(uint32_t type) {
    switch (type) {
    case kCommandFileHttpBegin:
        return "file.http.begin";
    case kCommandFileCancel:
        return "file.cancel";
    case kCommandFileDone:
        return "file.done";
    case kCommandFileProgress:
        return "file.progress";
    case kCommandFileError:
        return "file.error";
    case kCommandRuntimeStateChanged:
        return "runtime.state.changed";
    default:
        return "";
    }
}

CommandBus& CommandBus::Instance() {
    // Never destroyed; a drain that leaves messages behind raises the runtime change notice again.
    static CommandBus* bus = new CommandBus(nullptr, &RuntimeNotifyChanged);
    return *bus;
}

void CommandBus::WriteLog(const char* line) {
    if (m_log != nullptr)
        m_log(line);
    else
        Log::Write("%s", line);
}

uint64_t CommandBus::Subscribe(uint32_t type, Handler handler) {
    if (!handler)
        return 0;
    uint64_t id = m_nextId.fetch_add(1);
    {
        std::lock_guard<std::mutex> lock(m_handlerMutex);
        m_handlers.emplace(id, Subscription{type, std::move(handler)});
    }
    char line[96];
    std::snprintf(line, sizeof line, "CommandBus Subscribe id=%llu type=%u",
                  static_cast<unsigned long long>(id), static_cast<unsigned>(type));
    WriteLog(line);
    return id;
}

void CommandBus::Unsubscribe(uint64_t id) {
    if (id == 0)
        return;
    std::lock_guard<std::mutex> lock(m_handlerMutex);
    m_handlers.erase(id);
}

uint64_t CommandBus::Publish(CommandMessage message) {
    if (message.timestampMs == 0)
        message.timestampMs = CommandBusSteadyMs();
    std::lock_guard<std::mutex> lock(m_queueMutex);
    uint64_t sequence = m_nextSequence++;
    message.sequence = sequence;
    m_queue.push_back(std::move(message));
    return sequence;
}

size_t CommandBus::Drain() {
    size_t count = 0;
    bool left = false;
    while (true) {
        CommandMessage message;
        {
            std::lock_guard<std::mutex> lock(m_queueMutex);
            if (m_queue.empty())
                break;
            if (count == kDrainLimit) {
                left = true;
                break;
            }
            message = std::move(m_queue.front());
            m_queue.pop_front();
        }
        Dispatch(message);
        ++count;
    }
    if (left) {
        if (BacklogHook hook = m_backlog.load())
            hook();
    }
    return count;
}

void CommandBus::Dispatch(const CommandMessage& message) {
    std::vector<Handler> handlers;
    {
        std::lock_guard<std::mutex> lock(m_handlerMutex);
        for (const auto& [id, sub] : m_handlers)
            if (sub.type == message.type && sub.handler)
                handlers.push_back(sub.handler);
    }
    for (const Handler& handler : handlers) {
        try {
            handler(message);
        } catch (...) {
            char line[96];
            std::snprintf(line, sizeof line, "CommandBus handler exception type=%u seq=%llu",
                          static_cast<unsigned>(message.type),
                          static_cast<unsigned long long>(message.sequence));
            WriteLog(line);
        }
    }
}

size_t CommandBus::QueuedCount() {
    std::lock_guard<std::mutex> lock(m_queueMutex);
    return m_queue.size();
}
