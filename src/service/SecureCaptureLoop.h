#pragma once

#include <cstdint>
#include <vector>

#include "core/LogThrottle.h"
#include "core/Printf.h"
#include "service/SecureCapturePorts.h"

struct SecureCaptureOptions {
    bool captureOnce = false;          // the first delivered frame ends the run (diagnostic "capture")
    uint32_t accessDeniedExitCode = 0; // returned when this desktop is not the input desktop; 0: keep trying
    bool publishShared = false;        // frames go into the shared frame mapping
    bool bmpDiagnostics = false;       // frames are written as BMP
};

// The capture worker's loop: builds the pipeline (duplication, else GDI where duplication is unsupported),
// skips black frames, delivers the rest, and rebuilds after failures and on request. One thread.
class SecureCaptureLoop {
public:
    SecureCaptureLoop(ISecureCapturePlatform& platform, ISecureCaptureSource& duplication,
                      ISecureCaptureSource& gdi);

    // 0 when stopped, the access-denied exit code when the desktop changed, with capture once 0 after the
    // first delivered frame or the failing HRESULT of the initialisation. The pipeline is released on return.
    uint32_t Run(const SecureCaptureOptions& options);

private:
    enum class CapturePath { Duplication, Gdi };

    // How a frame loop ended: leaving it (rebuild) or ending the run with a result.
    struct FrameLoopEnd {
        bool endsRun = false;
        uint32_t result = 0;
    };

    struct Delivery {
        bool shared = false;
        bool bmp = false;
        int32_t hr = 0; // a failed BMP on the duplication path fails the frame
    };

    uint32_t RunPasses();
    FrameLoopEnd FrameLoop(CapturePath path);
    Delivery Deliver(const SecureCaptureImage& image, CapturePath path);
    bool PublishChecked(const SecureCaptureImage& image);
    void KeepLastFrame(const SecureCaptureImage& image);
    void RepublishIfDue();
    void ReleasePipeline();
    void Log(const char* format, ...) TSLY_PRINTF(2, 3);

    ISecureCapturePlatform& m_platform;
    ISecureCaptureSource& m_duplication;
    ISecureCaptureSource& m_gdi;
    SecureCaptureOptions m_options;
    ThrottleTable m_throttle;

    uint32_t m_skippedBlack = 0;
    uint32_t m_delivered = 0;

    // The last published duplication frame, packed, for publishing again while the screen does not change.
    std::vector<uint8_t> m_lastFrame;
    int32_t m_lastWidth = 0;
    int32_t m_lastHeight = 0;
    uint64_t m_lastPublishMs = 0;
};
