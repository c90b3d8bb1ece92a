#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// The drag service: the facade the rest of the program uses for file drag and drop between the PCs.
// Start and Stop run on the UI thread.
namespace DragDrop {

// Remembers the module instance for a later Start(nullptr).
void KeepInstance(HINSTANCE instance);
// Starts the local drag monitor with the service; nullptr uses the remembered instance.
bool Start(HINSTANCE instance);
void Stop();
bool IsRunning();
// The shell drop's paths (names that come back empty are skipped); DragFinish when finish is set. True
// when at least one path was kept.
bool ExtractHdropFiles(HDROP drop, std::vector<std::u16string>& paths, bool finish);
// Lets WM_DROPFILES and its companions through UIPI to the window; true when any message was allowed.
bool AllowShellDropMessages(HWND hwnd, const char* owner);
// An offer of the peer's files is held for a drag out of RemoteView.
bool IsRemoteDragPending();
// Controller only: arms the held offer once.
void ArmRemoteDrag(const char* reason);
// A drop at the virtual-screen edge goes to the virtual screen; false when the mode is off or the point is
// not at the edge.
bool VirtualScreenLocalDrop(const std::vector<std::u16string>& paths, POINT screen, const char* reason);

} // namespace DragDrop

// The click-through glyph beside the cursor while files are dragged across. Its own thread and window.
namespace DragVisualOverlay {

inline constexpr wchar_t kClass[] = L"Tessaly_DragVisualOverlay";
// Post WM_TIMER with this id to Window() after changing the flag to refresh at once.
inline constexpr UINT_PTR kTimerId = 27937;
inline constexpr UINT kTimerMs = 16;
inline constexpr int kWidth = 54, kHeight = 38;
inline constexpr int kCursorOffset = 18;

// Starts the overlay thread once; after Stop a later call starts it again.
void StartOnce();
// Clears the flag and ends the thread (the lifecycle module's stop). Waits up to timeoutMs for its end.
void Stop(DWORD timeoutMs = 2000);
// The drag-visual flag; any thread.
void SetActive(bool active);
// Sets the flag; its previous value.
bool ExchangeActive(bool active);
bool IsActive();
bool IsRunning();
bool IsShown();
HWND Window();
LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Draws the glyph into rect's client coordinates of dc.
void Draw(HDC dc, const RECT& rect);

} // namespace DragVisualOverlay
