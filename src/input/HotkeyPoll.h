#pragma once

#include <functional>

#include "input/KeyboardHookRules.h"

// The main window's 50 ms shortcut poll backs the hook up: a key the hook missed (the hook removed by the
// system after a slow call, a key pressed before the hook came back) still toggles fullscreen or StateView.
// It is edge-triggered, so a chord held across many polls acts once.
struct HotkeyPollFacts {
    bool mainWindowForeground = false; // the main window, a child of it or a window of this process
    bool scopeActive = false;          // the hook's grab condition
    bool cursorOverRemoteView = false;
    bool ctrlAltF11 = false;  // GetAsyncKeyState: F11 with Ctrl and Alt
    bool ctrlAltZero = false; // GetAsyncKeyState: '0' with Ctrl and Alt
};

struct HotkeyPollActions {
    std::function<void(const char* source)> toggleFullscreen;
    std::function<void(const char* source)> toggleStateView; // debounced by the main window
};

void RunHotkeyPoll(HookPollLatches& latches, const HotkeyPollFacts& facts, const HotkeyPollActions& actions);
