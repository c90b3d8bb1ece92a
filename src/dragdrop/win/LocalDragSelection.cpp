#include <windows.h>

#include <atomic>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/ThreadHelpers.h"
#include "core/Utf.h"
#include "core/win/Handles.h"
#include "dragdrop/win/LocalDragMonitor.h"
#include "dragdrop/win/LocalDragMonitorState.h"
#include "dragdrop/win/ShellSelection.h"

// Reading the shell selection where a drag began, on a thread of its own (COM calls into Explorer are slow),
// and telling RemoteView windows apart under a point.
namespace {

constexpr wchar_t kRemoteViewClass[] = L"Tessaly_RemoteView_Wnd";

class ShellSelectionSource final : public ILocalSelectionSource {
public:
    bool SelectionAt(ScreenPoint point, std::vector<std::u16string>& paths, std::string& error) override {
        ComApartment com(COINIT_APARTMENTTHREADED);
        if (FAILED(com.Result()) && com.Result() != RPC_E_CHANGED_MODE) {
            char text[64];
            snprintf(text, sizeof(text), "CoInitializeEx failed hr=0x%08lx",
                     static_cast<unsigned long>(com.Result()));
            error = text;
            return false;
        }
        std::vector<std::wstring> wide;
        ShellSelection::GetSelectionAtPoint(POINT{point.x, point.y}, wide);
        paths.clear();
        for (const std::wstring& path : wide)
            paths.emplace_back(reinterpret_cast<const char16_t*>(path.data()), path.size());
        return true;
    }
};

ShellSelectionSource g_shellSource;
std::atomic<ILocalSelectionSource*> g_source{nullptr};

ILocalSelectionSource& Source() {
    ILocalSelectionSource* source = g_source.load();
    return source != nullptr ? *source : g_shellSource;
}

bool IsRemoteViewWindow(HWND hwnd) {
    wchar_t name[64] = {};
    return ::GetClassNameW(hwnd, name, 64) > 0 && wcscmp(name, kRemoteViewClass) == 0;
}

struct RemoteViewSearch {
    POINT point;
    bool found = false;
};

BOOL CALLBACK CheckRemoteView(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<RemoteViewSearch*>(lParam);
    RECT rc{};
    if (IsRemoteViewWindow(hwnd) && ::GetWindowRect(hwnd, &rc) && ::PtInRect(&rc, search->point)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CheckTopLevel(HWND hwnd, LPARAM lParam) {
    CheckRemoteView(hwnd, lParam);
    auto* search = reinterpret_cast<RemoteViewSearch*>(lParam);
    if (!search->found)
        ::EnumChildWindows(hwnd, CheckRemoteView, lParam);
    return search->found ? FALSE : TRUE;
}

void LogFill(const SelectionFillResult& r, uint64_t id, POINT start, const char* reason, bool late) {
    if (!r.asked)
        Log::Write("[DRAGMON][VSCREEN][LOCALSEL][ERR] id=%llu reason=%s %s",
                   static_cast<unsigned long long>(id), reason, r.error.c_str());
    if (r.store == SelectionStore::Stored)
        Log::Write("[DRAGMON][VSCREEN][LOCALSEL][%s] id=%llu reason=%s count=%u first=%s pt=%d,%d",
                   late ? "CACHE" : "ASYNC_CACHE", static_cast<unsigned long long>(id), reason,
                   static_cast<unsigned>(r.count), Utf16ToUtf8(r.first).c_str(), static_cast<int>(start.x),
                   static_cast<int>(start.y));
    else if (r.store == SelectionStore::Miss &&
             (late || LogThrottle::Allow("drag.local.selection.miss", 3000)))
        Log::Write("[DRAGMON][VSCREEN][LOCALSEL][%s] id=%llu reason=%s", late ? "MISS" : "ASYNC_MISS",
                   static_cast<unsigned long long>(id), reason);
}

} // namespace

void SetLocalSelectionSource(ILocalSelectionSource* source) {
    g_source.store(source);
}

bool StartSelectionFill(LocalSelectionCache& cache, uint64_t gestureId, POINT start, const char* reason,
                        HWND notify) {
    const LocalSelectionCache::Fill fill = cache.BeginFill(gestureId, ScreenPoint{start.x, start.y});
    ILocalSelectionSource* source = &Source();
    std::string error;
    const bool started = StartDetachedWorker(
        "LocalDragSelection",
        [&cache, fill, source, start, reason, notify]() {
            const SelectionFillResult r = RunSelectionFill(
                cache, fill, *source, [] { return static_cast<uint32_t>(::GetTickCount()); });
            if (r.store != SelectionStore::Stale)
                LogFill(r, fill.gestureId, start, reason, notify != nullptr);
            if (notify != nullptr)
                ::PostMessageW(notify, kMsgLateSelection, 0, 0);
        },
        &error);
    if (!started) {
        cache.Clear();
        Log::Write("[DRAGMON][VSCREEN][LOCALSEL][ERR] id=%llu reason=%s thread start failed what=%s",
                   static_cast<unsigned long long>(gestureId), reason, error.c_str());
    }
    return started;
}

bool LocalDragMonitorIsPointOverRemoteView(POINT point) {
    for (HWND hwnd = ::WindowFromPoint(point); hwnd != nullptr; hwnd = ::GetParent(hwnd))
        if (IsRemoteViewWindow(hwnd))
            return true;
    RemoteViewSearch search{point};
    ::EnumWindows(CheckTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
