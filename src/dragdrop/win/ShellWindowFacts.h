#pragma once

#include <windows.h>
#include <exdisp.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Facts about shell windows that the selection, the paste target and the cursor-path monitor gather before
// the core decides (src/dragdrop/ShellCandidates.h). COM must be initialised on the calling thread.

// One item of the shell's open-windows collection.
struct ShellBrowserWindow {
    HWND window = nullptr;
    Microsoft::WRL::ComPtr<IWebBrowser2> browser;
};

// A collection index as the shell's automation objects take it.
VARIANT IndexVariant(long index);

// The open-windows collection (CLSID_ShellWindows); the failure code when it cannot be created.
HRESULT CreateShellWindows(Microsoft::WRL::ComPtr<IShellWindows>& windows);
// Items 0..count-1 that give a browser and a window handle; the others are skipped.
std::vector<ShellBrowserWindow> ListShellBrowsers(IShellWindows& windows);
// The folder a browser shows: its location URL as a path of at most 1040 characters that names an
// existing directory; empty otherwise (a web page, a virtual folder, a folder deleted meanwhile).
std::wstring BrowserFolderPath(IWebBrowser2& browser);

HWND RootOf(HWND window);
HWND RootWindowUnder(POINT point);
// window is ancestor or one of its descendants.
bool IsSelfOrDescendant(HWND ancestor, HWND window);
std::u16string WindowClassOf(HWND window);
// The first of window and its parents (walking up) whose class matches; null when none does.
HWND FirstSelfOrParentOfClass(HWND window, bool (*matches)(std::u16string_view className));
// window or one of its parents is part of the desktop ("Progman", "WorkerW", its view or list).
bool InDesktopWindow(HWND window);
// The user's desktop directory (CSIDL_DESKTOPDIRECTORY); empty when the shell cannot say.
std::wstring DesktopDirectory();
// The top-level windows from the top of the z-order down.
std::vector<uintptr_t> TopLevelOrder();
int32_t ZRankOfRoot(const std::vector<uintptr_t>& topLevelOrder, HWND root);
