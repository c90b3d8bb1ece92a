#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "app/AppLifecycle.h"
#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/Utf.h"
#include "core/win/TextConvert.h"
#include "ui/MainWindowGeometry.h"
#include "ui/MainWindowTitle.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "dragdrop/win/DragDrop.h"
#include "ui/win/RemoteViewWindow.h"
#include "ui/win/MainWindowState.h"

namespace {

unsigned long U(DWORD v) {
    return static_cast<unsigned long>(v);
}

MainWindowLifecycle g_lifecycle;

bool StartLifecycle() {
    return g_lifecycle.start != nullptr ? g_lifecycle.start() : AppLifecycleStartAll();
}

const char* ConflictMode(bool rename) {
    return rename ? "rename" : "overwrite";
}

void CreateRemoteView(HWND window, HINSTANCE instance) {
    HWND view =
        ::CreateWindowExW(0, kRemoteViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                          0, 0, 1, 1, window, nullptr, instance, nullptr);
    if (view == nullptr) {
        Log::Write("RemoteView create failed gle=%lu", U(::GetLastError()));
        return;
    }
    RuntimeSetRemoteViewWindow(reinterpret_cast<RuntimeWindow>(view));
    ::DragAcceptFiles(view, TRUE);
    DragDrop::AllowShellDropMessages(view, "RemoteView");
    ::SetTimer(view, kRemoteViewTimerId, kRemoteViewTimerMs, nullptr);
    Log::Write("RemoteView DragAcceptFiles enabled, shell-drop UIPI filter enabled, drag-hover mouse timer "
               "enabled");
    RemoteViewDeferredMove(window);
}

void CreateControlView(HWND window, HINSTANCE instance) {
    if (ControlViewWindow() != nullptr)
        return;
    IMainWindowParts& parts = MainWindowParts();
    double scale = parts.ControlViewScale(window);
    int width = static_cast<int>(520 * scale + 0.5);
    int height = static_cast<int>(88 * scale + 0.5);
    HWND view = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"Tessaly_ControlView_Wnd", L"",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height, window,
                                  nullptr, instance, nullptr);
    if (view == nullptr) {
        Log::Write("ControlView create failed gle=%lu", U(::GetLastError()));
        return;
    }
    RuntimeSetControlViewWindow(reinterpret_cast<RuntimeWindow>(view));
    Log::Write("ControlView created");
    parts.LayoutControlView(window, view);
    parts.SyncControlViewVisibility(view);
}

void CreateStateView(HWND window, HINSTANCE instance) {
    if (StateViewWindow() != nullptr)
        return;
    HWND view = ::CreateWindowExW(0, L"Tessaly_StateView_Wnd", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                  0, 0, 340, 456, window, nullptr, instance, nullptr);
    if (view == nullptr) {
        Log::Write("StateView create failed gle=%lu", U(::GetLastError()));
        return;
    }
    RuntimeSetStateViewWindow(reinterpret_cast<RuntimeWindow>(view));
    Log::Write("StateView created");
    MainWindowParts().LayoutStateView(window, view);
}

void CreateProgressWindow(HWND window, HINSTANCE instance) {
    MainWindowUi& ui = MainUi();
    if (ui.progressWindow != nullptr)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainWindowParts().ProgressWindowProc();
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"Marlo_TransferProgressView";
    if (!::RegisterClassW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        Log::Write("TransferProgressView register failed gle=%lu", U(::GetLastError()));
        return;
    }
    ui.progressWindow =
        ::CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                          0, 0, 390, 158, window, nullptr, instance, nullptr);
    if (ui.progressWindow == nullptr)
        Log::Write("TransferProgressView create failed gle=%lu", U(::GetLastError()));
}

void StartVirtualScreen(HWND window) {
    IMainWindowParts& parts = MainWindowParts();
    if (parts.IsVirtualScreenStarted() || !parts.StartVirtualScreen(window))
        return;
    parts.SetVirtualScreenMode(0);
    Log::Write("[VSCREEN][START] started default=off mouseHook=deferred");
    int32_t mode = static_cast<int32_t>(ConfigService::Instance().GetSnapshot().virtualScreenMode);
    parts.SetVirtualScreenMode(mode);
    Log::Write("[CONFIG][APPLY] startup virtualScreenMode=%d", mode);
}

} // namespace

void SetMainWindowLifecycle(const MainWindowLifecycle& lifecycle) {
    g_lifecycle = lifecycle;
}

void MainWindowStopLifecycle(const char* reason) {
    if (g_lifecycle.stop != nullptr)
        g_lifecycle.stop(reason);
    else
        AppLifecycleStopAll(reason);
}

void MainWindowOnCreate(HWND window, HINSTANCE instance) {
    MainWindowUi& ui = MainUi();
    IMainWindowParts& parts = MainWindowParts();
    ui.window.store(window);
    ui.destroying.store(false);
    RuntimeSetMainWindow(reinterpret_cast<RuntimeWindow>(window));

    bool rename = ConfigService::Instance().GetSnapshot().fileConflictRename != 0;
    parts.SetTransferConflictRename(rename);
    Log::Write("[HTTP][CLIENT] conflict mode=%s", ConflictMode(rename));
    Log::Write("[TRANSFER][POLICY] conflict=%s", ConflictMode(rename));
    Log::Write("Startup file-transfer conflict mode=%s", ConflictMode(rename));

    parts.QueryStartWithWindows(true);
    parts.AddTrayIcon(window);

    CreateRemoteView(window, instance);
    CreateControlView(window, instance);
    CreateStateView(window, instance);
    CreateProgressWindow(window, instance);
    MainWindowSubscribeEvents();
    LayoutChildren(window);

    bool english = ConfigService::Instance().IsUiLanguageEnglish();
    SetStatusAndRepaint(FormatMainWindowTitle("", "", english).c_str());
    SetStatusAndRepaint(
        "Discovery enabled. service ports: control=5003 video=6000 input=5000 audio=7001 file=5002");

    if (parts.IsClipboardServiceEnabled()) {
        ui.clipboardListening = ::AddClipboardFormatListener(window) != FALSE;
        ::DragAcceptFiles(window, TRUE);
        DragDrop::AllowShellDropMessages(window, "MainWindow");
    }

    bool changed = RuntimeSetAppRunning(true);
    StateManager::Instance().SetRunning(true);
    if (changed)
        RuntimeNotifyChanged();

    StartVirtualScreen(window);
    InstallKeyboardGrabHook();
    ::SetTimer(window, kTimerHotkeyPoll, kHotkeyPollMs, nullptr);
    Log::Write("[HOTKEY][POLL] local foreground shortcut poller started interval_ms=%u", kHotkeyPollMs);
    StartLifecycle();
    SetStatusAndRepaint("Discovery running. Select a device to control.");
}

CallResult CreateMainWindow(HINSTANCE instance, int showCommand) {
    bool english = ConfigService::Instance().IsUiLanguageEnglish();
    std::wstring title = AsWide(Utf8ToUtf16(FormatMainWindowTitle("", "", english)));
    int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    RECT work{};
    std::optional<WindowRect> workArea;
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        workArea = WindowRect{work.left, work.top, work.right, work.bottom};
    WindowPlacement p = InitialMainWindowPlacement(screenW, screenH, workArea);

    MainUi().destroying.store(false);
    HWND window = ::CreateWindowExW(0, kMainWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, p.x, p.y,
                                    p.width, p.height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return {false, ::GetLastError()};

    MainWindowUi& ui = MainUi();
    ui.bigIcon.Reset(
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(101), IMAGE_ICON, 256, 256, 0)));
    ui.smallIcon.Reset(
        static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(101), IMAGE_ICON, 16, 16, 0)));
    if (ui.bigIcon.Get() != nullptr)
        ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ui.bigIcon.Get()));
    if (ui.smallIcon.Get() != nullptr)
        ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ui.smallIcon.Get()));

    UpdateMainWindowTitle(window);
    ::ShowWindow(window, showCommand);
    ::UpdateWindow(window);
    MainWindowParts().LogDpiLine(window, "Main window created at lower-right");
    return {true, 0};
}

HWND MainWindowHandle() {
    return MainUi().window.load();
}

bool MainWindowIsDestroying() {
    return MainUi().destroying.load();
}

void MainWindowMarkAsyncShutdownDone() {
    MainUi().asyncShutdownDone.store(true);
}
