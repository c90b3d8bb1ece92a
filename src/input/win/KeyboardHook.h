#pragma once

#include <windows.h>

#include "input/HotkeyPoll.h"

// The controller's low-level keyboard hook (WH_KEYBOARD_LL) and its 50 ms hotkey poll. The main window
// installs the procedure, removes it at WM_DESTROY and runs the poll on its timer; all of it runs on the UI
// thread, which keeps the hook's state. Sends go through RemoteInputRoute(), the file paste through
// InputPeers().
namespace KeyboardHook {

// The hook procedure: returns 1 to swallow a key, else CallNextHookEx.
LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam);

// The hook's grab condition now.
bool IsRemoteInputScopeActive();
// The RemoteView window exists, is visible and its window rectangle holds the cursor.
bool IsCursorOverRemoteView();
// The foreground window is window, a child of it, or any window of this process.
bool IsOwnWindowForeground(HWND window);

// vk is F11 / '0' with Ctrl (the hook's modifiers or GetAsyncKeyState) and Alt (the hook's modifiers, the
// event's ALT-down flag or GetAsyncKeyState).
bool HookIsCtrlAltF11(DWORD vk, DWORD hookFlags);
bool HookIsCtrlAltZero(DWORD vk, DWORD hookFlags);
// The same by GetAsyncKeyState alone.
bool IsCtrlAltF11Pressed(DWORD vk);
bool IsCtrlAltZeroPressed(DWORD vk);

// Sends the ups of the keys whose down went to the peer, then forgets the hook's key state.
void ClearHookKeyState(const char* reason);

// Timer 22793: the edge-triggered backup of the two hotkeys.
void PollHotkeys(HWND main, const HotkeyPollActions& actions);

} // namespace KeyboardHook
