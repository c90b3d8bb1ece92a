#pragma once

#include <memory>

#include "media/HostSessionRunBody.h"

// The host pipeline's ports on Windows: desktop duplication, the persistent GDI capture, the H.264 and
// tile encoders, the TCP video sender, the secure-desktop probe and the display fingerprint. Process-wide;
// install HostSessionRunBody over it at start-up.
class Win32HostPlatform final : public IHostPlatform {
public:
    static Win32HostPlatform& Instance();

    IHostClock& Clock() override;
    IHostPipelineFactory& Factory() override;
    std::unique_ptr<IHostVideoSender> CreateVideoSender() override;
    std::unique_ptr<IHostSecureDesktop> CreateSecureDesktop() override;
    std::unique_ptr<IHostDisplayProbe> CreateDisplayProbe() override;
    void LogDesktopMetrics() override;
};

// The capture and encoder objects of one build (HostDuplicatorWin.cpp, HostCaptureWin.cpp,
// HostEncoderWin.cpp).
std::unique_ptr<IHostDuplicator> CreateHostDuplicator();
std::unique_ptr<IHostGdiCapture> CreateHostGdiCapture();
std::unique_ptr<IHostEncoder> CreateHostEncoder(bool ultra);
