#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/RuntimeConfig.h"
#include "media/ClientPipelinePorts.h"
#include "media/ClientWatchdog.h"
#include "media/SessionRunBody.h"

// The ports one controller session thread runs on.
struct ClientPipelinePorts {
    IClientSessionEnvironment& env;
    IClientClock& clock;
    IClientVideoReceiver& receiver;
    IClientDecoderFactory& decoders;
    IClientRenderer& renderer;
};

// The controller's session thread: starts the side channels towards the controlled PC, listens for its
// video connection, decodes every frame (H.264 or the four-tile container) and hands the picture to the
// RemoteView renderer. A watchdog pass once a second tells a stalled stream, a locked remote desktop, a
// lost peer and a missing cable apart and keeps the session alive with control-request retries and an
// in-session reconnect of the side channels. Decoder, renderer and submit failures reset the failing part
// and wait for the next frame; they never end the session.
//
// Every wait is short (at most 100 ms) and followed by a look at the generation.
class ClientPipeline {
public:
    ClientPipeline(const ClientPipelinePorts& ports, std::string peerIp);
    ClientPipeline(const ClientPipeline&) = delete;
    ClientPipeline& operator=(const ClientPipeline&) = delete;

    SessionRunEnd Run();

private:
    // Start-up and frames (ClientPipeline.cpp).
    void StartChannels();
    void HandleFrame(const ClientVideoFrame& frame);
    void TrackLockOnFrame(const ClientVideoFrame& frame);
    void PublishDesktopSize();
    bool PrepareDecoder(const ClientVideoFrame& frame);
    bool DecodeFrame(const ClientVideoFrame& frame, ClientPicture& picture);
    bool EnsureRenderer(const ClientPicture& picture);
    bool AcceptSubtype(const ClientPicture& picture);
    void CheckBlack(const ClientPicture& picture);
    void Submit(const ClientVideoFrame& frame, const ClientPicture& picture, double decodeMs);
    void ResetDecoder();
    bool SharedLogDue(uint32_t intervalMs);

    // The watchdog's effects (ClientPipelineWatchdog.cpp). False: leave the loop.
    bool WatchdogPass();
    ClientWatchdogFacts GatherFacts(std::string& newPeerIp);
    void ApplyLock(const ClientWatchdogActions& actions);
    void ApplyPeerIpChange(const std::string& newIp);
    void ApplyStall(const ClientWatchdogActions& actions);
    void StartRebind(const ClientWatchdogActions& actions);
    void Refresh(const ClientWatchdogActions& actions);
    void SetClipboardChannel(ChannelState whenEnabled, const char* reason);
    void SendControlRequest();
    void LogRetrySuppressed(const char* line);

    IClientSessionEnvironment& m_env;
    IClientClock& m_clock;
    IClientVideoReceiver& m_receiver;
    IClientDecoderFactory& m_decoders;
    IClientRenderer& m_renderer;
    std::string m_peerIp;

    ConfigSnapshot m_config;
    uint32_t m_runStart = 0;
    SessionRunEnd m_end = SessionRunEnd::Finished;

    std::unique_ptr<IClientDecoder> m_decoder;
    const char* m_codec = "NONE";
    bool m_tiles = false;
    int32_t m_streamWidth = 0, m_streamHeight = 0;
    int32_t m_lastVideoWidth = 0, m_lastVideoHeight = 0, m_lastDesktopWidth = 0, m_lastDesktopHeight = 0;

    ClientWatchdogMemory m_watch;
    uint32_t m_lastFrame = 0;
    uint32_t m_blackStart = 0;
    bool m_firstFrame = false;
    bool m_firstSubmitted = false;
    uint32_t m_lastPass = 0;

    uint32_t m_decodeStreak = 0, m_rendererStreak = 0, m_subtypeStreak = 0, m_submitStreak = 0;
    uint32_t m_submitReset = 0, m_blackRecoveryLog = 0;

    // Statistics of the current period and since the start.
    uint32_t m_received = 0, m_decoded = 0, m_rendered = 0;
    uint64_t m_receivedBytes = 0;
    double m_decodeSumMs = 0, m_decodeMaxMs = 0;
    uint64_t m_totalReceived = 0, m_totalDecoded = 0, m_totalRendered = 0;
};
