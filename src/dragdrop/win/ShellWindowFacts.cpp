#include "dragdrop/win/ShellWindowFacts.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "dragdrop/ShellCandidates.h"

using Microsoft::WRL::ComPtr;

namespace {

// Bounds of the window walks: a window tree changing under the walk must not keep it going.
constexpr int kMaxParentDepth = 256;
constexpr int kMaxTopLevelWindows = 65536;
constexpr DWORD kMaxUrlPath = 1040;

} // namespace

VARIANT IndexVariant(long index) {
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = index;
    return value;
}

HRESULT CreateShellWindows(ComPtr<IShellWindows>& windows) {
    windows.Reset();
    return ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&windows));
}

std::vector<ShellBrowserWindow> ListShellBrowsers(IShellWindows& windows) {
    std::vector<ShellBrowserWindow> browsers;
    long count = 0;
    if (FAILED(windows.get_Count(&count)))
        return browsers;
    for (long i = 0; i < count; ++i) {
        ComPtr<IDispatch> item;
        if (windows.Item(IndexVariant(i), &item) != S_OK || !item)
            continue;
        ShellBrowserWindow entry;
        SHANDLE_PTR handle = 0;
        if (FAILED(item.As(&entry.browser)) || FAILED(entry.browser->get_HWND(&handle)) || handle == 0)
            continue;
        entry.window = reinterpret_cast<HWND>(handle);
        browsers.push_back(std::move(entry));
    }
    return browsers;
}

std::wstring BrowserFolderPath(IWebBrowser2& browser) {
    UniqueBstr url;
    if (FAILED(browser.get_LocationURL(url.Receive())) || url.View().empty())
        return {};
    wchar_t path[kMaxUrlPath] = {};
    DWORD length = kMaxUrlPath;
    if (FAILED(::PathCreateFromUrlW(url.Get(), path, &length, 0)))
        return {};
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return {};
    return path;
}

HWND RootOf(HWND window) {
    return window != nullptr ? ::GetAncestor(window, GA_ROOT) : nullptr;
}

HWND RootWindowUnder(POINT point) {
    return RootOf(::WindowFromPoint(point));
}

bool IsSelfOrDescendant(HWND ancestor, HWND window) {
    return ancestor != nullptr && window != nullptr && (window == ancestor || ::IsChild(ancestor, window));
}

std::u16string WindowClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return length > 0 ? std::u16string(AsUtf16(name)) : std::u16string();
}

HWND FirstSelfOrParentOfClass(HWND window, bool (*matches)(std::u16string_view className)) {
    for (int depth = 0; window != nullptr && depth < kMaxParentDepth; ++depth) {
        if (matches(WindowClassOf(window)))
            return window;
        window = ::GetParent(window);
    }
    return nullptr;
}

bool InDesktopWindow(HWND window) {
    return FirstSelfOrParentOfClass(window, &IsDesktopClass) != nullptr;
}

std::wstring DesktopDirectory() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

std::vector<uintptr_t> TopLevelOrder() {
    std::vector<uintptr_t> order;
    HWND window = ::GetTopWindow(nullptr);
    for (int i = 0; window != nullptr && i < kMaxTopLevelWindows; ++i) {
        order.push_back(reinterpret_cast<uintptr_t>(window));
        window = ::GetWindow(window, GW_HWNDNEXT);
    }
    return order;
}

int32_t ZRankOfRoot(const std::vector<uintptr_t>& topLevelOrder, HWND root) {
    return ZRankOf(topLevelOrder, reinterpret_cast<uintptr_t>(root));
}
