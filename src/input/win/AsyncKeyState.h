#pragma once

#include <windows.h>

// The key or mouse button is physically down right now (GetAsyncKeyState's high bit), whichever thread asks.
inline bool IsAsyncKeyDown(int vk) {
    return (::GetAsyncKeyState(vk) & 0x8000) != 0;
}

// A modifier is down by its generic, left or right key.
inline bool IsAsyncCtrlDown() {
    return IsAsyncKeyDown(VK_CONTROL) || IsAsyncKeyDown(VK_LCONTROL) || IsAsyncKeyDown(VK_RCONTROL);
}
inline bool IsAsyncAltDown() {
    return IsAsyncKeyDown(VK_MENU) || IsAsyncKeyDown(VK_LMENU) || IsAsyncKeyDown(VK_RMENU);
}
inline bool IsAsyncShiftDown() {
    return IsAsyncKeyDown(VK_SHIFT) || IsAsyncKeyDown(VK_LSHIFT) || IsAsyncKeyDown(VK_RSHIFT);
}
inline bool IsAsyncWinDown() {
    return IsAsyncKeyDown(VK_LWIN) || IsAsyncKeyDown(VK_RWIN);
}
