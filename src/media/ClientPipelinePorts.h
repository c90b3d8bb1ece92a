#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/RuntimeConfig.h"
#include "core/StateManagerTypes.h"

// The seams of the controller's receive, decode and show loop (ClientPipeline). Each port is a small face
// of one Windows object (the TCP video receiver, the H.264 and tile decoders, the RemoteView renderer) or
// of the session's surroundings, so that the loop decides in the core and is tested with fakes. All ports
// are used by the session thread alone, except IClientVideoReceiver::Close.

// One whole frame from the video connection: the encoded bytes and the numbers of its header.
struct ClientVideoFrame {
    std::vector<uint8_t> payload;
    uint32_t frameId = 0;
    uint32_t codec = 0; // VideoCodecFlag: 0 H.264, 1 tile container
    int32_t videoWidth = 0, videoHeight = 0;
    int32_t desktopWidth = 0, desktopHeight = 0;
};

// The listener on the video port and the one connection it accepted.
class IClientVideoReceiver {
public:
    virtual ~IClientVideoReceiver() = default;
    // Logs its own failure line; false when the port cannot be opened.
    virtual bool Listen(uint16_t port) = 0;
    // One whole frame, or false at once (after at most a short accept poll) when none is ready.
    virtual bool Receive(ClientVideoFrame& frame) = 0;
    // A connection is accepted and open.
    virtual bool HasConnection() = 0;
    // Closes the connection and the listener. Safe from any thread and more than once; Receive returns
    // false afterwards.
    virtual void Close() = 0;
};

// One decoded picture. H.264: NV12 (nv12 set) or another subtype that the renderer cannot take, at the
// decoder's coded size. Tiles: packed BGRA rows of `stride` bytes.
struct ClientPicture {
    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0;
    int32_t stride = 0;
    bool nv12 = false;
};

enum class ClientDecodeStatus {
    Picture,  // picture filled
    NeedMore, // input taken, no picture yet
    Failed,
};

class IClientDecoder {
public:
    virtual ~IClientDecoder() = default;
    virtual bool IsTiles() const = 0;
    // decodeMs: the time the decoder spent on this frame.
    virtual ClientDecodeStatus Decode(const ClientVideoFrame& frame, ClientPicture& picture,
                                      double& decodeMs) = 0;
    // H.264: end-of-stream notice, flush, release. Tiles: stops the pool. The object is dropped after it.
    virtual void EndStream() = 0;
};

class IClientDecoderFactory {
public:
    virtual ~IClientDecoderFactory() = default;
    // Null when the decoder cannot be made ready.
    virtual std::unique_ptr<IClientDecoder> CreateH264(int32_t widthHint, int32_t heightHint) = 0;
    virtual std::unique_ptr<IClientDecoder> CreateTiles() = 0;
};

// The RemoteView renderer and its frame queue (the render thread is its consumer).
class IClientRenderer {
public:
    virtual ~IClientRenderer() = default;
    virtual bool Start(int32_t width, int32_t height) = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() = 0;
    // Copies the picture into the queue; false when it was not taken.
    virtual bool SubmitNv12(const std::vector<uint8_t>& pixels, int32_t codedWidth, int32_t codedHeight,
                            int32_t visibleWidth, int32_t visibleHeight) = 0;
    virtual bool SubmitBgra(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                            int32_t visibleWidth, int32_t visibleHeight, int32_t stride) = 0;
};

// Time: the 32-bit millisecond tick of the log (Log::TickCount) and a bounded sleep.
class IClientClock {
public:
    virtual ~IClientClock() = default;
    virtual uint32_t Now() = 0;
    virtual void Wait(uint32_t ms) = 0;
};

// Everything else the loop touches: the session's generation, the shared state shown to the user and the
// side channels (input, clipboard, audio, HID) towards the controlled PC.
class IClientSessionEnvironment {
public:
    virtual ~IClientSessionEnvironment() = default;
    virtual bool IsCurrent() = 0;
    // ClientSession::IsStillCurrent for this run's generation and the given peer.
    virtual bool IsStillCurrent(const std::string& peerIp) = 0;
    virtual ConfigSnapshot Config() = 0;
    virtual bool IsDevicePresent() = 0;
    virtual bool IsSessionPeerLost() = 0;
    virtual bool IsNetworkPeerLost() = 0;
    // A new address of the active peer under the same name; true with newIp set.
    virtual bool ResolvePeerIpChange(const std::string& currentIp, std::string& newIp) = 0;
    virtual void SetActivePeer(const std::string& ip) = 0;
    virtual std::string PeerName() = 0; // the runtime state's peer name
    virtual void SendControlRequest(const std::string& ip) = 0;
    virtual void ScheduleNoVideoReconnect(const std::string& peerIp, const std::string& peerName,
                                          uint32_t sinceVideoMs) = 0;

    // The control handling's memory of the peer's desktop: 1 locked, 0 unlocked, -1 unknown.
    virtual int32_t DesktopLockState() = 0;
    virtual void ResetDesktopLockState() = 0;
    virtual bool IsRemoteLocked() = 0;
    virtual void SetRemoteLocked(bool locked, const char* reason) = 0;
    virtual bool IsHidForced() = 0;
    // HID fallback on / off, each with its route change and log line when the flag changed.
    virtual void ForceHidFallback() = 0;
    virtual void ReleaseHidFallback() = 0;

    virtual void SetProgramState(int32_t state) = 0;
    virtual void SetControllerRole() = 0;
    virtual void SetUnifiedState(SessionMode mode, const char* reason) = 0;
    virtual void ResetChannelStates() = 0;
    virtual void SetChannelState(int channel, ChannelState state, const char* reason) = 0;
    virtual ChannelState GetChannelState(int channel) = 0;
    virtual void SetStatus(const char* text) = 0;
    virtual void SetErrorText(const char* text) = 0;
    virtual void SetDesktopSize(int32_t width, int32_t height) = 0;
    virtual void SetStreamSize(int32_t width, int32_t height) = 0;
    // The period's received and decoded frames and kilobytes; the draw rate is the render thread's own.
    virtual void SetClientStats(int32_t receiveFps, int32_t decodeFps, int32_t kbps) = 0;
    virtual void LogWindowDpi(const char* tag) = 0;
    virtual void ResetQualitySwitch() = 0;
    virtual void ConfirmFrameMode(bool tiles) = 0;
    virtual std::string TransferTick() = 0;

    virtual void StartInputClient(const std::string& ip, uint16_t port, bool force) = 0;
    virtual bool IsInputConnected() = 0;
    // The input path is TCP ready: HID not forced, remote control active, input connected, Input Connected.
    virtual bool IsInputTcpReady() = 0;
    // The SYSTEM_KEY restart code on the input channel's priority queue; false when it did not go out.
    virtual bool SendVideoRestartRequest() = 0;
    virtual void StartHidWorker() = 0;
    virtual void StartHidProbe(const char* reason) = 0;
    virtual void StartClipboardClient(const std::string& ip, uint16_t port) = 0;
    virtual bool IsClipboardConnected() = 0; // the clipboard client's connection is open
    virtual void StartAudioPlayer(uint16_t port) = 0;
};
