#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/CaptureTypes.h"
#include "media/HostVideoSettings.h"

// The seams of the host's capture, encode and send loop (HostPipeline). Each port is a small face of one
// Windows object (the duplicator, the GDI capture, the secure-desktop frames, the encoders, the TCP video
// sender) or of the session's surroundings, so that the loop decides in the core and is tested with fakes.
// All ports are used by the session thread alone.

// One captured picture: BGRA rows packed (width * 4 bytes each) or NV12 (luma plane, then interleaved
// chroma, width * height * 3 / 2 bytes).
struct HostFrame {
    std::vector<uint8_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    bool nv12 = false;
};

// Desktop duplication with its capture thread.
class IHostDuplicator {
public:
    virtual ~IHostDuplicator() = default;
    virtual bool Init() = 0;
    virtual void Shutdown() = 0;
    // GPU NV12 frames of the desktop's own size, or CPU BGRA frames fitted into the maximum size (0: none).
    virtual bool StartNV12() = 0;
    virtual bool StartBGRA(int32_t maxWidth, int32_t maxHeight) = 0;
    virtual void StopCapture() = 0;
    // The newest frame of the running capture mode, waiting up to timeoutMs for one not taken before.
    virtual bool LatestFrame(HostFrame& frame, uint32_t timeoutMs) = 0;
    virtual CaptureStatus Status() = 0;
    virtual uint32_t CapturedFps() = 0;
    // The output's logical desktop size.
    virtual void DesktopSize(int32_t& width, int32_t& height) = 0;
    // Pause between captures (0: none); wakes the capture thread on a change.
    virtual void SetCaptureInterval(uint32_t ms) = 0;
};

// The persistent GDI capture of the primary screen, for when duplication is unavailable.
class IHostGdiCapture {
public:
    virtual ~IHostGdiCapture() = default;
    virtual bool Init(int32_t maxWidth, int32_t maxHeight) = 0;
    virtual bool Capture(HostFrame& frame) = 0; // BGRA at the output size
    virtual void SourceSize(int32_t& width, int32_t& height) = 0;
    virtual void Release() = 0;
    // One frame from a temporary capture of the primary screen.
    virtual bool Snapshot(HostFrame& frame, int32_t maxWidth, int32_t maxHeight) = 0;
};

// The secure desktop (logon, lock, elevation) and the frames that the service publishes of it.
class IHostSecureDesktop {
public:
    virtual ~IHostSecureDesktop() = default;
    // The input desktop is not "Default" (or cannot be read).
    virtual bool IsActive() = 0;
    // Asks the service's worker for a fresh frame; false when the request could not be delivered.
    virtual bool RequestWorkerFrame(const char* reason) = 0;
    // The size the host encodes from now on: published frames are scaled to it, whatever size the service
    // captured. Nothing is read before it is set.
    virtual void SetFrameSize(int32_t width, int32_t height) = 0;
    // A published BGRA frame not taken before and at most 3,000 ms old, at the frame size, with its sequence
    // number; false while there is none (also when nothing is published at all).
    virtual bool ReadFreshFrame(HostFrame& frame, uint64_t& sequence) = 0;
    // Waits up to ms for the publisher's frame-ready signal.
    virtual void WaitFrameReady(uint32_t ms) = 0;
    // The mapping's and the event's names for the log.
    virtual std::string MappingName() = 0;
    virtual std::string EventName() = 0;
    virtual void Close() = 0;
};

// One video encoder: H.264 (BGRA or NV12 input) or the four-tile codec (BGRA only).
class IHostEncoder {
public:
    virtual ~IHostEncoder() = default;
    virtual bool Init(int32_t width, int32_t height, int32_t fps, int32_t bitrate) = 0;
    virtual bool Encode(const HostFrame& frame, std::vector<uint8_t>& out) = 0;
    virtual void Shutdown() = 0;
    // 0 H.264, 1 tile container: the codec word of the frame header.
    virtual uint32_t CodecFlag() const = 0;
};

// The TCP video connection to the controller.
class IHostVideoSender {
public:
    virtual ~IHostVideoSender() = default;
    // Connects, retrying a refused attempt every 50 ms for up to 2,500 ms; never blocks much longer.
    virtual bool Connect(const std::string& peerIp, uint16_t port) = 0;
    virtual bool IsConnected() = 0;
    // Header and frame, bounded in time; false when any byte did not go out.
    virtual bool SendFrame(const uint8_t* data, size_t size, uint32_t frameId, int32_t videoWidth,
                           int32_t videoHeight, int32_t desktopWidth, int32_t desktopHeight,
                           uint32_t codec) = 0;
    virtual void Shutdown() = 0;
};

// The display layout, compared against a baseline that the probe keeps.
class IHostDisplayProbe {
public:
    enum class Result { Failed, Same, Changed };
    virtual ~IHostDisplayProbe() = default;
    // Queries the layout and keeps it as the baseline; false when the query failed. text: the log form.
    virtual bool TakeBaseline(std::string& text) = 0;
    // Queries again; Changed fills both texts and the new primary screen size.
    virtual Result Probe(std::string& oldText, std::string& newText, int32_t& primaryWidth,
                         int32_t& primaryHeight) = 0;
    // The primary screen's size now; false when it cannot be read.
    virtual bool PrimarySize(int32_t& width, int32_t& height) = 0;
};

// Time: the 32-bit millisecond tick of the log (Log::TickCount) and a bounded sleep.
class IHostClock {
public:
    virtual ~IHostClock() = default;
    virtual uint32_t Now() = 0;
    virtual void Wait(uint32_t ms) = 0;
};

// Everything the loop needs outside video: the session's generation, the controller's wishes, the state
// shown to the user and the side channels.
class IHostSessionEnvironment {
public:
    virtual ~IHostSessionEnvironment() = default;
    virtual bool IsCurrent() = 0;
    // Clears the session's running flag: the session ends once the loop returns.
    virtual void StopSession() = 0;
    virtual ConfigSnapshot Config() = 0;
    virtual HostVideoRequest ControllerRequest() = 0;
    virtual bool ControllerViewHidden() = 0;
    virtual bool ControllerWantsAudio() = 0;
    // The active peer: the controller this thread serves.
    virtual bool IsActivePeer(const std::string& ip) = 0;
    // Exchanges the process-wide restart request with 0.
    virtual bool TakeRestartRequest() = 0;
    virtual std::optional<std::string> Environment(const char* name) = 0;

    virtual void SetUnifiedState(int32_t mode, const char* reason) = 0;
    virtual void SetChannelState(int channel, int32_t state, const char* reason) = 0;
    virtual void SetStatus(const char* text, bool repaint) = 0;
    virtual void SetErrorText(const char* text) = 0;
    virtual void SetStreamSize(int32_t width, int32_t height) = 0;
    virtual void SetDesktopSize(int32_t width, int32_t height) = 0;
    virtual void SetVideoStats(int32_t captureFps, int32_t encodeFps, int32_t sendFps, int32_t kbps) = 0;
    virtual void LogDesktopMetrics() = 0; // the "Host desktop DPI" line

    virtual void StartInputHost(uint16_t port) = 0;
    virtual bool IsInputConnected() = 0;
    virtual bool StartClipboardHost(uint16_t port) = 0;
    virtual bool IsClipboardConnected() = 0;
    virtual void StartAudioSender(const std::string& peerIp, uint16_t port) = 0;
    virtual void StopAudioSender() = 0;
    virtual bool IsAudioSenderRunning() = 0;
    virtual void SendDesktopState(const std::string& peerIp, bool locked) = 0;
    // The file-transfer window's tick; a non-empty text becomes the status text.
    virtual std::string TransferTick() = 0;
};

// Makes the objects of one pipeline build.
class IHostPipelineFactory {
public:
    virtual ~IHostPipelineFactory() = default;
    virtual std::unique_ptr<IHostDuplicator> CreateDuplicator() = 0;
    virtual std::unique_ptr<IHostGdiCapture> CreateGdiCapture() = 0;
    virtual std::unique_ptr<IHostEncoder> CreateEncoder(bool ultra) = 0;
};
