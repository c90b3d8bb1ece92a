#include "media/win/DesktopDuplicator.h"

#include <dxgi1_6.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "core/win/HResultText.h"
#include "core/win/TextConvert.h"
#include "media/CaptureOutputRank.h"
#include "media/ColorNames.h"
#include "media/win/DesktopDuplicatorStep.h"
#include "media/win/HdrSwitch.h"

using Microsoft::WRL::ComPtr;

namespace {

// BGRA support for the staging copies, video support for the NV12 video processor.
constexpr UINT kDeviceFlags = D3D11_CREATE_DEVICE_BGRA_SUPPORT | D3D11_CREATE_DEVICE_VIDEO_SUPPORT;

CaptureRect ToCaptureRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The primary monitor's rectangle, which the chosen output should show.
RECT PrimaryReferenceRect() {
    HMONITOR monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info))
        return info.rcMonitor;
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

CaptureRotation RotationOf(DXGI_MODE_ROTATION rotation) {
    return rotation == DXGI_MODE_ROTATION_UNSPECIFIED ? CaptureRotation::Identity
                                                      : static_cast<CaptureRotation>(rotation);
}

struct Candidate {
    ComPtr<IDXGIAdapter1> adapter;
    ComPtr<IDXGIOutput> output;
    UINT adapterIndex = 0;
    UINT outputIndex = 0;
    DXGI_ADAPTER_DESC1 adapterDesc = {};
    DXGI_OUTPUT_DESC outputDesc = {};
    int64_t score = 0;
};

// Every attached output of every hardware adapter, scored against the primary monitor.
std::vector<Candidate> EnumerateCandidates(IDXGIFactory1* factory, const RECT& reference) {
    std::vector<Candidate> candidates;
    for (UINT a = 0;; ++a) {
        ComPtr<IDXGIAdapter1> adapter;
        HRESULT hr = factory->EnumAdapters1(a, &adapter);
        if (hr == DXGI_ERROR_NOT_FOUND)
            break;
        if (FAILED(hr)) {
            Log::Write("DesktopDuplicator EnumAdapters1 failed %s", HResultToText(hr));
            break;
        }
        DXGI_ADAPTER_DESC1 adapterDesc = {};
        adapter->GetDesc1(&adapterDesc);
        const std::string adapterName = WideToUtf8(adapterDesc.Description);
        if ((adapterDesc.Flags & DXGI_ADAPTER_FLAG_SOFTWARE) != 0) {
            Log::Write(
                "[DXGI][SELECT][SKIP_ADAPTER] adapter=%u software=1 vendor=0x%04X device=0x%04X name=%s", a,
                adapterDesc.VendorId, adapterDesc.DeviceId, adapterName.c_str());
            continue;
        }
        for (UINT o = 0;; ++o) {
            ComPtr<IDXGIOutput> output;
            hr = adapter->EnumOutputs(o, &output);
            if (hr == DXGI_ERROR_NOT_FOUND)
                break;
            if (FAILED(hr)) {
                Log::Write("DesktopDuplicator EnumOutputs failed %s", HResultToText(hr));
                break;
            }
            DXGI_OUTPUT_DESC outputDesc = {};
            output->GetDesc(&outputDesc);
            const std::string display = WideToUtf8(outputDesc.DeviceName);
            if (!outputDesc.AttachedToDesktop) {
                Log::Write("[DXGI][SELECT][SKIP_OUTPUT] adapter=%u output=%u device=%s attached=0", a, o,
                           display.c_str());
                continue;
            }
            const RECT& d = outputDesc.DesktopCoordinates;
            const int64_t score = ScoreCaptureOutput(ToCaptureRect(d), ToCaptureRect(reference));
            Log::Write("[DXGI][SELECT][CANDIDATE] adapter=%u output=%u vendor=0x%04X device=0x%04X name=%s "
                       "display=%s desktop=%ld,%ld,%ld,%ld rotation=%u score=%lld",
                       a, o, adapterDesc.VendorId, adapterDesc.DeviceId, adapterName.c_str(), display.c_str(),
                       d.left, d.top, d.right, d.bottom, static_cast<unsigned>(outputDesc.Rotation),
                       static_cast<long long>(score));
            candidates.push_back({adapter, output, a, o, adapterDesc, outputDesc, score});
        }
    }
    return candidates;
}

HRESULT CreateDevice(IDXGIAdapter1* adapter, ComPtr<ID3D11Device>& device,
                     ComPtr<ID3D11DeviceContext>& context, D3D_FEATURE_LEVEL& level) {
    static const D3D_FEATURE_LEVEL kLevels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0,
                                                D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0};
    HRESULT hr = ::D3D11CreateDevice(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, kDeviceFlags, kLevels, 4,
                                     D3D11_SDK_VERSION, &device, &level, &context);
    // A runtime that does not know 11.1 refuses the whole list.
    if (hr == E_INVALIDARG)
        hr = ::D3D11CreateDevice(adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, kDeviceFlags, kLevels + 1, 3,
                                 D3D11_SDK_VERSION, &device, &level, &context);
    return hr;
}

// Windows shows HDR on the output: its colour space is PQ with BT.2020 primaries. Unknown counts as no.
bool WindowsHdrOn(IDXGIOutput* output) {
    ComPtr<IDXGIOutput6> output6;
    DXGI_OUTPUT_DESC1 desc = {};
    return SUCCEEDED(output->QueryInterface(IID_PPV_ARGS(&output6))) && SUCCEEDED(output6->GetDesc1(&desc)) &&
           desc.ColorSpace == DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020;
}

} // namespace

DesktopDuplicator::DesktopDuplicator()
    : m_step(std::make_unique<Step>(*this)), m_capture(std::make_unique<DuplicatorCapture>(*m_step)) {}

DesktopDuplicator::~DesktopDuplicator() {
    Shutdown();
}

bool DesktopDuplicator::Init() {
    StopAsyncCapture();
    {
        std::lock_guard<std::mutex> lock(m_d3dMutex);
        ReleaseD3D();
    }
    m_rotation = CaptureRotation::Identity;
    m_rawWidth = m_rawHeight = 0;
    m_logicalWidth = m_logicalHeight = 0;
    m_hdrDesktopActive = false;
    m_color = CaptureColorFor(false);
    if (!SelectAndDuplicate())
        return false;

    std::lock_guard<std::mutex> lock(m_d3dMutex);
    DXGI_OUTDUPL_DESC duplicationDesc = {};
    m_duplication->GetDesc(&duplicationDesc);
    m_rawWidth = static_cast<int32_t>(duplicationDesc.ModeDesc.Width);
    m_rawHeight = static_cast<int32_t>(duplicationDesc.ModeDesc.Height);
    if (duplicationDesc.Rotation != DXGI_MODE_ROTATION_UNSPECIFIED)
        m_rotation = static_cast<CaptureRotation>(duplicationDesc.Rotation);
    if (m_rawWidth <= 0 || m_rawHeight <= 0) {
        const bool quarter =
            m_rotation == CaptureRotation::Rotate90 || m_rotation == CaptureRotation::Rotate270;
        m_rawWidth = quarter ? m_logicalHeight : m_logicalWidth;
        m_rawHeight = quarter ? m_logicalWidth : m_logicalHeight;
    }
    if (!EnsureStagingTexture(static_cast<uint32_t>(m_rawWidth), static_cast<uint32_t>(m_rawHeight),
                              DXGI_FORMAT_B8G8R8A8_UNORM)) {
        ReleaseD3D();
        return false;
    }
    const bool nativeNv12 =
        IsUprightRotation(m_rotation) && m_rawWidth == m_logicalWidth && m_rawHeight == m_logicalHeight;
    Log::Write("[ROTATION][CAPTURE][INIT] adapter=%u output=%u logical=%dx%d raw=%dx%d rotation=%u(%s) "
               "desktopImageInSystemMemory=%d nativeNv12=%d",
               m_adapterIndex, m_outputIndex, m_logicalWidth, m_logicalHeight, m_rawWidth, m_rawHeight,
               static_cast<unsigned>(m_rotation), CaptureRotationName(m_rotation),
               duplicationDesc.DesktopImageInSystemMemory ? 1 : 0, nativeNv12 ? 1 : 0);
    Log::Write("DesktopDuplicator init OK");
    return true;
}

bool DesktopDuplicator::SelectAndDuplicate() {
    ComPtr<IDXGIFactory1> factory;
    HRESULT hr = ::CreateDXGIFactory1(IID_PPV_ARGS(&factory));
    if (FAILED(hr)) {
        Log::Write("DesktopDuplicator CreateDXGIFactory1 failed %s", HResultToText(hr));
        return false;
    }
    std::vector<Candidate> candidates = EnumerateCandidates(factory.Get(), PrimaryReferenceRect());
    if (candidates.empty()) {
        Log::Write("DesktopDuplicator no attached hardware display outputs found");
        return false;
    }
    std::vector<int64_t> scores;
    for (const Candidate& c : candidates)
        scores.push_back(c.score);
    const std::vector<size_t> order = RankCaptureOutputs(scores);
    for (size_t rank = 0; rank < order.size(); ++rank) {
        const Candidate& c = candidates[order[rank]];
        const std::string display = WideToUtf8(c.outputDesc.DeviceName);
        ComPtr<ID3D11Device> device;
        ComPtr<ID3D11DeviceContext> context;
        D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_10_0;
        hr = CreateDevice(c.adapter.Get(), device, context, level);
        if (FAILED(hr)) {
            Log::Write("[DXGI][SELECT][DEVICE_FAIL] rank=%zu adapter=%u output=%u display=%s hr=0x%08X", rank,
                       c.adapterIndex, c.outputIndex, display.c_str(), static_cast<unsigned>(hr));
            continue;
        }
        ComPtr<IDXGIOutput1> output1;
        hr = c.output.As(&output1);
        if (FAILED(hr)) {
            Log::Write("[DXGI][SELECT][OUTPUT1_FAIL] rank=%zu adapter=%u output=%u display=%s hr=0x%08X",
                       rank, c.adapterIndex, c.outputIndex, display.c_str(), static_cast<unsigned>(hr));
            continue;
        }
        ComPtr<IDXGIOutputDuplication> duplication;
        hr = output1->DuplicateOutput(device.Get(), &duplication);
        if (FAILED(hr)) {
            Log::Write("[DXGI][SELECT][DUP_FAIL] rank=%zu adapter=%u output=%u vendor=0x%04X device=0x%04X "
                       "display=%s hr=0x%08X",
                       rank, c.adapterIndex, c.outputIndex, c.adapterDesc.VendorId, c.adapterDesc.DeviceId,
                       display.c_str(), static_cast<unsigned>(hr));
            continue;
        }
        const RECT& d = c.outputDesc.DesktopCoordinates;
        Log::Write("[DXGI][SELECT][SUCCESS] rank=%zu adapter=%u output=%u feature=0x%04X vendor=0x%04X "
                   "device=0x%04X name=%s display=%s desktop=%ld,%ld,%ld,%ld rotation=%u",
                   rank, c.adapterIndex, c.outputIndex, static_cast<unsigned>(level), c.adapterDesc.VendorId,
                   c.adapterDesc.DeviceId, WideToUtf8(c.adapterDesc.Description).c_str(), display.c_str(),
                   d.left, d.top, d.right, d.bottom, static_cast<unsigned>(c.outputDesc.Rotation));
        {
            std::lock_guard<std::mutex> lock(m_d3dMutex);
            m_device = device;
            m_context = context;
            m_duplication = duplication;
        }
        m_adapterIndex = c.adapterIndex;
        m_outputIndex = c.outputIndex;
        m_logicalWidth = d.right - d.left;
        m_logicalHeight = d.bottom - d.top;
        m_rotation = RotationOf(c.outputDesc.Rotation);
        DecideColor(c.output.Get());
        return true;
    }
    Log::Write("DesktopDuplicator all adapter/output DuplicateOutput attempts failed");
    return false;
}

void DesktopDuplicator::DecideColor(IDXGIOutput* output) {
    const bool windowsHdr = WindowsHdrOn(output);
    const bool hdrSwitch = IsHdrFrameworkEnabled();
    m_hdrDesktopActive = windowsHdr && hdrSwitch;
    m_color = CaptureColorFor(m_hdrDesktopActive);
    const char* colorName = VideoColorModeName(static_cast<uint32_t>(m_color.colorMode));
    Log::Write(
        "[COLOR][CAPTURE][DECISION] windowsHdrActual=%d hdrFrameworkEnv=%d advertisedColor=%s transfer=%s "
        "bitDepth=%lu hdrFlags=0x%08lX transportCurrent=H264_NV12_SDR_FULL_RANGE",
        windowsHdr ? 1 : 0, hdrSwitch ? 1 : 0, colorName,
        VideoTransferName(static_cast<uint32_t>(m_color.transfer)),
        static_cast<unsigned long>(m_color.bitDepth), static_cast<unsigned long>(m_color.hdrFlags));
    Log::Write("Desktop size %dx%d color=%s bitDepth=%lu hdrDesktopActive=%d windowsHdrActual=%d",
               m_logicalWidth, m_logicalHeight, colorName, static_cast<unsigned long>(m_color.bitDepth),
               m_hdrDesktopActive ? 1 : 0, windowsHdr ? 1 : 0);
}

bool DesktopDuplicator::EnsureStagingTexture(uint32_t width, uint32_t height, DXGI_FORMAT format) {
    const uint32_t formatValue = static_cast<uint32_t>(format);
    if (!IsCaptureBgraFormat(formatValue)) {
        Log::Write("DesktopDuplicator unsupported CPU BGRA source format=%u(%s) size=%ux%u", formatValue,
                   DxgiFormatName(formatValue), width, height);
        return false;
    }
    if (m_staging) {
        D3D11_TEXTURE2D_DESC current = {};
        m_staging->GetDesc(&current);
        if (current.Width == width && current.Height == height && current.Format == format)
            return true;
    }
    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = width;
    desc.Height = height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = format;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_STAGING;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ComPtr<ID3D11Texture2D> staging;
    const HRESULT hr = m_device ? m_device->CreateTexture2D(&desc, nullptr, &staging) : E_POINTER;
    if (FAILED(hr)) {
        Log::Write("DesktopDuplicator create source-sized staging texture failed %s", HResultToText(hr));
        return false;
    }
    m_staging = staging;
    Log::Write("[ROTATION][CAPTURE][STAGING] raw=%ux%u format=%u(%s) logical=%dx%d rotation=%u(%s)", width,
               height, formatValue, DxgiFormatName(formatValue), m_logicalWidth, m_logicalHeight,
               static_cast<unsigned>(m_rotation), CaptureRotationName(m_rotation));
    return true;
}

void DesktopDuplicator::ReleaseD3D() {
    // Reverse order of creation.
    m_outputView.Reset();
    m_nv12Staging.Reset();
    m_nv12Output.Reset();
    m_videoProcessor.Reset();
    m_videoEnumerator.Reset();
    m_videoContext.Reset();
    m_videoDevice.Reset();
    m_staging.Reset();
    m_duplication.Reset();
    m_context.Reset();
    m_device.Reset();
}

void DesktopDuplicator::Shutdown() {
    StopAsyncCapture();
    m_capture->ResetStatus();
    m_hdrDesktopActive = false;
    m_color = CaptureColorFor(false);
    {
        std::lock_guard<std::mutex> lock(m_d3dMutex);
        ReleaseD3D();
    }
    m_rotation = CaptureRotation::Identity;
    m_rawWidth = m_rawHeight = 0;
}

bool DesktopDuplicator::StartAsyncCapture(int32_t maxWidth, int32_t maxHeight) {
    if (!m_duplication) {
        Log::Write("DesktopDuplicator StartAsyncCapture refused: duplication not initialised");
        return false;
    }
    const DuplicatorCapture::StartResult result = m_capture->Start(CaptureMode::CpuBgra, maxWidth, maxHeight);
    if (result != DuplicatorCapture::StartResult::Started)
        return result == DuplicatorCapture::StartResult::AlreadyRunning;
    Log::Write("[COLOR][CAPTURE][PATH] async=BGRA_CPU path=max=%dx%d native=%dx%d format=%s transfer=%s "
               "hdrDesktopActive=%d",
               maxWidth, maxHeight, m_logicalWidth, m_logicalHeight,
               VideoColorModeName(static_cast<uint32_t>(m_color.colorMode)),
               VideoTransferName(static_cast<uint32_t>(m_color.transfer)), m_hdrDesktopActive ? 1 : 0);
    Log::Write("DesktopDuplicator async capture started max=%dx%d native=%dx%d", maxWidth, maxHeight,
               m_logicalWidth, m_logicalHeight);
    return true;
}

bool DesktopDuplicator::StartAsyncCaptureNV12() {
    if (!m_duplication) {
        Log::Write("DesktopDuplicator StartAsyncCaptureNV12 refused: duplication not initialised");
        return false;
    }
    if (!IsUprightRotation(m_rotation) || m_rawWidth != m_logicalWidth || m_rawHeight != m_logicalHeight) {
        Log::Write(
            "[ROTATION][CAPTURE][PATH] native GPU NV12 disabled logical=%dx%d raw=%dx%d rotation=%u(%s); use "
            "BGRA rotation fallback",
            m_logicalWidth, m_logicalHeight, m_rawWidth, m_rawHeight, static_cast<unsigned>(m_rotation),
            CaptureRotationName(m_rotation));
        return false;
    }
    bool ready = false;
    {
        std::lock_guard<std::mutex> lock(m_d3dMutex);
        ready = EnsureVideoProcessor();
    }
    if (!ready) {
        Log::Write("DesktopDuplicator NV12 async start failed; GPU path unavailable");
        return false;
    }
    const DuplicatorCapture::StartResult result = m_capture->Start(CaptureMode::GpuNv12, 0, 0);
    if (result != DuplicatorCapture::StartResult::Started)
        return result == DuplicatorCapture::StartResult::AlreadyRunning;
    Log::Write("[COLOR][CAPTURE][PATH] async=GPU_NV12 native=%dx%d format=%s transfer=%s hdrDesktopActive=%d "
               "range=full matrix=BT709",
               m_logicalWidth, m_logicalHeight, VideoColorModeName(static_cast<uint32_t>(m_color.colorMode)),
               VideoTransferName(static_cast<uint32_t>(m_color.transfer)), m_hdrDesktopActive ? 1 : 0);
    Log::Write("DesktopDuplicator async native NV12 capture started native=%dx%d", m_logicalWidth,
               m_logicalHeight);
    return true;
}

void DesktopDuplicator::StopAsyncCapture() {
    m_capture->Stop();
}

bool DesktopDuplicator::GetLatestFrame(std::vector<uint8_t>& nv12, int32_t& width, int32_t& height,
                                       int timeoutMs) {
    return m_capture->TakeLatest(CaptureMode::GpuNv12, nv12, width, height, timeoutMs);
}

bool DesktopDuplicator::GetLatestFrameBGRA(std::vector<uint8_t>& bgra, int32_t& width, int32_t& height,
                                           int timeoutMs) {
    return m_capture->TakeLatest(CaptureMode::CpuBgra, bgra, width, height, timeoutMs);
}

CaptureStatus DesktopDuplicator::Status() const {
    return m_capture->Status();
}

uint32_t DesktopDuplicator::CapturedFps() const {
    return m_capture->CapturedFps();
}

void DesktopDuplicator::SetCaptureIntervalMs(uint32_t intervalMs) {
    m_capture->SetIntervalMs(intervalMs);
}

bool DesktopDuplicator::AsyncRunning() const {
    return m_capture->Running();
}
