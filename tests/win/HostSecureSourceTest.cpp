// The host pipeline switching to the secure source while streaming: the lock is a test double, the frames
// come through the real mapping reader from a real publisher process, and what the pipeline encodes and
// sends is recorded.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LogAssertions.h"
#include "ProgramRun.h"
#include "core/Log.h"
#include "media/HostPipeline.h"
#include "media/HostSession.h"
#include "media/win/HostPlatformWin.h"
#include "media/win/SecureDesktopPort.h"

namespace {

constexpr int32_t kDesktopWidth = 96, kDesktopHeight = 64;
// The publisher captures at twice the streamed size, so every secure frame is scaled.
constexpr int32_t kPublishedWidth = 192, kPublishedHeight = 128;
constexpr size_t kSecureFramesWanted = 6;

// The session's surroundings: current until the test's secure double has seen enough, or 20 s at most.
class SessionEnvironment final : public IHostSessionEnvironment {
public:
    SessionEnvironment() {
        m_config.fps = 30;
        m_config.bitrate = 2000000;
        m_config.idleFps = 2;
        m_config.idleKeepaliveMs = 1000;
        m_config.videoPort = 6000;
        m_config.inputPort = 5000;
        m_config.audioPort = 7001;
        m_config.clipboardPort = 5002;
    }
    bool IsCurrent() override { return !stopped && GetTickCount64() - m_start < 20000; }
    void StopSession() override { stopped = true; }
    ConfigSnapshot Config() override { return m_config; }
    HostVideoRequest ControllerRequest() override { return {}; }
    bool ControllerViewHidden() override { return false; }
    bool ControllerWantsAudio() override { return false; }
    bool IsActivePeer(const std::string& ip) override { return ip == "10.0.0.2"; }
    bool TakeRestartRequest() override { return TakeHostVideoRestartRequest(); }
    std::optional<std::string> Environment(const char*) override { return std::nullopt; }
    void SetUnifiedState(int32_t, const char*) override {}
    void SetChannelState(int, int32_t, const char*) override {}
    void SetStatus(const char*, bool) override {}
    void SetErrorText(const char*) override {}
    void SetStreamSize(int32_t, int32_t) override {}
    void SetDesktopSize(int32_t, int32_t) override {}
    void SetVideoStats(int32_t, int32_t, int32_t, int32_t) override {}
    void LogDesktopMetrics() override {}
    void StartInputHost(uint16_t) override {}
    bool IsInputConnected() override { return false; }
    bool StartClipboardHost(uint16_t) override { return true; }
    bool IsClipboardConnected() override { return false; }
    void StartAudioSender(const std::string&, uint16_t) override {}
    void StopAudioSender() override {}
    bool IsAudioSenderRunning() override { return false; }
    void SendDesktopState(const std::string&, bool locked) override { notices.push_back(locked); }
    std::string TransferTick() override { return {}; }

    bool stopped = false;
    std::vector<bool> notices;

private:
    ConfigSnapshot m_config;
    const ULONGLONG m_start = GetTickCount64();
};

// The desktop as duplication sees it: a grey picture every 30 ms.
class GreyDuplicator final : public IHostDuplicator {
public:
    bool Init() override { return true; }
    void Shutdown() override {}
    bool StartNV12() override { return false; }
    bool StartBGRA(int32_t, int32_t) override { return true; }
    void StopCapture() override {}
    bool LatestFrame(HostFrame& frame, uint32_t timeoutMs) override {
        Sleep(timeoutMs < 30 ? timeoutMs : 30);
        frame.width = kDesktopWidth;
        frame.height = kDesktopHeight;
        frame.nv12 = false;
        frame.pixels.assign(static_cast<size_t>(kDesktopWidth) * kDesktopHeight * 4, 0x80);
        return true;
    }
    CaptureStatus Status() override { return CaptureStatus::FrameDelivered; }
    uint32_t CapturedFps() override { return 30; }
    void DesktopSize(int32_t& width, int32_t& height) override {
        width = kDesktopWidth;
        height = kDesktopHeight;
    }
    void SetCaptureInterval(uint32_t) override {}
};

// "Encodes" a frame as its size and the pixel at (1, 1), so the sender sees which picture went out.
class PixelEncoder final : public IHostEncoder {
public:
    bool Init(int32_t, int32_t, int32_t, int32_t) override { return true; }
    bool Encode(const HostFrame& frame, std::vector<uint8_t>& out) override {
        const uint8_t* p = &frame.pixels[(static_cast<size_t>(frame.width) + 1) * 4];
        out.assign(p, p + 4);
        return true;
    }
    void Shutdown() override {}
    uint32_t CodecFlag() const override { return 0; }
};

class Factory final : public IHostPipelineFactory {
public:
    std::unique_ptr<IHostDuplicator> CreateDuplicator() override {
        return std::make_unique<GreyDuplicator>();
    }
    std::unique_ptr<IHostGdiCapture> CreateGdiCapture() override { return nullptr; }
    std::unique_ptr<IHostEncoder> CreateEncoder(bool) override { return std::make_unique<PixelEncoder>(); }
};

class FixedDisplay final : public IHostDisplayProbe {
public:
    bool TakeBaseline(std::string& text) override {
        text = "count=1";
        return true;
    }
    Result Probe(std::string&, std::string&, int32_t&, int32_t&) override { return Result::Same; }
    bool PrimarySize(int32_t& width, int32_t& height) override {
        width = kDesktopWidth;
        height = kDesktopHeight;
        return true;
    }
};

struct SentPicture {
    int32_t width, height;
    std::vector<uint8_t> pixel;
};

class RecordingSender final : public IHostVideoSender {
public:
    bool Connect(const std::string&, uint16_t) override { return true; }
    bool IsConnected() override { return true; }
    bool SendFrame(const uint8_t* data, size_t size, uint32_t, int32_t videoWidth, int32_t videoHeight,
                   int32_t, int32_t, uint32_t) override {
        sent.push_back({videoWidth, videoHeight, std::vector<uint8_t>(data, data + size)});
        return true;
    }
    void Shutdown() override {}
    std::vector<SentPicture> sent;
};

// The real port, with the lock state played by the test: locked once a few desktop frames went out, and the
// session stopped once enough secure frames were read.
class LockedAfterStart final : public IHostSecureDesktop {
public:
    LockedAfterStart(RecordingSender& sender, SessionEnvironment& env) : m_sender(sender), m_env(env) {}
    bool IsActive() override { return m_sender.sent.size() >= 3; }
    bool RequestWorkerFrame(const char* reason) override {
        requests.emplace_back(reason);
        return true;
    }
    void SetFrameSize(int32_t width, int32_t height) override { m_port.SetFrameSize(width, height); }
    bool ReadFreshFrame(HostFrame& frame, uint64_t& sequence) override {
        if (!m_port.ReadFreshFrame(frame, sequence))
            return false;
        sequences.push_back(sequence);
        if (sequences.size() >= kSecureFramesWanted)
            m_env.StopSession();
        return true;
    }
    void WaitFrameReady(uint32_t ms) override { m_port.WaitFrameReady(ms); }
    std::string MappingName() override { return m_port.MappingName(); }
    std::string EventName() override { return m_port.EventName(); }
    void Close() override { m_port.Close(); }

    std::vector<std::string> requests;
    std::vector<uint64_t> sequences;

private:
    SecureDesktopPort m_port;
    RecordingSender& m_sender;
    SessionEnvironment& m_env;
};

TEST(HostSecureSource, LockWhileStreamingSendsThePublishedFramesAtTheStreamedSize) {
    ProgramRun publisher(L"HostSecureSource", L"SecureFramePublisherTool.exe");
    ASSERT_TRUE(publisher.Start(std::to_wstring(kPublishedWidth) + L" " + std::to_wstring(kPublishedHeight) +
                                L" 200 50"));
    ASSERT_TRUE(Log::Open());
    const size_t logStart = OwnLog().size();

    SessionEnvironment env;
    Factory factory;
    RecordingSender sender;
    LockedAfterStart secure(sender, env);
    FixedDisplay display;
    const HostPipelinePorts ports{env,    Win32HostPlatform::Instance().Clock(), sender, secure, display,
                                  factory};
    HostPipeline pipeline(ports, "10.0.0.2");
    pipeline.Run();

    const std::string log = OwnLogSince(logStart);
    Log::Close();
    ASSERT_GE(secure.sequences.size(), kSecureFramesWanted) << log;
    for (size_t i = 1; i < secure.sequences.size(); ++i)
        EXPECT_LT(secure.sequences[i - 1], secure.sequences[i]);
    EXPECT_TRUE(InOrder(
        log,
        {"[SECURE_VIDEO][ENTER] local Winlogon/secure desktop detected",
         "[SECURE_VIDEO][FRAME] shared Winlogon frame=" + std::to_string(secure.sequences[0]) + " size=96x64",
         "[SECURE_VIDEO][FRAME] shared Winlogon frame=" + std::to_string(secure.sequences.back()) +
             " size=96x64"}));
    EXPECT_EQ(CountOf(log, "Host resolution changed"), 0u) << "secure frames come at the streamed size";
    EXPECT_EQ(secure.requests, std::vector<std::string>{"in-session-lock-detect"});
    ASSERT_FALSE(env.notices.empty());
    EXPECT_TRUE(env.notices.back());

    // Each secure frame went out scaled from 192x128 to 96x64: pixel (1, 1) is the source's (2, 2), blue
    // carrying the sequence.
    for (uint64_t sequence : secure.sequences) {
        const std::vector<uint8_t> pixel = {static_cast<uint8_t>(sequence), 2, 2, 0xFF};
        bool sent = false;
        for (const SentPicture& picture : sender.sent)
            sent = sent || (picture.width == kDesktopWidth && picture.height == kDesktopHeight &&
                            picture.pixel == pixel);
        EXPECT_TRUE(sent) << "frame " << sequence;
    }
}

} // namespace
