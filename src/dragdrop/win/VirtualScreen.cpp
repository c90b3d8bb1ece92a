#include "dragdrop/win/VirtualScreen.h"

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/VirtualScreenEdge.h"
#include "dragdrop/VirtualScreenLink.h"
#include "dragdrop/VirtualScreenPackets.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/LocalDragMonitor.h"
#include "dragdrop/win/VirtualScreenState.h"

namespace {

// Sends the cursor after the scope and readiness rules; the motion counts what went out.
class LinkCursorSender final : public ICursorSender {
public:
    bool SendCursor(ScreenPoint remote, bool priority) override {
        IVirtualScreenLink& link = VirtualScreenLink();
        if (!link.IsInputScope()) {
            if (LogThrottle::Allow("vscreen.input.blocked", 10000))
                Log::Write("[VSCREEN][INPUT_BLOCK] packet=%s scope=0", "move");
            return false;
        }
        if (!link.IsInputReady())
            return false;
        const VirtualScreenPacket packet = CursorPacket(remote.x, remote.y);
        if (priority && link.Send(packet, true))
            return true;
        return link.Send(packet, false);
    }
};

LinkCursorSender g_cursorSender;

// What the drag service and RemoteView ask of the virtual screen.
class Edge final : public IVirtualScreenEdge {
public:
    int32_t Mode() override { return VirtualScreen::Mode(); }
    bool IsPointAtEdge(int32_t x, int32_t y) override {
        return VirtualScreen::IsPointAtEdge(POINT{x, y}, VirtualScreen::Mode(), kDropMargin);
    }
    bool DropFilesToRemote(const std::vector<std::u16string>& paths, int32_t x, int32_t y,
                           const char* reason) override {
        return VirtualScreen::DropFilesToRemote(paths, POINT{x, y}, VirtualScreen::Mode(), reason);
    }
};

Edge g_edge;

void SetCursorTo(ScreenPoint p) {
    ::SetCursorPos(p.x, p.y);
}

void StopDragOutWatch(VirtualScreenState& s) {
    s.dragOutPending = false;
    s.dragOutStartTick.store(0);
    if (s.manager != nullptr)
        ::KillTimer(s.manager, VirtualScreen::kDragOutTimerId);
}

// The drag visual off when it was on, as the mode change, the drop and the hook's release do.
void DragVisualOffIfSent(const char* reason) {
    if (VsState().dragVisualSent.load())
        VirtualScreen::SendDragVisualState(false, reason);
}

void LeaveDragOut(VirtualScreenState& s, const char* reason) {
    if (s.mode.load() == 0 || !DragDrop::IsRemoteDragPending())
        return;
    if (s.leftTrackedDown) {
        VsSetOverlay(true, "virtual-screen-remote-drag-out");
        s.dragOutStartTick.store(::GetTickCount() != 0 ? ::GetTickCount() : 1);
        s.dragOutPending = true;
        if (s.manager != nullptr)
            ::SetTimer(s.manager, VirtualScreen::kDragOutTimerId, VirtualScreen::kDragOutTimerMs, nullptr);
        DragDrop::ArmRemoteDrag(ReasonOr(reason, "virtual-screen-leave"));
        const bool physical = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 ||
                              (::GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0 ||
                              (::GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0;
        Log::Write("[VSCREEN][RDRAG_OUT] armed pending=1 trackedLeftDown=%d asyncPhysicalDown=%d reason=%s "
                   "tick=%lu",
                   1, physical ? 1 : 0, ReasonOr(reason, "virtual-screen-leave"),
                   static_cast<unsigned long>(s.dragOutStartTick.load()));
        return;
    }
    RemoteDragOffer().CancelForLocalDrop("virtual-screen-leave-without-held-left-button");
    StopDragOutWatch(s);
    VsSetOverlay(false, "virtual-screen-false-drag-guard");
    Log::Write("[VSCREEN][RDRAG_OUT][FALSE_DRAG_GUARD] cancel pending: left button not held reason=%s",
               ReasonOr(reason, "virtual-screen-leave"));
}

} // namespace

IVirtualScreenEdge& VsEdge() {
    return g_edge;
}

ICursorSender& VsCursorSender() {
    return g_cursorSender;
}

VirtualScreenState& VsState() {
    static VirtualScreenState* state = new VirtualScreenState(); // kept to process end: the hook may run late
    return *state;
}

ScreenRect VsDesktopRect() {
    return DesktopRectFrom(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                           ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN),
                           ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

RemoteScreenSize VsRemoteSize() {
    const RuntimeSnapshot s = RuntimeMakeSnapshot();
    return VirtualScreenRemoteSize(s.desktopWidth, s.desktopHeight, s.streamWidth, s.streamHeight);
}

ScreenPoint ToScreenPoint(POINT p) {
    return {static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)};
}

bool VsIsOverMainWindow(POINT p) {
    HWND main = VsState().mainWindow;
    RECT rc{};
    return main != nullptr && ::IsWindowVisible(main) && ::GetWindowRect(main, &rc) && ::PtInRect(&rc, p);
}

void VsSetOverlay(bool active, const char* reason) {
    if (active)
        DragVisualOverlay::StartOnce();
    const bool was = DragVisualOverlay::ExchangeActive(active);
    if (HWND overlay = DragVisualOverlay::Window())
        ::PostMessageW(overlay, WM_TIMER, DragVisualOverlay::kTimerId, 0);
    if (was != active)
        Log::Write("[DRAGVIS][STATE] active=%d reason=%s", active ? 1 : 0, reason);
}

namespace VirtualScreen {

bool IsStarted() {
    return VsState().manager != nullptr;
}

int32_t Mode() {
    return VsState().mode.load();
}

bool IsActive() {
    return VsState().active.load();
}

POINT RemoteCursor() {
    const ScreenPoint r = VsState().motion.Remote();
    return POINT{r.x, r.y};
}

bool IsPointAtEdge(POINT point, int32_t mode, int32_t margin) {
    return IsPointAtVirtualEdge(VsDesktopRect(), ToScreenPoint(point), mode, margin);
}

bool IsInputReady() {
    return VirtualScreenLink().IsInputReady();
}

void SendCursorMove(bool priority) {
    VsState().motion.Send(::GetTickCount(), priority, g_cursorSender);
}

void PinCursor() {
    VirtualScreenState& s = VsState();
    if (!s.active.load())
        return;
    POINT cursor{};
    if (::GetCursorPos(&cursor) && (cursor.x != s.pin.x || cursor.y != s.pin.y))
        SetCursorTo(s.pin);
}

void SendDragVisualState(bool active, const char* reason) {
    VirtualScreenState& s = VsState();
    if (s.dragVisualSent.load() == active)
        return;
    s.dragVisualSent.store(active);
    reason = ReasonOr(reason, "virtual-screen");
    IVirtualScreenLink& link = VirtualScreenLink();
    const bool ok = link.IsInputReady() && link.Send(DragVisualPacket(active), true);
    if (ok)
        Log::Write("[DRAGVIS][TX] active=%d reason=%s ok=%d", active ? 1 : 0, reason, 1);
    else
        Log::Write("[VSCREEN][DRAGVIS][TX_FAIL] active=%d reason=%s", active ? 1 : 0, reason);
}

void SetLocalFileDrag(bool active) {
    VsState().localFileDrag.store(active);
}

bool IsLocalFileDrag() {
    return VsState().localFileDrag.load();
}

uint32_t LastLocalDropTick() {
    return VsState().lastLocalDropTick.load();
}

uint32_t DragOutStartTick() {
    return VsState().dragOutStartTick.load();
}

IDropTarget* DropTarget() {
    return VsState().dropTarget.Get();
}

bool IsHookInstalled() {
    return static_cast<bool>(VsState().hook);
}

bool IsRawInputRegistered() {
    return VsState().rawRegistered;
}

void RegisterRawInput(bool on, const char* reason) {
    VirtualScreenState& s = VsState();
    if (s.rawRegistered == on || (on && s.manager == nullptr))
        return;
    RAWINPUTDEVICE device{};
    device.usUsagePage = 1;
    device.usUsage = 2;
    device.dwFlags = on ? RIDEV_INPUTSINK : RIDEV_REMOVE;
    device.hwndTarget = on ? s.manager : nullptr;
    const BOOL ok = ::RegisterRawInputDevices(&device, 1, sizeof(device));
    const DWORD gle = ok ? 0 : ::GetLastError();
    if (ok)
        s.rawRegistered = on;
    Log::Write("[VSCREEN][RAW] %s ok=%d gle=%lu reason=%s", on ? "register" : "remove", ok ? 1 : 0, gle,
               ReasonOr(reason, ""));
}

void SetMode(int32_t requested) {
    VirtualScreenState& s = VsState();
    const int32_t mode = ClampVirtualScreenMode(requested);
    const int32_t old = s.mode.exchange(mode);
    if (mode != 0) {
        if (!s.hook) {
            s.hook.Reset(::SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, ::GetModuleHandleW(nullptr), 0));
            if (s.hook)
                Log::Write("[VSCREEN][HOOK] installed reason=%s", "mode-on");
            else
                Log::Write("[VSCREEN][HOOK] install failed gle=%lu reason=%s", ::GetLastError(), "mode-on");
        }
        RegisterRawInput(true, "mode-on");
        VsUpdateEdgeWindow();
        Log::Write("[VSCREEN][MODE] old=%d new=%d active=%d", old, mode, s.active.load() ? 1 : 0);
        return;
    }
    if (s.hook) {
        s.hook.Reset();
        Log::Write("[VSCREEN][HOOK] uninstalled reason=%s", "mode-off");
    }
    RegisterRawInput(false, "mode-off");
    VirtualScreenLink().SetInputScope(false, "virtual-screen-mode-off");
    s.motion.ClearPending();
    DragVisualOffIfSent("virtual-screen-mode-off");
    s.oleDragOverEdge = false;
    s.localFileDrag.store(false);
    s.leftTrackedDown = false;
    StopDragOutWatch(s);
    VirtualScreenLeave("mode-off");
    VsUpdateEdgeWindow();
    Log::Write("[VSCREEN][MODE] old=%d new=%d active=%d", old, mode, s.active.load() ? 1 : 0);
}

bool DropRemoteDragOut(const char* reason) {
    VirtualScreenState& s = VsState();
    if (!s.dragOutPending)
        return false;
    if (!DragDrop::IsRemoteDragPending()) {
        StopDragOutWatch(s);
        VsSetOverlay(false, "virtual-screen-remote-drag-no-pending");
        return false;
    }
    const uint32_t age = ::GetTickCount() - s.dragOutStartTick.load();
    const std::string target = RuntimeMakeSnapshot().cursorPath;
    const bool ok = RemoteDragOffer().TriggerDownload(Utf8ToUtf16(target));
    if (!ok)
        VsSetOverlay(false, "virtual-screen-remote-drag-drop-failed");
    VirtualScreenLink().CancelRemoteDrag();
    StopDragOutWatch(s);
    Log::Write("[VSCREEN][RDRAG_OUT][DROP] reason=%s target=%s ok=%d age=%lu", ReasonOr(reason, ""),
               target.empty() ? "<default>" : target.c_str(), ok ? 1 : 0, static_cast<unsigned long>(age));
    return ok;
}

} // namespace VirtualScreen

void VirtualScreenEnter(int32_t mode, POINT point, const char* reason) {
    VirtualScreenState& s = VsState();
    if (mode == 0 || s.active.load() || VsIsOverMainWindow(point))
        return;
    IVirtualScreenLink& link = VirtualScreenLink();
    if (!link.IsInputReady()) {
        if (LogThrottle::Allow("vscreen.enter.skip", 1000))
            Log::Write("[VSCREEN][ENTER-SKIP] input route not ready mode=%d", mode);
        return;
    }
    const ScreenRect desktop = VsDesktopRect();
    const RemoteScreenSize size = VsRemoteSize();
    const ScreenPoint local = ToScreenPoint(point);
    s.motion.Begin(RemoteCursorForEntry(mode, local, desktop, size), size);
    s.pin = PinPointForEntry(mode, local, desktop);
    s.entryMode = mode;
    s.leftTrackedDown = false;
    s.active.store(true);
    link.SetInputScope(true, ReasonOr(reason, "VirtualScreenEnter"));
    if (s.manager != nullptr)
        ::SetTimer(s.manager, VirtualScreen::kMoveTimerId, VirtualScreen::kMoveTimerMs, nullptr);
    SetCursorTo(s.pin);
    link.SyncModifiers(ReasonOr(reason, "VirtualScreenEnter"));
    VirtualScreen::SendCursorMove(true);
    const ScreenPoint remote = s.motion.Remote();
    Log::Write("[VSCREEN][ENTER] reason=%s mode=%d local=%ld,%ld pin=%ld,%ld remote=%d,%d size=%dx%d",
               ReasonOr(reason, "VirtualScreenEnter"), mode, point.x, point.y, static_cast<long>(s.pin.x),
               static_cast<long>(s.pin.y), remote.x, remote.y, size.width, size.height);
}

void VirtualScreenLeave(const char* reason) {
    VirtualScreenState& s = VsState();
    IVirtualScreenLink& link = VirtualScreenLink();
    if (!s.active.load()) {
        link.SetInputScope(false, ReasonOr(reason, "VirtualScreenLeaveInactive"));
        return;
    }
    s.active.store(false);
    link.SetInputScope(false, ReasonOr(reason, "VirtualScreenLeave"));
    s.motion.ClearPending();
    const int32_t mode = s.entryMode;
    const ScreenPoint restore = RestorePointForLeave(mode, s.pin, VsDesktopRect());
    if (s.localFileDrag.exchange(false)) {
        VirtualScreen::SendDragVisualState(false, ReasonOr(reason, "virtual-screen-leave-local-drag"));
        Log::Write("[VSCREEN][LOCAL_DRAG] leave clears local-file-drag reason=%s", ReasonOr(reason, ""));
    } else {
        LeaveDragOut(s, reason);
    }
    s.motion.Reset();
    s.lastHookPoint = {INT_MIN, INT_MIN};
    SetCursorTo(restore);
    link.ReleaseModifiers(ReasonOr(reason, "VirtualScreenLeave"));
    const MoveCounters& c = s.motion.Counters();
    Log::Write("[VSCREEN][MOVE_STATS] raw=%llu sent=%llu coalesced=%llu stale=%llu reason=%s",
               static_cast<unsigned long long>(c.raw), static_cast<unsigned long long>(c.sent),
               static_cast<unsigned long long>(c.coalesced), static_cast<unsigned long long>(c.stale),
               ReasonOr(reason, ""));
    const ScreenPoint remote = s.motion.Remote();
    Log::Write("[VSCREEN][LEAVE] reason=%s restore=%ld,%ld remote=%d,%d mode=%d", ReasonOr(reason, ""),
               static_cast<long>(restore.x), static_cast<long>(restore.y), remote.x, remote.y, mode);
}
