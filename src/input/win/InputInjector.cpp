#include "input/win/InputInjector.h"

#include "input/PacketInjector.h"
#include "input/win/Win32InjectionPlatform.h"

namespace {

// Never destroyed: the host thread may still inject while the process exits.
PacketInjector& Injector() {
    static auto* platform = new Win32InjectionPlatform();
    static auto* injector = new PacketInjector(*platform);
    return *injector;
}

} // namespace

void InjectInputPacket(const InputPacket& packet) {
    Injector().Inject(packet);
}

void ApplyKeyboardStateSync(const InputPacket& packet) {
    Injector().ApplyKeyboardStateSync(packet);
}

bool ApplyRemoteNumLock(const InputPacket& packet, bool down) {
    return Injector().ApplyRemoteNumLock(packet, down);
}

bool HandleInjectedClipboardHotkey(const InputPacket& packet) {
    return Injector().HandleClipboardHotkey(packet);
}

bool SendKeyTap(uint16_t vk, const char* reason) {
    return Injector().SendKeyTap(vk, reason);
}

bool InjectSyncKey(uint16_t vk, bool down, const char* reason) {
    return Injector().InjectSyncKey(vk, down, reason);
}

void SetToggleKeyState(uint16_t vk, bool wantOn, const char* label) {
    Injector().SetToggleKeyState(vk, wantOn, label);
}

void LogInjectedKeyDiag(const char* stage, const InputPacket& packet, bool down, uint32_t sendFlags) {
    Injector().LogKeyDiag(stage, packet, down, sendFlags);
}
