#include "dragdrop/win/DragVisualFlag.h"

#include "dragdrop/win/DragDrop.h"

bool ExchangeDragVisualAndRefresh(bool on) {
    const bool before = DragVisualOverlay::ExchangeActive(on);
    if (on)
        DragVisualOverlay::StartOnce();
    if (HWND overlay = DragVisualOverlay::Window())
        ::PostMessageW(overlay, WM_TIMER, DragVisualOverlay::kTimerId, 0);
    return before;
}
