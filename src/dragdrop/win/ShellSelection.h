#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

// Questions about the Windows shell under a screen point, answered through its COM automation objects.
// Callers initialise COM (apartment-threaded) on their thread first. Every failure gives an empty answer.
namespace ShellSelection {
bool GetSelectionAtPoint(POINT point, std::vector<std::wstring>& paths);
// The selected items of one shell view (a browser's document) that still exist; true when any does.
bool SelectedPathsFromView(IDispatch* document, std::vector<std::wstring>& paths);
bool GetDesktopSelection(std::vector<std::wstring>& paths);
bool IsTextEditAtPoint(POINT point, HWND expectedShellRoot);
} // namespace ShellSelection

namespace ShellTargetResolver {
// The folder under the cursor: an Explorer window, else the desktop, else the foreground Explorer.
std::wstring FolderUnderCursor();
std::wstring FindExplorerFolder(POINT point);
} // namespace ShellTargetResolver
