#pragma once

#include <cstdint>

#include "input/RemoteViewMapping.h"

// The controller's input router: per event, whether it leaves over the TCP input channel as an InputPacket or
// through the cable's HID worker. Windows are opaque handles (HWND values); points are client pixels.
//
// Every routed event takes its route once, at its start: when TCP is ready the route switches to TCP there
// (cancelling HID items still queued, reason "tcp-input-ready"); paths that can fall back to HID call
// SelectInputRoute, which also starts the worker and, while the cable is not known, its presence probe.
namespace InputRouter {

bool IsRemoteControlActive();
// HID not forced, remote control active, the input channel connected and its channel state Connected.
bool IsTcpReady();
// The route of this event: true for HID, false for TCP.
bool SelectInputRoute();

// The virtual screen holds the cursor on the peer. Leaving the scope drops queued moves and releases, over
// TCP, the buttons the virtual screen forwarded as pressed.
void SetVirtualScreenInputScope(bool active, const char* reason = nullptr);
bool IsVirtualScreenInputScope();
// The virtual screen records a button press it forwarded (button 0 left, 1 right, 2 middle), and its release.
void SetVirtualScreenButtonForwarded(int32_t button, bool down);

// KeySyncFlags of the local keyboard now; HidModifierMask of the held modifiers.
int32_t GetKeySyncFlags();
uint32_t GetAsyncModifierMask();
// Brings the peer's modifiers in line with the local ones, or releases them (keeping its lock keys).
bool SyncRemoteModifiers(const char* reason);
bool ReleaseRemoteModifiers(const char* reason);

// False for no or an invalid window, an empty client area, or a remote size not yet known.
bool MapClientPointToRemote(uintptr_t window, int32_t x, int32_t y, int32_t& remoteX, int32_t& remoteY);
HidPoint MapClientPointToHidAbsolute(uintptr_t window, int32_t x, int32_t y);

bool SendRemoteMouseMove(int32_t x, int32_t y, bool priority);
bool SendMouseButton(uintptr_t window, uint32_t msg, int32_t x, int32_t y);
bool SendMouseWheel(uintptr_t window, int32_t delta, int32_t x, int32_t y);
bool QueueHidMouse(uintptr_t window, uint32_t msg, int32_t x, int32_t y);
// Escape down and up, then a left release, on the priority queue; only while TCP is ready.
bool CancelRemoteDrag();

bool SendWmKey(uint32_t msg, uint32_t vk, intptr_t lParam);
bool SendHookKey(uint32_t vk, uint32_t scan, uint32_t hookFlags, bool down);
bool QueueHidKey(uint32_t msg, uint32_t vk);
void LogKeyDiag(const char* stage, uint32_t msg, uint32_t vk, uint32_t scan, uint32_t flags,
                const char* route);

} // namespace InputRouter
