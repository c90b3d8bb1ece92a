#include "media/PresentPause.h"

#include <atomic>

namespace {
std::atomic<bool> g_active{false};
std::atomic<uint64_t> g_deadline{0};
std::atomic<uint32_t> g_skips{0};
} // namespace

void SetRemoteViewPresentPause(bool active) {
    g_active.store(active);
}

void SetRemoteViewPresentPauseUntil(uint64_t deadlineTick) {
    g_deadline.store(deadlineTick);
}

PresentPauseState ReadRemoteViewPresentPause() {
    return PresentPauseState{g_active.load(), g_deadline.load()};
}

void CountRemoteViewPresentPauseSkip() {
    g_skips.fetch_add(1);
}

uint32_t TakeRemoteViewPresentPauseSkips() {
    return g_skips.exchange(0);
}
