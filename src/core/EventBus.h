#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

// The synchronous event bus.
//
// `EventBus::Publish` calls the handlers of the event's type on the publishing thread, in subscription
// order, without holding the bus mutex: a handler may subscribe or publish again. There is no
// unsubscribe (the Overview); a handler lives as long as the bus.
//
// Locks and logging: the bus mutex is a leaf lock and nothing logs while holding it. The only line the
// bus writes, "EventBus handler exception type=%u", is written with no bus lock held.
// Type-1 events (RuntimeStateChanged) are published by the runtime change notice, which the log
// writer's error-text sink can raise from inside any Log::Write call: a type-1 handler therefore runs
// under whatever locks the logging caller holds, and must take no lock and do no blocking work (this
// program has no type-1 subscriber).

// The event record.
struct TslyEvent {
    uint32_t type = 0;  // TslyEventType
    uint64_t id = 0;    // type 2: the transfer id; else 0
    int64_t value1 = 0; // type 4: channel; type 5: balloon info flags
    int64_t value2 = 0; // type 4: new ChannelState; type 5: time-out in ms
    std::string text;   // UTF-8; type 4: reason; type 5: title, "\n", body
};

enum TslyEventType : uint32_t {
    kEventRuntimeStateChanged = 1,
    kEventFileTransferUpdate = 2,
    kEventStatusText = 3,
    kEventChannelStateChanged = 4,
    kEventNotification = 5,
};

class EventBus {
public:
    using Handler = std::function<void(const TslyEvent&)>;
    // Receives one finished log message (no prefix, no line end). Null: Log::Write("%s", line).
    using LogFn = void (*)(const char* line);

    // The process-wide bus: created on first use (thread-safe), never destroyed.
    static EventBus& Instance();

    // Separate buses exist only for tests.
    explicit EventBus(LogFn log = nullptr) : m_log(log) {}
    EventBus(const EventBus&) = delete;
    EventBus& operator=(const EventBus&) = delete;

    // An empty handler gives 0 and registers nothing; else the next id (from 1).
    uint64_t Subscribe(uint32_t type, Handler handler);
    // Calls every handler of event.type; a throwing handler is logged
    // ("EventBus handler exception type=%u") and the others still run.
    void Publish(const TslyEvent& event);
    // Number of subscriptions (tests and diagnostics).
    size_t SubscriptionCount();

private:
    struct Subscription {
        uint32_t type;
        Handler handler;
    };
    void WriteLog(const char* line);

    LogFn m_log;
    std::mutex m_mutex;
    std::map<uint64_t, Subscription> m_handlers; // ordered: handlers run in subscription order
    uint64_t m_nextId = 1;
};

// The one publisher of balloon notifications. Joins title, "\n" and text (UTF-16 converted
// to UTF-8) and publishes a type-5 TslyEvent on EventBus::Instance() with id 0, value1 = infoFlags and
// value2 = timeoutMs. The main window turns it into a tray balloon.
void PostUiNotification(std::u16string_view title, std::u16string_view text, uint32_t infoFlags,
                        uint32_t timeoutMs);
// The same on a given bus (tests).
void PostUiNotificationOn(EventBus& bus, std::u16string_view title, std::u16string_view text,
                          uint32_t infoFlags, uint32_t timeoutMs);

#ifdef _WIN32
// Windows callers pass wide strings; wchar_t is UTF-16 there. A null pointer counts as empty.
inline void PostUiNotification(const wchar_t* title, const wchar_t* text, uint32_t infoFlags,
                               uint32_t timeoutMs) {
    auto view = [](const wchar_t* s) {
        return s ? std::u16string_view(reinterpret_cast<const char16_t*>(s)) : std::u16string_view();
    };
    PostUiNotification(view(title), view(text), infoFlags, timeoutMs);
}
#endif
