#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/HostPipeline.h"
#include "media/HostSession.h"
#include "support/ScriptedClock.h"
#include "support/TestLog.h"

// Recording fakes of every port of the host pipeline, on a scripted clock.

using FakeHostClock = ScriptedClock<IHostClock>;

inline HostFrame MakeFrame(int32_t width, int32_t height, bool nv12, bool black) {
    HostFrame frame;
    frame.width = width;
    frame.height = height;
    frame.nv12 = nv12;
    const size_t area = static_cast<size_t>(width) * static_cast<size_t>(height);
    frame.pixels.assign(nv12 ? area * 3 / 2 : area * 4, black ? 0 : 128);
    if (nv12)
        std::fill(frame.pixels.begin() + static_cast<std::ptrdiff_t>(area), frame.pixels.end(), 128);
    return frame;
}

// What every duplicator the factory makes does, and what was done to them.
struct FakeDuplication {
    bool initOk = true;
    bool nv12Ok = true;
    bool produce = true; // a fresh frame on every LatestFrame
    bool black = false;
    CaptureStatus idleStatus = CaptureStatus::NoNewFrame;
    int32_t width = 64, height = 36;
    int inits = 0, nv12Starts = 0, bgraStarts = 0, stops = 0, shutdowns = 0;
    std::vector<uint32_t> intervals;
};

class FakeDuplicator final : public IHostDuplicator {
public:
    FakeDuplicator(FakeDuplication& d, FakeHostClock& clock) : m_d(d), m_clock(clock) {}
    bool Init() override {
        ++m_d.inits;
        return m_d.initOk;
    }
    void Shutdown() override { ++m_d.shutdowns; }
    bool StartNV12() override {
        if (!m_d.nv12Ok)
            return false;
        ++m_d.nv12Starts;
        m_nv12 = true;
        return true;
    }
    bool StartBGRA(int32_t, int32_t) override {
        ++m_d.bgraStarts;
        m_nv12 = false;
        return true;
    }
    void StopCapture() override { ++m_d.stops; }
    bool LatestFrame(HostFrame& frame, uint32_t timeoutMs) override {
        if (m_d.produce) {
            frame = MakeFrame(m_d.width, m_d.height, m_nv12, m_d.black);
            m_status = CaptureStatus::FrameDelivered;
            return true;
        }
        // A failing capture thread wakes its waiters at once; a quiet desktop lets the wait run out.
        m_clock.Wait(m_d.idleStatus == CaptureStatus::NoNewFrame ? timeoutMs : 5);
        m_status = m_d.idleStatus;
        return false;
    }
    CaptureStatus Status() override { return m_status; }
    uint32_t CapturedFps() override { return 30; }
    void DesktopSize(int32_t& width, int32_t& height) override {
        width = m_d.width;
        height = m_d.height;
    }
    void SetCaptureInterval(uint32_t ms) override { m_d.intervals.push_back(ms); }

private:
    FakeDuplication& m_d;
    FakeHostClock& m_clock;
    bool m_nv12 = false;
    CaptureStatus m_status = CaptureStatus::NoNewFrame;
};

struct FakeGdi {
    bool initOk = true;
    bool captureOk = true;
    int32_t width = 64, height = 36;
    int inits = 0, captures = 0, releases = 0;
};

class FakeGdiCapture final : public IHostGdiCapture {
public:
    explicit FakeGdiCapture(FakeGdi& g) : m_g(g) {}
    bool Init(int32_t, int32_t) override {
        ++m_g.inits;
        return m_g.initOk;
    }
    bool Capture(HostFrame& frame) override {
        ++m_g.captures;
        if (!m_g.captureOk)
            return false;
        frame = MakeFrame(m_g.width, m_g.height, false, false);
        return true;
    }
    void SourceSize(int32_t& width, int32_t& height) override {
        width = m_g.width;
        height = m_g.height;
    }
    void Release() override { ++m_g.releases; }
    bool Snapshot(HostFrame&, int32_t, int32_t) override { return false; }

private:
    FakeGdi& m_g;
};

struct FakeEncoding {
    bool initOk = true;
    bool encodeOk = true;
    std::vector<std::string> inits; // "H264 64x36"
    std::vector<std::pair<int32_t, int32_t>> encodedSizes;
    int shutdowns = 0;
};

class FakeEncoder final : public IHostEncoder {
public:
    FakeEncoder(FakeEncoding& e, bool ultra) : m_e(e), m_ultra(ultra) {}
    bool Init(int32_t width, int32_t height, int32_t, int32_t) override {
        m_e.inits.push_back(std::string(m_ultra ? "ULTRA " : "H264 ") + std::to_string(width) + "x" +
                            std::to_string(height));
        return m_e.initOk;
    }
    bool Encode(const HostFrame& frame, std::vector<uint8_t>& out) override {
        if (!m_e.encodeOk)
            return false;
        m_e.encodedSizes.emplace_back(frame.width, frame.height);
        out.assign(16, 1);
        return true;
    }
    void Shutdown() override { ++m_e.shutdowns; }
    uint32_t CodecFlag() const override { return m_ultra ? 1 : 0; }

private:
    FakeEncoding& m_e;
    bool m_ultra;
};

class FakeHostFactory final : public IHostPipelineFactory {
public:
    explicit FakeHostFactory(FakeHostClock& clock) : m_clock(clock) {}
    std::unique_ptr<IHostDuplicator> CreateDuplicator() override {
        return std::make_unique<FakeDuplicator>(duplication, m_clock);
    }
    std::unique_ptr<IHostGdiCapture> CreateGdiCapture() override {
        return std::make_unique<FakeGdiCapture>(gdi);
    }
    std::unique_ptr<IHostEncoder> CreateEncoder(bool ultra) override {
        return std::make_unique<FakeEncoder>(encoding, ultra);
    }
    FakeDuplication duplication;
    FakeGdi gdi;
    FakeEncoding encoding;

private:
    FakeHostClock& m_clock;
};

struct SentFrame {
    uint32_t id;
    int32_t videoWidth, videoHeight, desktopWidth, desktopHeight;
    uint32_t codec;
    uint32_t tick;
};

class FakeVideoSender final : public IHostVideoSender {
public:
    explicit FakeVideoSender(FakeHostClock& clock) : m_clock(clock) {}
    bool Connect(const std::string& ip, uint16_t port) override {
        connects.push_back(ip + ":" + std::to_string(port));
        const bool ok = connectResults.empty() ? true : connectResults.front();
        if (!connectResults.empty())
            connectResults.pop_front();
        if (!ok)
            m_clock.Advance(2500); // the bounded connect gives up after 2.5 s
        connected = ok;
        if (ok)
            sendOk = true;
        return ok;
    }
    bool IsConnected() override { return connected; }
    bool SendFrame(const uint8_t*, size_t, uint32_t frameId, int32_t vw, int32_t vh, int32_t dw, int32_t dh,
                   uint32_t codec) override {
        if (!connected) {
            ++sendsWhileDisconnected;
            return false;
        }
        if (resetAfter >= 0 && static_cast<int>(sent.size()) >= resetAfter) {
            resetAfter = -1;
            connected = false; // the controller reset the connection
            return false;
        }
        if (!sendOk)
            return false;
        sent.push_back({frameId, vw, vh, dw, dh, codec, m_clock.Now()});
        return true;
    }
    void Shutdown() override {
        ++shutdowns;
        connected = false;
    }

    std::deque<bool> connectResults; // empty: connects
    std::vector<std::string> connects;
    bool connected = false;
    bool sendOk = true;
    int resetAfter = -1; // reset the connection once this many frames went out
    int sendsWhileDisconnected = 0;
    int shutdowns = 0;
    std::vector<SentFrame> sent;

private:
    FakeHostClock& m_clock;
};

class FakeSecureDesktop final : public IHostSecureDesktop {
public:
    explicit FakeSecureDesktop(FakeHostClock& clock) : m_clock(clock) {}
    bool IsActive() override { return active; }
    bool RequestWorkerFrame(const char* reason) override {
        requests.emplace_back(reason);
        return false;
    }
    void SetFrameSize(int32_t w, int32_t h) override {
        frameSizes.push_back(std::to_string(w) + "x" + std::to_string(h));
        m_width = w;
        m_height = h;
    }
    // Like the mapping reader: frames come scaled to the size the host set, none before it set one.
    bool ReadFreshFrame(HostFrame& frame, uint64_t& sequence) override {
        if (!publish || m_width < 1 || m_height < 1)
            return false;
        frame = MakeFrame(m_width, m_height, false, false);
        sequence = ++m_sequence;
        return true;
    }
    void WaitFrameReady(uint32_t ms) override { m_clock.Wait(ms); }
    std::string MappingName() override { return "Global\\TestSecureFrame"; }
    std::string EventName() override { return "Global\\TestSecureFrameReady"; }
    void Close() override { ++closes; }

    bool active = false;
    bool publish = false;
    std::vector<std::string> requests;
    std::vector<std::string> frameSizes; // "64x36", one per SetFrameSize
    int closes = 0;

private:
    FakeHostClock& m_clock;
    uint64_t m_sequence = 0;
    int32_t m_width = 0, m_height = 0;
};

class FakeDisplayProbe final : public IHostDisplayProbe {
public:
    explicit FakeDisplayProbe(FakeHostClock& clock) : m_clock(clock) {}
    bool TakeBaseline(std::string& text) override {
        text = "count=1 primary=64x36";
        return baselineOk;
    }
    Result Probe(std::string& oldText, std::string& newText, int32_t& width, int32_t& height) override {
        if (changeAt == 0 || m_clock.Now() < changeAt)
            return Result::Same;
        oldText = "count=1 primary=64x36";
        newText = "count=1 primary=1281x721";
        width = 1281;
        height = 721;
        return Result::Changed;
    }
    bool PrimarySize(int32_t& width, int32_t& height) override {
        width = 64;
        height = 36;
        return true;
    }
    bool baselineOk = true;
    uint32_t changeAt = 0; // 0: never

private:
    FakeHostClock& m_clock;
};

class FakeHostEnvironment final : public IHostSessionEnvironment {
public:
    explicit FakeHostEnvironment(FakeHostClock& clock) : m_clock(clock) {
        config.fps = 30;
        config.bitrate = 25000000;
        config.idleFps = 2;
        config.idleKeepaliveMs = 1000;
        config.clipboardEnable = 1;
        config.videoPort = 6000;
        config.inputPort = 5000;
        config.audioPort = 7001;
        config.clipboardPort = 5002;
    }
    // Current until the run's time is up or the run stopped its own session.
    bool IsCurrent() override { return !stopped && static_cast<int32_t>(m_clock.Now() - endAt) < 0; }
    void StopSession() override { stopped = true; }
    ConfigSnapshot Config() override { return config; }
    HostVideoRequest ControllerRequest() override { return request; }
    bool ControllerViewHidden() override { return request.viewHidden; }
    bool ControllerWantsAudio() override { return request.audio; }
    bool IsActivePeer(const std::string& ip) override { return ip == activePeer; }
    // The process-wide flag, so that two requests before a look count once as they do in the program.
    bool TakeRestartRequest() override { return TakeHostVideoRestartRequest(); }
    std::optional<std::string> Environment(const char* name) override {
        auto it = environment.find(name);
        return it != environment.end() ? std::optional<std::string>(it->second) : std::nullopt;
    }
    void SetUnifiedState(int32_t mode, const char* reason) override {
        unified.push_back(std::to_string(mode) + " " + reason);
    }
    void SetChannelState(int channel, int32_t state, const char* reason) override {
        channels[channel] = state;
        if (reason != nullptr)
            channelLog.push_back(std::to_string(channel) + "=" + std::to_string(state) + " " + reason);
    }
    void SetStatus(const char* text, bool) override { statuses.emplace_back(text); }
    void SetErrorText(const char* text) override { errorText = text; }
    void SetStreamSize(int32_t width, int32_t height) override {
        streamSize = std::to_string(width) + "x" + std::to_string(height);
    }
    void SetDesktopSize(int32_t width, int32_t height) override {
        desktopSize = std::to_string(width) + "x" + std::to_string(height);
    }
    void SetVideoStats(int32_t, int32_t, int32_t, int32_t) override { ++statReports; }
    void LogDesktopMetrics() override {}
    void StartInputHost(uint16_t port) override { inputHostPort = port; }
    bool IsInputConnected() override { return false; }
    bool StartClipboardHost(uint16_t port) override {
        clipboardHostPort = port;
        return true;
    }
    bool IsClipboardConnected() override { return false; }
    void StartAudioSender(const std::string&, uint16_t) override { audioRunning = true; }
    void StopAudioSender() override { audioRunning = false; }
    bool IsAudioSenderRunning() override { return audioRunning; }
    void SendDesktopState(const std::string&, bool locked) override { notices.push_back(locked); }
    std::string TransferTick() override { return {}; }

    bool HasChannelLog(const std::string& entry) const {
        return std::find(channelLog.begin(), channelLog.end(), entry) != channelLog.end();
    }

    ConfigSnapshot config;
    HostVideoRequest request;
    std::string activePeer = "10.0.0.2";
    std::map<std::string, std::string> environment;
    uint32_t endAt = 11000; // ten seconds of streaming
    bool stopped = false;
    std::vector<std::string> unified, channelLog, statuses;
    std::map<int, int32_t> channels;
    std::string errorText, streamSize, desktopSize;
    int statReports = 0;
    uint16_t inputHostPort = 0, clipboardHostPort = 0;
    bool audioRunning = false;
    std::vector<bool> notices;

private:
    FakeHostClock& m_clock;
};

// One pipeline over fakes, talking to the controller 10.0.0.2.
struct HostRig {
    HostRig()
        : factory(clock), sender(clock), secure(clock), display(clock),
          env(clock), ports{env, clock, sender, secure, display, factory} {}
    SessionRunEnd Run(const std::string& peer = "10.0.0.2") {
        HostPipeline pipeline(ports, peer);
        return pipeline.Run();
    }
    // Frames sent at or after tick.
    size_t SentFrom(uint32_t tick) const {
        return static_cast<size_t>(std::count_if(sender.sent.begin(), sender.sent.end(),
                                                 [&](const SentFrame& f) { return f.tick >= tick; }));
    }

    FakeHostClock clock;
    FakeHostFactory factory;
    FakeVideoSender sender;
    FakeSecureDesktop secure;
    FakeDisplayProbe display;
    FakeHostEnvironment env;
    HostPipelinePorts ports;
};
