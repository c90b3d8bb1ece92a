#include "dragdrop/win/ShellSelection.h"

#include <shlobj.h>
#include <shlguid.h>
#include <servprov.h>

#include <utility>

#include "core/Log.h"
#include "core/win/Handles.h"
#include "dragdrop/ShellCandidates.h"
#include "dragdrop/win/ShellWindowFacts.h"

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t* FirstOf(const std::vector<std::wstring>& paths) {
    return paths.empty() ? L"" : paths.front().c_str();
}

// The desktop's "document": the automation object of its active view.
ComPtr<IDispatch> DesktopViewDocument(IDispatch& desktop) {
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> document;
    if (FAILED(desktop.QueryInterface(IID_PPV_ARGS(&services))) ||
        FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) ||
        FAILED(browser->QueryActiveShellView(&view)) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(&document))))
        return nullptr;
    return document;
}

// A window whose selection may be the one the point means.
struct SelectionSource {
    HWND root = nullptr;
    std::vector<std::wstring> paths;
};

} // namespace

namespace ShellSelection {

bool SelectedPathsFromView(IDispatch* document, std::vector<std::wstring>& paths) {
    paths.clear();
    ComPtr<IShellFolderViewDual> view;
    ComPtr<FolderItems> items;
    long count = 0;
    if (document == nullptr || FAILED(document->QueryInterface(IID_PPV_ARGS(&view))) ||
        FAILED(view->SelectedItems(&items)) || !items || FAILED(items->get_Count(&count)))
        return false;
    for (long i = 0; i < count; ++i) {
        ComPtr<FolderItem> item;
        UniqueBstr path;
        if (items->Item(IndexVariant(i), &item) != S_OK || !item || FAILED(item->get_Path(path.Receive())) ||
            path.View().empty())
            continue;
        // Deleted since it was selected: nothing to offer.
        if (::GetFileAttributesW(path.Get()) == INVALID_FILE_ATTRIBUTES)
            continue;
        paths.emplace_back(path.Get(), path.View().size());
    }
    return !paths.empty();
}

bool GetSelectionAtPoint(POINT point, std::vector<std::wstring>& paths) {
    paths.clear();
    const HWND rootUnder = RootWindowUnder(point);
    ComPtr<IShellWindows> windows;
    if (const HRESULT hr = CreateShellWindows(windows); FAILED(hr)) {
        Log::Write("[RDRAG][SEL][ERR] ShellWindows create failed hr=0x%08lx", static_cast<unsigned long>(hr));
        return false;
    }
    std::vector<ShellCandidate> candidates;
    std::vector<SelectionSource> sources;
    for (const ShellBrowserWindow& shell : ListShellBrowsers(*windows.Get())) {
        if (!::IsWindowVisible(shell.window))
            continue;
        RECT rect{};
        const bool inside = ::GetWindowRect(shell.window, &rect) && ::PtInRect(&rect, point);
        const HWND root = RootOf(shell.window);
        const bool hitRoot = root != nullptr && root == rootUnder;
        if (!inside && !hitRoot)
            continue;
        ComPtr<IDispatch> document;
        SelectionSource source{root, {}};
        if (FAILED(shell.browser->get_Document(&document)) ||
            !SelectedPathsFromView(document.Get(), source.paths))
            continue;
        candidates.push_back(ShellCandidate{inside, hitRoot, false, kZRankNotFound});
        sources.push_back(std::move(source));
    }
    if (!candidates.empty()) {
        const std::vector<uintptr_t> order = TopLevelOrder();
        for (size_t i = 0; i < candidates.size(); ++i)
            candidates[i].zRank = ZRankOfRoot(order, sources[i].root);
        const size_t pick = *PickHitRootThenRank(candidates);
        paths = std::move(sources[pick].paths);
        Log::Write("[RDRAG][SEL] candidates=%u selectedCount=%u rank=%d first=%S",
                   static_cast<unsigned>(candidates.size()), static_cast<unsigned>(paths.size()),
                   static_cast<int>(candidates[pick].zRank), FirstOf(paths));
        return true;
    }
    if (InDesktopWindow(::WindowFromPoint(point))) {
        GetDesktopSelection(paths);
        Log::Write("[RDRAG][SEL][DESKTOP][PICK] selectedCount=%u first=%S",
                   static_cast<unsigned>(paths.size()), FirstOf(paths));
    }
    return !paths.empty();
}

bool GetDesktopSelection(std::vector<std::wstring>& paths) {
    paths.clear();
    ComPtr<IShellWindows> windows;
    if (const HRESULT hr = CreateShellWindows(windows); FAILED(hr)) {
        Log::Write("[RDRAG][SEL][DESKTOP][ERR] ShellWindows create failed hr=0x%08lx",
                   static_cast<unsigned long>(hr));
        return false;
    }
    // The desktop's location as the shell numbers it.
    VARIANT location = IndexVariant(CSIDL_DESKTOP);
    VARIANT root;
    ::VariantInit(&root);
    long window = 0;
    ComPtr<IDispatch> desktop;
    // S_FALSE: no desktop window is registered.
    if (const HRESULT hr =
            windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &desktop);
        hr != S_OK || !desktop) {
        Log::Write("[RDRAG][SEL][DESKTOP][ERR] FindWindowSW desktop failed hr=0x%08lx",
                   static_cast<unsigned long>(hr));
        return false;
    }
    const ComPtr<IDispatch> document = DesktopViewDocument(*desktop.Get());
    SelectedPathsFromView(document.Get(), paths);
    Log::Write("[RDRAG][SEL][DESKTOP] selectedCount=%u first=%S", static_cast<unsigned>(paths.size()),
               FirstOf(paths));
    return !paths.empty();
}

} // namespace ShellSelection
