#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The main window's calls into RemoteView, its renderer and the drag service, in one place.

// The window procedure of the RemoteView class.
WNDPROC RemoteViewClassProc();
// Registers the black cover's window class (once).
void RegisterRemoteViewCoverClass(HINSTANCE instance);
// Moves RemoteView over the main window's client area.
void MoveRemoteView(HWND main);
bool IsRemoteViewRendererReady();
void StopRemoteViewRenderer();
// Starts (connected) or stops the drag service.
void StartDragService(HINSTANCE instance);
void StopDragService();
// Lets shell drop messages through the integrity filter for window; name goes into the log line.
void AllowShellDrops(HWND window, const char* name);
// The dropped paths; finishes the drop in every case.
std::vector<std::u16string> TakeDroppedPaths(HDROP drop);
// Offers dropped paths to the peer through the clipboard channel, or queues them as pending.
void OfferDroppedPaths(const std::vector<std::u16string>& paths);
