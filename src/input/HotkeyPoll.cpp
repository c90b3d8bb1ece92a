#include "input/HotkeyPoll.h"

#include "core/Log.h"

void RunHotkeyPoll(HookPollLatches& latches, const HotkeyPollFacts& facts, const HotkeyPollActions& actions) {
    const bool focusLocal = facts.mainWindowForeground || (facts.scopeActive && facts.cursorOverRemoteView);
    const bool f11 = focusLocal && facts.ctrlAltF11;
    const bool zero = focusLocal && facts.ctrlAltZero;
    if (f11 && !latches.ctrlAltF11) {
        Log::Write("[HOTKEY][POLL] Ctrl+Alt+F11 detected");
        if (actions.toggleFullscreen)
            actions.toggleFullscreen("poll Ctrl+Alt+F11");
    }
    if (zero && !latches.ctrlAltZero) {
        Log::Write("[HOTKEY][POLL] Ctrl+Alt+0 detected");
        if (actions.toggleStateView)
            actions.toggleStateView("poll Ctrl+Alt+0");
    }
    latches.ctrlAltF11 = f11;
    latches.ctrlAltZero = zero;
}
