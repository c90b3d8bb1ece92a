#pragma once

#include <cstdint>

// The three polling monitors (mouse, screen scale, folder under the cursor during a drag), exported as plain
// C functions so outside callers can read them too.
struct MouseMonitorPoint {
    int32_t x;
    int32_t y;
};

extern "C" {
__declspec(dllexport) bool MouseMonitorDllStart();
__declspec(dllexport) void MouseMonitorDllStop();
__declspec(dllexport) bool MouseMonitorDllGetPosition(MouseMonitorPoint* point);
__declspec(dllexport) bool MouseMonitorDllGetButtonState(uint8_t* left, uint8_t* right, uint8_t* middle);
__declspec(dllexport) bool ScreenScaleMonitorDllStart();
__declspec(dllexport) void ScreenScaleMonitorDllStop();
__declspec(dllexport) bool ScreenScaleMonitorDllGetState(uint32_t* screenWidth, uint32_t* screenHeight,
                                                         uint32_t* dpi, uint32_t* dpiScalePercent,
                                                         uint32_t* controlUiScalePercent);
__declspec(dllexport) bool CursorPathMonitorDllStart();
__declspec(dllexport) void CursorPathMonitorDllStop();
__declspec(dllexport) bool CursorPathMonitorDllRefreshNow();
__declspec(dllexport) bool CursorPathMonitorDllGetPath(wchar_t* buffer, uint32_t capacity);
}
