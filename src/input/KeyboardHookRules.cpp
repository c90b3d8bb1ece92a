#include "input/KeyboardHookRules.h"

#include "core/Log.h"
#include "input/InputPeers.h"
#include "input/KeyMirrorDeadlines.h"
#include "input/RemoteInputRoute.h"

using namespace HookKeys;

namespace {

constexpr uint32_t kNoKey = 0xFFFFFFFFu;

bool IsDownMessage(uint32_t message) {
    return message == kWmKeyDown || message == kWmSysKeyDown;
}

bool IsUpMessage(uint32_t message) {
    return message == kWmKeyUp || message == kWmSysKeyUp;
}

void UpdateModifiers(HookModifiers& m, uint32_t vk, bool down) {
    switch (vk) {
    case 17:
    case 162:
        m.leftCtrl = down;
        break;
    case 163:
        m.rightCtrl = down;
        break;
    case 18:
    case 164:
        m.leftAlt = down;
        break;
    case 165:
        m.rightAlt = down;
        break;
    case 16:
    case 160:
        m.leftShift = down;
        break;
    case 161:
        m.rightShift = down;
        break;
    case 91:
        m.leftWin = down;
        break;
    case 92:
        m.rightWin = down;
        break;
    default:
        break;
    }
}

bool HookCtrl(const HookModifiers& m, IKeyboardHookSystem& system) {
    return m.leftCtrl || m.rightCtrl || system.IsCtrlDownAsync();
}

bool HookAlt(const HookModifiers& m, uint32_t flags, IKeyboardHookSystem& system) {
    return m.leftAlt || m.rightAlt || (flags & kFlagAltDown) != 0 || system.IsAltDownAsync();
}

bool InTables(const KeyboardHookState& state, uint32_t vk) {
    return vk < 256 && (state.grabbedDown[vk] || state.passedToggle[vk]);
}

// TCP when ready, else the HID worker when the router picks it; without a route nothing leaves.
void SendKeyToPeer(uint32_t vk, uint32_t scan, uint32_t flags, bool down, const KeyboardHookContext& c) {
    if (c.route.IsTcpReady()) {
        c.route.SendHookKey(vk, scan, flags, down);
        return;
    }
    if (!c.route.SelectInputRoute())
        return;
    const bool alt = (flags & kFlagAltDown) != 0;
    const uint32_t message = down ? (alt ? kWmSysKeyDown : kWmKeyDown) : (alt ? kWmSysKeyUp : kWmKeyUp);
    if (c.route.QueueHidKey(message, vk))
        Log::Write("[HID][HOOK][KEY] route=%s vk=%lu down=%d",
                   c.system.IsHidForced() ? "forced" : "prewin-no-tcp", static_cast<unsigned long>(vk),
                   down ? 1 : 0);
}

uint64_t RaiseMirror(uint32_t vk, const KeyboardHookContext& c) {
    return c.system.RaiseMirrorDeadline(vk, c.system.NowTicks() + KeyMirrorDeadlines::kMirrorMs);
}

void LogMirrorArmed(uint32_t vk, uint64_t until) {
    Log::Write(vk == kVkNumLock ? "[KEY][NUMLOCK][WM_SUPPRESS_ARM] durationMs=%u until=%llu"
                                : "[KEY][CAPSLOCK][WM_SUPPRESS_ARM] durationMs=%u until=%llu",
               KeyMirrorDeadlines::kMirrorMs, static_cast<unsigned long long>(until));
}

void Remember(KeyboardHookState& state, const HookKeyEvent& event, bool toggle) {
    state.grabbedDown[event.vk] = true;
    state.passedToggle[event.vk] = toggle;
    state.downScan[event.vk] = event.scan;
    state.downFlags[event.vk] = event.flags;
}

// Sends the ups of the keys in the tables, then forgets everything except the entry of keepVk (an up being
// handled right now, which its own path sends and clears).
bool ReleaseAndClear(KeyboardHookState& state, const char* reason, uint32_t keepVk,
                     const KeyboardHookContext& c) {
    const bool hadModifier = state.modifiers.Any();
    for (uint32_t vk = 0; vk < 256; ++vk)
        if (vk != keepVk && InTables(state, vk))
            SendKeyToPeer(vk, state.downScan[vk], (state.downFlags[vk] & kFlagExtended) | kFlagUp, false, c);
    KeyboardHookState cleared;
    if (keepVk < 256) {
        cleared.grabbedDown[keepVk] = state.grabbedDown[keepVk];
        cleared.passedToggle[keepVk] = state.passedToggle[keepVk];
        cleared.downScan[keepVk] = state.downScan[keepVk];
        cleared.downFlags[keepVk] = state.downFlags[keepVk];
    }
    state = cleared;
    if (hadModifier)
        Log::Write("[KEY][HOOK][CLEAR] reason=%s", reason);
    return hadModifier;
}

} // namespace

bool HookModifiers::Any() const {
    return leftCtrl || rightCtrl || leftAlt || rightAlt || leftShift || rightShift || leftWin || rightWin;
}

bool HookIsCtrlAltChord(uint32_t vk, uint32_t chordVk, uint32_t flags, const HookModifiers& modifiers,
                        IKeyboardHookSystem& system) {
    return vk == chordVk && HookCtrl(modifiers, system) && HookAlt(modifiers, flags, system);
}

bool ClearHookKeyState(KeyboardHookState& state, const char* reason, const KeyboardHookContext& context) {
    return ReleaseAndClear(state, reason, kNoKey, context);
}

HookVerdict HandleHookKeyEvent(const HookKeyEvent& event, KeyboardHookState& state,
                               const KeyboardHookContext& c) {
    const bool down = IsDownMessage(event.message);
    const bool up = IsUpMessage(event.message);
    if (!down && !up)
        return HookVerdict::Pass;
    const uint32_t vk = event.vk;
    IKeyboardHookSystem& system = c.system;

    UpdateModifiers(state.modifiers, vk, down);

    const bool overView = system.IsCursorOverRemoteView();
    const bool virtualScope = c.route.IsVirtualScreenInputScope();
    // An up whose down went to the peer: it goes there too, wherever the cursor is now.
    const bool tableUp = up && InTables(state, vk);
    if (!overView && !virtualScope && state.modifiers.Any())
        ReleaseAndClear(state, "hook-callback-outside-remote-input-scope", tableUp ? vk : kNoKey, c);

    const bool grab = system.IsRemoteInputScopeActive();

    if (vk == kVkNumLock)
        Log::Write(
            "[KEY][NUMLOCK][HOOK] wParam=0x%04lX down=%d up=%d scan=%lu flags=0x%lX grab=%d hidForced=%d",
            static_cast<unsigned long>(event.message), down ? 1 : 0, up ? 1 : 0,
            static_cast<unsigned long>(event.scan), static_cast<unsigned long>(event.flags), grab ? 1 : 0,
            system.IsHidForced() ? 1 : 0);
    if (vk == kVkF11 || vk == kVkZero)
        Log::Write(
            "[HOTKEY][HOOK][TRACE] vk=%lu down=%d up=%d ctrl=%d alt=%d scope=%d grab=%d flags=0x%lX scan=%lu",
            static_cast<unsigned long>(vk), down ? 1 : 0, up ? 1 : 0,
            HookCtrl(state.modifiers, system) ? 1 : 0, HookAlt(state.modifiers, event.flags, system) ? 1 : 0,
            (overView || virtualScope) ? 1 : 0, grab ? 1 : 0, static_cast<unsigned long>(event.flags),
            static_cast<unsigned long>(event.scan));

    if (down && vk == kVkV) {
        if (system.IsCtrlDownAsync() && (virtualScope || overView) && c.peers.HasRemoteFileOffer()) {
            Log::Write("[CLIPFILE][HOOK] Ctrl+V over remote input scope: skip local paste, forward to peer "
                       "virtual=%d",
                       virtualScope ? 1 : 0);
        } else if (system.IsCtrlDownAsync() && !grab && c.peers.HasRemoteFileOffer()) {
            if (c.peers.IsLocalClipboardEmpty()) {
                const bool ok = c.peers.QueueRemoteFilesPaste();
                Log::Write("[CLIPFILE][HOOK] local Ctrl+V consumed/async queued for remote file paste ok=%d",
                           ok ? 1 : 0);
                return HookVerdict::Swallow;
            }
            Log::Write("[CLIPFILE][HOOK] local Ctrl+V not consumed: local clipboard not empty");
        }
    }

    // The hotkeys act locally and never reach the peer. Their ups find no table entry and pass on.
    if (down && (vk == kVkF11 || vk == kVkZero) && (system.IsMainWindowForeground() || (grab && overView))) {
        const bool ctrl = HookCtrl(state.modifiers, system);
        const bool alt = HookAlt(state.modifiers, event.flags, system);
        if (ctrl && alt) {
            const bool fullscreen = vk == kVkF11;
            Log::Write(fullscreen ? "[HOTKEY][HOOK] Ctrl+Alt+F11 detected scope=local ctrl=%d alt=%d"
                                  : "[HOTKEY][HOOK] Ctrl+Alt+0 detected scope=local ctrl=%d alt=%d",
                       ctrl ? 1 : 0, alt ? 1 : 0);
            system.PostToMainWindow(fullscreen ? kWmAppToggleFullscreen : kWmAppToggleStateView);
            return HookVerdict::Swallow;
        }
    }

    if (!grab && !tableUp) {
        // A repeat of a key whose down went to the peer: the local system never saw the first down and must
        // not be left believing the key is held. Its up, when it comes, goes to the peer.
        if (down && vk < 256 && state.grabbedDown[vk] && !state.passedToggle[vk])
            return HookVerdict::Swallow;
        return HookVerdict::Pass;
    }
    // An up whose down the hook did not take belongs to the local system.
    if (up && !tableUp)
        return HookVerdict::Pass;

    SendKeyToPeer(vk, event.scan, event.flags, down, c);
    if (vk >= 256)
        return HookVerdict::Swallow;

    if (up) {
        const bool toggle = state.passedToggle[vk];
        state.grabbedDown[vk] = false;
        state.passedToggle[vk] = false;
        if (!toggle)
            return HookVerdict::Swallow;
        LogMirrorArmed(vk, RaiseMirror(vk, c));
        return HookVerdict::Pass;
    }

    if (vk != kVkNumLock && vk != kVkCapsLock) {
        Remember(state, event, false);
        return HookVerdict::Swallow;
    }
    // NumLock and CapsLock toggle both sides: the local toggle happens too, and RemoteView skips the window
    // messages it produces for a short while so the peer does not get the key twice.
    Remember(state, event, true);
    const uint64_t until = RaiseMirror(vk, c);
    const int virtualFlag = virtualScope && c.route.IsTcpReady() ? 1 : 0;
    if (vk == kVkNumLock)
        Log::Write("[KEY][NUMLOCK][LOCAL_LED_PASS] down=1 remoteForwarded=1 localWmSuppressed=1 virtual=%d",
                   virtualFlag);
    else
        Log::Write(
            "[KEY][CAPSLOCK][LOCAL_STATE_PASS] down=1 remoteForwarded=1 localWmSuppressed=1 virtual=%d",
            virtualFlag);
    LogMirrorArmed(vk, until);
    return HookVerdict::Pass;
}
