// The keyboard side of the injector: lock-key taps, the NumLock request, the keyboard-state sync and the
// key diagnostics.
#include "core/Log.h"
#include "input/KeyboardSyncPlan.h"
#include "input/PacketInjector.h"
#include "input/RemoteNumLock.h"
#include "input/VirtualKeyName.h"

namespace {

constexpr uint32_t kModifierSettleMs = 5;
constexpr uint32_t kToggleSettleMs = 25;

int Bit(bool on) {
    return on ? 1 : 0;
}

bool NeedsExtendedFlag(uint16_t vk) {
    return vk == 144 || vk == 163 || vk == 165 || vk == 92;
}

PlannedInput KeyEvent(uint16_t vk, bool down, uint32_t flags) {
    PlannedInput input;
    input.kind = PlannedInput::Kind::Keyboard;
    input.vk = vk;
    input.flags = flags | (down ? 0u : InjectionFlags::kKeyUp);
    return input;
}

} // namespace

bool PacketInjector::SendKeyTap(uint16_t vk, const char* reason) {
    const PlannedInput tap[2] = {KeyEvent(vk, true, 0), KeyEvent(vk, false, 0)};
    const uint32_t sent = m_platform.SendInputs(tap, 2);
    const unsigned long error = m_platform.LastError();
    Log::Write("[KEY][TAP] reason=%s vk=%u sendInputRet=%u gle=%lu", reason, static_cast<unsigned>(vk), sent,
               error);
    return sent == 2;
}

bool PacketInjector::InjectSyncKey(uint16_t vk, bool down, const char* reason) {
    const PlannedInput input = KeyEvent(vk, down, NeedsExtendedFlag(vk) ? InjectionFlags::kKeyExtended : 0);
    const uint32_t sent = m_platform.SendInputs(&input, 1);
    const unsigned long error = m_platform.LastError();
    Log::Write("[KEY][SYNC][RX_KEY] reason=%s vk=%u(%s) down=%d ret=%u gle=%lu", reason,
               static_cast<unsigned>(vk), VirtualKeyName(vk), Bit(down), sent, error);
    return sent == 1;
}

uint32_t PacketInjector::KeybdEventTap(uint16_t vk, uint32_t flags) {
    const uint32_t scan = m_platform.ScanCodeOf(vk);
    m_platform.KeybdEvent(static_cast<uint8_t>(vk), static_cast<uint8_t>(scan), flags);
    m_platform.KeybdEvent(static_cast<uint8_t>(vk), static_cast<uint8_t>(scan),
                          flags | InjectionFlags::kKeyUp);
    return scan;
}

void PacketInjector::SetToggleKeyState(uint16_t vk, bool wantOn, const char* label) {
    const bool before = m_platform.IsToggledOn(vk);
    if (before == wantOn) {
        Log::Write("[KEY][SYNC][RX_TOGGLE] %s already=%d", label, Bit(before));
        return;
    }
    SendKeyTap(vk, "keyboard-state-sync");
    m_platform.SleepMs(kToggleSettleMs);
    bool after = m_platform.IsToggledOn(vk);
    Log::Write("[KEY][SYNC][RX_TOGGLE_DONE] %s method=SendInput want=%d before=%d after=%d", label,
               Bit(wantOn), Bit(before), Bit(after));
    if (after == wantOn)
        return;
    const uint32_t flags = vk == kNumLockVirtualKey ? InjectionFlags::kKeyExtended : 0;
    const uint32_t scan = KeybdEventTap(vk, flags);
    Log::Write("[KEY][SYNC][RX_TOGGLE_FALLBACK] reason=%s vk=%u scan=0x%02X flags=0x%08lX",
               "sendinput-no-effect", static_cast<unsigned>(vk), scan, static_cast<unsigned long>(flags));
    m_platform.SleepMs(kToggleSettleMs);
    after = m_platform.IsToggledOn(vk);
    Log::Write("[KEY][SYNC][RX_TOGGLE_DONE] %s method=keybd_event want=%d after=%d", label, Bit(wantOn),
               Bit(after));
}

bool PacketInjector::ApplyRemoteNumLock(const InputPacket& packet, bool down) {
    if (PacketVirtualKey(packet) != kNumLockVirtualKey)
        return false;
    const int32_t flags = packet.data2;
    const bool before = m_platform.IsToggledOn(kNumLockVirtualKey);
    const bool wantOn = (flags & KeyPacketFlags::kNumLockWantOn) != 0;
    Log::Write("[KEY][NUMLOCK][RX] down=%d valid=%d tap=%d wantOn=%d before=%d scan=%d flags=0x%X", Bit(down),
               Bit((flags & KeyPacketFlags::kNumLockValid) != 0),
               Bit((flags & KeyPacketFlags::kNumLockTap) != 0), Bit(wantOn), Bit(before),
               PacketScanCode(packet), static_cast<unsigned>(flags));

    const RemoteNumLockAction action = DecideRemoteNumLock(flags, down, before);
    switch (action) {
    case RemoteNumLockAction::FallThrough:
        Log::Write("[KEY][NUMLOCK][RX] no-valid: fall through to normal injection down=%d", Bit(down));
        break;
    case RemoteNumLockAction::TapConsumeUp:
        Log::Write("[KEY][NUMLOCK][RX] consume-up tap=1 before=%d", Bit(before));
        break;
    case RemoteNumLockAction::SyncConsumeUp:
        Log::Write("[KEY][NUMLOCK][RX] consume-up valid=1 tap=0");
        break;
    case RemoteNumLockAction::SyncAlreadyMatched:
        Log::Write("[KEY][NUMLOCK][RX_APPLY] mode=sync already-matched state=%d", Bit(before));
        break;
    case RemoteNumLockAction::Tap:
    case RemoteNumLockAction::SyncToggle: {
        const bool tap = action == RemoteNumLockAction::Tap;
        // A tap must change the state; a sync must reach the wanted one.
        const bool target = tap ? !before : wantOn;
        SendKeyTap(kNumLockVirtualKey, tap ? "numlock-remote-tap-sendinput" : "numlock-sync-sendinput");
        m_platform.SleepMs(kToggleSettleMs);
        bool after = m_platform.IsToggledOn(kNumLockVirtualKey);
        if (tap)
            Log::Write("[KEY][NUMLOCK][RX_APPLY] mode=tap method=SendInput before=%d after=%d", Bit(before),
                       Bit(after));
        else
            Log::Write("[KEY][NUMLOCK][RX_APPLY] mode=sync method=SendInput before=%d want=%d after=%d",
                       Bit(before), Bit(wantOn), Bit(after));
        if (after == target)
            break;
        const uint32_t scan = KeybdEventTap(kNumLockVirtualKey, InjectionFlags::kKeyExtended);
        Log::Write("[KEY][NUMLOCK][RX_FALLBACK] keybd_event scan=0x%02X", scan);
        m_platform.SleepMs(kToggleSettleMs);
        after = m_platform.IsToggledOn(kNumLockVirtualKey);
        if (tap)
            Log::Write("[KEY][NUMLOCK][RX_APPLY] mode=tap method=keybd_event before=%d after=%d", Bit(before),
                       Bit(after));
        else
            Log::Write("[KEY][NUMLOCK][RX_APPLY] mode=sync method=keybd_event want=%d after=%d", Bit(wantOn),
                       Bit(after));
        break;
    }
    }
    return ConsumesPacket(action);
}

KeyboardState PacketInjector::HeldModifiers() {
    auto anyDown = [this](std::initializer_list<uint32_t> keys) {
        for (uint32_t vk : keys)
            if (m_platform.IsKeyDown(vk))
                return true;
        return false;
    };
    KeyboardState s;
    s.ctrl = anyDown({17, 162, 163});
    s.alt = anyDown({18, 164, 165});
    s.shift = anyDown({16, 160, 161});
    s.win = anyDown({91, 92});
    return s;
}

KeyboardState PacketInjector::CurrentState() {
    KeyboardState s = HeldModifiers();
    s.numLock = m_platform.IsToggledOn(144);
    s.capsLock = m_platform.IsToggledOn(20);
    return s;
}

void PacketInjector::ApplyKeyboardStateSync(const InputPacket& packet) {
    const int32_t flags = packet.data2;
    const KeyboardState want = KeyboardStateFromSyncFlags(flags);
    const KeyboardState before = CurrentState();
    Log::Write(
        "[KEY][SYNC][RX] flags=0x%X want ctrl=%d alt=%d shift=%d win=%d num=%d caps=%d before ctrl=%d alt=%d "
        "shift=%d win=%d num=%d caps=%d",
        static_cast<unsigned>(flags), Bit(want.ctrl), Bit(want.alt), Bit(want.shift), Bit(want.win),
        Bit(want.numLock), Bit(want.capsLock), Bit(before.ctrl), Bit(before.alt), Bit(before.shift),
        Bit(before.win), Bit(before.numLock), Bit(before.capsLock));

    for (const KeyboardSyncStep& step : PlanKeyboardSync(want, before)) {
        if (step.kind == KeyboardSyncStep::Kind::Toggle) {
            SetToggleKeyState(step.toggleVk, step.want, step.label);
            continue;
        }
        if (step.keys.empty()) {
            Log::Write("[KEY][SYNC][RX_MOD] %s already=%d", step.label, Bit(step.before));
            continue;
        }
        for (const SyncKeyOp& op : step.keys)
            InjectSyncKey(op.vk, op.down,
                          op.down ? "keyboard-state-sync-press" : "keyboard-state-sync-release");
        m_platform.SleepMs(kModifierSettleMs);
        const bool after = HeldModifiers().*step.modifier;
        Log::Write("[KEY][SYNC][RX_MOD_DONE] %s want=%d before=%d after=%d", step.label, Bit(step.want),
                   Bit(step.before), Bit(after));
    }
    // A Ctrl pressed or released here is part of the next injected Ctrl+C or Ctrl+V.
    m_clipboard.OnKeyboardSync(want.ctrl);

    const KeyboardState after = CurrentState();
    Log::Write("[KEY][SYNC][RX_DONE] after ctrl=%d alt=%d shift=%d win=%d num=%d caps=%d", Bit(after.ctrl),
               Bit(after.alt), Bit(after.shift), Bit(after.win), Bit(after.numLock), Bit(after.capsLock));
}

void PacketInjector::LogKeyDiag(const char* stage, const InputPacket& packet, bool down, uint32_t sendFlags) {
    const uint16_t vk = PacketVirtualKey(packet);
    Log::Write("[KEY][DIAG][%s] vk=%d(%s) scan=%d down=%d pktFlags=0x%X sendFlags=0x%08lX asyncShift=%d "
               "asyncCtrl=%d "
               "asyncAlt=%d asyncWin=%d lockCaps=%d lockNum=%d lockScroll=%d",
               stage, vk, VirtualKeyName(vk), PacketScanCode(packet), Bit(down),
               static_cast<unsigned>(packet.data2), static_cast<unsigned long>(sendFlags),
               Bit(m_platform.IsKeyDown(16)), Bit(m_platform.IsKeyDown(17)), Bit(m_platform.IsKeyDown(18)),
               Bit(m_platform.IsKeyDown(91) || m_platform.IsKeyDown(92)), Bit(m_platform.IsToggledOn(20)),
               Bit(m_platform.IsToggledOn(144)), Bit(m_platform.IsToggledOn(145)));
}
