#include <windows.h>

#include "ui/win/MainWindow.h"
#include "ui/win/BlackCover.h"
#include "ui/win/ControlViewWindow.h"
#include "ui/win/RemoteViewWindow.h"
#include "ui/win/StateViewPanel.h"

namespace {

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
        return {kRemoteViewClass, CS_DBLCLKS, IDC_ARROW, BLACK_BRUSH, false};
    case WindowClass::ControlView:
        return {L"Tessaly_ControlView_Wnd", 0, IDC_HAND, -1, false};
    case WindowClass::StateView:
        return {L"Tessaly_StateView_Wnd", 0, IDC_ARROW, -1, false};
    case WindowClass::Main:
        break;
    }
    return {kMainWindowClass, 0, IDC_ARROW, BLACK_BRUSH, true};
}

WNDPROC ProcOf(WindowClass c) {
    switch (c) {
    case WindowClass::Main:
        return MainWndProc;
    case WindowClass::RemoteView:
        return RemoteViewWndProc;
    case WindowClass::ControlView:
        return ControlViewWndProc;
    case WindowClass::StateView:
        return StateViewWndProc;
    }
    return ::DefWindowProcW;
}

} // namespace

uint32_t RegisterTessalyWindowClass(HINSTANCE instance, WindowClass windowClass) {
    ClassTraits traits = TraitsOf(windowClass);
    WNDCLASSW wc = {};
    wc.style = traits.style;
    wc.lpfnWndProc = ProcOf(windowClass);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, traits.cursor);
    wc.hbrBackground = traits.brush >= 0 ? static_cast<HBRUSH>(::GetStockObject(traits.brush)) : nullptr;
    wc.hIcon = traits.icon ? ::LoadIconW(instance, MAKEINTRESOURCEW(101)) : nullptr;
    wc.lpszClassName = traits.name;
    if (windowClass == WindowClass::RemoteView)
        RegisterBlackCoverClass(instance);
    return ::RegisterClassW(&wc) != 0 ? 0 : ::GetLastError();
}
