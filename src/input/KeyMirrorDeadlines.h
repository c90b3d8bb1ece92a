#pragma once

#include <cstdint>

// NumLock and CapsLock pressed while the keyboard hook grabs keys go to the peer and also toggle the local
// key. The window messages that local toggle produces in RemoteView must not be sent a second time: the hook
// opens a short window (a deadline in 64-bit ticks) in which RemoteView skips them. Deadlines only move
// forward; the hook raises them on its thread and RemoteView reads them on the UI thread.
namespace KeyMirrorDeadlines {
constexpr uint32_t kMirrorMs = 300;

void RaiseNumLock(uint64_t until);
void RaiseCapsLock(uint64_t until);
uint64_t NumLockUntil();
uint64_t CapsLockUntil();
} // namespace KeyMirrorDeadlines
