#include "dragdrop/win/LocalDragMonitor.h"

LRESULT CALLBACK LocalDragMonitorWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void LocalDragMonitorResetDrag() {}

void LocalDragMonitorClearCaches() {}

std::u16string LocalDragMonitorDropTarget() {
    return {};
}
