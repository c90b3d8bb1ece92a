#include "dragdrop/DragVisualSwitch.h"

#include "core/Log.h"

void SwitchDragVisual(IDragVisualSwitch& visual, bool on, const char* reason) {
    if (visual.ExchangeDragVisual(on) != on)
        Log::Write("[DRAGVIS][STATE] active=%d reason=%s", on ? 1 : 0, reason != nullptr ? reason : "");
}
