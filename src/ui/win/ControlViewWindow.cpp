#include "ui/win/ControlViewWindow.h"

#include <windowsx.h>

#include <functional>
#include <string>
#include <utility>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ThreadHelpers.h"
#include "link/AutoConnect.h"
#include "link/KvmSessionManager.h"
#include "link/win/DevicePresenceService.h"
#include "link/Discovery.h"
#include "ui/ControlViewClick.h"
#include "ui/win/MainWindowState.h"

namespace {

bool g_mouseDown = false; // UI thread only

// Connecting and disconnecting wait on the network: each runs on a short-lived thread of its own.
void StartWorker(const char* name, std::function<void()> body) {
    std::string error;
    if (!StartDetachedWorker(name, std::move(body), &error))
        Log::Write("ControlView %s thread create failed: %s", name, error.c_str());
}

void ConnectWorker() {
    if (!Discovery::ConnectFirstDevice())
        SetStatusAndRepaint("No discovered device");
}

void DisconnectWorker() {
    KvmSessionManager::Instance().StopAllSessions("control button disconnect");
    RuntimeSetStatusMessage("Disconnected");
    RuntimeSetErrorText("");
    RepaintStateView();
}

void OnClick() {
    const int32_t state = RuntimeGetProgramState();
    const bool cable = DevicePresenceService::Presence().IsPresent();
    switch (DecideControlViewClick(state, cable, Discovery::GetDiscoveredDevices().size())) {
    case ControlViewClick::Disconnect:
        AutoConnect::Instance().SetIntent(false, "user disconnect");
        ConfigService::Instance().SetAutoConnectEnable(false);
        ConfigService::Instance().Save();
        RuntimeSetStatusMessage("Disconnecting...");
        RuntimeSetErrorText("");
        RepaintStateView();
        StartWorker("ControlViewDisconnectWorker", DisconnectWorker);
        Log::Write(
            "ControlView: disconnect button clicked; auto intent disabled; async disconnect worker posted");
        return;
    case ControlViewClick::Connect:
        AutoConnect::Instance().SetIntent(true, "user connect");
        AutoConnect::Instance().Suppress(kAutoConnectUserConnectSuppressMs, "control button connect worker");
        ConfigService::Instance().SetAutoConnectEnable(true);
        ConfigService::Instance().Save();
        if (HWND view = reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow()))
            ::SetFocus(view);
        if (RuntimeSetProgramState(ProgramState::Connecting))
            RuntimeNotifyChanged();
        SetStatusAndRepaint("Connecting to discovered device...");
        StartWorker("ControlViewConnectWorker", ConnectWorker);
        Log::Write("ControlView: control button clicked; auto intent enabled; async connect worker posted");
        return;
    case ControlViewClick::NoDevice:
        SetStatusAndRepaint("No discovered device");
        Log::Write("ControlView: no device, connect disabled");
        return;
    case ControlViewClick::CableMissing:
        SetStatusAndRepaint("设备未插入");
        Log::Write("ControlView: connect disabled, required device missing");
        return;
    }
}

} // namespace

LRESULT CALLBACK ControlViewWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        ::SetCapture(hwnd);
        g_mouseDown = true;
        return 0;
    case WM_LBUTTONUP: {
        const bool wasDown = g_mouseDown;
        g_mouseDown = false;
        ::ReleaseCapture();
        RECT client{};
        ::GetClientRect(hwnd, &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        // A press released outside the button is no click.
        if (wasDown && ::PtInRect(&client, at))
            OnClick();
        return 0;
    }
    case WM_CAPTURECHANGED:
        g_mouseDown = false;
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}
