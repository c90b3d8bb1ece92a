// The host pipeline's capture port over the persistent GDI capture.
#include <memory>
#include <utility>

#include "media/win/HostPlatformWin.h"
#include "media/win/PersistentGdiCapture.h"

namespace {

class GdiCapturePort final : public IHostGdiCapture {
public:
    bool Init(int32_t maxWidth, int32_t maxHeight) override { return m_capture.Init(maxWidth, maxHeight); }
    bool Capture(HostFrame& frame) override {
        if (!m_capture.CaptureFrame(frame.pixels))
            return false;
        frame.width = m_capture.Output().width;
        frame.height = m_capture.Output().height;
        frame.nv12 = false;
        return true;
    }
    void SourceSize(int32_t& width, int32_t& height) override {
        width = m_capture.Source().width;
        height = m_capture.Source().height;
    }
    void Release() override { m_capture.Release(); }
    bool Snapshot(HostFrame& frame, int32_t maxWidth, int32_t maxHeight) override {
        CaptureSize size;
        if (!CaptureGdiSnapshot(maxWidth, maxHeight, frame.pixels, size))
            return false;
        frame.width = size.width;
        frame.height = size.height;
        frame.nv12 = false;
        return true;
    }

private:
    PersistentGdiCapture m_capture;
};

} // namespace

std::unique_ptr<IHostGdiCapture> CreateHostGdiCapture() {
    return std::make_unique<GdiCapturePort>();
}
