#pragma once

#include <windows.h>

#include <cstdint>

#include "app/StartupPlatform.h"

inline constexpr wchar_t kMainWindowClass[] = L"Tessaly_UDPVideo_Demo_Wnd";
// Posted by the asynchronous shutdown once the lifecycle modules are stopped.
inline constexpr UINT WM_APP_FINAL_DESTROY = 0x8410;
// The runtime state's change notice.
inline constexpr UINT WM_APP_RUNTIME_STATE = 0x8420;

// 0 when registered, else the Win32 error (ERROR_CLASS_ALREADY_EXISTS included).
uint32_t RegisterTessalyWindowClass(HINSTANCE instance, WindowClass windowClass);
// Creates the main window and shows it with showCommand; false with the Win32 error on failure.
CallResult CreateMainWindow(HINSTANCE instance, int showCommand);
HWND MainWindowHandle();
