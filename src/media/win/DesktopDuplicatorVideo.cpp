// The GPU mode: the Direct3D 11 video processor turns the desktop into full-range BT.709 NV12.
#include <atomic>

#include "core/Log.h"
#include "core/StallScope.h"
#include "core/win/HResultText.h"
#include "media/CaptureFrameCopy.h"
#include "media/ColorDiagnostics.h"
#include "media/win/DesktopDuplicatorStep.h"
#include "media/win/HdrSwitch.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr uint64_t kStatsIntervalMs = 5000;

bool LogFailure(const char* message, HRESULT hr) {
    Log::Write("%s %s", message, HResultToText(hr));
    return false;
}

D3D11_TEXTURE2D_DESC Nv12TextureDesc(int32_t width, int32_t height) {
    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = static_cast<UINT>(width);
    desc.Height = static_cast<UINT>(height);
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_NV12;
    desc.SampleDesc.Count = 1;
    return desc;
}

} // namespace

bool DesktopDuplicator::EnsureVideoProcessor() {
    if (m_videoContext && m_videoProcessor && m_videoEnumerator && m_nv12Output && m_nv12Staging &&
        m_outputView)
        return true;
    if (!m_device || !m_context)
        return false;
    ComPtr<ID3D11VideoDevice> videoDevice;
    HRESULT hr = m_device.As(&videoDevice);
    if (FAILED(hr))
        return LogFailure("DesktopDuplicator query ID3D11VideoDevice failed", hr);
    ComPtr<ID3D11VideoContext> videoContext;
    hr = m_context.As(&videoContext);
    if (FAILED(hr))
        return LogFailure("DesktopDuplicator query ID3D11VideoContext failed", hr);

    D3D11_VIDEO_PROCESSOR_CONTENT_DESC content = {};
    content.InputFrameFormat = D3D11_VIDEO_FRAME_FORMAT_PROGRESSIVE;
    content.InputWidth = static_cast<UINT>(m_logicalWidth);
    content.InputHeight = static_cast<UINT>(m_logicalHeight);
    content.OutputWidth = static_cast<UINT>(m_logicalWidth);
    content.OutputHeight = static_cast<UINT>(m_logicalHeight);
    content.Usage = D3D11_VIDEO_USAGE_PLAYBACK_NORMAL;
    ComPtr<ID3D11VideoProcessorEnumerator> enumerator;
    hr = videoDevice->CreateVideoProcessorEnumerator(&content, &enumerator);
    if (FAILED(hr))
        return LogFailure("DesktopDuplicator CreateVideoProcessorEnumerator failed", hr);

    D3D11_VIDEO_PROCESSOR_CAPS caps = {};
    enumerator->GetVideoProcessorCaps(&caps);
    Log::Write(
        "[COLOR][CAPTURE][VP-CAPS] deviceCaps=0x%08X featureCaps=0x%08X filterCaps=0x%08X "
        "inputFormatCaps=0x%08X autoStreamCaps=0x%08X stereoCaps=0x%08X rateCaps=%u maxInputStreams=%u "
        "maxStreamStates=%u",
        caps.DeviceCaps, caps.FeatureCaps, caps.FilterCaps, caps.InputFormatCaps, caps.AutoStreamCaps,
        caps.StereoCaps, caps.RateConversionCapsCount, caps.MaxInputStreams, caps.MaxStreamStates);
    UINT bgra = 0, nv12 = 0, p010 = 0;
    enumerator->CheckVideoProcessorFormat(DXGI_FORMAT_B8G8R8A8_UNORM, &bgra);
    enumerator->CheckVideoProcessorFormat(DXGI_FORMAT_NV12, &nv12);
    enumerator->CheckVideoProcessorFormat(DXGI_FORMAT_P010, &p010);
    Log::Write(
        "[COLOR][CAPTURE][VP-FORMAT] BGRA=0x%08X NV12=0x%08X P010=0x%08X content=%ux%u->%ux%u usage=%u", bgra,
        nv12, p010, content.InputWidth, content.InputHeight, content.OutputWidth, content.OutputHeight,
        static_cast<unsigned>(content.Usage));

    ComPtr<ID3D11VideoProcessor> processor;
    hr = videoDevice->CreateVideoProcessor(enumerator.Get(), 0, &processor);
    if (FAILED(hr))
        return LogFailure("DesktopDuplicator CreateVideoProcessor failed", hr);

    D3D11_TEXTURE2D_DESC outputDesc = Nv12TextureDesc(m_logicalWidth, m_logicalHeight);
    outputDesc.Usage = D3D11_USAGE_DEFAULT;
    outputDesc.BindFlags = D3D11_BIND_RENDER_TARGET;
    ComPtr<ID3D11Texture2D> output;
    hr = m_device->CreateTexture2D(&outputDesc, nullptr, &output);
    if (FAILED(hr))
        return LogFailure("DesktopDuplicator CreateTexture2D NV12 output failed", hr);
    D3D11_TEXTURE2D_DESC stagingDesc = Nv12TextureDesc(m_logicalWidth, m_logicalHeight);
    stagingDesc.Usage = D3D11_USAGE_STAGING;
    stagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ComPtr<ID3D11Texture2D> staging;
    hr = m_device->CreateTexture2D(&stagingDesc, nullptr, &staging);
    if (FAILED(hr))
        return LogFailure("DesktopDuplicator CreateTexture2D NV12 staging failed", hr);

    D3D11_VIDEO_PROCESSOR_OUTPUT_VIEW_DESC viewDesc = {};
    viewDesc.ViewDimension = D3D11_VPOV_DIMENSION_TEXTURE2D;
    viewDesc.Texture2D.MipSlice = 0;
    ComPtr<ID3D11VideoProcessorOutputView> outputView;
    hr = videoDevice->CreateVideoProcessorOutputView(output.Get(), enumerator.Get(), &viewDesc, &outputView);
    if (FAILED(hr))
        return LogFailure("DesktopDuplicator CreateVideoProcessorOutputView NV12 failed", hr);

    m_videoDevice = videoDevice;
    m_videoContext = videoContext;
    m_videoEnumerator = enumerator;
    m_videoProcessor = processor;
    m_nv12Output = output;
    m_nv12Staging = staging;
    m_outputView = outputView;
    if (IsHdrFrameworkEnabled())
        Log::Write(
            "HDR framework: capture currently tone-maps/exports SDR NV12; P010/HEVC Main10 path reserved for "
            "HDR mode");
    Log::Write("DesktopDuplicator GPU BGRA->NV12 VideoProcessor path ready %dx%d", m_logicalWidth,
               m_logicalHeight);
    return true;
}

CaptureStatus DesktopDuplicator::Step::CaptureNv12(CapturedFrame& frame) {
    DesktopDuplicator& d = m_owner;
    if (!IsUprightRotation(d.m_rotation) || d.m_rawWidth != d.m_logicalWidth ||
        d.m_rawHeight != d.m_logicalHeight)
        return CaptureStatus::Failed;
    if (!d.m_duplication || !d.EnsureVideoProcessor()) {
        Log::Write(
            "DesktopDuplicator NV12 capture aborted: D3D resources are not ready or already shutting down");
        return CaptureStatus::Failed;
    }
    const CaptureStatus acquired = AcquireDesktopFrame(*this, CaptureMode::GpuNv12);
    if (acquired != CaptureStatus::FrameDelivered)
        return acquired;
    ComPtr<ID3D11Texture2D> desktop;
    const HRESULT hr = m_frame ? m_frame.As(&desktop) : E_POINTER;
    CaptureStatus status = CaptureStatus::Failed;
    if (FAILED(hr)) {
        ReportFailure("NV12 query frame texture failed", hr);
    } else {
        static std::atomic<bool> s_sourceLogged{false};
        if (!s_sourceLogged.exchange(true))
            LogSourceOnce("NV12-SRC", desktop.Get());
        status = ConvertToNv12(desktop.Get(), frame);
    }
    ReleaseFrame();
    return status;
}

CaptureStatus DesktopDuplicator::Step::ConvertToNv12(ID3D11Texture2D* desktop, CapturedFrame& frame) {
    DesktopDuplicator& d = m_owner;
    D3D11_VIDEO_PROCESSOR_INPUT_VIEW_DESC inputDesc = {};
    inputDesc.ViewDimension = D3D11_VPIV_DIMENSION_TEXTURE2D;
    ComPtr<ID3D11VideoProcessorInputView> input;
    HRESULT hr = d.m_videoDevice->CreateVideoProcessorInputView(desktop, d.m_videoEnumerator.Get(),
                                                                &inputDesc, &input);
    if (FAILED(hr)) {
        LogFailure("CreateVideoProcessorInputView desktop BGRA failed", hr);
        return CaptureStatus::Failed;
    }

    ID3D11VideoContext* video = d.m_videoContext.Get();
    ID3D11VideoProcessor* processor = d.m_videoProcessor.Get();
    const RECT whole{0, 0, d.m_logicalWidth, d.m_logicalHeight};
    video->VideoProcessorSetStreamFrameFormat(processor, 0, D3D11_VIDEO_FRAME_FORMAT_PROGRESSIVE);
    video->VideoProcessorSetStreamSourceRect(processor, 0, TRUE, &whole);
    video->VideoProcessorSetStreamDestRect(processor, 0, TRUE, &whole);
    video->VideoProcessorSetOutputTargetRect(processor, TRUE, &whole);
    // Full-range RGB in, full-range BT.709 YCbCr out: what the encoder signals and the viewer expects.
    D3D11_VIDEO_PROCESSOR_COLOR_SPACE in = {};
    in.RGB_Range = 0; // 0-255
    in.YCbCr_Matrix = 1;
    in.Nominal_Range = D3D11_VIDEO_PROCESSOR_NOMINAL_RANGE_0_255;
    D3D11_VIDEO_PROCESSOR_COLOR_SPACE out = {};
    out.RGB_Range = 0;
    out.YCbCr_Matrix = 1; // BT.709
    out.Nominal_Range = D3D11_VIDEO_PROCESSOR_NOMINAL_RANGE_0_255;
    video->VideoProcessorSetStreamColorSpace(processor, 0, &in);
    video->VideoProcessorSetOutputColorSpace(processor, &out);
    static std::atomic<bool> s_colorLogged{false};
    if (!s_colorLogged.exchange(true))
        Log::Write(
            "[COLOR][CAPTURE][VP-COLORSPACE] in RGB_Range=%u YCbCr_Matrix=%u xvYCC=%u Nominal_Range=%u out "
            "RGB_Range=%u YCbCr_Matrix=%u xvYCC=%u Nominal_Range=%u expected=RGBFull_to_NV12Full_BT709",
            in.RGB_Range, in.YCbCr_Matrix, in.YCbCr_xvYCC, in.Nominal_Range, out.RGB_Range, out.YCbCr_Matrix,
            out.YCbCr_xvYCC, out.Nominal_Range);

    D3D11_VIDEO_PROCESSOR_STREAM stream = {};
    stream.Enable = TRUE;
    stream.pInputSurface = input.Get();
    hr = video->VideoProcessorBlt(processor, d.m_outputView.Get(), 0, 1, &stream);
    if (FAILED(hr)) {
        LogFailure("DesktopDuplicator VideoProcessorBlt BGRA->NV12 failed", hr);
        return CaptureStatus::Failed;
    }
    d.m_context->CopyResource(d.m_nv12Staging.Get(), d.m_nv12Output.Get());
    D3D11_MAPPED_SUBRESOURCE mapped = {};
    hr = d.m_context->Map(d.m_nv12Staging.Get(), 0, D3D11_MAP_READ, 0, &mapped);
    if (FAILED(hr)) {
        ReportFailure("Map NV12 staging failed", hr);
        return CaptureStatus::Failed;
    }
    const bool copied = CopyNv12Planes(static_cast<const uint8_t*>(mapped.pData), mapped.RowPitch,
                                       d.m_logicalWidth, d.m_logicalHeight, frame.bytes);
    d.m_context->Unmap(d.m_nv12Staging.Get(), 0);
    if (!copied) {
        Log::Write("DesktopDuplicator NV12 readback refused size=%dx%d pitch=%u", d.m_logicalWidth,
                   d.m_logicalHeight, mapped.RowPitch);
        return CaptureStatus::Failed;
    }
    frame.width = d.m_logicalWidth;
    frame.height = d.m_logicalHeight;
    const uint64_t now = StallNowMs();
    if (m_lastStatsMs == 0 || now - m_lastStatsMs >= kStatsIntervalMs) {
        LogNv12Stats(m_lastStatsMs == 0 ? "[COLOR][CAPTURE][NV12-FIRST]" : "[COLOR][CAPTURE][NV12-STATS]",
                     Nv12StatsSource::Capture, frame.bytes.data(), frame.width, frame.height, frame.width,
                     frame.width);
        m_lastStatsMs = now;
    }
    return CaptureStatus::FrameDelivered;
}
