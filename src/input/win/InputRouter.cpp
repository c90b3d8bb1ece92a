#include "input/win/InputRouter.h"

#include <windows.h>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "input/InputPacket.h"
#include "input/InputRouteRules.h"
#include "input/InputSender.h"
#include "input/win/AsyncHidWorker.h"
#include "input/win/AsyncKeyState.h"
#include "input/win/HidPresence.h"
#include "input/win/InputRouterInternal.h"
#include "input/win/InputRouterState.h"

namespace InputRouter {
namespace {

void LogRoute(const RouteChoice& choice, bool tcpConnected, int32_t inputState, bool forced) {
    if (!choice.changed)
        return;
    Log::Write("[HIDROUTE][AUTO] route=%s tcpConnected=%d inputState=%d hidCached=%d forced=%d reason=%s",
               choice.hid ? "HID" : "TCP", tcpConnected ? 1 : 0, inputState, HidPresence::Cached(),
               forced ? 1 : 0, choice.reason);
}

struct RouteFacts {
    TcpReadyFacts tcp;
    bool ready = false;
};

RouteFacts GatherRouteFacts() {
    RouteFacts f;
    f.tcp.hidForced = IsHidForced();
    f.tcp.remoteControlActive = IsRemoteControlActive();
    f.tcp.inputConnected = InputSender().IsConnected();
    f.tcp.inputChannelState = RuntimeStateManager().GetChannelState(kChannelInput);
    f.ready = ::IsTcpReady(f.tcp);
    return f;
}

void SwitchToTcp(const RouteFacts& f) {
    const int32_t previous = RouterState().autoRoute.exchange(kAutoRouteTcp);
    const RouteChoice choice = ChooseInputRoute(true, f.tcp.hidForced, previous, HidPresence::Cached(),
                                                RouterState().hidAvailable.load());
    if (choice.cancelHidQueue)
        AsyncHidWorker::Instance().Cancel(choice.reason);
    LogRoute(choice, f.tcp.inputConnected, f.tcp.inputChannelState, f.tcp.hidForced);
}

void LogKeySyncTx(const char* tag, const char* reason, int32_t flags, bool tcpReady, bool ok) {
    if (!Log::IsDebugCategoryEnabled("input"))
        return;
    if (!LogThrottle::Allow(ok ? "input.key.sync.ok" : "input.key.sync.fail", ok ? 500 : 2000))
        return;
    auto bit = [flags](int32_t mask) { return (flags & mask) != 0 ? 1 : 0; };
    Log::Write("[KEY][SYNC][TX][%s] reason=%s flags=0x%X ctrl=%d alt=%d shift=%d win=%d num=%d caps=%d "
               "tcpReady=%d hidForced=%d ok=%d",
               tag, reason != nullptr ? reason : "", static_cast<unsigned>(flags), bit(KeySyncFlags::kCtrl),
               bit(KeySyncFlags::kAlt), bit(KeySyncFlags::kShift), bit(KeySyncFlags::kWin),
               bit(KeySyncFlags::kNumLock), bit(KeySyncFlags::kCapsLock), tcpReady ? 1 : 0,
               IsHidForced() ? 1 : 0, ok ? 1 : 0);
}

bool SendKeyboardSync(int32_t flags) {
    return InputSender().SendPriorityPacket(MakeInputPacket(
        InputPacketType::SystemKey, 0, 0, static_cast<int32_t>(SystemKeyCode::KeyboardSync), flags));
}

} // namespace

bool IsHidForced() {
    return RuntimeStateManager().IsHidForced();
}

bool IsRemoteControlActive() {
    return ::IsRemoteControlActive(RuntimeMakeSnapshot(), RuntimeStateManager().IsClientRunning());
}

bool IsTcpReady() {
    return GatherRouteFacts().ready;
}

bool TakeTcpRouteIfReady() {
    const RouteFacts f = GatherRouteFacts();
    if (f.ready)
        SwitchToTcp(f);
    return f.ready;
}

bool SelectInputRoute() {
    const RouteFacts f = GatherRouteFacts();
    if (f.ready) {
        SwitchToTcp(f);
        return false;
    }
    const int32_t previous = RouterState().autoRoute.exchange(kAutoRouteHid);
    const RouteChoice choice = ChooseInputRoute(false, f.tcp.hidForced, previous, HidPresence::Cached(),
                                                RouterState().hidAvailable.load());
    if (choice.startProbe)
        StartHidProbeAsync("input-route-cache-miss");
    AsyncHidWorker::Instance().Start();
    LogRoute(choice, f.tcp.inputConnected, f.tcp.inputChannelState, f.tcp.hidForced);
    return true;
}

void SetVirtualScreenInputScope(bool active, const char* reason) {
    InputRouterState& state = RouterState();
    if (state.virtualScreenScope.exchange(active) == active)
        return;
    if (active) {
        state.forwardedLeft.store(false);
        state.forwardedRight.store(false);
        state.forwardedMiddle.store(false);
        Log::Write("[VSCREEN][INPUT_SCOPE] active=1 reason=%s", reason != nullptr ? reason : "");
        return;
    }
    const char* why = reason != nullptr ? reason : "VirtualScreenScopeOff";
    const size_t purged = InputSender().PurgeMoves(why);
    const bool held[3] = {state.forwardedLeft.exchange(false), state.forwardedRight.exchange(false),
                          state.forwardedMiddle.exchange(false)};
    if (TakeTcpRouteIfReady())
        for (int32_t button = 0; button < 3; ++button)
            if (held[button])
                InputSender().EnqueuePacket(MakeInputPacket(InputPacketType::MouseButton, 0, 0, button, 0));
    Log::Write("[VSCREEN][INPUT_SCOPE] active=0 purge_moves=%zu release_buttons=%d/%d/%d reason=%s", purged,
               held[0] ? 1 : 0, held[1] ? 1 : 0, held[2] ? 1 : 0, why);
}

bool IsVirtualScreenInputScope() {
    return RouterState().virtualScreenScope.load();
}

void SetVirtualScreenButtonForwarded(int32_t button, bool down) {
    InputRouterState& state = RouterState();
    switch (button) {
    case 0:
        state.forwardedLeft.store(down);
        break;
    case 1:
        state.forwardedRight.store(down);
        break;
    case 2:
        state.forwardedMiddle.store(down);
        break;
    default:
        break;
    }
}

LocalKeyStates ReadLocalKeyStates() {
    LocalKeyStates keys;
    keys.ctrl = IsAsyncCtrlDown();
    keys.alt = IsAsyncAltDown();
    keys.shift = IsAsyncShiftDown();
    keys.win = IsAsyncWinDown();
    keys.numLock = (::GetKeyState(VK_NUMLOCK) & 1) != 0;
    keys.capsLock = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    return keys;
}

int32_t GetKeySyncFlags() {
    return KeySyncFlagsOf(ReadLocalKeyStates());
}

uint32_t GetAsyncModifierMask() {
    return HidModifierMaskOf(ReadLocalKeyStates());
}

bool SyncRemoteModifiers(const char* reason) {
    const LocalKeyStates keys = ReadLocalKeyStates();
    const int32_t flags = KeySyncFlagsOf(keys);
    if (!IsRemoteControlActive()) {
        LogKeySyncTx("SKIP_NOT_CONTROLLER", reason, flags, false, false);
        return false;
    }
    if (!SelectInputRoute()) {
        const bool ok = SendKeyboardSync(flags);
        LogKeySyncTx("TCP_PRIORITY", reason, flags, true, ok);
        return ok;
    }
    const bool ok = AsyncHidWorker::Instance().Enqueue(MakeHidSetModifiersItem(HidModifierMaskOf(keys)));
    LogKeySyncTx("HID_MODIFIERS_ASYNC", reason, flags, false, ok);
    return ok;
}

bool ReleaseRemoteModifiers(const char* reason) {
    const int32_t flags = ReleaseSyncFlagsOf(ReadLocalKeyStates());
    if (!SelectInputRoute()) {
        const bool ok = SendKeyboardSync(flags);
        LogKeySyncTx("RELEASE_TCP_PRIORITY", reason, flags, true, ok);
        return ok;
    }
    const bool ok = AsyncHidWorker::Instance().Enqueue(MakeHidReleaseModifiersItem());
    LogKeySyncTx("RELEASE_HID_ASYNC", reason, flags, false, ok);
    return ok;
}

} // namespace InputRouter
