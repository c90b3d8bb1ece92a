#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

// RemoteView: the main window's child in which the controller shows the peer's desktop. Its procedure
// turns the user's mouse and keys into input for the peer, keeps the peer's modifiers in step as the mouse
// enters and leaves, offers files dropped on it and takes part in dragging files from the peer. UI thread.

inline constexpr wchar_t kRemoteViewClass[] = L"Tessaly_RemoteView_Wnd";
// The main window starts this 30 ms timer on RemoteView; it follows a left drag that leaves the window.
inline constexpr UINT_PTR kRemoteViewTimerId = 410168;
inline constexpr UINT kRemoteViewTimerMs = 30;

LRESULT CALLBACK RemoteViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The main window's layout: fits RemoteView (and its black cover) to the main window's client area, or
// only remembers the size while the renderer's modal size/move pause is on.
void RemoteViewDeferredMove(HWND mainWindow);

// Files dropped from the local desktop onto RemoteView: moves the peer's cursor to the drop point and
// offers the paths to the peer. Finishes the drop handle.
void RemoteViewDropFiles(HWND hwnd, HDROP drop);
// GetTickCount64 of the last drop on RemoteView (0: none), so that the local drag monitor does not take the
// same physical drop for a download from the peer.
uint64_t RemoteViewLastDropTick();

// Client pixels of RemoteView to the peer's desktop pixels; false while the mapping is not possible.
bool RemoteViewClientToRemote(HWND hwnd, POINT client, POINT* remote);
bool IsCursorInRemoteViewRect(HWND hwnd, POINT screen);
void RemoteViewMouseEnter(HWND hwnd, const char* source);
// The same entry seen through a window lying over RemoteView (the black cover): the leave is tracked on
// that window, since over a child Windows reports the parent as left.
void RemoteViewMouseEnterThrough(HWND hwnd, HWND tracked, const char* source);
void RemoteViewMouseLeave(HWND hwnd, const char* source);
// A WM_MOUSELEAVE of `tracked` ends the entry only when the leave is tracked on that window.
bool RemoteViewIsLeaveTrackedOn(HWND tracked);
void RemoteViewSendMouseMove(HWND hwnd, POINT client);
// Sets the drag cursor or the arrow; false (nothing set) inside the main window's resize border.
bool SetRemoteViewCursor(HWND hwnd);
bool IsCursorInMainResizeBorder(HWND hwnd);
// The 32x32 drag cursor (hotspot 1,1); null on failure. The caller owns it.
HCURSOR BuildRemoteCursorIcon();
void ReturnRemoteCursorToDragStart(const char* reason);
// Logs the key and hands it to the input route.
void LogRemoteViewKey(UINT msg, WPARAM vk, LPARAM lParam);
void LogRemoteViewMouseButton(const char* source, HWND hwnd, UINT msg, LPARAM lParam);
// Sets the runtime keyboard-active flag, with a change notice when it changed.
void RemoteViewSetKeyboardActive(bool active);
