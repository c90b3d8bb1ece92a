#include "core/StallScope.h"

#include <chrono>
#include <type_traits>

#include "core/Log.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

static_assert(std::is_trivially_destructible_v<StallState>);
constinit StallState g_state;

uint64_t SteadyNowMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t LogThreadId() {
    return Log::CurrentThreadId();
}

std::atomic<uint64_t (*)()> g_nowMs{&SteadyNowMs};
std::atomic<uint32_t (*)()> g_threadId{&LogThreadId};

std::atomic<StallThreadEndHook> g_threadEndHook{nullptr};

// Raised by every release: a thread that found the table full looks again only once a slot was freed.
std::atomic<uint64_t> g_releases{0};

constexpr int kNoSlot = -1;

// This thread's slot, and whether its last search found none (with the release count it saw then).
// Trivially destructible: no thread-local destructor is registered for them.
thread_local int t_slot = kNoSlot;
thread_local bool t_tableWasFull = false;
thread_local uint64_t t_releasesWhenFull = 0;

const char* OrUnknown(const char* text) {
    return text ? text : "?";
}

} // namespace

uint64_t AppendStallEvent(StallState& state, uint64_t tick, uint32_t threadId, const char* module,
                          const char* operation, uint32_t costMs, char phase) {
    uint64_t n = state.eventCount.fetch_add(1, kRelaxed) + 1;
    StallEvent& e = state.ring[n % kStallRingSize];
    e.tick.store(tick, kRelaxed);
    e.threadId.store(threadId, kRelaxed);
    e.module.store(module, kRelaxed);
    e.operation.store(operation, kRelaxed);
    e.costMs.store(costMs, kRelaxed);
    e.phase.store(phase, kRelaxed);
    e.sequence.store(n, std::memory_order_release);
    return n;
}

StallState& ProcessStallState() {
    return g_state;
}

void SetStallClock(const StallClock& clock) {
    g_nowMs.store(clock.nowMs ? clock.nowMs : &SteadyNowMs);
    g_threadId.store(clock.threadId ? clock.threadId : &LogThreadId);
}

uint64_t StallNowMs() {
    return g_nowMs.load(kRelaxed)();
}

void SetStallThreadEndHook(StallThreadEndHook hook) {
    g_threadEndHook.store(hook);
}

void ReleaseStallSlot(int slot) {
    if (slot < 0 || slot >= kStallSlotCount)
        return;
    StallSlot& s = g_state.slots[slot];
    s.active.store(false, kRelaxed);
    s.module.store(nullptr, kRelaxed);
    s.operation.store(nullptr, kRelaxed);
    s.startTick.store(0, kRelaxed);
    s.lastActivityTick.store(0, kRelaxed);
    s.thresholdMs.store(0, kRelaxed);
    s.reportTick.store(0, kRelaxed);
    s.calls.store(0, kRelaxed);
    s.slow.store(0, kRelaxed);
    s.threadId.store(0, std::memory_order_release);
    g_releases.fetch_add(1, std::memory_order_release);
}

int StallScope::ClaimThreadSlot() {
    if (t_slot >= 0)
        return t_slot;
    // Read before the search, so that a slot freed during it is looked for again at the next scope.
    const uint64_t releases = g_releases.load(std::memory_order_acquire);
    if (t_tableWasFull && releases == t_releasesWhenFull)
        return kNoSlot; // nothing freed since the last search: no scan of the whole table at every scope
    uint32_t tid = g_threadId.load(kRelaxed)();
    if (tid == 0)
        return kNoSlot;

    int found = kNoSlot;
    // A slot that still carries this id belonged to an earlier thread with the same id whose slot was
    // not released. Whatever that thread was doing has ended with it.
    for (int i = 0; i < kStallSlotCount && found < 0; ++i)
        if (g_state.slots[i].threadId.load(std::memory_order_acquire) == tid) {
            g_state.slots[i].active.store(false, kRelaxed);
            found = i;
        }
    for (int i = 0; i < kStallSlotCount && found < 0; ++i) {
        std::atomic<uint32_t>& id = g_state.slots[i].threadId;
        uint32_t expected = 0;
        if (id.load(kRelaxed) == 0 && id.compare_exchange_strong(expected, tid, std::memory_order_acquire)) {
            g_state.slots[i].lastActivityTick.store(StallNowMs(), kRelaxed);
            found = i;
        }
    }
    if (found < 0) {
        t_tableWasFull = true;
        t_releasesWhenFull = releases;
        return kNoSlot;
    }
    t_tableWasFull = false;
    t_slot = found;
    if (StallThreadEndHook hook = g_threadEndHook.load())
        hook(found);
    return found;
}

StallScope::StallScope(const char* module, const char* operation, uint32_t thresholdMs)
    : m_module(module), m_operation(operation), m_start(StallNowMs()), m_thresholdMs(thresholdMs) {
    m_slot = ClaimThreadSlot();
    if (m_slot < 0)
        return;
    StallSlot& s = g_state.slots[m_slot];
    m_outerActive = s.active.load(kRelaxed);
    m_outerModule = s.module.load(kRelaxed);
    m_outerOperation = s.operation.load(kRelaxed);
    m_outerStart = s.startTick.load(kRelaxed);
    m_outerThresholdMs = s.thresholdMs.load(kRelaxed);

    s.module.store(module, kRelaxed);
    s.operation.store(operation, kRelaxed);
    s.startTick.store(m_start, kRelaxed);
    s.lastActivityTick.store(m_start, kRelaxed);
    s.thresholdMs.store(thresholdMs, kRelaxed);
    s.active.store(true, kRelaxed);
    s.calls.fetch_add(1, kRelaxed);
    AppendStallEvent(g_state, m_start, s.threadId.load(kRelaxed), module, operation, 0, 'B');
}

StallScope::~StallScope() {
    if (m_slot < 0)
        return;
    StallSlot& s = g_state.slots[m_slot];
    uint64_t now = StallNowMs();
    uint64_t elapsed = now >= m_start ? now - m_start : 0;
    uint32_t cost = elapsed > kStallCostCapMs ? kStallCostCapMs : static_cast<uint32_t>(elapsed);
    uint32_t tid = s.threadId.load(kRelaxed);
    if (cost >= m_thresholdMs) {
        s.slow.fetch_add(1, kRelaxed);
        try {
            Log::Write("[STALL][SLOW] tid=%lu module=%s op=%s cost=%lums threshold=%lums",
                       static_cast<unsigned long>(tid), OrUnknown(m_module), OrUnknown(m_operation),
                       static_cast<unsigned long>(cost), static_cast<unsigned long>(m_thresholdMs));
        } catch (...) {
            // Ending a scope never throws; the line is lost.
        }
    }
    AppendStallEvent(g_state, now, tid, m_module, m_operation, cost, 'E');

    s.lastActivityTick.store(now, kRelaxed);
    s.active.store(false, kRelaxed);
    if (m_outerActive) {
        s.module.store(m_outerModule, kRelaxed);
        s.operation.store(m_outerOperation, kRelaxed);
        s.startTick.store(m_outerStart, kRelaxed);
        s.thresholdMs.store(m_outerThresholdMs, kRelaxed);
        s.active.store(true, kRelaxed);
    }
}
