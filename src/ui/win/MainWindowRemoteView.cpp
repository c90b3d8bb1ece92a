#include "ui/win/MainWindowRemoteView.h"

#include "core/Log.h"
#include "core/RuntimeState.h"

WNDPROC RemoteViewClassProc() {
    return ::DefWindowProcW;
}

void RegisterRemoteViewCoverClass(HINSTANCE instance) {
    (void)instance;
}

void MoveRemoteView(HWND main) {
    HWND view = reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow());
    RECT client{};
    if (view == nullptr || !::GetClientRect(main, &client))
        return;
    ::MoveWindow(view, 0, 0, client.right - client.left, client.bottom - client.top, TRUE);
}

bool IsRemoteViewRendererReady() {
    return false;
}

void StopRemoteViewRenderer() {}

void StartDragService(HINSTANCE instance) {
    (void)instance;
}

void StopDragService() {}

void AllowShellDrops(HWND window, const char* name) {
    (void)name;
    // WM_COPYGLOBALDATA (0x0049) carries the drop's data from a lower-integrity Explorer.
    for (UINT message : {UINT(WM_DROPFILES), UINT(WM_COPYDATA), UINT(0x0049)})
        ::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

std::vector<std::u16string> TakeDroppedPaths(HDROP drop) {
    std::vector<std::u16string> paths;
    if (drop == nullptr)
        return paths;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring path(length + 1, L'\0');
        UINT got = ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(got);
        if (!path.empty())
            paths.emplace_back(path.begin(), path.end());
    }
    ::DragFinish(drop);
    return paths;
}

void OfferDroppedPaths(const std::vector<std::u16string>& paths) {
    // The offer and its pending queue are not in this build: say so rather than pretend it went.
    Log::Write("[TRANSFER][OFFER][FAIL] offer path not available count=%u",
               static_cast<unsigned>(paths.size()));
}
