#pragma once

#include <cstdint>
#include <vector>

// The controller sends its modifier and lock state (SYSTEM_KEY 3); the controlled PC brings its own to match.
// The plan orders the work so it cannot leave a wrong state behind: unwanted modifiers are released first,
// NumLock and CapsLock are toggled only while no unwanted Shift is down (a Shift held across a CapsLock tap
// could change how the tap acts), and wanted modifiers are pressed last.

struct KeyboardState {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    bool win = false;
    bool numLock = false;
    bool capsLock = false;

    bool operator==(const KeyboardState&) const = default;
};

// data2 of SYSTEM_KEY 3 (KeySyncFlags) as the wanted state.
KeyboardState KeyboardStateFromSyncFlags(int32_t flags);

struct SyncKeyOp {
    uint16_t vk = 0;
    bool down = false;

    bool operator==(const SyncKeyOp&) const = default;
};

struct KeyboardSyncStep {
    enum class Kind {
        Modifier, // keys to send for one modifier; none when it is already as wanted
        Toggle,   // bring NumLock or CapsLock to `want`, judged when the step runs
    };
    Kind kind = Kind::Modifier;
    const char* label = ""; // "CTRL", "ALT", "SHIFT", "WIN", "NUMLOCK", "CAPSLOCK"
    bool want = false;
    bool before = false;                     // Modifier: held when planned
    bool KeyboardState::*modifier = nullptr; // Modifier: its field, to read it back after the keys
    std::vector<SyncKeyOp> keys;             // Modifier
    uint16_t toggleVk = 0;                   // Toggle: 144 or 20
};

// `held` holds the modifiers as GetAsyncKeyState sees them (generic, left or right key down); its lock
// fields are not used, since toggles are judged when their step runs.
std::vector<KeyboardSyncStep> PlanKeyboardSync(const KeyboardState& want, const KeyboardState& held);
