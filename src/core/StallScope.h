#pragma once

#include <atomic>
#include <cstdint>

// Stall scopes time named operations on every thread. Each thread that enters a scope owns one slot of a
// process-wide table while it lives; every begin and end also goes into a ring of recent events. The
// watchdog (StallWatchdogPass.h) reads both without a lock.
//
// Every field is a relaxed atomic: the watchdog may read a slot or an entry while its writer changes it and
// then prints a mix of old and new values, which is good enough for a diagnostic and is not a data race.

inline constexpr int kStallSlotCount = 128;
inline constexpr int kStallRingSize = 256;
inline constexpr uint32_t kStallCostCapMs = 0xFFFFFFFFu;

// Aligned so that threads writing neighbouring slots do not share a cache line.
struct alignas(64) StallSlot {
    std::atomic<uint32_t> threadId{0}; // 0 = free
    std::atomic<bool> active{false};
    std::atomic<const char*> module{nullptr};
    std::atomic<const char*> operation{nullptr};
    std::atomic<uint64_t> startTick{0};
    std::atomic<uint64_t> lastActivityTick{0};
    std::atomic<uint32_t> thresholdMs{0};
    std::atomic<uint64_t> reportTick{0}; // last watchdog report; 0 = never
    std::atomic<uint64_t> calls{0};
    std::atomic<uint64_t> slow{0};
};

struct StallEvent {
    std::atomic<uint64_t> sequence{0}; // event n lives in entry n % kStallRingSize while it holds n
    std::atomic<uint64_t> tick{0};
    std::atomic<uint32_t> threadId{0};
    std::atomic<const char*> module{nullptr};
    std::atomic<const char*> operation{nullptr};
    std::atomic<uint32_t> costMs{0};
    std::atomic<char> phase{0}; // 'B' begin, 'E' end
};

struct StallState {
    StallSlot slots[kStallSlotCount];
    StallEvent ring[kStallRingSize];
    std::atomic<uint64_t> eventCount{0}; // number of the newest event; 0 = none yet
};

// Appends event number eventCount + 1 and returns its number.
uint64_t AppendStallEvent(StallState& state, uint64_t tick, uint32_t threadId, const char* module,
                          const char* operation, uint32_t costMs, char phase);

// The table every StallScope uses. Constant-initialised and trivially destructible, so it exists before
// any static constructor runs and after every destructor, for detached threads too.
StallState& ProcessStallState();

// Where scopes take the time (milliseconds, monotonic) and the thread id from. The default is the steady
// clock and the log platform's thread id (GetCurrentThreadId on Windows); an id of 0 gets no slot. Tests
// install their own; a null member means the default.
struct StallClock {
    uint64_t (*nowMs)() = nullptr;
    uint32_t (*threadId)() = nullptr;
};
void SetStallClock(const StallClock& clock);
uint64_t StallNowMs();

// Called on a thread that has just claimed `slot`: arranges for ReleaseStallSlot(slot) to run when that
// thread ends, so short-lived threads cannot use up the table. Installed once at start-up by the platform
// (core/win/StallThreadEnd.h on Windows); without one a slot stays with its thread id for good.
using StallThreadEndHook = void (*)(int slot);
void SetStallThreadEndHook(StallThreadEndHook hook);
// Clears the slot of an ended thread and frees it for the next one.
void ReleaseStallSlot(int slot);

// A timed operation on this thread: the destructor logs "[STALL][SLOW] ..." when it took at least
// thresholdMs. Scopes nest; the enclosing one is put back in the slot when an inner one ends. Module and
// operation must be texts that live to the end of the process (string literals).
class StallScope {
public:
    StallScope(const char* module, const char* operation, uint32_t thresholdMs);
    ~StallScope();
    StallScope(const StallScope&) = delete;
    StallScope& operator=(const StallScope&) = delete;

    // This thread's slot index, claimed on first use; -1 when all slots are taken (the thread's scopes
    // are then neither recorded nor logged) or the id is 0. A thread that found every slot taken searches
    // again only after some slot has been released, so its scopes cost a few loads, not a scan.
    static int ClaimThreadSlot();

private:
    int m_slot = -1;
    const char* m_module;
    const char* m_operation;
    uint64_t m_start;
    uint32_t m_thresholdMs;
    // The enclosing scope on this thread, as the slot held it when this one began.
    bool m_outerActive = false;
    const char* m_outerModule = nullptr;
    const char* m_outerOperation = nullptr;
    uint64_t m_outerStart = 0;
    uint32_t m_outerThresholdMs = 0;
};
