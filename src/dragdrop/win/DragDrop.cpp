#include "dragdrop/win/DragDrop.h"

#include <atomic>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "dragdrop/RemoteDragOffer.h"
#include "dragdrop/RemoteDragSlot.h"
#include "dragdrop/VirtualScreenEdge.h"
#include "dragdrop/win/LocalDragMonitor.h"

namespace {

std::atomic<bool> g_running{false};
std::atomic<bool> g_monitorCreated{false};
std::atomic<HINSTANCE> g_instance{nullptr};
std::atomic<HWND> g_monitorWindow{nullptr};

constexpr unsigned kIdlePollMs = 120;
constexpr unsigned kActiveDragPollMs = 30;
constexpr int kMinThreshold = 12;
constexpr int kMaxCancel = 1400;

bool CreateMonitorWindow(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LocalDragMonitorWndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kLocalDragMonitorClass;
    ::RegisterClassW(&wc); // an earlier start may have registered it
    HWND hwnd = ::CreateWindowExW(0, kLocalDragMonitorClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr);
    g_monitorWindow.store(hwnd);
    return hwnd != nullptr;
}

} // namespace

namespace DragDrop {

void KeepInstance(HINSTANCE instance) {
    g_instance.store(instance);
}

bool Start(HINSTANCE instance) {
    StallScope stall("DragDrop", "Start", 200);
    if (instance == nullptr)
        instance = g_instance.load();
    else
        g_instance.store(instance);
    if (instance == nullptr) {
        Log::Write("[DRAG][SERVICE][START] skipped no hInst");
        return false;
    }
    bool expected = false;
    if (!g_running.compare_exchange_strong(expected, true)) {
        if (LogThrottle::Allow("drag.service.start.already", 5000))
            Log::Write("[DRAG][SERVICE][START] already running");
        return true;
    }
    bool ok = true;
    if (!g_monitorCreated.exchange(true)) {
        if (CreateMonitorWindow(instance)) {
            LocalDragMonitorResetDrag();
            Log::Write("[DRAGMON] Local drag monitor started: idlePoll=%ums activeDragPoll=%ums Shell "
                       "selection=async minThreshold=%d maxCancel=%d",
                       kIdlePollMs, kActiveDragPollMs, kMinThreshold, kMaxCancel);
            Log::Write(
                "[DRAGMON] Local->remote file drop now relies on RemoteView WM_DROPFILES; remote->local "
                "drag-out keeps using cursor path on mouse-up.");
        } else {
            Log::Write("[DRAGMON] Create hidden timer window failed gle=%lu", ::GetLastError());
            g_monitorCreated.store(false);
            g_running.store(false);
            ok = false;
        }
    }
    Log::Write("[DRAG][SERVICE][START] ok=%d", ok ? 1 : 0);
    return ok;
}

void Stop() {
    StallScope stall("DragDrop", "Stop", 200);
    bool expected = true;
    if (!g_running.compare_exchange_strong(expected, false)) {
        if (LogThrottle::Allow("drag.service.stop.already", 5000))
            Log::Write("[DRAG][SERVICE][STOP] already stopped");
        return;
    }
    Log::Write("[DRAG][SERVICE][STOP]");
    if (!g_monitorCreated.exchange(false))
        return;
    LocalDragMonitorClearCaches();
    RuntimeSetDropReady(false, 0, 0, nullptr);
    RemoteDragOffer().ClearSelection("SERVICE_STOP_CLEAR", "local-drag-monitor-stop");
    RuntimeSetRemoteDrag(false, 0, 0, 0, 0, "");
    if (HWND hwnd = g_monitorWindow.exchange(nullptr))
        ::DestroyWindow(hwnd);
    Log::Write("[DRAGMON] Local drag monitor stopped");
}

bool IsRunning() {
    return g_running.load();
}

bool ExtractHdropFiles(HDROP drop, std::vector<std::u16string>& paths, bool finish) {
    StallScope stall("DragDrop", "ExtractHdropFiles", 200);
    paths.clear();
    if (drop == nullptr)
        return false;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    paths.reserve(count);
    std::u16string name;
    for (UINT i = 0; i < count; ++i) {
        // Ask for the length first: a fixed buffer would cut long paths and offer the wrong file.
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        name.assign(static_cast<size_t>(length) + 1, u'\0');
        const UINT copied = ::DragQueryFileW(drop, i, reinterpret_cast<wchar_t*>(name.data()), length + 1);
        if (copied == 0)
            continue;
        name.resize(copied);
        paths.push_back(name);
    }
    if (finish)
        ::DragFinish(drop);
    Log::Write("[DRAG][HDROP] extracted count=%u valid=%u", count, static_cast<unsigned>(paths.size()));
    return !paths.empty();
}

bool AllowShellDropMessages(HWND hwnd, const char* owner) {
    if (owner == nullptr)
        owner = "";
    if (hwnd == nullptr || !::IsWindow(hwnd)) {
        Log::Write("[DRAG][UIPI] allow shell drop skipped owner=%s hwnd=0", owner);
        return false;
    }
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr)
        user32 = ::LoadLibraryW(L"user32.dll");
    using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
    using Filter = BOOL(WINAPI*)(UINT, DWORD);
    auto filterEx = user32 != nullptr ? reinterpret_cast<FilterEx>(reinterpret_cast<void*>(
                                            ::GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
                                      : nullptr;
    auto filter = user32 != nullptr ? reinterpret_cast<Filter>(reinterpret_cast<void*>(
                                          ::GetProcAddress(user32, "ChangeWindowMessageFilter")))
                                    : nullptr;
    constexpr UINT kMessages[] = {WM_DROPFILES, WM_COPYDATA, 0x0049 /* WM_COPYGLOBALDATA */};
    bool any = false;
    if (filterEx != nullptr) {
        for (UINT msg : kMessages) {
            const BOOL ok = filterEx(hwnd, msg, MSGFLT_ALLOW, nullptr);
            const DWORD gle = ok ? 0 : ::GetLastError();
            Log::Write("[DRAG][UIPI] ChangeWindowMessageFilterEx owner=%s hwnd=0x%p msg=0x%04X ok=%d gle=%lu",
                       owner, static_cast<void*>(hwnd), msg, ok ? 1 : 0, gle);
            any = any || ok;
        }
        return any;
    }
    if (filter != nullptr) {
        for (UINT msg : kMessages) {
            const BOOL ok = filter(msg, MSGFLT_ADD);
            const DWORD gle = ok ? 0 : ::GetLastError();
            Log::Write("[DRAG][UIPI] ChangeWindowMessageFilter owner=%s msg=0x%04X ok=%d gle=%lu", owner, msg,
                       ok ? 1 : 0, gle);
            any = any || ok;
        }
        return any;
    }
    Log::Write("[DRAG][UIPI] no ChangeWindowMessageFilter API owner=%s", owner);
    return false;
}

bool IsRemoteDragPending() {
    return RemoteDragSlot::Instance().IsHeld();
}

void ArmRemoteDrag(const char* reason) {
    uint64_t dragId = 0;
    if (RemoteDragSlot::Instance().Arm(RuntimeGetRole(), dragId))
        Log::Write("[RDRAG][ARM] dragId=%llu reason=%s", static_cast<unsigned long long>(dragId),
                   reason != nullptr ? reason : "");
}

bool VirtualScreenLocalDrop(const std::vector<std::u16string>& paths, POINT screen, const char* reason) {
    StallScope stall("DragDrop", "VirtualScreenLocalDrop", 200);
    if (reason == nullptr || *reason == '\0')
        reason = "public-edge-drop";
    IVirtualScreenEdge& edge = VirtualScreenEdge();
    const int32_t mode = edge.Mode();
    switch (DecideEdgeDrop(mode, mode != 0 && edge.IsPointAtEdge(screen.x, screen.y))) {
    case EdgeDropDecision::SkipModeOff:
        Log::Write("[VSCREEN][DROP][PUBLIC] skipped mode=off reason=%s", reason);
        return false;
    case EdgeDropDecision::SkipNotEdge:
        Log::Write("[VSCREEN][DROP][PUBLIC] skipped not-edge reason=%s pt=%ld,%ld mode=%d", reason, screen.x,
                   screen.y, mode);
        return false;
    case EdgeDropDecision::DropToRemote:
        break;
    }
    return edge.DropFilesToRemote(paths, screen.x, screen.y, reason);
}

} // namespace DragDrop
