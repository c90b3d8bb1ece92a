#include "media/win/DesktopDuplicatorStep.h"

#include <atomic>
#include <cstdio>

#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/win/HResultText.h"
#include "media/ColorDiagnostics.h"
#include "media/ColorNames.h"

using Microsoft::WRL::ComPtr;

namespace {

// Statistics lines of captured frames come at most this often.
constexpr uint64_t kStatsIntervalMs = 5000;

} // namespace

CaptureStatus DesktopDuplicator::Step::CaptureOne(CaptureMode mode, int32_t maxWidth, int32_t maxHeight,
                                                  CapturedFrame& frame) {
    std::lock_guard<std::mutex> lock(m_owner.m_d3dMutex);
    return mode == CaptureMode::GpuNv12 ? CaptureNv12(frame) : CaptureBgra(maxWidth, maxHeight, frame);
}

CaptureStatus DesktopDuplicator::Step::CaptureBgra(int32_t maxWidth, int32_t maxHeight,
                                                   CapturedFrame& frame) {
    if (!m_owner.m_duplication || !m_owner.m_context) {
        Log::Write(
            "DesktopDuplicator BGRA capture aborted: D3D resources are not ready or already shutting down");
        return CaptureStatus::Failed;
    }
    const CaptureGeometry geometry{m_owner.m_logicalWidth, m_owner.m_logicalHeight, m_owner.m_rotation};
    const CaptureStatus status = CaptureDesktopBgra(*this, geometry, maxWidth, maxHeight, frame);
    const uint64_t now = StallNowMs();
    if (status == CaptureStatus::FrameDelivered &&
        (m_lastStatsMs == 0 || now - m_lastStatsMs >= kStatsIntervalMs)) {
        m_lastStatsMs = now;
        LogBgraStats("[COLOR][CAPTURE][BGRA-STATS]", frame.bytes.data(), frame.width, frame.height,
                     size_t(frame.width) * 4);
    }
    return status;
}

int32_t DesktopDuplicator::Step::AcquireNextFrame(uint32_t timeoutMs) {
    m_frame.Reset();
    m_frameInfo = {};
    return m_owner.m_duplication->AcquireNextFrame(timeoutMs, &m_frameInfo, &m_frame);
}

void DesktopDuplicator::Step::ReleaseFrame() {
    m_frame.Reset();
    m_owner.m_duplication->ReleaseFrame();
}

void DesktopDuplicator::Step::ReportFailure(const char* message, int32_t hr) {
    char line[512];
    std::snprintf(line, sizeof line, "%s %s", message, HResultToText(hr));
    Log::Write("%s", line);
    RuntimeSetStatusMessage(line);
}

void DesktopDuplicator::Step::LogSourceOnce(const char* tag, ID3D11Texture2D* texture) {
    D3D11_TEXTURE2D_DESC desc = {};
    texture->GetDesc(&desc);
    const uint32_t format = static_cast<uint32_t>(desc.Format);
    Log::Write("[COLOR][CAPTURE][%s] format=%u(%s) size=%ux%u bind=0x%08X misc=0x%08X frameAccum=%u "
               "protectedMasked=%d metadata=%u lastPresent=%lld",
               tag, format, DxgiFormatName(format), desc.Width, desc.Height, desc.BindFlags, desc.MiscFlags,
               m_frameInfo.AccumulatedFrames, m_frameInfo.ProtectedContentMaskedOut ? 1 : 0,
               m_frameInfo.TotalMetadataBufferSize,
               static_cast<long long>(m_frameInfo.LastPresentTime.QuadPart));
}

bool DesktopDuplicator::Step::MapFrame(DesktopImageView& image) {
    ComPtr<ID3D11Texture2D> texture;
    HRESULT hr = m_frame ? m_frame.As(&texture) : E_POINTER;
    if (FAILED(hr)) {
        ReportFailure("Async query frame texture failed", hr);
        return false;
    }
    static std::atomic<bool> s_sourceLogged{false};
    if (!s_sourceLogged.exchange(true))
        LogSourceOnce("BGRA-SRC", texture.Get());
    D3D11_TEXTURE2D_DESC desc = {};
    texture->GetDesc(&desc);
    if (!m_owner.EnsureStagingTexture(desc.Width, desc.Height, desc.Format))
        return false;
    m_owner.m_context->CopyResource(m_owner.m_staging.Get(), texture.Get());
    D3D11_MAPPED_SUBRESOURCE mapped = {};
    hr = m_owner.m_context->Map(m_owner.m_staging.Get(), 0, D3D11_MAP_READ, 0, &mapped);
    if (FAILED(hr)) {
        ReportFailure("Async map staging failed", hr);
        return false;
    }
    image = {static_cast<const uint8_t*>(mapped.pData), mapped.RowPitch, static_cast<int32_t>(desc.Width),
             static_cast<int32_t>(desc.Height), static_cast<uint32_t>(desc.Format)};
    return true;
}

void DesktopDuplicator::Step::UnmapFrame() {
    m_owner.m_context->Unmap(m_owner.m_staging.Get(), 0);
}
