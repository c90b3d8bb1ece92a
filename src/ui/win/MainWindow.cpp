#include "ui/win/MainWindow.h"

#include <atomic>
#include <string>

#include "app/AppLifecycle.h"
#include "core/BuildInfo.h"
#include "core/CommandBus.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"

namespace {

std::atomic<HWND> g_mainWindow{nullptr};

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        RuntimeSetMainWindow(reinterpret_cast<RuntimeWindow>(hwnd));
        if (RuntimeSetAppRunning(true))
            RuntimeNotifyChanged();
        StateManager::Instance().SetRunning(true);
        AppLifecycleStartAll();
        return 0;
    case WM_APP_RUNTIME_STATE:
        // Cleared first, so that a change made while draining posts again.
        RuntimeClearNotifyPending();
        CommandBus::Instance().Drain();
        return 0;
    case WM_APP_FINAL_DESTROY:
        Log::Write("MainWindow final destroy after async shutdown");
        ::DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        Log::Write("MainWindow WM_DESTROY");
        g_mainWindow.store(nullptr);
        AppLifecycleStopAll("WM_DESTROY");
        RuntimeSetMainWindow(0);
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

struct ClassTraits {
    const wchar_t* name;
    UINT style;
    LPCWSTR cursor;
    int brush; // stock object, or -1 for none
    bool icon;
};

ClassTraits TraitsOf(WindowClass c) {
    switch (c) {
    case WindowClass::RemoteView:
        return {L"Tessaly_RemoteView_Wnd", CS_DBLCLKS, IDC_ARROW, BLACK_BRUSH, false};
    case WindowClass::ControlView:
        return {L"Tessaly_ControlView_Wnd", 0, IDC_HAND, -1, false};
    case WindowClass::StateView:
        return {L"Tessaly_StateView_Wnd", 0, IDC_ARROW, -1, false};
    case WindowClass::Main:
        break;
    }
    return {kMainWindowClass, 0, IDC_ARROW, BLACK_BRUSH, true};
}

} // namespace

uint32_t RegisterTessalyWindowClass(HINSTANCE instance, WindowClass windowClass) {
    ClassTraits traits = TraitsOf(windowClass);
    WNDCLASSW wc = {};
    wc.style = traits.style;
    // The child windows get their own procedures as their views are built.
    wc.lpfnWndProc = windowClass == WindowClass::Main ? MainWndProc : ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, traits.cursor);
    wc.hbrBackground = traits.brush >= 0 ? static_cast<HBRUSH>(::GetStockObject(traits.brush)) : nullptr;
    wc.hIcon = traits.icon ? ::LoadIconW(instance, MAKEINTRESOURCEW(101)) : nullptr;
    wc.lpszClassName = traits.name;
    return ::RegisterClassW(&wc) != 0 ? 0 : ::GetLastError();
}

CallResult CreateMainWindow(HINSTANCE instance, int showCommand) {
    std::wstring title = L"Tessaly  ";
    for (const char* v = BuildInfo::kVersion; *v; ++v)
        title += static_cast<wchar_t>(*v);
    HWND hwnd = ::CreateWindowExW(0, kMainWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 1280, 800, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr)
        return {false, ::GetLastError()};
    g_mainWindow.store(hwnd);
    ::ShowWindow(hwnd, showCommand);
    ::UpdateWindow(hwnd);
    return {true, 0};
}

HWND MainWindowHandle() { return g_mainWindow.load(); }
