#pragma once

#include "media/CaptureAcquire.h"
#include "media/DuplicatorCapture.h"
#include "media/win/DesktopDuplicator.h"

// The capture thread's view of a DesktopDuplicator: one frame in the thread's mode, under the Direct3D
// lock for the whole frame. Also the duplication seam of the core capture (CaptureAcquire.h).
class DesktopDuplicator::Step final : public ICaptureStep, public IDesktopImageSource {
public:
    explicit Step(DesktopDuplicator& owner) : m_owner(owner) {}

    CaptureStatus CaptureOne(CaptureMode mode, int32_t maxWidth, int32_t maxHeight,
                             CapturedFrame& frame) override;

    int32_t AcquireNextFrame(uint32_t timeoutMs) override;
    void ReleaseFrame() override;
    void ReportFailure(const char* message, int32_t hr) override;
    bool MapFrame(DesktopImageView& image) override;
    void UnmapFrame() override;

private:
    // Expect the Direct3D lock held.
    CaptureStatus CaptureBgra(int32_t maxWidth, int32_t maxHeight, CapturedFrame& frame);
    CaptureStatus CaptureNv12(CapturedFrame& frame);
    CaptureStatus ConvertToNv12(ID3D11Texture2D* desktop, CapturedFrame& frame);
    void LogSourceOnce(const char* tag, ID3D11Texture2D* texture);

    DesktopDuplicator& m_owner;
    // The frame held between AcquireNextFrame and ReleaseFrame.
    Microsoft::WRL::ComPtr<IDXGIResource> m_frame;
    DXGI_OUTDUPL_FRAME_INFO m_frameInfo = {};
    // When the last statistics line was written (steady milliseconds); 0 = never.
    uint64_t m_lastStatsMs = 0;
};
