#pragma once

#include <array>
#include <cstdint>

class IRemoteInputRoute;
class IInputPeers;

// What the controller's low-level keyboard hook does with one key event. While the user's input is inside
// the remote-input scope the hook takes keys away from the local desktop and sends them to the peer, so
// that Alt+Tab or the Windows key act there; outside it leaves keys alone apart from the local hotkeys
// (Ctrl+Alt+F11 fullscreen, Ctrl+Alt+0 StateView) and a Ctrl+V that pastes the peer's offered files.
//
// Everything here runs on the thread that installed the hook (the UI thread) and must return fast: sends go
// through the input router's queues, never to the network or the cable directly.
namespace HookKeys {
constexpr uint32_t kWmKeyDown = 0x100;
constexpr uint32_t kWmKeyUp = 0x101;
constexpr uint32_t kWmSysKeyDown = 0x104;
constexpr uint32_t kWmSysKeyUp = 0x105;

constexpr uint32_t kFlagExtended = 0x01; // LLKHF_EXTENDED
constexpr uint32_t kFlagAltDown = 0x20;  // LLKHF_ALTDOWN
constexpr uint32_t kFlagUp = 0x80;       // LLKHF_UP

constexpr uint32_t kVkCapsLock = 20;
constexpr uint32_t kVkNumLock = 144;
constexpr uint32_t kVkF11 = 0x7A;
constexpr uint32_t kVkZero = 0x30;
constexpr uint32_t kVkV = 0x56;
} // namespace HookKeys

// Posted to the main window with wParam 0 and lParam 0.
constexpr uint32_t kWmAppToggleFullscreen = 0x8412;
constexpr uint32_t kWmAppToggleStateView = 0x8413;

// One event as the hook receives it: the window message (wParam) and KBDLLHOOKSTRUCT's key fields.
struct HookKeyEvent {
    uint32_t message = 0;
    uint32_t vk = 0;
    uint32_t scan = 0;
    uint32_t flags = 0;
};

// The modifier keys as the hook has seen them go down and up; the generic codes count as the left key.
struct HookModifiers {
    bool leftCtrl = false, rightCtrl = false;
    bool leftAlt = false, rightAlt = false;
    bool leftShift = false, rightShift = false;
    bool leftWin = false, rightWin = false;

    bool Any() const;
};

struct HookPollLatches {
    bool ctrlAltF11 = false; // seen at the previous poll
    bool ctrlAltZero = false;
};

// The hook's memory of keys whose down it handled. UI thread only.
struct KeyboardHookState {
    HookModifiers modifiers;
    std::array<bool, 256> grabbedDown{};  // the key's down was taken by the hook
    std::array<bool, 256> passedToggle{}; // a NumLock or CapsLock down sent to the peer and passed on locally
    // Scan code and flags of the down in the tables: the up that a clear sends to the peer carries them, so
    // the peer releases the same physical key (right Ctrl, not left).
    std::array<uint32_t, 256> downScan{};
    std::array<uint32_t, 256> downFlags{};
    HookPollLatches latches;
};

// The facts and effects of the machine the hook runs on.
class IKeyboardHookSystem {
public:
    virtual ~IKeyboardHookSystem() = default;

    // The RemoteView window exists, is visible and its window rectangle holds the cursor.
    virtual bool IsCursorOverRemoteView() = 0;
    // The hook's grab condition (IsRemoteInputScopeActive over the facts of the moment).
    virtual bool IsRemoteInputScopeActive() = 0;
    // The foreground window is the main window, a child of it or a window of this process.
    virtual bool IsMainWindowForeground() = 0;
    virtual bool IsHidForced() = 0;
    // GetAsyncKeyState: Ctrl (17, 162 or 163) or Alt (18, 164 or 165) is down.
    virtual bool IsCtrlDownAsync() = 0;
    virtual bool IsAltDownAsync() = 0;
    // 64-bit milliseconds (GetTickCount64).
    virtual uint64_t NowTicks() = 0;
    virtual void PostToMainWindow(uint32_t message) = 0;
    // Raises the NumLock (144) or CapsLock (20) mirror deadline to until unless it is later already;
    // returns the deadline in force afterwards.
    virtual uint64_t RaiseMirrorDeadline(uint32_t vk, uint64_t until) = 0;
};

struct KeyboardHookContext {
    IKeyboardHookSystem& system;
    IRemoteInputRoute& route;
    IInputPeers& peers;
};

enum class HookVerdict {
    Pass,   // CallNextHookEx: the local system gets the key
    Swallow // the hook returns 1
};

// One key event (WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP; any other message is passed on untouched).
HookVerdict HandleHookKeyEvent(const HookKeyEvent& event, KeyboardHookState& state,
                               const KeyboardHookContext& context);

// Forgets the modifiers, both tables and the poll latches; logs "[KEY][HOOK][CLEAR] reason=%s" (an "input"
// category line) and returns true when a modifier was set. Every key still in the tables first has its up
// sent to the peer, so that no key stays down there once the hook no longer remembers it.
bool ClearHookKeyState(KeyboardHookState& state, const char* reason, const KeyboardHookContext& context);

// Ctrl by the hook's modifiers or GetAsyncKeyState; Alt by the hook's modifiers, the event's ALT-down flag
// or GetAsyncKeyState.
bool HookIsCtrlAltChord(uint32_t vk, uint32_t chordVk, uint32_t flags, const HookModifiers& modifiers,
                        IKeyboardHookSystem& system);
