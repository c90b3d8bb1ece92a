#include <windows.h>

#include <string>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/Utf.h"
#include "core/win/TextConvert.h"
#include "ui/MainWindowTitle.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/RemoteViewWindow.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/StateViewVisibility.h"

MainWindowUi& MainUi() {
    static MainWindowUi ui;
    return ui;
}

HWND RemoteViewWindow() {
    return reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow());
}
HWND ControlViewWindow() {
    return reinterpret_cast<HWND>(RuntimeGetControlViewWindow());
}
HWND StateViewWindow() {
    return reinterpret_cast<HWND>(RuntimeGetStateViewWindow());
}

void RepaintStateView() {
    if (HWND view = StateViewWindow())
        ::InvalidateRect(view, nullptr, FALSE);
}

void SetStatusAndRepaint(const char* text) {
    RuntimeSetStatusMessage(text);
    RepaintStateView();
}

void UpdateMainWindowTitle(HWND window) {
    RuntimeSnapshot s = RuntimeMakeSnapshot();
    bool english = ConfigService::Instance().IsUiLanguageEnglish();
    ::SetWindowTextW(window,
                     AsWide(Utf8ToUtf16(FormatMainWindowTitle(s.peerIp, s.peerVersion, english))).c_str());
}

void LayoutChildren(HWND window) {
    IMainWindowParts& parts = MainWindowParts();
    HWND remote = RemoteViewWindow();
    HWND control = ControlViewWindow();
    HWND state = StateViewWindow();
    HWND progress = MainUi().progressWindow;
    RemoteViewDeferredMove(window);
    if (control != nullptr) {
        parts.LayoutControlView(window, control);
        parts.SyncControlViewVisibility(control);
    }
    if (state != nullptr)
        parts.LayoutStateView(window, state);
    if (progress != nullptr)
        parts.PlaceProgressWindow(window, progress);
    // RemoteView at the bottom; each later one on top of the ones before, the progress window uppermost.
    const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (remote != nullptr)
        ::SetWindowPos(remote, HWND_BOTTOM, 0, 0, 0, 0, keep);
    for (HWND child : {control, state, progress})
        if (child != nullptr)
            ::SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, keep);
}

bool IsStateViewVisible() {
    return MainUi().stateViewVisible;
}

bool FlipStateViewVisible() {
    MainWindowUi& ui = MainUi();
    ui.stateViewVisible = !ui.stateViewVisible;
    if (HWND view = StateViewWindow()) {
        if (ui.stateViewVisible) {
            ::ShowWindow(view, SW_SHOWNA);
            ::InvalidateRect(view, nullptr, FALSE);
        } else {
            ::ShowWindow(view, SW_HIDE);
        }
    }
    return ui.stateViewVisible;
}

void MainWindowToggleStateView(const char* source) {
    if (!MainUi().stateViewToggle.Admit(::GetTickCount())) {
        Log::Write("StateView toggle ignored by debounce source=%s", source);
        return;
    }
    bool visible = FlipStateViewVisible();
    Log::Write("StateView toggled by %s: visible=%d", source, visible ? 1 : 0);
}
