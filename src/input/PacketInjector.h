#pragma once

#include <cstdint>

#include "input/InjectedClipboardHotkey.h"
#include "input/InjectionPlatform.h"
#include "input/KeyboardSyncPlan.h"
#include "input/InputPacket.h"

// Applies received input packets to the controlled PC's desktop, one at a time in arrival order, on the one
// thread that receives them. The sleeps (5 ms after a modifier change, 25 ms after a lock-key tap) hold up
// the next packet on purpose, so a sync or a NumLock fix is complete before the next key is injected.
// The services of other areas come from InputPeers() and the cable from InjectionHid(), read per call.
class PacketInjector {
public:
    explicit PacketInjector(IInjectionPlatform& platform) : m_platform(platform) {}

    void Inject(const InputPacket& packet);

    // SYSTEM_KEY 3: data2 holds the KeySyncFlags.
    void ApplyKeyboardStateSync(const InputPacket& packet);
    // A NumLock KEY packet with a target; true when the packet is consumed.
    bool ApplyRemoteNumLock(const InputPacket& packet, bool down);
    bool HandleClipboardHotkey(const InputPacket& packet);
    // One SendInput with vk down and up; true when both went in.
    bool SendKeyTap(uint16_t vk, const char* reason);
    bool InjectSyncKey(uint16_t vk, bool down, const char* reason);
    // NumLock or CapsLock to wantOn: a SendInput tap, then keybd_event when the tap had no effect.
    void SetToggleKeyState(uint16_t vk, bool wantOn, const char* label);
    void LogKeyDiag(const char* stage, const InputPacket& packet, bool down, uint32_t sendFlags);

    const InjectedClipboardHotkey& ClipboardHotkey() const { return m_clipboard; }

private:
    void InjectSystemKey(const InputPacket& packet);
    void InjectPlanned(const InputPacket& packet);
    bool ForwardWheelToCable(const InputPacket& packet);
    void LogButtonPrep(const InputPacket& packet, uint32_t flags);
    // keybd_event down and up of vk, for a lock key a SendInput tap did not change; the scan code used.
    uint32_t KeybdEventTap(uint16_t vk, uint32_t flags);
    KeyboardState HeldModifiers();
    KeyboardState CurrentState();

    IInjectionPlatform& m_platform;
    InjectedClipboardHotkey m_clipboard;
    // The last injected state of the left, right and middle buttons, for the logs.
    bool m_buttons[3] = {false, false, false};
};
