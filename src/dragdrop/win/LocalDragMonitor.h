#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dragdrop/LocalSelectionSource.h"

// The local drag monitor: polls the physical mouse from a message-only timer window on the UI thread (120 ms,
// 30 ms while a button is down) for drags of local files toward the virtual-screen edge, and for the release
// of a drag of the peer's files on the controller. The drag service creates and destroys its window.

inline constexpr wchar_t kLocalDragMonitorClass[] = L"Tessaly_LocalDragMonitor_TimerWnd";
inline constexpr UINT_PTR kLocalDragMonitorTimerId = 410177;

LRESULT CALLBACK LocalDragMonitorWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Clears the per-drag flags (service start).
void LocalDragMonitorResetDrag();
// Clears the selection caches (service stop).
void LocalDragMonitorClearCaches();
// The folder under the cursor (the cursor-path monitor's text), where a drag from the peer lands; empty when
// none.
std::u16string LocalDragMonitorDropTarget();
// The current (or last) gesture's id.
uint64_t LocalDragMonitorGestureId();
// The poll interval now in use (ms); 0 while the window does not exist.
uint32_t LocalDragMonitorInterval();
// The point lies over a RemoteView window.
bool LocalDragMonitorIsPointOverRemoteView(POINT point);
// Where selections are read; null restores the shell. The object must outlive every fill it starts.
void SetLocalSelectionSource(ILocalSelectionSource* source);
