#include "input/win/ScreenScaleMonitor.h"

#include <windows.h>

#include <atomic>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/win/Handles.h"
#include "input/MonitorThread.h"

namespace {

constexpr uint32_t kPollMs = 250;

struct ScaleState {
    MonitorThread thread{"ScreenScaleMonitorDll"};
    std::atomic<uint32_t> screenWidth{0};
    std::atomic<uint32_t> screenHeight{0};
    std::atomic<uint32_t> dpi{96};
    std::atomic<uint32_t> dpiScalePercent{100};
    std::atomic<uint32_t> controlUiScalePercent{100};
};

// Never destroyed: the exports may be called, and the thread may poll, while the process exits.
ScaleState& State() {
    static ScaleState* state = new ScaleState;
    return *state;
}

// Optional: user32 of older systems has no GetDpiForWindow.
UINT WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return getDpi != nullptr && window != nullptr ? getDpi(window) : 0;
}

int DeviceDpi(HWND window) {
    UniqueWindowDC dc(window, ::GetDC(window));
    return dc.Get() != nullptr ? ::GetDeviceCaps(dc.Get(), LOGPIXELSX) : 0;
}

ScreenScaleState Measure() {
    HWND main = reinterpret_cast<HWND>(RuntimeGetMainWindow());
    if (main != nullptr && !::IsWindow(main))
        main = nullptr;
    HMONITOR monitor = nullptr;
    if (main != nullptr) {
        monitor = ::MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST);
    } else {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        monitor = ::MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
    }
    MONITORINFO info{};
    info.cbSize = sizeof info;
    int width = ::GetSystemMetrics(SM_CXSCREEN);
    int height = ::GetSystemMetrics(SM_CYSCREEN);
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info)) {
        width = info.rcMonitor.right - info.rcMonitor.left;
        height = info.rcMonitor.bottom - info.rcMonitor.top;
    }
    return MeasureScreenScale(width, height, static_cast<int32_t>(WindowDpi(main)), DeviceDpi(main));
}

bool Exchange(std::atomic<uint32_t>& slot, uint32_t value) {
    return slot.exchange(value) != value;
}

void Poll(const StopSignal& stop) {
    ScreenScaleMonitor::Refresh(true);
    while (!stop.WaitFor(kPollMs))
        ScreenScaleMonitor::Refresh(false);
}

} // namespace

namespace ScreenScaleMonitor {

bool Start() {
    return State().thread.Start(&Poll);
}

void Stop() {
    State().thread.Stop();
}

ScreenScaleState Current() {
    const ScaleState& s = State();
    return ScreenScaleState{s.screenWidth.load(), s.screenHeight.load(), s.dpi.load(),
                            s.dpiScalePercent.load(), s.controlUiScalePercent.load()};
}

void Refresh(bool force) {
    const ScreenScaleState measured = Measure();
    ScaleState& s = State();
    bool changed = Exchange(s.screenWidth, measured.screenWidth);
    changed = Exchange(s.screenHeight, measured.screenHeight) || changed;
    changed = Exchange(s.dpi, measured.dpi) || changed;
    changed = Exchange(s.dpiScalePercent, measured.dpiScalePercent) || changed;
    changed = Exchange(s.controlUiScalePercent, measured.controlUiScalePercent) || changed;
    if (RuntimeSetScreenScale(measured.screenWidth, measured.screenHeight, measured.dpi,
                              measured.dpiScalePercent, measured.controlUiScalePercent))
        RuntimeNotifyChanged();
    if (force || changed)
        Log::Write("ScreenScaleMonitor state screen=%dx%d dpi=%d dpiScale=%d%% controlUiScale=%d%%",
                   static_cast<int>(measured.screenWidth), static_cast<int>(measured.screenHeight),
                   static_cast<int>(measured.dpi), static_cast<int>(measured.dpiScalePercent),
                   static_cast<int>(measured.controlUiScalePercent));
}

} // namespace ScreenScaleMonitor
