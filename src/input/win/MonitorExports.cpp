// Built into the same object library as the HID exports (see CMakeLists.txt): nothing in the program
// calls these, so a member of the static library would be dropped from the link and its names from the
// export table.
#include "input/win/MonitorExports.h"

#include "input/win/CursorPathMonitor.h"
#include "input/win/MouseMonitor.h"
#include "input/win/ScreenScaleMonitor.h"

extern "C" {

bool MouseMonitorDllStart() {
    return MouseMonitor::Start();
}

void MouseMonitorDllStop() {
    MouseMonitor::Stop();
}

bool MouseMonitorDllGetPosition(MouseMonitorPoint* point) {
    if (point == nullptr)
        return false;
    const MouseMonitor::Reading reading = MouseMonitor::Current();
    point->x = reading.x;
    point->y = reading.y;
    return true;
}

bool MouseMonitorDllGetButtonState(uint8_t* left, uint8_t* right, uint8_t* middle) {
    const MouseMonitor::Reading reading = MouseMonitor::Current();
    if (left != nullptr)
        *left = reading.left ? 1 : 0;
    if (right != nullptr)
        *right = reading.right ? 1 : 0;
    if (middle != nullptr)
        *middle = reading.middle ? 1 : 0;
    return true;
}

bool ScreenScaleMonitorDllStart() {
    return ScreenScaleMonitor::Start();
}

void ScreenScaleMonitorDllStop() {
    ScreenScaleMonitor::Stop();
}

bool ScreenScaleMonitorDllGetState(uint32_t* screenWidth, uint32_t* screenHeight, uint32_t* dpi,
                                   uint32_t* dpiScalePercent, uint32_t* controlUiScalePercent) {
    const ScreenScaleState state = ScreenScaleMonitor::Current();
    if (screenWidth != nullptr)
        *screenWidth = state.screenWidth;
    if (screenHeight != nullptr)
        *screenHeight = state.screenHeight;
    if (dpi != nullptr)
        *dpi = state.dpi;
    if (dpiScalePercent != nullptr)
        *dpiScalePercent = state.dpiScalePercent;
    if (controlUiScalePercent != nullptr)
        *controlUiScalePercent = state.controlUiScalePercent;
    return true;
}

bool CursorPathMonitorDllStart() {
    return CursorPathMonitor::Start();
}

void CursorPathMonitorDllStop() {
    CursorPathMonitor::Stop();
}

bool CursorPathMonitorDllRefreshNow() {
    return CursorPathMonitor::RefreshNow();
}

bool CursorPathMonitorDllGetPath(wchar_t* buffer, uint32_t capacity) {
    return CursorPathMonitor::CopyPath(buffer, capacity);
}

} // extern "C"
