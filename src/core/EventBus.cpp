#include "core/EventBus.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "core/Log.h"
#include "core/Utf.h"

EventBus& EventBus::Instance() {
    // Never destroyed: detached workers may still publish while the process exits.
    static EventBus* bus = new EventBus();
    return *bus;
}

void EventBus::WriteLog(const char* line) {
    if (m_log != nullptr)
        m_log(line);
    else
        Log::Write("%s", line);
}

uint64_t EventBus::Subscribe(uint32_t type, Handler handler) {
    if (!handler)
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    uint64_t id = m_nextId++;
    m_handlers.emplace(id, Subscription{type, std::move(handler)});
    return id;
}

void EventBus::Publish(const TslyEvent& event) {
    std::vector<Handler> handlers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& [id, sub] : m_handlers)
            if (sub.type == event.type && sub.handler)
                handlers.push_back(sub.handler);
    }
    for (const Handler& handler : handlers) {
        try {
            handler(event);
        } catch (...) {
            char line[64];
            std::snprintf(line, sizeof line, "EventBus handler exception type=%u",
                          static_cast<unsigned>(event.type));
            WriteLog(line);
        }
    }
}

size_t EventBus::SubscriptionCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handlers.size();
}

void PostUiNotificationOn(EventBus& bus, std::u16string_view title, std::u16string_view text,
                          uint32_t infoFlags, uint32_t timeoutMs) {
    TslyEvent event;
    event.type = kEventNotification;
    event.id = 0;
    event.value1 = static_cast<int64_t>(infoFlags);
    event.value2 = static_cast<int64_t>(timeoutMs);
    event.text = Utf16ToUtf8(title);
    event.text += '\n';
    event.text += Utf16ToUtf8(text);
    bus.Publish(event);
}

void PostUiNotification(std::u16string_view title, std::u16string_view text, uint32_t infoFlags,
                        uint32_t timeoutMs) {
    PostUiNotificationOn(EventBus::Instance(), title, text, infoFlags, timeoutMs);
}
