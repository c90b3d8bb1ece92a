// The folder a paste of the peer's files goes to: the Explorer window or desktop under the cursor.
#include <utility>

#include "core/Log.h"
#include "dragdrop/ShellCandidates.h"
#include "dragdrop/win/ShellSelection.h"
#include "dragdrop/win/ShellWindowFacts.h"

using Microsoft::WRL::ComPtr;

namespace ShellTargetResolver {

std::wstring FindExplorerFolder(POINT point) {
    ComPtr<IShellWindows> windows;
    if (const HRESULT hr = CreateShellWindows(windows); FAILED(hr)) {
        Log::Write("FileTransfer CoCreateInstance(IShellWindows) failed hr=0x%08X",
                   static_cast<unsigned>(hr));
        return {};
    }
    const HWND under = ::WindowFromPoint(point);
    const HWND rootUnder = RootOf(under);
    const HWND foreground = ::GetForegroundWindow();
    const HWND foregroundRoot = RootOf(foreground);
    const std::vector<uintptr_t> order = TopLevelOrder();
    std::vector<ShellCandidate> candidates;
    std::vector<std::wstring> paths;
    for (const ShellBrowserWindow& shell : ListShellBrowsers(*windows.Get())) {
        if (!::IsWindowVisible(shell.window))
            continue;
        std::wstring path = BrowserFolderPath(*shell.browser.Get());
        if (path.empty())
            continue;
        const HWND root = RootOf(shell.window);
        RECT rect{};
        ShellCandidate candidate;
        candidate.pointInside = (::GetWindowRect(shell.window, &rect) && ::PtInRect(&rect, point)) ||
                                IsSelfOrDescendant(shell.window, under);
        candidate.foreground =
            IsSelfOrDescendant(shell.window, foreground) || (root != nullptr && root == foregroundRoot);
        candidate.hitRoot = root != nullptr && root == rootUnder;
        candidate.zRank = ZRankOfRoot(order, root);
        Log::Write("FileTransfer explorer candidate hwnd=%p point=%d hitRoot=%d fg=%d z=%d path=%S",
                   static_cast<void*>(shell.window), candidate.pointInside ? 1 : 0, candidate.hitRoot ? 1 : 0,
                   candidate.foreground ? 1 : 0, static_cast<int>(candidate.zRank), path.c_str());
        candidates.push_back(candidate);
        paths.push_back(std::move(path));
    }
    const std::optional<ExplorerTargetPick> pick = PickExplorerTarget(candidates);
    if (!pick)
        return {};
    const ShellCandidate& chosen = candidates[pick->index];
    const std::wstring& path = paths[pick->index];
    switch (pick->list) {
    case ExplorerTargetList::UnderPoint:
        Log::Write("FileTransfer target top explorer under cursor: rank=%d hitRoot=%d path=%S",
                   static_cast<int>(chosen.zRank), chosen.hitRoot ? 1 : 0, path.c_str());
        break;
    case ExplorerTargetList::Foreground:
        Log::Write("FileTransfer target foreground explorer: rank=%d path=%S", static_cast<int>(chosen.zRank),
                   path.c_str());
        break;
    case ExplorerTargetList::Visible:
        Log::Write("FileTransfer target top visible explorer fallback: rank=%d path=%S",
                   static_cast<int>(chosen.zRank), path.c_str());
        break;
    }
    return path;
}

std::wstring FolderUnderCursor() {
    POINT cursor{};
    if (::GetCursorPos(&cursor)) {
        if (std::wstring path = FindExplorerFolder(cursor); !path.empty())
            return path;
        if (InDesktopWindow(::WindowFromPoint(cursor))) {
            if (std::wstring desktop = DesktopDirectory(); !desktop.empty()) {
                Log::Write("FileTransfer target desktop from shell window: %S", desktop.c_str());
                return desktop;
            }
        }
    }
    const HWND foreground = ::GetForegroundWindow();
    RECT rect{};
    if (foreground == nullptr || !::GetWindowRect(foreground, &rect))
        return {};
    return FindExplorerFolder(
        POINT{rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2});
}

} // namespace ShellTargetResolver
