#include <windows.h>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "input/InjectionPlan.h"
#include "input/InputMessages.h"
#include "input/InputPacket.h"
#include "input/InputSender.h"
#include "input/KeyRouting.h"
#include "input/win/AsyncKeyState.h"
#include "input/win/AsyncHidWorker.h"
#include "input/win/InputRouter.h"
#include "input/win/InputRouterInternal.h"

namespace InputRouter {
namespace {

HWND AsWindow(uintptr_t window) {
    return reinterpret_cast<HWND>(window);
}

bool ClientSize(uintptr_t window, int32_t& width, int32_t& height) {
    HWND hwnd = AsWindow(window);
    RECT rc{};
    if (hwnd == nullptr || !::IsWindow(hwnd) || !::GetClientRect(hwnd, &rc))
        return false;
    width = rc.right - rc.left;
    height = rc.bottom - rc.top;
    return true;
}

// Marks the route as HID for the rest of the program (the status line, the watchdog) before an item goes.
void NoteHidFallback() {
    RuntimeStateManager().SetInputRoute(InputRoute::Hid, "HidFallbackQueued");
}

bool QueueHidMouseOnRoute(uintptr_t window, uint32_t msg, int32_t x, int32_t y) {
    NoteHidFallback();
    const HidPoint hid = MapClientPointToHidAbsolute(window, x, y);
    const bool ok = AsyncHidWorker::Instance().Enqueue(MakeHidMouseItem(msg, hid.x, hid.y));
    if (!ok || msg != InputMessage::kMouseMove)
        Log::Write("[HIDASYNC][MOUSE][QUEUE] msg=%s(0x%04X) client=%ld,%ld hid=%ld,%ld queued=%d",
                   MouseMessageName(msg), msg, static_cast<long>(x), static_cast<long>(y),
                   static_cast<long>(hid.x), static_cast<long>(hid.y), ok ? 1 : 0);
    return ok;
}

void LogButtonPrep(bool hid, uintptr_t window, uint32_t msg, int32_t button, bool down, int32_t x,
                   int32_t y) {
    int32_t rx = 0, ry = 0;
    const bool mapped = MapClientPointToRemote(window, x, y, rx, ry);
    const int l = IsAsyncKeyDown(VK_LBUTTON) ? 1 : 0;
    const int r = IsAsyncKeyDown(VK_RBUTTON) ? 1 : 0;
    const int m = IsAsyncKeyDown(VK_MBUTTON) ? 1 : 0;
    Log::Write(
        "[MOUSE][BTN][TX_PREP] route=%s msg=%s(0x%04X) button=%s(%d) down=%d client=%ld,%ld remote=%ld,%ld "
        "mapped=%d physL=%d physR=%d physM=%d inputConnected=%d hidForced=%d capture=0x%p focus=0x%p",
        hid ? "HID" : "TCP", MouseMessageName(msg), msg, MouseButtonName(button), button, down ? 1 : 0,
        static_cast<long>(x), static_cast<long>(y), static_cast<long>(rx), static_cast<long>(ry),
        mapped ? 1 : 0, l, r, m, InputSender().IsConnected() ? 1 : 0, IsHidForced() ? 1 : 0,
        static_cast<void*>(::GetCapture()), static_cast<void*>(::GetFocus()));
    Log::Write("[MOUSE][BTN][%s][STATE] L=%d R=%d M=%d last=%s:%s", "TX_PREP", l, r, m,
               MouseButtonName(button), down ? "down" : "up");
}

} // namespace

bool MapClientPointToRemote(uintptr_t window, int32_t x, int32_t y, int32_t& remoteX, int32_t& remoteY) {
    int32_t width = 0, height = 0;
    if (!ClientSize(window, width, height))
        return false;
    const RuntimeSnapshot s = RuntimeMakeSnapshot();
    const RemoteSize remote = RemoteSizeFor(s.desktopWidth, s.desktopHeight, s.streamWidth, s.streamHeight);
    return ::MapClientPointToRemote(width, height, remote, x, y, remoteX, remoteY);
}

HidPoint MapClientPointToHidAbsolute(uintptr_t window, int32_t x, int32_t y) {
    int32_t width = 0, height = 0;
    ClientSize(window, width, height);
    return ::MapClientPointToHidAbsolute(width, height, x, y);
}

bool SendRemoteMouseMove(int32_t x, int32_t y, bool priority) {
    if (!TakeTcpRouteIfReady())
        return false;
    const InputPacket packet = MakeInputPacket(InputPacketType::MouseMove, x, y, 0, 0);
    if (priority && InputSender().SendPriorityPacket(packet))
        return true;
    return InputSender().SendPacket(packet);
}

bool SendMouseButton(uintptr_t window, uint32_t msg, int32_t x, int32_t y) {
    const int32_t button = MouseButtonOfMessage(msg);
    const bool down = IsMouseButtonPress(msg);
    const bool hid = SelectInputRoute();
    if (Log::IsDebugCategoryEnabled("input"))
        LogButtonPrep(hid, window, msg, button, down, x, y);
    if (!hid) {
        const bool ok = InputSender().EnqueuePacket(
            MakeInputPacket(InputPacketType::MouseButton, 0, 0, button, down ? 1 : 0));
        Log::Write("[MOUSE][BTN][TX_TCP] button=%s(%d) down=%d ok=%d", MouseButtonName(button), button,
                   down ? 1 : 0, ok ? 1 : 0);
        return ok;
    }
    const bool ok = QueueHidMouseOnRoute(window, msg, x, y);
    Log::Write("[MOUSE][BTN][TX_HID] button=%s(%d) down=%d ok=%d", MouseButtonName(button), button,
               down ? 1 : 0, ok ? 1 : 0);
    return ok;
}

bool SendMouseWheel(uintptr_t window, int32_t delta, int32_t x, int32_t y) {
    if (!SelectInputRoute()) {
        int32_t rx = 0, ry = 0;
        if (!MapClientPointToRemote(window, x, y, rx, ry))
            rx = ry = 0;
        return InputSender().EnqueuePacket(MakeInputPacket(InputPacketType::MouseWheel, rx, ry, delta, 0));
    }
    NoteHidFallback();
    const HidPoint hid = MapClientPointToHidAbsolute(window, x, y);
    const bool ok = AsyncHidWorker::Instance().Enqueue(MakeHidWheelItem(hid.x, hid.y, delta));
    Log::Write("[HIDASYNC][WHEEL][QUEUE] delta=%d hid=%ld,%ld queued=%d", delta, static_cast<long>(hid.x),
               static_cast<long>(hid.y), ok ? 1 : 0);
    return ok;
}

bool QueueHidMouse(uintptr_t window, uint32_t msg, int32_t x, int32_t y) {
    if (!SelectInputRoute())
        return false;
    return QueueHidMouseOnRoute(window, msg, x, y);
}

bool CancelRemoteDrag() {
    if (!TakeTcpRouteIfReady())
        return false;
    IInputSender& sender = InputSender();
    const int32_t scan = static_cast<int32_t>(::MapVirtualKeyW(kVkEscape, MAPVK_VK_TO_VSC));
    const int32_t vk = static_cast<int32_t>(kVkEscape);
    const bool escDown = sender.SendPriorityPacket(MakeInputPacket(InputPacketType::Key, scan, 0, vk, 1));
    ::Sleep(5);
    const bool escUp = sender.SendPriorityPacket(MakeInputPacket(InputPacketType::Key, scan, 0, vk, 0));
    const bool leftUp = sender.SendPriorityPacket(MakeInputPacket(InputPacketType::MouseButton, 0, 0, 0, 0));
    const bool ok = escDown && escUp && leftUp;
    Log::Write("[INPUT][ROUTER][RDRAG-CANCEL] ESCx1 + left-up ok=%d", ok ? 1 : 0);
    return ok;
}

} // namespace InputRouter
