#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// The queued command bus. Publishing only appends; the main window drains the queue on the UI
// thread when it handles the runtime-state message 0x8420, so command handlers run there.
//
// Two rules keep the queue moving:
// - The sequence number is taken under the queue mutex, so queue order equals sequence order, also
//   across publishing threads.
// - A Drain that leaves messages behind (more than 128 queued) calls the backlog hook once it has
//   finished; on the process-wide bus that hook is RuntimeNotifyChanged, which posts
//   0x8420 again, so the rest never waits for an unrelated change.
//
// Locks and logging: the queue mutex and the handler mutex are leaf locks, never held together and never
// held while logging, while calling a handler or while calling the backlog hook. Lines written:
// "CommandBus Subscribe id=%llu type=%u", "CommandBus handler exception type=%u seq=%llu".

enum CommandMessageType : uint32_t {
    kCommandFileHttpBegin = 400,
    kCommandFileCancel = 401,
    kCommandFileDone = 402,
    kCommandFileProgress = 403,
    kCommandFileError = 404,
    kCommandRuntimeStateChanged = 500,
};

// The text name of a command type ("file.http.begin", ..., "runtime.state.changed"); "" for others.
const char* CommandTypeName(uint32_t type);

// The command record, fields in order.
struct CommandMessage {
    uint32_t type = 0;
    uint64_t correlationId = 0;
    uint64_t sequence = 0;    // assigned by Publish, from 1
    uint64_t timestampMs = 0; // steady clock; assigned by Publish when 0
    std::string name;
    std::vector<uint8_t> payload; // the payload text, no terminating zero; no size limit here

    std::string PayloadText() const { return std::string(payload.begin(), payload.end()); }
    void SetPayloadText(std::string_view text) { payload.assign(text.begin(), text.end()); }
};

class CommandBus {
public:
    using Handler = std::function<void(const CommandMessage&)>;
    using LogFn = void (*)(const char* line); // null: Log::Write("%s", line)
    using BacklogHook = void (*)();

    static constexpr size_t kDrainLimit = 128;

    // The process-wide bus: created on first use (thread-safe), never destroyed; its backlog hook is
    // RuntimeNotifyChanged.
    static CommandBus& Instance();

    // Separate buses exist only for tests.
    explicit CommandBus(LogFn log = nullptr, BacklogHook backlog = nullptr)
        : m_log(log), m_backlog(backlog) {}
    CommandBus(const CommandBus&) = delete;
    CommandBus& operator=(const CommandBus&) = delete;

    // An empty handler gives 0; else the next id (from 1), logged "CommandBus Subscribe id=%llu type=%u".
    uint64_t Subscribe(uint32_t type, Handler handler);
    // Id 0 is ignored.
    void Unsubscribe(uint64_t id);
    // Assigns the sequence number (and the timestamp when 0) and appends; returns the sequence number.
    // Never calls a handler; callable from any thread.
    uint64_t Publish(CommandMessage message);
    // Dispatches at most 128 queued messages in queue order on the calling thread; returns how many.
    // Messages left behind raise the backlog hook.
    size_t Drain();
    // Calls the handlers of message.type; a throwing handler is logged and the others still run.
    void Dispatch(const CommandMessage& message);
    // Number of queued messages (tests and diagnostics).
    size_t QueuedCount();
    void SetBacklogHook(BacklogHook hook) { m_backlog.store(hook); }

private:
    struct Subscription {
        uint32_t type;
        Handler handler;
    };
    void WriteLog(const char* line);

    LogFn m_log;
    std::atomic<BacklogHook> m_backlog;
    std::mutex m_queueMutex;
    std::deque<CommandMessage> m_queue;
    uint64_t m_nextSequence = 1; // under m_queueMutex
    std::mutex m_handlerMutex;
    std::map<uint64_t, Subscription> m_handlers; // ordered: handlers run in subscription order
    std::atomic<uint64_t> m_nextId{1};
};

// Milliseconds of the steady clock (the commands' timestamps).
uint64_t CommandBusSteadyMs();
