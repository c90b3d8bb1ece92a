#include "ui/win/TrayRoundCorners.h"

namespace {

constexpr DWORD kDwmWindowCornerPreference = 33; // DWMWA_WINDOW_CORNER_PREFERENCE
constexpr DWORD kDwmCornerRound = 2;             // DWMWCP_ROUND

using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// dwmapi stays loaded for the process: the menu asks for it each time it opens.
DwmSetWindowAttributeFn DwmSetAttribute() {
    static const auto fn = [] {
        HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
        return dwm != nullptr ? reinterpret_cast<DwmSetWindowAttributeFn>(
                                    reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmSetWindowAttribute")))
                              : nullptr;
    }();
    return fn;
}

} // namespace

void RoundWindowCorners(HWND window, int w, int h, int ellipse) {
    // The window owns the region once it is set.
    if (HRGN region = ::CreateRoundRectRgn(0, 0, w + 1, h + 1, ellipse, ellipse)) {
        if (!::SetWindowRgn(window, region, TRUE))
            ::DeleteObject(region);
    }
    if (DwmSetWindowAttributeFn set = DwmSetAttribute()) {
        const DWORD preference = kDwmCornerRound;
        set(window, kDwmWindowCornerPreference, &preference, sizeof preference);
    }
}
