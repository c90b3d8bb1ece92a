#include "media/win/DisplayFingerprintQuery.h"

#include <dxgi1_6.h>
#include <wrl/client.h>

#include "core/Log.h"

using Microsoft::WRL::ComPtr;

namespace {

struct MonitorWalk {
    std::vector<DisplayMonitor> monitors;
    bool failed = false;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
    auto* walk = reinterpret_cast<MonitorWalk*>(context);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) {
        Log::Write("[DISPLAY][HOST][ENUM] GetMonitorInfo failed gle=%lu", ::GetLastError());
        walk->failed = true;
        return FALSE;
    }
    walk->monitors.push_back({info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                              info.rcMonitor.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) != 0 ? 1 : 0});
    return TRUE;
}

// The colour state of the output that shows the primary monitor; left at -1/0/0 when DXGI has no such
// output or it offers no IDXGIOutput6.
void ReadPrimaryColorState(DisplayFingerprint& fingerprint) {
    const HMONITOR primary = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    ComPtr<IDXGIFactory1> factory;
    if (FAILED(::CreateDXGIFactory1(IID_PPV_ARGS(&factory))))
        return;
    ComPtr<IDXGIAdapter1> adapter;
    for (UINT a = 0; SUCCEEDED(factory->EnumAdapters1(a, adapter.ReleaseAndGetAddressOf())); ++a) {
        ComPtr<IDXGIOutput> output;
        for (UINT o = 0; SUCCEEDED(adapter->EnumOutputs(o, output.ReleaseAndGetAddressOf())); ++o) {
            DXGI_OUTPUT_DESC desc{};
            if (FAILED(output->GetDesc(&desc)) || desc.Monitor != primary)
                continue;
            ComPtr<IDXGIOutput6> output6;
            DXGI_OUTPUT_DESC1 desc1{};
            if (FAILED(output.As(&output6)) || FAILED(output6->GetDesc1(&desc1)))
                return;
            fingerprint.hdrState = desc1.ColorSpace == DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020 ? 1 : 0;
            fingerprint.colorSpace = static_cast<uint32_t>(desc1.ColorSpace);
            fingerprint.bitsPerColor = desc1.BitsPerColor;
            return;
        }
    }
}

} // namespace

std::optional<DisplayFingerprint> QueryDisplayFingerprint() {
    MonitorWalk walk;
    if (!::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&walk))) {
        if (!walk.failed)
            Log::Write("[DISPLAY][HOST][ENUM] EnumDisplayMonitors failed gle=%lu", ::GetLastError());
        return std::nullopt;
    }
    if (walk.failed)
        return std::nullopt;

    DisplayFingerprint fingerprint;
    fingerprint.count = static_cast<int32_t>(walk.monitors.size());
    fingerprint.primaryWidth = ::GetSystemMetrics(SM_CXSCREEN);
    fingerprint.primaryHeight = ::GetSystemMetrics(SM_CYSCREEN);
    fingerprint.virtualLeft = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    fingerprint.virtualTop = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    fingerprint.virtualWidth = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    fingerprint.virtualHeight = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    fingerprint.monitors = std::move(walk.monitors);
    SortDisplayMonitors(fingerprint.monitors);
    if (!fingerprint.IsValid()) {
        Log::Write("[DISPLAY][HOST][ENUM] invalid fingerprint count=%d primary=%dx%d virtual=%d,%d %dx%d",
                   fingerprint.count, fingerprint.primaryWidth, fingerprint.primaryHeight,
                   fingerprint.virtualLeft, fingerprint.virtualTop, fingerprint.virtualWidth,
                   fingerprint.virtualHeight);
        return std::nullopt;
    }
    ReadPrimaryColorState(fingerprint);
    return fingerprint;
}
