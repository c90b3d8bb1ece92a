#include "media/win/HdrDetect.h"

#include <dxgi1_6.h>
#include <wrl/client.h>

#include "core/Log.h"
#include "media/ColorNames.h"
#include "media/win/HdrSwitch.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr uint32_t kColorSpaceHdr10 = DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020;
constexpr uint32_t kColorSpaceWcg2020 = DXGI_COLOR_SPACE_RGB_FULL_G22_NONE_P2020;

RECT TargetRect(HWND window, const RECT& rect) {
    RECT target = rect;
    if (window != nullptr && ::IsWindow(window)) {
        ::GetWindowRect(window, &target);
    }
    return target;
}

// Calls visit(adapterIndex, adapter) for each adapter; visit returns false to stop.
template <typename Visit> HRESULT ForEachAdapter(Visit visit) {
    ComPtr<IDXGIFactory1> factory;
    HRESULT hr = ::CreateDXGIFactory1(IID_PPV_ARGS(&factory));
    if (FAILED(hr)) {
        return hr;
    }
    ComPtr<IDXGIAdapter1> adapter;
    for (UINT a = 0; factory->EnumAdapters1(a, adapter.ReleaseAndGetAddressOf()) != DXGI_ERROR_NOT_FOUND;
         ++a) {
        if (!visit(a, adapter.Get())) {
            break;
        }
    }
    return S_OK;
}

} // namespace

bool DetectHdr(HWND window, const RECT& rect, HdrOutputInfo& info, bool log) {
    const RECT target = TargetRect(window, rect);
    bool found = false;
    bool anyIntersect = false;
    const HRESULT hr = ForEachAdapter([&](UINT a, IDXGIAdapter1* adapter) {
        ComPtr<IDXGIOutput> output;
        for (UINT o = 0; adapter->EnumOutputs(o, output.ReleaseAndGetAddressOf()) != DXGI_ERROR_NOT_FOUND;
             ++o) {
            DXGI_OUTPUT_DESC desc = {};
            RECT inter = {};
            if (FAILED(output->GetDesc(&desc)) ||
                !::IntersectRect(&inter, &desc.DesktopCoordinates, &target)) {
                continue;
            }
            anyIntersect = true;
            ComPtr<IDXGIOutput6> output6;
            DXGI_OUTPUT_DESC1 desc1 = {};
            if (FAILED(output.As(&output6)) || FAILED(output6->GetDesc1(&desc1))) {
                continue;
            }
            info.windowsHdr = desc1.ColorSpace == kColorSpaceHdr10;
            info.bitsPerColor = desc1.BitsPerColor;
            info.maxLuminance = desc1.MaxLuminance;
            if (log) {
                Log::Write(
                    "[COLOR][HDR-DETECT] hwnd=0x%p adapter=%u output=%u device=%S colorSpace=%u(%s) bits=%u "
                    "hdr10=%d maxLum=%.4f maxFullFrameLum=%.4f",
                    static_cast<void*>(window), a, o, desc1.DeviceName,
                    static_cast<unsigned>(desc1.ColorSpace), ColorSpaceName(desc1.ColorSpace),
                    desc1.BitsPerColor, info.windowsHdr ? 1 : 0, desc1.MaxLuminance,
                    desc1.MaxFullFrameLuminance);
            }
            found = true;
            return false;
        }
        return true;
    });
    if (FAILED(hr)) {
        if (log) {
            Log::Write("[COLOR][HDR-DETECT][ERR] CreateDXGIFactory1 hr=0x%08X", static_cast<unsigned>(hr));
        }
        return false;
    }
    if (!found && log) {
        Log::Write("[COLOR][HDR-DETECT] hwnd=0x%p no IDXGIOutput6 match anyIntersect=%d",
                   static_cast<void*>(window), anyIntersect ? 1 : 0);
    }
    return found;
}

void LogOutputColors(const char* tag, HWND window, const RECT& rect) {
    const RECT target = TargetRect(window, rect);
    Log::Write("[COLOR][DXGI][BEGIN] tag=%s hwnd=0x%p target=%ld,%ld,%ld,%ld hdrFrameworkEnv=%d", tag,
               static_cast<void*>(window), target.left, target.top, target.right, target.bottom,
               IsHdrFrameworkEnabled() ? 1 : 0);
    unsigned desc1Outputs = 0;
    const HRESULT hr = ForEachAdapter([&](UINT a, IDXGIAdapter1* adapter) {
        DXGI_ADAPTER_DESC1 adapterDesc = {};
        adapter->GetDesc1(&adapterDesc);
        Log::Write(
            "[COLOR][DXGI][ADAPTER] tag=%s adapter=%u vendor=0x%04X device=0x%04X flags=0x%08X name=%S", tag,
            a, adapterDesc.VendorId, adapterDesc.DeviceId, adapterDesc.Flags, adapterDesc.Description);
        ComPtr<IDXGIOutput> output;
        for (UINT o = 0; adapter->EnumOutputs(o, output.ReleaseAndGetAddressOf()) != DXGI_ERROR_NOT_FOUND;
             ++o) {
            DXGI_OUTPUT_DESC desc = {};
            output->GetDesc(&desc);
            RECT inter = {};
            const bool intersect = ::IntersectRect(&inter, &desc.DesktopCoordinates, &target) != FALSE;
            const RECT& d = desc.DesktopCoordinates;
            Log::Write("[COLOR][DXGI][OUTPUT] tag=%s adapter=%u output=%u device=%S desktop=%ld,%ld,%ld,%ld "
                       "attached=%d intersect=%d inter=%ld,%ld,%ld,%ld",
                       tag, a, o, desc.DeviceName, d.left, d.top, d.right, d.bottom,
                       desc.AttachedToDesktop ? 1 : 0, intersect ? 1 : 0, inter.left, inter.top, inter.right,
                       inter.bottom);
            if (!intersect) {
                continue;
            }
            ComPtr<IDXGIOutput6> output6;
            HRESULT qhr = output.As(&output6);
            if (FAILED(qhr)) {
                Log::Write("[COLOR][DXGI][NO_OUTPUT6] tag=%s adapter=%u output=%u hr=0x%08X", tag, a, o,
                           static_cast<unsigned>(qhr));
                continue;
            }
            DXGI_OUTPUT_DESC1 d1 = {};
            if (FAILED(qhr = output6->GetDesc1(&d1))) {
                Log::Write("[COLOR][DXGI][DESC1_ERR] tag=%s adapter=%u output=%u GetDesc1 hr=0x%08X", tag, a,
                           o, static_cast<unsigned>(qhr));
                continue;
            }
            ++desc1Outputs;
            Log::Write("[COLOR][DXGI][DESC1] tag=%s adapter=%u output=%u colorSpace=%u(%s) bits=%u hdr10=%d "
                       "wcg2020=%d minLum=%.4f maxLum=%.4f maxFullFrameLum=%.4f R=(%.4f,%.4f) G=(%.4f,%.4f) "
                       "B=(%.4f,%.4f) W=(%.4f,%.4f)",
                       tag, a, o, static_cast<unsigned>(d1.ColorSpace), ColorSpaceName(d1.ColorSpace),
                       d1.BitsPerColor, d1.ColorSpace == kColorSpaceHdr10 ? 1 : 0,
                       d1.ColorSpace == kColorSpaceWcg2020 ? 1 : 0, d1.MinLuminance, d1.MaxLuminance,
                       d1.MaxFullFrameLuminance, d1.RedPrimary[0], d1.RedPrimary[1], d1.GreenPrimary[0],
                       d1.GreenPrimary[1], d1.BluePrimary[0], d1.BluePrimary[1], d1.WhitePoint[0],
                       d1.WhitePoint[1]);
        }
        return true;
    });
    if (FAILED(hr)) {
        Log::Write("[COLOR][DXGI][ERR] tag=%s CreateDXGIFactory1 hr=0x%08X", tag, static_cast<unsigned>(hr));
        return;
    }
    Log::Write("[COLOR][DXGI][END] tag=%s intersectDesc1Outputs=%u", tag, desc1Outputs);
}
