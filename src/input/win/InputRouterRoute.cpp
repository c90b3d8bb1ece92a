#include "input/win/InputRouterRoute.h"

#include "input/win/InputRouter.h"
#include "input/win/KeyboardHook.h"

namespace {

class RouterInputRoute final : public IRemoteInputRoute {
public:
    bool IsRemoteControlActive() override { return InputRouter::IsRemoteControlActive(); }
    bool IsTcpReady() override { return InputRouter::IsTcpReady(); }
    bool SendRemoteMouseMove(int32_t x, int32_t y, bool priority) override {
        return InputRouter::SendRemoteMouseMove(x, y, priority);
    }
    bool SendMouseButton(uintptr_t window, uint32_t message, int32_t x, int32_t y) override {
        return InputRouter::SendMouseButton(window, message, x, y);
    }
    bool SendMouseWheel(uintptr_t window, int32_t delta, int32_t x, int32_t y) override {
        return InputRouter::SendMouseWheel(window, delta, x, y);
    }
    bool QueueHidMouse(uintptr_t window, uint32_t message, int32_t x, int32_t y) override {
        return InputRouter::QueueHidMouse(window, message, x, y);
    }
    bool SendWmKey(uint32_t message, uint32_t virtualKey, intptr_t lParam) override {
        return InputRouter::SendWmKey(message, virtualKey, lParam);
    }
    bool SyncRemoteModifiers(const char* reason) override { return InputRouter::SyncRemoteModifiers(reason); }
    bool ReleaseRemoteModifiers(const char* reason) override {
        return InputRouter::ReleaseRemoteModifiers(reason);
    }
    bool SendHookKey(uint32_t virtualKey, uint32_t scanCode, uint32_t hookFlags, bool down) override {
        return InputRouter::SendHookKey(virtualKey, scanCode, hookFlags, down);
    }
    bool QueueHidKey(uint32_t message, uint32_t virtualKey) override {
        return InputRouter::QueueHidKey(message, virtualKey);
    }
    bool SelectInputRoute() override { return InputRouter::SelectInputRoute(); }
    bool IsVirtualScreenInputScope() override { return InputRouter::IsVirtualScreenInputScope(); }
    bool CancelRemoteDrag() override { return InputRouter::CancelRemoteDrag(); }
    void ClearHookKeyState(const char* reason) override { KeyboardHook::ClearHookKeyState(reason); }
};

} // namespace

IRemoteInputRoute& InputRouterRoute() {
    static RouterInputRoute* route = new RouterInputRoute();
    return *route;
}

void InstallInputRouterRoute() {
    SetRemoteInputRoute(&InputRouterRoute());
}
