// The host pipeline's capture port over the desktop duplicator.
#include <memory>

#include "media/win/DesktopDuplicator.h"
#include "media/win/HostPlatformWin.h"

namespace {

class DuplicatorPort final : public IHostDuplicator {
public:
    bool Init() override { return m_duplicator.Init(); }
    void Shutdown() override { m_duplicator.Shutdown(); }
    bool StartNV12() override {
        m_nv12 = m_duplicator.StartAsyncCaptureNV12();
        return m_nv12;
    }
    bool StartBGRA(int32_t maxWidth, int32_t maxHeight) override {
        m_nv12 = false;
        return m_duplicator.StartAsyncCapture(maxWidth, maxHeight);
    }
    void StopCapture() override { m_duplicator.StopAsyncCapture(); }
    bool LatestFrame(HostFrame& frame, uint32_t timeoutMs) override {
        frame.nv12 = m_nv12;
        const int timeout = static_cast<int>(timeoutMs);
        return m_nv12 ? m_duplicator.GetLatestFrame(frame.pixels, frame.width, frame.height, timeout)
                      : m_duplicator.GetLatestFrameBGRA(frame.pixels, frame.width, frame.height, timeout);
    }
    CaptureStatus Status() override { return m_duplicator.Status(); }
    uint32_t CapturedFps() override { return m_duplicator.CapturedFps(); }
    void DesktopSize(int32_t& width, int32_t& height) override {
        width = m_duplicator.LogicalWidth();
        height = m_duplicator.LogicalHeight();
    }
    void SetCaptureInterval(uint32_t ms) override { m_duplicator.SetCaptureIntervalMs(ms); }

private:
    DesktopDuplicator m_duplicator;
    bool m_nv12 = false;
};

} // namespace

std::unique_ptr<IHostDuplicator> CreateHostDuplicator() {
    return std::make_unique<DuplicatorPort>();
}
