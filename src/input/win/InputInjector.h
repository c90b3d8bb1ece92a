#pragma once

#include <cstdint>

#include "input/InputPacket.h"

// The controlled PC's injector: every packet the input channel's host thread receives goes to
// InjectInputPacket, on that one thread, in arrival order. The other functions are its steps, callable on
// their own by the same thread. The cable's HID interface comes from SetInjectionHid (input/InjectionHid.h),
// the other areas' services from SetInputPeers.
void InjectInputPacket(const InputPacket& packet);
void ApplyKeyboardStateSync(const InputPacket& packet);
bool ApplyRemoteNumLock(const InputPacket& packet, bool down);
bool HandleInjectedClipboardHotkey(const InputPacket& packet);
bool SendKeyTap(uint16_t vk, const char* reason);
bool InjectSyncKey(uint16_t vk, bool down, const char* reason);
void SetToggleKeyState(uint16_t vk, bool wantOn, const char* label);
void LogInjectedKeyDiag(const char* stage, const InputPacket& packet, bool down, uint32_t sendFlags);
