#include "ui/win/WindowDpi.h"

#include "core/Log.h"
#include "core/win/Handles.h"
#include "ui/WindowDpiRules.h"

namespace {

WindowRect FromRect(const RECT& r) {
    return WindowRect{r.left, r.top, r.right, r.bottom};
}

} // namespace

uint32_t QueryDpiForWindow(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return getDpi != nullptr && window != nullptr ? getDpi(window) : 0;
}

uint32_t GetWindowDpi(HWND window) {
    const uint32_t dpi = QueryDpiForWindow(window);
    if (dpi != 0)
        return dpi;
    UniqueWindowDC dc(window, ::GetDC(window));
    const int device = dc.Get() != nullptr ? ::GetDeviceCaps(dc.Get(), LOGPIXELSX) : 0;
    return ChooseWindowDpi(0, device > 0 ? static_cast<uint32_t>(device) : 0);
}

void LogWindowDpi(HWND window, const char* label) {
    DpiLineFacts facts;
    facts.dpi = GetWindowDpi(window);
    RECT client{}, frame{};
    if (::GetClientRect(window, &client)) {
        facts.clientWidth = client.right - client.left;
        facts.clientHeight = client.bottom - client.top;
    }
    if (::GetWindowRect(window, &frame)) {
        facts.windowWidth = frame.right - frame.left;
        facts.windowHeight = frame.bottom - frame.top;
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info)) {
        facts.work = FromRect(info.rcWork);
        facts.monitor = FromRect(info.rcMonitor);
    }
    Log::Write("%s", FormatDpiLine(label, facts).c_str());
}
