#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dragdrop/VirtualScreenGeometry.h"

// The controller's virtual screen: the mouse leaves one edge of this desktop and goes on moving on the
// peer's. Two hidden windows on the UI thread (the manager, which takes raw input and runs the timers, and
// the edge window with its OLE drop target), a low-level mouse hook while a mode is on, and the packets to
// the peer through the installed VirtualScreenLink. Everything runs on the UI thread unless said otherwise.
namespace VirtualScreen {

inline constexpr wchar_t kManagerClass[] = L"Tessaly_VirtualScreen_Manager";
inline constexpr wchar_t kEdgeClass[] = L"Tessaly_VirtualScreen_EdgeDrop";
inline constexpr UINT_PTR kMoveTimerId = 27185;
inline constexpr UINT kMoveTimerMs = 25;
inline constexpr UINT_PTR kDragOutTimerId = 27186;
inline constexpr UINT kDragOutTimerMs = 30;

// Creates the two windows and registers the drop target; the hook and raw input wait for a mode. main is
// the main window (a crossing never starts over it).
bool Start(HINSTANCE instance, HWND main);
// Mode off, then the drop target revoked, the hook and raw input removed and the windows destroyed.
void Stop();
bool IsStarted();

// Applies a mode (5 or more is off): a mode installs the hook and raw input, off removes them and leaves.
void SetMode(int32_t mode);
int32_t Mode(); // any thread
// The mouse is on the peer.
bool IsActive();
// The virtual cursor's position on the peer.
POINT RemoteCursor();
bool IsPointAtEdge(POINT point, int32_t mode, int32_t margin);
bool IsInputReady();

void SendCursorMove(bool priority);
void PinCursor();
// Tells the peer to show or hide its drag overlay, when that differs from what it was last told.
void SendDragVisualState(bool active, const char* reason);
// Local files dropped at the edge: the cursor goes to the peer at once; after 260 ms (so the peer has the
// cursor first) a worker offers the files and the result is logged when it comes back to this thread.
// True when the drop is under way; false for no files, input not ready or a worker that could not start.
bool DropFilesToRemote(const std::vector<std::u16string>& paths, POINT point, int32_t mode,
                       const char* reason);
// Finishes a remote drag-out on this PC: downloads the held offer into the folder under the cursor.
bool DropRemoteDragOut(const char* reason);
void RegisterRawInput(bool on, const char* reason);

// Set by the local drag monitor while files are dragged across the edge; any thread.
void SetLocalFileDrag(bool active);
bool IsLocalFileDrag();
// When local files were last dropped on the peer, and when a remote drag-out started (0: never / none).
uint32_t LastLocalDropTick();
uint32_t DragOutStartTick();

// The drop target, the hook and raw input, for the tests that drive them.
IDropTarget* DropTarget();
bool IsHookInstalled();
bool IsRawInputRegistered();
LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
// One relative raw-input motion, ageMs after it happened.
void OnRawMouse(int32_t dx, int32_t dy, uint32_t ageMs);

} // namespace VirtualScreen

// Crossing to the peer and back; also called by the main window and the local drag monitor. A null reason
// takes the default.
void VirtualScreenEnter(int32_t mode, POINT point, const char* reason);
void VirtualScreenLeave(const char* reason);
