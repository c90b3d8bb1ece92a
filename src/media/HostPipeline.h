#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/HostFramePacer.h"
#include "media/HostPipelinePorts.h"
#include "media/HostVideoSettings.h"
#include "media/SessionRunBody.h"

// The ports one host session thread runs on.
struct HostPipelinePorts {
    IHostSessionEnvironment& env;
    IHostClock& clock;
    IHostVideoSender& sender;
    IHostSecureDesktop& secure;
    IHostDisplayProbe& display;
    IHostPipelineFactory& factory;
};

// The controlled side's session thread: opens the side channels, connects the video connection to the
// controller, then builds a capture, encode and send pipeline and streams until the session's generation
// stops being current. Failures that a fresh start may cure rebuild the pipeline, not the session: capture,
// encode and send streaks, black pictures, size changes, restart requests, a lost or reset video connection
// (the sender reconnects within the session). A display-layout change, and a local lock while on the GDI
// fallback, end the session with Video and Input Reconnecting so that the controller reconnects.
//
// Every wait is bounded (at most 100 ms at a time) and followed by a look at the generation.
class HostPipeline {
public:
    HostPipeline(const HostPipelinePorts& ports, std::string peerIp);
    HostPipeline(const HostPipeline&) = delete;
    HostPipeline& operator=(const HostPipeline&) = delete;

    SessionRunEnd Run();

private:
    enum class Step { Continue, Rebuild, EndSession };
    enum class SecureStartup { NotActive = 0, NextBuild = 1, StopSession = 2 };

    // What one build holds; a rebuild drops it whole.
    struct Build {
        std::unique_ptr<IHostDuplicator> duplicator;
        std::unique_ptr<IHostGdiCapture> gdi;
        std::unique_ptr<IHostEncoder> encoder;
        const char* path = "";
        bool nv12 = false;
        bool secureSource = false;
        HostFrame cached;
        bool hasCached = false;
        int32_t desktopWidth = 0, desktopHeight = 0;
        uint32_t captureErrors = 0, sendFailures = 0, frameFailures = 0;
        uint32_t blackSince = 0; // 0: the cached frame is not black
        uint32_t lastFresh = 0, lastSend = 0;
        uint64_t lastSecureSequence = 0;
        HostLowBandwidth lowBandwidth;
        HostFramePacer pacer;
        // Statistics since the last report.
        uint32_t consumed = 0, duplicates = 0, idleSkips = 0, encoded = 0, sent = 0, lost = 0, captured = 0;
        uint64_t sentBytes = 0;
        double encodeTotalMs = 0, encodeMaxMs = 0;
    };

    // Start-up and builds (HostPipeline.cpp).
    bool StartChannels();
    bool ConnectVideo();
    void TakeDisplayBaseline();
    bool BuildOnce(uint32_t number);
    bool ReconnectVideo();
    // The video connection is gone (reset by the controller, or too many failed sends): the next build
    // reconnects, and until then the session counts as connecting.
    void DropVideoConnection(const char* reason);
    bool StartDuplication(Build& build);
    bool WaitFirstFrame(Build& build);
    bool CreateEncoder(Build& build, int32_t width, int32_t height);
    void LogStreaming(const Build& build, const char* path, const char* unifiedReason);
    void Teardown(Build& build);
    void RestartPause(Build& build);
    void WaitWhileCurrent(uint32_t ms);
    bool IsCurrent();

    // The main loop (HostPipelineLoop.cpp).
    Step StreamPass(Build& build);
    Step TakeRestart(Build& build, const char* path);
    void ApplyAudioAndVisibility(Build& build, const char* path);
    Step CheckLock(Build& build);
    Step CheckDisplay(Build& build, bool gdi);
    bool WaitUntilDue(Build& build);
    Step TakeFrame(Build& build, bool& fresh);
    Step CheckCaptureStatus(Build& build);
    Step EncodeAndSend(Build& build, const char* encodeFailLine);
    void ReportStats(Build& build);
    void SendDesktopNotice(bool locked, const char* pathSuffix);
    void SetCadence(Build& build);
    void LogVisibilityPolicy(const char* path);
    void AcceptFrame(Build& build, HostFrame&& frame);
    uint32_t ActiveInterval(const Build& build) const;

    // Secure desktop (HostPipelineSecure.cpp).
    SecureStartup RunSecureStartup(bool ultra);
    Step ProbeAfterAccessLost(Build& build, CaptureStatus status);
    void EnterSecureSource(Build& build);
    bool ReadSecureFrame(Build& build, HostFrame& frame);

    // Persistent GDI capture (HostPipelineGdi.cpp).
    void RunGdiFallback(Build& build);
    Step GdiPass(Build& build);

    // Session ends that the controller answers with a reconnect.
    Step EndForReconnect(Build& build, const char* status, const char* error, const char* videoReason,
                         const char* inputReason);

    IHostSessionEnvironment& m_env;
    IHostClock& m_clock;
    IHostVideoSender& m_sender;
    IHostSecureDesktop& m_secure;
    IHostDisplayProbe& m_display;
    IHostPipelineFactory& m_factory;
    const std::string m_peerIp;

    ConfigSnapshot m_config;
    HostVideoRequest m_request;
    HostEffectiveVideo m_video;
    bool m_ultra = false;
    const char* m_codec = "H264";
    SessionRunEnd m_end = SessionRunEnd::Finished;

    uint32_t m_frameId = 0;
    uint32_t m_forceBgraUntil = 0; // 0: none; outlives rebuilds
    bool m_viewHidden = false;
    uint32_t m_cadenceMs = 0;
    bool m_hasBaseline = false;
    int32_t m_lastLocked = -1; // last state sent to the peer; -1 none yet
    uint32_t m_lastNotice = 0;
    bool m_dropSender = false; // the next build reconnects the video connection
    uint32_t m_reconnectFailures = 0;

    // Rate limits (TickRateLimit).
    uint32_t m_audioTick = 0, m_lockTick = 0, m_displayTick = 0, m_displayFailLog = 0;
    uint32_t m_statTick = 0, m_captureErrorLog = 0, m_sendFailLog = 0, m_secureWaitLog = 0;
    uint32_t m_frameFailLog = 0, m_reconnectLog = 0;
};
