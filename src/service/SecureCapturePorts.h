#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The secure-desktop capture loop runs against these two seams: a capture source per path (desktop
// duplication, GDI) and the platform around it (waits on the stop event, the clock, publishing, BMP files,
// the log). The Win32 side implements them; tests script them.

// HRESULT values the loop tells apart.
inline constexpr int32_t kSecureCaptureAccessDenied = static_cast<int32_t>(0x80070005);   // E_ACCESSDENIED
inline constexpr int32_t kSecureCaptureNotImplemented = static_cast<int32_t>(0x80004001); // E_NOTIMPL
inline constexpr int32_t kSecureCaptureUnsupported =
    static_cast<int32_t>(0x887A0004); // DXGI_ERROR_UNSUPPORTED
inline constexpr int32_t kSecureCaptureWaitTimeout =
    static_cast<int32_t>(0x887A0027); // DXGI_ERROR_WAIT_TIMEOUT

// Pacing: about 10 frames a second; AcquireNextFrame waits at most a second for a new frame.
inline constexpr uint32_t kSecureFrameIntervalMs = 100;
inline constexpr uint32_t kSecureAcquireTimeoutMs = 1000;
// Pauses before the pipeline is built again: the longer one after a failed initialisation or when the GDI
// path ended, the shorter one when the duplication path ended.
inline constexpr uint32_t kSecureRetryWaitMs = 1500;
inline constexpr uint32_t kSecureDuplicationRetryWaitMs = 250;
// Tessaly refuses frames older than 3 s, and a static screen gives duplication no new frame: the last frame
// is published again at least this often.
inline constexpr uint32_t kSecureRepublishIntervalMs = 1000;

// One captured frame, 32-bit BGRA rows top-down, readable until the source's EndFrame.
struct SecureCaptureImage {
    const uint8_t* pixels = nullptr;
    size_t bufferSize = 0; // bytes readable at pixels
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

class ISecureCaptureSource {
public:
    virtual ~ISecureCaptureSource() = default;
    // Builds the pipeline; an HRESULT. A failure leaves nothing held.
    virtual int32_t Init() = 0;
    // Captures one frame. S_OK fills image and holds the frame until EndFrame; kSecureCaptureWaitTimeout
    // (no new frame) and failures hold nothing.
    virtual int32_t BeginFrame(SecureCaptureImage& image) = 0;
    // Gives back the frame of a successful BeginFrame; the HRESULT of that release.
    virtual int32_t EndFrame() = 0;
    // Releases every pipeline object; harmless when nothing is held.
    virtual void Release() = 0;
};

struct SecureBmpResult {
    bool written = false;
    uint32_t lastError = 0; // the Win32 error after a failed write
};

class ISecureCapturePlatform {
public:
    virtual ~ISecureCapturePlatform() = default;
    // Waits up to timeoutMs on the stop event; true when it is set.
    virtual bool WaitForStop(uint32_t timeoutMs) = 0;
    virtual bool RebuildRequested() = 0;
    virtual void ResetRebuildRequest() = 0;
    virtual uint64_t NowMs() = 0;
    // False when nothing was published (no mapping, or the frame was refused).
    virtual bool Publish(const SecureCaptureImage& image) = 0;
    virtual SecureBmpResult WriteBmp(const SecureCaptureImage& image) = 0;
    virtual void Log(const std::string& line) = 0;
    // The system's message text for an HRESULT.
    virtual std::string ErrorText(int32_t hr) = 0;
};
