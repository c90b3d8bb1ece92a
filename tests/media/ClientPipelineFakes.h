#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "media/ClientPipeline.h"
#include "support/TestLog.h"

// Recording fakes of every port of the controller's pipeline. The clock advances only when the pipeline
// waits and drives the test log's tick, so a test runs seconds of streaming in milliseconds. Scripted
// changes hang on the clock: each runs once, as soon as the clock reaches its tick.

class FakeClientClock final : public IClientClock {
public:
    FakeClientClock() { TestLog().tick = m_now; }
    uint32_t Now() override { return m_now; }
    void Wait(uint32_t ms) override { Advance(ms == 0 ? 1 : ms); }
    void Advance(uint32_t ms) {
        m_now += ms;
        TestLog().tick = m_now;
        while (!m_script.empty() && m_script.begin()->first <= m_now) {
            std::function<void()> change = std::move(m_script.begin()->second);
            m_script.erase(m_script.begin());
            change();
        }
    }
    void At(uint32_t tick, std::function<void()> change) { m_script.emplace(tick, std::move(change)); }

private:
    uint32_t m_now = 1000;
    std::multimap<uint32_t, std::function<void()>> m_script;
};

// The controlled PC's stream: a frame every intervalMs while `sending`, shaped by codec and size.
class FakeClientReceiver final : public IClientVideoReceiver {
public:
    explicit FakeClientReceiver(FakeClientClock& clock) : m_clock(clock) {}
    bool Listen(uint16_t port) override {
        listenPort = port;
        return listenOk;
    }
    bool Receive(ClientVideoFrame& frame) override {
        if (!sending || closed || m_clock.Now() - m_last < intervalMs)
            return false;
        m_last = m_clock.Now();
        frame = ClientVideoFrame{};
        frame.payload.assign(100, 1);
        frame.frameId = ++frames;
        frame.codec = codec;
        frame.videoWidth = width;
        frame.videoHeight = height;
        frame.desktopWidth = width * 2;
        frame.desktopHeight = height * 2;
        return true;
    }
    bool HasConnection() override { return connection; }
    void Close() override {
        closed = true;
        ++closes;
    }

    bool listenOk = true;
    bool sending = true;
    bool connection = true;
    uint32_t intervalMs = 33;
    uint32_t codec = 0;
    int32_t width = 64, height = 36;
    uint16_t listenPort = 0;
    uint32_t frames = 0;
    bool closed = false;
    int closes = 0;

private:
    FakeClientClock& m_clock;
    uint32_t m_last = 0;
};

// What the decoders the factory makes do, and what was done to them.
struct FakeDecoding {
    bool createOk = true;
    bool black = false;
    bool nv12 = true;
    int failNext = 0;                 // the next n decodes fail
    std::vector<std::string> created; // "H264 64x36" (the size hint) or "TILES"
    int endStreams = 0;
    std::vector<int> decodedBy; // the number (from 1) of the decoder that made each picture
};

class FakeClientDecoder final : public IClientDecoder {
public:
    FakeClientDecoder(FakeDecoding& d, bool tiles, int number) : m_d(d), m_tiles(tiles), m_number(number) {}
    bool IsTiles() const override { return m_tiles; }
    ClientDecodeStatus Decode(const ClientVideoFrame& frame, ClientPicture& picture,
                              double& decodeMs) override {
        if (m_d.failNext > 0) {
            --m_d.failNext;
            return ClientDecodeStatus::Failed;
        }
        decodeMs = 2.0;
        const uint8_t value = m_d.black ? 0 : 128;
        if (m_tiles) {
            picture.width = frame.videoWidth;
            picture.height = frame.videoHeight;
            picture.stride = picture.width * 4;
            picture.nv12 = false;
            picture.pixels.assign(static_cast<size_t>(picture.stride) * static_cast<size_t>(picture.height),
                                  value);
        } else {
            // Coded size: macroblock rows.
            picture.width = (frame.videoWidth + 15) / 16 * 16;
            picture.height = (frame.videoHeight + 15) / 16 * 16;
            picture.nv12 = m_d.nv12;
            picture.pixels.assign(
                static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3 / 2, value);
        }
        m_d.decodedBy.push_back(m_number);
        return ClientDecodeStatus::Picture;
    }
    void EndStream() override { ++m_d.endStreams; }

private:
    FakeDecoding& m_d;
    bool m_tiles;
    int m_number;
};

class FakeClientDecoders final : public IClientDecoderFactory {
public:
    std::unique_ptr<IClientDecoder> CreateH264(int32_t w, int32_t h) override {
        decoding.created.push_back("H264 " + std::to_string(w) + "x" + std::to_string(h));
        if (!decoding.createOk)
            return nullptr;
        return std::make_unique<FakeClientDecoder>(decoding, false,
                                                   static_cast<int>(decoding.created.size()));
    }
    std::unique_ptr<IClientDecoder> CreateTiles() override {
        decoding.created.push_back("TILES");
        return std::make_unique<FakeClientDecoder>(decoding, true, static_cast<int>(decoding.created.size()));
    }
    FakeDecoding decoding;
};

struct SubmittedPicture {
    bool nv12;
    int32_t width, height, visibleWidth, visibleHeight;
    uint32_t tick;
};

class FakeClientRenderer final : public IClientRenderer {
public:
    explicit FakeClientRenderer(FakeClientClock& clock) : m_clock(clock) {}
    bool Start(int32_t w, int32_t h) override {
        starts.push_back(std::to_string(w) + "x" + std::to_string(h));
        running = startOk;
        return startOk;
    }
    void Stop() override {
        running = false;
        stopTicks.push_back(m_clock.Now());
    }
    bool IsRunning() override { return running; }
    bool SubmitNv12(const std::vector<uint8_t>&, int32_t cw, int32_t ch, int32_t vw, int32_t vh) override {
        return Record({true, cw, ch, vw, vh, m_clock.Now()});
    }
    bool SubmitBgra(const std::vector<uint8_t>&, int32_t w, int32_t h, int32_t vw, int32_t vh,
                    int32_t) override {
        return Record({false, w, h, vw, vh, m_clock.Now()});
    }

    bool startOk = true;
    bool submitOk = true;
    bool running = false;
    std::vector<std::string> starts;
    std::vector<uint32_t> stopTicks;
    std::vector<SubmittedPicture> submitted;

private:
    bool Record(const SubmittedPicture& picture) {
        if (!submitOk)
            return false;
        submitted.push_back(picture);
        return true;
    }
    FakeClientClock& m_clock;
};

class FakeClientEnvironment final : public IClientSessionEnvironment {
public:
    explicit FakeClientEnvironment(FakeClientClock& clock) : m_clock(clock) {
        config.audioEnable = 1;
        config.clipboardEnable = 1;
        config.videoPort = 6000;
        config.inputPort = 5000;
        config.audioPort = 7001;
        config.clipboardPort = 5002;
    }
    bool IsCurrent() override { return static_cast<int32_t>(m_clock.Now() - endAt) < 0; }
    bool IsStillCurrent(const std::string&) override { return stillCurrent && IsCurrent(); }
    ConfigSnapshot Config() override { return config; }
    bool IsDevicePresent() override { return devicePresent; }
    bool IsSessionPeerLost() override { return peerLost; }
    bool IsNetworkPeerLost() override { return false; }
    bool ResolvePeerIpChange(const std::string&, std::string& newIp) override {
        newIp = movedTo;
        return !movedTo.empty();
    }
    void SetActivePeer(const std::string& ip) override { activePeer = ip; }
    std::string PeerName() override { return "pc-b"; }
    void SendControlRequest(const std::string& ip) override {
        controlRequests.push_back(m_clock.Now());
        requestPeers.push_back(ip);
    }
    void ScheduleNoVideoReconnect(const std::string& ip, const std::string& name, uint32_t since) override {
        reconnects.push_back(ip + " " + name + " " + std::to_string(since));
    }
    int32_t DesktopLockState() override { return desktopLock; }
    void ResetDesktopLockState() override {
        desktopLock = -1;
        ++desktopResets;
    }
    bool IsRemoteLocked() override { return remoteLocked; }
    void SetRemoteLocked(bool locked, const char* reason) override {
        if (locked != remoteLocked)
            lockLog.push_back(std::string(locked ? "1 " : "0 ") + reason);
        remoteLocked = locked;
    }
    bool IsHidForced() override { return hidForced; }
    void ForceHidFallback() override { hidForced = true; }
    void ReleaseHidFallback() override { hidForced = false; }
    void SetProgramState(int32_t state) override { programStates.push_back(state); }
    void SetControllerRole() override { ++controllerRoles; }
    void SetUnifiedState(SessionMode mode, const char* reason) override {
        unified.push_back(std::to_string(static_cast<int>(mode)) + " " + reason);
    }
    void ResetChannelStates() override { ++channelResets; }
    void SetChannelState(int channel, ChannelState state, const char* reason) override {
        channels[channel] = state;
        if (reason != nullptr)
            channelLog.push_back(std::to_string(channel) + "=" + std::to_string(static_cast<int>(state)) +
                                 " " + reason);
    }
    ChannelState GetChannelState(int channel) override {
        auto it = channels.find(channel);
        return it != channels.end() ? it->second : ChannelState::Disconnected;
    }
    void SetStatus(const char* text) override { statuses.emplace_back(text); }
    void SetErrorText(const char* text) override { errorText = text; }
    void SetDesktopSize(int32_t w, int32_t h) override {
        desktopSize = std::to_string(w) + "x" + std::to_string(h);
        desktopSizes.push_back(desktopSize);
    }
    void SetStreamSize(int32_t w, int32_t h) override {
        streamSize = std::to_string(w) + "x" + std::to_string(h);
    }
    void SetClientStats(int32_t, int32_t, int32_t) override { ++statReports; }
    void LogWindowDpi(const char*) override {}
    void ResetQualitySwitch() override { ++qualityResets; }
    void ConfirmFrameMode(bool) override { ++frameModeConfirms; }
    std::string TransferTick() override { return {}; }
    void StartInputClient(const std::string& ip, uint16_t port, bool force) override {
        inputStarts.push_back(ip + ":" + std::to_string(port) + (force ? " force" : ""));
    }
    bool IsInputConnected() override { return inputConnected; }
    bool IsInputTcpReady() override { return tcpReady; }
    bool SendVideoRestartRequest() override {
        restartRequests.push_back(m_clock.Now());
        return true;
    }
    void StartHidWorker() override {}
    void StartHidProbe(const char*) override {}
    void StartClipboardClient(const std::string& ip, uint16_t) override { clipboardStarts.push_back(ip); }
    bool IsClipboardConnected() override { return clipboardConnected; }
    void StartAudioPlayer(uint16_t port) override { audioPort = port; }

    bool HasChannelLog(const std::string& entry) const {
        return std::find(channelLog.begin(), channelLog.end(), entry) != channelLog.end();
    }
    size_t CountStatus(const std::string& text) const {
        return static_cast<size_t>(std::count(statuses.begin(), statuses.end(), text));
    }

    ConfigSnapshot config;
    uint32_t endAt = 6000;
    bool stillCurrent = true, devicePresent = true, peerLost = false;
    bool inputConnected = false, clipboardConnected = false, tcpReady = false;
    bool remoteLocked = false, hidForced = false;
    int32_t desktopLock = -1;
    std::string movedTo, activePeer;
    std::vector<uint32_t> controlRequests, restartRequests;
    std::vector<std::string> desktopSizes, requestPeers, reconnects, lockLog, unified, channelLog, statuses,
        inputStarts, clipboardStarts;
    std::vector<int32_t> programStates;
    std::map<int, ChannelState> channels;
    std::string errorText, desktopSize, streamSize;
    int desktopResets = 0, controllerRoles = 0, channelResets = 0, statReports = 0, qualityResets = 0,
        frameModeConfirms = 0;
    uint16_t audioPort = 0;

private:
    FakeClientClock& m_clock;
};

// One pipeline over fakes, fed by the controlled PC 10.0.0.2.
struct ClientRig {
    ClientRig()
        : receiver(clock), renderer(clock), env(clock), ports{env, clock, receiver, decoders, renderer} {}
    SessionRunEnd Run(const std::string& peer = "10.0.0.2") {
        ClientPipeline pipeline(ports, peer);
        return pipeline.Run();
    }
    // The stream stops at `tick` (it keeps its connection unless said otherwise).
    void SilenceFrom(uint32_t tick) {
        clock.At(tick, [this] { receiver.sending = false; });
    }

    FakeClientClock clock;
    FakeClientReceiver receiver;
    FakeClientDecoders decoders;
    FakeClientRenderer renderer;
    FakeClientEnvironment env;
    ClientPipelinePorts ports;
};
