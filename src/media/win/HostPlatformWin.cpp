#include "media/win/HostPlatformWin.h"

#include <windows.h>

#include <string>

#include "core/Log.h"
#include "core/win/Handles.h"
#include "media/DisplayFingerprint.h"
#include "media/win/DisplayFingerprintQuery.h"
#include "media/win/PersistentGdiCapture.h"
#include "media/win/SecureDesktopPort.h"
#include "media/win/TcpVideoSender.h"

namespace {

class TickClock final : public IHostClock {
public:
    uint32_t Now() override { return Log::TickCount(); }
    void Wait(uint32_t ms) override { ::Sleep(ms); }
};

class Win32HostFactory final : public IHostPipelineFactory {
public:
    std::unique_ptr<IHostDuplicator> CreateDuplicator() override { return CreateHostDuplicator(); }
    std::unique_ptr<IHostGdiCapture> CreateGdiCapture() override { return CreateHostGdiCapture(); }
    std::unique_ptr<IHostEncoder> CreateEncoder(bool ultra) override { return CreateHostEncoder(ultra); }
};

class TcpVideoSenderPort final : public IHostVideoSender {
public:
    bool Connect(const std::string& peerIp, uint16_t port) override { return m_sender.Connect(peerIp, port); }
    bool IsConnected() override { return m_sender.IsConnected(); }
    bool SendFrame(const uint8_t* data, size_t size, uint32_t frameId, int32_t videoWidth,
                   int32_t videoHeight, int32_t desktopWidth, int32_t desktopHeight,
                   uint32_t codec) override {
        return m_sender.SendFrame(data, size, frameId, static_cast<uint32_t>(videoWidth),
                                  static_cast<uint32_t>(videoHeight), static_cast<uint32_t>(desktopWidth),
                                  static_cast<uint32_t>(desktopHeight), static_cast<VideoCodecFlag>(codec));
    }
    void Shutdown() override { m_sender.Shutdown(); }

private:
    TcpVideoSender m_sender;
};

class DisplayProbePort final : public IHostDisplayProbe {
public:
    bool TakeBaseline(std::string& text) override {
        std::optional<DisplayFingerprint> now = QueryDisplayFingerprint();
        if (!now)
            return false;
        m_baseline = *now;
        text = m_baseline.ToText();
        return true;
    }
    Result Probe(std::string& oldText, std::string& newText, int32_t& primaryWidth,
                 int32_t& primaryHeight) override {
        std::optional<DisplayFingerprint> now = QueryDisplayFingerprint();
        if (!now)
            return Result::Failed;
        if (SameDisplayLayout(m_baseline, *now))
            return Result::Same;
        oldText = m_baseline.ToText();
        newText = now->ToText();
        primaryWidth = now->primaryWidth;
        primaryHeight = now->primaryHeight;
        return Result::Changed;
    }
    bool PrimarySize(int32_t& width, int32_t& height) override {
        const CaptureSize size = PrimaryScreenSize();
        width = size.width;
        height = size.height;
        return width > 0 && height > 0;
    }

private:
    DisplayFingerprint m_baseline;
};

} // namespace

Win32HostPlatform& Win32HostPlatform::Instance() {
    static Win32HostPlatform* platform = new Win32HostPlatform();
    return *platform;
}

IHostClock& Win32HostPlatform::Clock() {
    static TickClock* clock = new TickClock();
    return *clock;
}

IHostPipelineFactory& Win32HostPlatform::Factory() {
    static Win32HostFactory* factory = new Win32HostFactory();
    return *factory;
}

std::unique_ptr<IHostVideoSender> Win32HostPlatform::CreateVideoSender() {
    return std::make_unique<TcpVideoSenderPort>();
}

std::unique_ptr<IHostSecureDesktop> Win32HostPlatform::CreateSecureDesktop() {
    return std::make_unique<SecureDesktopPort>();
}

std::unique_ptr<IHostDisplayProbe> Win32HostPlatform::CreateDisplayProbe() {
    return std::make_unique<DisplayProbePort>();
}

void Win32HostPlatform::LogDesktopMetrics() {
    int dpiX = 96, dpiY = 96;
    const UniqueWindowDC screen(nullptr, ::GetDC(nullptr));
    if (screen.Get() != nullptr) {
        dpiX = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
        dpiY = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    Log::Write("%s desktop DPI=%dx%d scale=%.3f virtual_screen=%d,%d %dx%d", "Host", dpiX, dpiY, dpiX / 96.0,
               ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
               ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}
