#include "media/CaptureAcquire.h"

#include "core/Log.h"
#include "core/StallScope.h"

namespace {

constexpr uint32_t kAcquireStallBudgetMs = 80;

const char* AcquireFailureMessage(CaptureStatus status, CaptureMode mode) {
    const bool nv12 = mode == CaptureMode::GpuNv12;
    switch (status) {
    case CaptureStatus::AccessLost:
        return nv12 ? "NV12 AcquireNextFrame access lost" : "Async AcquireNextFrame access lost";
    case CaptureStatus::DeviceLost:
        return nv12 ? "NV12 AcquireNextFrame device lost" : "Async AcquireNextFrame device lost";
    default:
        return nv12 ? "NV12 AcquireNextFrame failed" : "Async AcquireNextFrame failed";
    }
}

// Releases the held frame when the capture leaves, whichever way.
class HeldFrame {
public:
    explicit HeldFrame(IDesktopFrameSource& source) : m_source(source) {}
    ~HeldFrame() { m_source.ReleaseFrame(); }
    HeldFrame(const HeldFrame&) = delete;
    HeldFrame& operator=(const HeldFrame&) = delete;

private:
    IDesktopFrameSource& m_source;
};

} // namespace

CaptureStatus CaptureStatusOfAcquire(int32_t hr) {
    if (hr >= 0)
        return CaptureStatus::FrameDelivered;
    switch (hr) {
    case kDxgiErrorWaitTimeout:
        return CaptureStatus::NoNewFrame;
    case kDxgiErrorAccessLost:
        return CaptureStatus::AccessLost;
    case kDxgiErrorDeviceRemoved:
    case kDxgiErrorDeviceReset:
        return CaptureStatus::DeviceLost;
    default:
        return CaptureStatus::Failed;
    }
}

CaptureStatus AcquireDesktopFrame(IDesktopFrameSource& source, CaptureMode mode) {
    int32_t hr = 0;
    {
        StallScope scope("DesktopCapture", "AcquireNextFrame", kAcquireStallBudgetMs);
        hr = source.AcquireNextFrame(kCaptureAcquireTimeoutMs);
    }
    const CaptureStatus status = CaptureStatusOfAcquire(hr);
    if (status != CaptureStatus::FrameDelivered && status != CaptureStatus::NoNewFrame)
        source.ReportFailure(AcquireFailureMessage(status, mode), hr);
    return status;
}

CaptureStatus CaptureDesktopBgra(IDesktopImageSource& source, const CaptureGeometry& geometry,
                                 int32_t maxWidth, int32_t maxHeight, CapturedFrame& frame) {
    const CaptureStatus acquired = AcquireDesktopFrame(source, CaptureMode::CpuBgra);
    if (acquired != CaptureStatus::FrameDelivered)
        return acquired;
    HeldFrame held(source);
    DesktopImageView image;
    if (!source.MapFrame(image))
        return CaptureStatus::Failed;
    const CaptureSize size =
        CaptureOutputSize(geometry.logicalWidth, geometry.logicalHeight, maxWidth, maxHeight);
    const bool copied = CopyDesktopImage(image, geometry.rotation, geometry.logicalWidth,
                                         geometry.logicalHeight, size, frame.bytes);
    source.UnmapFrame();
    if (!copied) {
        Log::Write(
            "DesktopDuplicator CPU copy refused raw=%dx%d format=%u logical=%dx%d rotation=%u output=%dx%d",
            image.width, image.height, image.format, geometry.logicalWidth, geometry.logicalHeight,
            static_cast<uint32_t>(geometry.rotation), size.width, size.height);
        return CaptureStatus::Failed;
    }
    frame.width = size.width;
    frame.height = size.height;
    return CaptureStatus::FrameDelivered;
}
