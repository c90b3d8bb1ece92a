#include "ui/win/TrayIcon.h"

#include <shellapi.h>

#include <cwchar>

#include "core/Log.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "ui/TrayBalloonText.h"
#include "ui/TrayMenuGate.h"
#include "ui/win/MainWindow.h"

namespace {

constexpr UINT kTrayIconId = 1;

// The icon's image lives as long as the process: the shell keeps showing it after each modify.
HICON TrayIconImage() {
    static UniqueIcon icon([] {
        HINSTANCE instance = ::GetModuleHandleW(nullptr);
        HANDLE image = ::LoadImageW(instance, MAKEINTRESOURCEW(102), IMAGE_ICON, 16, 16, 0);
        if (image == nullptr)
            image = ::LoadImageW(instance, MAKEINTRESOURCEW(101), IMAGE_ICON, 16, 16, 0);
        return static_cast<HICON>(image);
    }());
    return icon.Get();
}

NOTIFYICONDATAW BaseData(HWND main) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = main;
    data.uID = kTrayIconId;
    return data;
}

template <size_t N> void CopyField(wchar_t (&field)[N], const std::u16string_view text) {
    const std::wstring wide = AsWide(FitTrayField(text, N));
    std::wmemcpy(field, wide.c_str(), wide.size() + 1);
}

} // namespace

void TrayAddIcon(HWND main) {
    TrayUiFlags& flags = TrayFlags();
    if (flags.iconAdded)
        return;
    NOTIFYICONDATAW data = BaseData(main);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP_TRAY_CALLBACK;
    data.hIcon = TrayIconImage();
    CopyField(data.szTip, TrayTipText());
    if (!::Shell_NotifyIconW(NIM_ADD, &data)) {
        Log::Write("Tray icon add failed gle=%lu", static_cast<unsigned long>(::GetLastError()));
        return;
    }
    flags.iconAdded = true;
    data.uVersion = NOTIFYICON_VERSION_4;
    ::Shell_NotifyIconW(NIM_SETVERSION, &data);
    Log::Write("Tray icon added");
}

void TrayRemoveIcon(HWND main) {
    NOTIFYICONDATAW data = BaseData(main);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void TrayShowBalloon(HWND main, const std::wstring& text, uint32_t infoFlags, uint32_t timeoutMs) {
    TrayAddIcon(main);
    const uint32_t timeout = TrayBalloonTimeoutMs(timeoutMs);
    NOTIFYICONDATAW data = BaseData(main);
    data.uFlags = NIF_INFO;
    CopyField(data.szInfoTitle, TrayBalloonTitle());
    CopyField(data.szInfo, AsUtf16(text.c_str()));
    data.dwInfoFlags = infoFlags;
    data.uTimeout = timeout;
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
    ::SetTimer(main, kTimerBalloonHide, timeout, nullptr);
}

void TrayHideBalloon(HWND main) {
    NOTIFYICONDATAW data = BaseData(main);
    data.uFlags = NIF_INFO;
    ::Shell_NotifyIconW(NIM_MODIFY, &data);
}
