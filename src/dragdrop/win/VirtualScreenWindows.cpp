#include <windows.h>
#include <shellapi.h>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/StallScope.h"
#include "dragdrop/VirtualScreenEdge.h"
#include "dragdrop/VirtualScreenHookRules.h"
#include "dragdrop/VirtualScreenLink.h"
#include "dragdrop/VirtualScreenPackets.h"
#include "dragdrop/win/DragDrop.h"
#include "dragdrop/win/VirtualScreen.h"
#include "dragdrop/win/VirtualScreenState.h"

// The virtual screen's windows, hook and raw input: the shell around the decisions of the core.
namespace {

constexpr uint32_t kDragOutWatchMs = 15000;

uint32_t Now() {
    return ::GetTickCount();
}

bool AnyButtonDown() {
    return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 || (::GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0 ||
           (::GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0;
}

void LogBlocked(const char* packet) {
    if (LogThrottle::Allow("vscreen.input.blocked", 10000))
        Log::Write("[VSCREEN][INPUT_BLOCK] packet=%s scope=0", packet);
}

void ForwardButton(uint32_t message) {
    int32_t button = 0;
    bool down = false;
    HookButtonOf(message, button, down);
    VirtualScreen::SendCursorMove(true);
    IVirtualScreenLink& link = VirtualScreenLink();
    if (!link.IsInputScope()) {
        LogBlocked("button");
        return;
    }
    if (!link.IsInputReady())
        return;
    VirtualScreenState& s = VsState();
    const ScreenPoint r = s.motion.Remote();
    link.Send(CursorPacket(r.x, r.y), true);
    const bool ok = link.Send(ButtonPacket(button, down), false);
    if (ok)
        link.NoteButtonForwarded(button, down);
    if (Log::IsDebugCategoryEnabled("input"))
        Log::Write("[VSCREEN][MOUSE][BTN] button=%d down=%d remote=%d,%d ok=%d", button, down ? 1 : 0, r.x,
                   r.y, ok ? 1 : 0);
}

void ForwardWheel(uint32_t mouseData, bool horizontal) {
    const int16_t delta = WheelDeltaOf(mouseData);
    if (horizontal)
        Log::Write("[VSCREEN][WHEEL] horizontal wheel mapped to wheel delta=%d", delta);
    VirtualScreen::SendCursorMove(true);
    IVirtualScreenLink& link = VirtualScreenLink();
    if (!link.IsInputScope()) {
        LogBlocked("wheel");
        return;
    }
    if (link.IsInputReady()) {
        const ScreenPoint r = VsState().motion.Remote();
        link.Send(WheelPacket(r.x, r.y, delta), false);
    }
}

void EndLocalFileDrag(uint32_t message) {
    VirtualScreenState& s = VsState();
    s.localFileDrag.store(false);
    if (s.dragVisualSent.load())
        VirtualScreen::SendDragVisualState(false, "virtual-screen-local-drag-mouse-up");
    const ScreenPoint r = s.motion.Remote();
    Log::Write("[VSCREEN][LOCAL_DRAG] mouse-up clears local-file-drag msg=0x%04lx remote=%d,%d",
               static_cast<unsigned long>(message), r.x, r.y);
}

void OnRawInput(HRAWINPUT handle) {
    RAWINPUT input{};
    UINT size = sizeof(input);
    if (::GetRawInputData(handle, RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1))
        return;
    if (input.header.dwType != RIM_TYPEMOUSE || (input.data.mouse.usFlags & MOUSE_MOVE_ABSOLUTE) != 0)
        return;
    const uint32_t age = Now() - static_cast<uint32_t>(::GetMessageTime());
    VirtualScreen::OnRawMouse(input.data.mouse.lLastX, input.data.mouse.lLastY, age);
}

void OnMoveTimer(HWND hwnd) {
    VirtualScreenState& s = VsState();
    if (!s.active.load()) {
        ::KillTimer(hwnd, VirtualScreen::kMoveTimerId);
        return;
    }
    VirtualScreen::PinCursor();
    if (s.motion.MovePending()) {
        const uint32_t last = s.motion.LastSendTick();
        if (last == 0 || Now() - last >= kCursorSendIntervalMs)
            VirtualScreen::SendCursorMove(false);
    }
}

void OnDragOutTimer(HWND hwnd) {
    VirtualScreenState& s = VsState();
    if (!s.dragOutPending)
        return;
    if (!DragDrop::IsRemoteDragPending()) {
        s.dragOutPending = false;
        ::KillTimer(hwnd, VirtualScreen::kDragOutTimerId);
        Log::Write("[VSCREEN][RDRAG_OUT][WATCH] stop no-pending");
        return;
    }
    const uint32_t age = Now() - s.dragOutStartTick.load();
    if (age > kDragOutWatchMs) {
        VirtualScreen::DropRemoteDragOut("watch-timeout-fallback");
        Log::Write("[VSCREEN][RDRAG_OUT][WATCH] timeout fallback age=%lu", static_cast<unsigned long>(age));
        return;
    }
    VsSetOverlay(true, "virtual-screen-remote-drag-wait-up");
}

void OnEdgeDropFiles(HDROP drop) {
    std::vector<std::u16string> paths;
    const bool extracted = DragDrop::ExtractHdropFiles(drop, paths, true);
    POINT cursor{};
    if (!::GetCursorPos(&cursor))
        cursor = {};
    const int32_t mode = VirtualScreen::Mode();
    bool ok = false;
    if (extracted && mode != 0 && VirtualScreen::IsPointAtEdge(cursor, mode, kDropMargin))
        ok = VirtualScreen::DropFilesToRemote(paths, cursor, mode, "edge-wm-dropfiles");
    Log::Write("[VSCREEN][DROP][WM_DROPFILES] extracted=%d count=%u ok=%d pt=%ld,%ld mode=%d",
               extracted ? 1 : 0, static_cast<unsigned>(paths.size()), ok ? 1 : 0, cursor.x, cursor.y, mode);
}

HookFacts GatherHookFacts(WPARAM wParam, const MSLLHOOKSTRUCT& data) {
    VirtualScreenState& s = VsState();
    HookFacts f;
    f.mode = s.mode.load();
    f.active = s.active.load();
    f.message = static_cast<uint32_t>(wParam);
    f.injected = (data.flags & LLMHF_INJECTED) != 0;
    f.oleDragOverEdge = s.oleDragOverEdge;
    f.localFileDrag = s.localFileDrag.load();
    f.dragOutPending = s.dragOutPending;
    f.point = ToScreenPoint(data.pt);
    f.lastPoint = s.lastHookPoint;
    f.lastPointValid = s.lastHookPoint.x != INT_MIN || s.lastHookPoint.y != INT_MIN;
    if (f.active) {
        f.inputReady = VirtualScreenLink().IsInputReady();
    } else if (f.mode != 0 && !f.injected) {
        f.offerHeld = f.dragOutPending && DragDrop::IsRemoteDragPending();
        if (f.message == HookMessage::kMouseMove) {
            f.atCrossingEdge = IsPointAtVirtualEdge(VsDesktopRect(), f.point, f.mode, kCrossingMargin);
            if (f.atCrossingEdge) {
                f.anyButtonDown = AnyButtonDown();
                f.overMainWindow = VsIsOverMainWindow(data.pt);
            }
        }
    }
    return f;
}

} // namespace

LRESULT CALLBACK VsManagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        Log::Write("[VSCREEN][RAW] deferred while mode=off");
        return 0;
    case WM_INPUT:
        if (VirtualScreen::Mode() != 0)
            OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_TIMER:
        if (wParam == VirtualScreen::kMoveTimerId)
            OnMoveTimer(hwnd);
        else if (wParam == VirtualScreen::kDragOutTimerId)
            OnDragOutTimer(hwnd);
        return 0;
    case kMsgDragOutDrop:
        VirtualScreen::DropRemoteDragOut("mouse-hook-local-up");
        return 0;
    case kMsgDropDone:
        VsDrainDropCompletions();
        return 0;
    case WM_DISPLAYCHANGE:
        VsUpdateEdgeWindow();
        return 0;
    case WM_DESTROY:
        ::KillTimer(hwnd, VirtualScreen::kMoveTimerId);
        ::KillTimer(hwnd, VirtualScreen::kDragOutTimerId);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT CALLBACK VsEdgeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return 0;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return TRUE;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DISPLAYCHANGE:
        VsUpdateEdgeWindow();
        return 0;
    case WM_DROPFILES:
        OnEdgeDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void VsUpdateEdgeWindow() {
    VirtualScreenState& s = VsState();
    if (s.edge == nullptr)
        return;
    const int32_t mode = s.mode.load();
    ::ShowWindow(s.edge, SW_HIDE);
    if (mode == 0)
        return;
    const ScreenRect strip = EdgeStrip(mode, VsDesktopRect());
    Log::Write("[VSCREEN][EDGE] mode=%d logical=%d,%d,%d,%d visible=0 reason=ole-edge-disabled", mode,
               strip.left, strip.top, strip.right, strip.bottom);
}

namespace VirtualScreen {

bool Start(HINSTANCE instance, HWND main) {
    VirtualScreenState& s = VsState();
    if (s.manager != nullptr)
        return true;
    s.mainWindow = main;
    WNDCLASSW manager{};
    manager.lpfnWndProc = VsManagerProc;
    manager.hInstance = instance;
    manager.lpszClassName = kManagerClass;
    ::RegisterClassW(&manager); // registered already by an earlier start: fine
    WNDCLASSW edge{};
    edge.lpfnWndProc = VsEdgeProc;
    edge.hInstance = instance;
    edge.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    edge.lpszClassName = kEdgeClass;
    ::RegisterClassW(&edge);

    s.manager = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kManagerClass, L"", WS_POPUP, 0, 0, 1,
                                  1, nullptr, nullptr, instance, nullptr);
    if (s.manager == nullptr) {
        Log::Write("[VSCREEN][START] manager window create failed gle=%lu", ::GetLastError());
        return false;
    }
    s.edge = ::CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                               kEdgeClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (s.edge == nullptr) {
        Log::Write("[VSCREEN][START] edge window create failed gle=%lu", ::GetLastError());
        ::DestroyWindow(std::exchange(s.manager, nullptr));
        return false;
    }
    ::SetLayeredWindowAttributes(s.edge, 0, 1, LWA_ALPHA);
    ::DragAcceptFiles(s.edge, TRUE);
    DragDrop::AllowShellDropMessages(s.edge, "VirtualScreenEdge");
    const HRESULT oleHr = ::OleInitialize(nullptr);
    s.oleInitialized = SUCCEEDED(oleHr);
    *s.dropTarget.ReleaseAndGetAddressOf() = new VirtualScreenDropTarget();
    const HRESULT registerHr = ::RegisterDragDrop(s.edge, s.dropTarget.Get());
    s.dropTargetRegistered = SUCCEEDED(registerHr);
    Log::Write("[VSCREEN][START] OleInitialize hr=0x%08lx RegisterDragDrop hr=0x%08lx",
               static_cast<unsigned long>(oleHr), static_cast<unsigned long>(registerHr));
    VsUpdateEdgeWindow();
    SetVirtualScreenEdge(&VsEdge());
    return true;
}

void Stop() {
    VirtualScreenState& s = VsState();
    if (s.manager == nullptr)
        return;
    SetMode(0);
    SetVirtualScreenEdge(nullptr);
    if (s.dropTargetRegistered) {
        const HRESULT hr = ::RevokeDragDrop(s.edge);
        s.dropTargetRegistered = false;
        Log::Write("[VSCREEN][STOP] RevokeDragDrop hr=0x%08lx", static_cast<unsigned long>(hr));
    }
    s.dropTarget.Reset();
    // SetMode(0) removes both; a failed removal is tried again here so nothing outlives the windows.
    s.hook.Reset();
    RegisterRawInput(false, "stop");
    ::DestroyWindow(std::exchange(s.edge, nullptr));
    ::DestroyWindow(std::exchange(s.manager, nullptr));
    if (std::exchange(s.oleInitialized, false))
        ::OleUninitialize();
    {
        std::lock_guard<std::mutex> lock(s.completionMutex);
        s.completions.clear();
    }
    s.mainWindow = nullptr;
    Log::Write("[VSCREEN][STOP] stopped");
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    StallScope stall("MouseHook", "VirtualScreenMouseHookProc", 20);
    if (code != HC_ACTION || lParam == 0)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto& data = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    VirtualScreenState& s = VsState();
    const auto message = static_cast<uint32_t>(wParam);
    s.leftTrackedDown = TrackLeftButton(s.leftTrackedDown, message, (data.flags & LLMHF_INJECTED) != 0);
    const HookFacts facts = GatherHookFacts(wParam, data);
    const ScreenPoint point = ToScreenPoint(data.pt);
    switch (DecideHookAction(facts)) {
    case HookAction::PinAndSwallow:
        PinCursor();
        return 1;
    case HookAction::ForwardButton:
        ForwardButton(message);
        return 1;
    case HookAction::ForwardWheel:
        ForwardWheel(data.mouseData, message == HookMessage::kMouseHWheel);
        return 1;
    case HookAction::PinAndPass:
        PinCursor();
        s.lastHookPoint = point;
        break;
    case HookAction::EndLocalDrag:
        s.lastHookPoint = point;
        EndLocalFileDrag(message);
        break;
    case HookAction::LeaveInputLost:
        VirtualScreenLeave("input-route-lost-hook");
        s.lastHookPoint = point;
        break;
    case HookAction::PostDragOutDrop:
        // The download must not start inside the hook: it runs once the hook has returned. The press was
        // swallowed while on the peer, so its release is swallowed too.
        s.lastHookPoint = point;
        if (::PostMessageW(s.manager, kMsgDragOutDrop, 0, 0))
            return 1;
        break;
    case HookAction::EnterAtEdge:
        VirtualScreenEnter(facts.mode, data.pt, "mouse-hook-edge");
        s.lastHookPoint = point;
        return 1;
    case HookAction::PassOn:
        s.lastHookPoint = point;
        break;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void OnRawMouse(int32_t dx, int32_t dy, uint32_t ageMs) {
    VirtualScreenState& s = VsState();
    const int32_t mode = s.mode.load();
    if (mode == 0 || (dx == 0 && dy == 0))
        return;
    if (s.active.load()) {
        switch (s.motion.OnRaw(mode, dx, dy, ageMs, Now(), IsInputReady(), VsCursorSender())) {
        case RawMotionResult::InputLost:
            VirtualScreenLeave("input-route-lost-raw");
            return;
        case RawMotionResult::BackToLocal:
            VirtualScreenLeave("raw-back-to-local");
            return;
        default:
            break;
        }
        if (s.localFileDrag.load() && Log::IsDebugCategoryEnabled("drag") &&
            LogThrottle::Allow("vscreen.dragmove", 2001)) {
            const ScreenPoint r = s.motion.Remote();
            Log::Write("[VSCREEN][DRAGMOVE] local-file-drag dx=%ld dy=%ld remote=%d,%d mode=%d",
                       static_cast<long>(dx), static_cast<long>(dy), r.x, r.y, mode);
        }
        return;
    }
    if (ageMs > kRawStaleMs)
        return;
    POINT cursor{};
    if (!::GetCursorPos(&cursor) || AnyButtonDown() || VsIsOverMainWindow(cursor) ||
        !IsPointAtVirtualEdge(VsDesktopRect(), ToScreenPoint(cursor), mode, kCrossingMargin) ||
        !IsOutwardMotion(mode, dx, dy))
        return;
    VirtualScreenEnter(mode, cursor, "raw-edge");
}

} // namespace VirtualScreen
