#include <windows.h>

#include "core/Log.h"
#include "input/InputMessages.h"
#include "input/InputPacket.h"
#include "input/InputSender.h"
#include "input/KeyMirrorDeadlines.h"
#include "input/KeyRouting.h"
#include "input/VirtualKeyName.h"
#include "input/win/AsyncHidWorker.h"
#include "input/win/InputRouter.h"
#include "input/win/InputRouterInternal.h"

namespace InputRouter {
namespace {

bool LocalNumLockOn() {
    return (::GetKeyState(VK_NUMLOCK) & 1) != 0;
}

InputPacket KeyPacket(uint32_t scan, uint32_t vk, int32_t flags) {
    return MakeInputPacket(InputPacketType::Key, static_cast<int32_t>(scan), 0, static_cast<int32_t>(vk),
                           flags);
}

} // namespace

void LogKeyDiag(const char* stage, uint32_t msg, uint32_t vk, uint32_t scan, uint32_t flags,
                const char* route) {
    if (!Log::IsDebugCategoryEnabled("input"))
        return;
    const LocalKeyStates keys = ReadLocalKeyStates();
    Log::Write(
        "[KEY][DIAG][%s] route=%s msg=%s(0x%04X) vk=%lu(%s) scan=%u flags=0x%08lX asyncShift=%d asyncCtrl=%d "
        "asyncAlt=%d asyncWin=%d lockCaps=%d lockNum=%d lockScroll=%d tcpReady=%d hidForced=%d",
        stage, route, KeyMessageName(msg), msg, static_cast<unsigned long>(vk), VirtualKeyName(vk), scan,
        static_cast<unsigned long>(flags), keys.shift ? 1 : 0, keys.ctrl ? 1 : 0, keys.alt ? 1 : 0,
        keys.win ? 1 : 0, keys.capsLock ? 1 : 0, keys.numLock ? 1 : 0,
        (::GetKeyState(VK_SCROLL) & 1) != 0 ? 1 : 0, IsTcpReady() ? 1 : 0, IsHidForced() ? 1 : 0);
}

bool SendWmKey(uint32_t msg, uint32_t vk, intptr_t lParam) {
    const WmKeyFacts key = DecodeWmKey(msg, lParam);
    const uint64_t now = ::GetTickCount64();
    if (vk == kVkNumLock && InsideMirrorWindow(now, KeyMirrorDeadlines::NumLockUntil())) {
        Log::Write(
            "[KEY][NUMLOCK][TX_SKIP] source=wmkey reason=local-led-mirror msg=0x%04X now=%llu until=%llu",
            msg, static_cast<unsigned long long>(now),
            static_cast<unsigned long long>(KeyMirrorDeadlines::NumLockUntil()));
        return true;
    }
    if (vk == kVkCapsLock && InsideMirrorWindow(now, KeyMirrorDeadlines::CapsLockUntil())) {
        Log::Write(
            "[KEY][CAPSLOCK][TX_SKIP] source=wmkey reason=local-state-mirror msg=0x%04X now=%llu until=%llu",
            msg, static_cast<unsigned long long>(now),
            static_cast<unsigned long long>(KeyMirrorDeadlines::CapsLockUntil()));
        return true;
    }
    const bool hid = SelectInputRoute();
    int32_t flags = KeyPacketFlagsOf(key.down, key.extended);
    LogKeyDiag("WM_TX_PREP", msg, vk, key.scan, static_cast<uint32_t>(flags), hid ? "hid-async" : "tcp");
    if (hid)
        return QueueHidKeyOnRoute(msg, vk);
    if (vk != kVkNumLock) {
        const bool ok = InputSender().EnqueuePacket(KeyPacket(key.scan, vk, flags));
        Log::Write("[KEY][DIAG][WM_TX_TCP] vk=%lu scan=%u down=%d extended=%d flags=0x%X ok=%d",
                   static_cast<unsigned long>(vk), key.scan, key.down ? 1 : 0, key.extended ? 1 : 0,
                   static_cast<unsigned>(flags), ok ? 1 : 0);
        return ok;
    }
    // The window sees NumLock after Windows toggled it: the local state is the one the peer must reach.
    const bool target = LocalNumLockOn();
    flags = NumLockPacketFlags(flags, target);
    Log::Write("[KEY][NUMLOCK][TX_PREP] source=wmkey down=%d target=%d mode=authoritative flags=0x%X",
               key.down ? 1 : 0, target ? 1 : 0, static_cast<unsigned>(flags));
    const bool ok = InputSender().SendPriorityPacket(KeyPacket(key.scan, vk, flags));
    Log::Write("[KEY][NUMLOCK][TX] source=wmkey down=%d scan=%u flags=0x%X priority=1 ok=%d",
               key.down ? 1 : 0, key.scan, static_cast<unsigned>(flags), ok ? 1 : 0);
    return ok;
}

bool SendHookKey(uint32_t vk, uint32_t scan, uint32_t hookFlags, bool down) {
    const bool ready = TakeTcpRouteIfReady();
    const uint32_t msg = HookKeyMessage(hookFlags, down);
    LogKeyDiag("HOOK_TX_PREP", msg, vk, scan, hookFlags, ready ? "tcp" : "none");
    if (!ready) {
        if (vk == kVkNumLock)
            Log::Write(
                "[KEY][NUMLOCK][TX_SKIP] source=hook reason=tcp-not-ready down=%d scan=%lu hookFlags=0x%lX",
                down ? 1 : 0, static_cast<unsigned long>(scan), static_cast<unsigned long>(hookFlags));
        return false;
    }
    int32_t flags = KeyPacketFlagsOf(down, (hookFlags & kHookFlagExtended) != 0);
    if (vk != kVkNumLock) {
        const bool ok = InputSender().EnqueuePacket(KeyPacket(scan, vk, flags));
        Log::Write("[KEY][DIAG][HOOK_TX_TCP] vk=%lu scan=%lu down=%d flags=0x%X ok=%d",
                   static_cast<unsigned long>(vk), static_cast<unsigned long>(scan), down ? 1 : 0,
                   static_cast<unsigned>(flags), ok ? 1 : 0);
        return ok;
    }
    const bool local = LocalNumLockOn();
    const bool target = HookNumLockTarget(down, local);
    flags = NumLockPacketFlags(flags, target);
    Log::Write(
        "[KEY][NUMLOCK][TX_PREP] source=hook down=%d localState=%d target=%d mode=authoritative flags=0x%X",
        down ? 1 : 0, local ? 1 : 0, target ? 1 : 0, static_cast<unsigned>(flags));
    const bool ok = InputSender().SendPriorityPacket(KeyPacket(scan, vk, flags));
    Log::Write("[KEY][NUMLOCK][TX] source=hook down=%d scan=%lu hookFlags=0x%lX flags=0x%X priority=1 ok=%d",
               down ? 1 : 0, static_cast<unsigned long>(scan), static_cast<unsigned long>(hookFlags),
               static_cast<unsigned>(flags), ok ? 1 : 0);
    return ok;
}

bool QueueHidKey(uint32_t msg, uint32_t vk) {
    if (!SelectInputRoute())
        return false;
    return QueueHidKeyOnRoute(msg, vk);
}

bool QueueHidKeyOnRoute(uint32_t msg, uint32_t vk) {
    LogKeyDiag("HID_QUEUE_PREP", msg, FoldHidVirtualKey(vk), 0, 0, "hid-async");
    const HidKeyPlan plan = PlanHidKey(msg, vk, GetAsyncModifierMask());
    AsyncHidWorker& worker = AsyncHidWorker::Instance();
    if (FoldHidVirtualKey(vk) == kVkNumLock) {
        if (plan.count == 0)
            return true; // the tap went with the press
        const bool ok = worker.Enqueue(plan.items[0]);
        Log::Write("[HIDASYNC][NUMLOCK][QUEUE] queued=%d", ok ? 1 : 0);
        return ok;
    }
    bool ok = false;
    for (size_t i = 0; i < plan.count; ++i)
        ok = worker.Enqueue(plan.items[i]);
    if (!ok)
        Log::Write("[HIDASYNC][KEY][DROP] msg=0x%04X vk=%lu", msg, static_cast<unsigned long>(vk));
    return ok;
}

} // namespace InputRouter
