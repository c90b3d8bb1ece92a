#include "input/KeyMirrorDeadlines.h"

#include <atomic>

namespace {

std::atomic<uint64_t> g_numLockUntil{0};
std::atomic<uint64_t> g_capsLockUntil{0};

void Raise(std::atomic<uint64_t>& deadline, uint64_t until) {
    uint64_t current = deadline.load();
    while (current < until && !deadline.compare_exchange_weak(current, until)) {
    }
}

} // namespace

namespace KeyMirrorDeadlines {

void RaiseNumLock(uint64_t until) {
    Raise(g_numLockUntil, until);
}

void RaiseCapsLock(uint64_t until) {
    Raise(g_capsLockUntil, until);
}

uint64_t NumLockUntil() {
    return g_numLockUntil.load();
}

uint64_t CapsLockUntil() {
    return g_capsLockUntil.load();
}

} // namespace KeyMirrorDeadlines
