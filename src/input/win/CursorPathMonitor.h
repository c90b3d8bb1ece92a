#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Keeps the file-system folder under the cursor (an Explorer window or the desktop) while a drag is in
// progress, in the runtime state's cursor path. The path is read and written under one lock; the look-up
// itself uses COM and runs on the monitor's thread or on a caller's (RefreshNow).
namespace CursorPathMonitor {
bool Start();
void Stop();
// Resolves the folder under the cursor on the calling thread and stores it; true when one was found.
bool RefreshNow();
// See CopyPathToBuffer: false for a null buffer or a capacity below 1, else whether a path is set.
bool CopyPath(wchar_t* buffer, uint32_t capacity);
// The folder at a screen point: the desktop directory over the desktop, else the Explorer window there
// (only when shellWindows: the look-up needs COM on this thread); empty when none.
std::wstring PathAtPoint(POINT point, bool shellWindows);
// Stores the path; a change is logged and raises the runtime state's change notice.
void StorePath(const std::wstring& path);
} // namespace CursorPathMonitor
