#pragma once

#include <windows.h>

#include <string>

// The local drag monitor's side that the drag service drives: the procedure of its message-only timer
// window and the resets at start and stop. The monitor itself is built separately; until it is, the
// window procedure is DefWindowProcW, the resets do nothing and there is no drop target folder.

inline constexpr wchar_t kLocalDragMonitorClass[] = L"Tessaly_LocalDragMonitor_TimerWnd";

LRESULT CALLBACK LocalDragMonitorWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Clears the per-drag flags and the pending drop (service start).
void LocalDragMonitorResetDrag();
// Clears the pending drop and the caches (service stop).
void LocalDragMonitorClearCaches();
// The local folder under the cursor where a drag from the peer would land, read under the monitor's
// mutex; empty when none.
std::u16string LocalDragMonitorDropTarget();
