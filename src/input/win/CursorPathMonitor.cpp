#include "input/win/CursorPathMonitor.h"

#include <mutex>
#include <vector>

#include "core/Log.h"
#include "core/LogThrottle.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "dragdrop/ShellCandidates.h"
#include "dragdrop/win/ShellWindowFacts.h"
#include "input/MonitorThread.h"
#include "input/PathBufferCopy.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr uint32_t kIdlePollMs = 1000;
constexpr uint32_t kDragPollMs = 250;
// A resting cursor is looked up again this often: the window under it may have changed folder.
constexpr DWORD kRestingLookupMs = 750;
constexpr uint32_t kCandidateLogMs = 2000;

struct PathState {
    MonitorThread thread{"CursorPathMonitorDll"};
    std::mutex mutex;
    std::wstring path;    // under mutex
    std::string pathUtf8; // under mutex
};

// Never destroyed: the exports may be called, and the thread may poll, while the process exits.
PathState& State() {
    static PathState* state = new PathState;
    return *state;
}

bool ComUsable(HRESULT hr) {
    // Another apartment model on this thread still lets the shell objects be used.
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
}

bool DragInProgress() {
    const RuntimeSnapshot snapshot = RuntimeMakeSnapshot();
    return snapshot.localDragActive || snapshot.remoteDragActive || snapshot.dropReady;
}

std::wstring ExplorerFolderAt(POINT point, HWND under) {
    ComPtr<IShellWindows> windows;
    if (FAILED(CreateShellWindows(windows)))
        return {};
    const HWND rootUnder = RootOf(under);
    std::vector<ShellCandidate> candidates;
    std::vector<std::wstring> paths;
    std::vector<HWND> roots;
    for (const ShellBrowserWindow& shell : ListShellBrowsers(*windows.Get())) {
        RECT rect{};
        const bool inside = (::GetWindowRect(shell.window, &rect) && ::PtInRect(&rect, point)) ||
                            IsSelfOrDescendant(shell.window, under);
        if (!inside)
            continue;
        std::wstring path = BrowserFolderPath(*shell.browser.Get());
        if (path.empty())
            continue;
        const HWND root = RootOf(shell.window);
        candidates.push_back(
            ShellCandidate{true, root != nullptr && root == rootUnder, false, kZRankNotFound});
        paths.push_back(std::move(path));
        roots.push_back(root);
    }
    if (candidates.empty())
        return {};
    if (candidates.size() > 1) {
        const std::vector<uintptr_t> order = TopLevelOrder();
        for (size_t i = 0; i < candidates.size(); ++i)
            candidates[i].zRank = ZRankOfRoot(order, roots[i]);
    }
    const size_t pick = *PickHitRootThenRank(candidates);
    if (LogThrottle::Allow("cursor.path.explorer.candidates", kCandidateLogMs))
        Log::Write("CursorPathMonitor explorer candidates=%u selectedRank=%d selected=%S",
                   static_cast<unsigned>(candidates.size()), static_cast<int>(candidates[pick].zRank),
                   paths[pick].c_str());
    return paths[pick];
}

void Poll(const StopSignal& stop) {
    const ComApartment com(COINIT_APARTMENTTHREADED);
    const bool shellWindows = ComUsable(com.Result());
    bool tracking = false;
    POINT lastPoint{};
    DWORD lastLookup = 0;
    for (;;) {
        if (!DragInProgress()) {
            if (tracking) {
                CursorPathMonitor::StorePath(std::wstring());
                tracking = false;
            }
            if (stop.WaitFor(kIdlePollMs))
                return;
            continue;
        }
        POINT point{};
        if (::GetCursorPos(&point)) {
            const DWORD now = ::GetTickCount();
            const bool resting = tracking && point.x == lastPoint.x && point.y == lastPoint.y &&
                                 now - lastLookup < kRestingLookupMs;
            if (!resting) {
                CursorPathMonitor::StorePath(CursorPathMonitor::PathAtPoint(point, shellWindows));
                tracking = true;
                lastPoint = point;
                lastLookup = now;
            }
        }
        if (stop.WaitFor(kDragPollMs))
            return;
    }
}

} // namespace

namespace CursorPathMonitor {

bool Start() {
    return State().thread.Start(&Poll);
}

void Stop() {
    State().thread.Stop();
}

std::wstring PathAtPoint(POINT point, bool shellWindows) {
    const HWND under = ::WindowFromPoint(point);
    if (InDesktopWindow(under))
        return DesktopDirectory();
    return shellWindows ? ExplorerFolderAt(point, under) : std::wstring();
}

void StorePath(const std::wstring& path) {
    PathState& s = State();
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.path = path;
        s.pathUtf8 = WideToUtf8(path.c_str());
        changed = RuntimeSetCursorPath(s.pathUtf8.c_str());
        if (changed)
            Log::Write("CursorPathMonitor path=%S", path.c_str());
    }
    if (changed)
        RuntimeNotifyChanged();
}

bool RefreshNow() {
    const ComApartment com(COINIT_APARTMENTTHREADED);
    if (!ComUsable(com.Result())) {
        Log::Write("CursorPathMonitorDllRefreshNow failed: CoInitializeEx hr=0x%08X",
                   static_cast<unsigned>(com.Result()));
        return false;
    }
    POINT point{};
    if (!::GetCursorPos(&point)) {
        Log::Write("CursorPathMonitorDllRefreshNow failed: GetCursorPos");
        return false;
    }
    const std::wstring path = PathAtPoint(point, true);
    StorePath(path);
    Log::Write("CursorPathMonitorDllRefreshNow pt=(%ld,%ld) path=%S", point.x, point.y, path.c_str());
    return !path.empty();
}

bool CopyPath(wchar_t* buffer, uint32_t capacity) {
    PathState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return CopyPathToBuffer(AsUtf16(s.path.c_str()), reinterpret_cast<char16_t*>(buffer), capacity);
}

} // namespace CursorPathMonitor
