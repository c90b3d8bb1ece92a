#pragma once

#include <cstdint>

#include "media/CaptureFrameCopy.h"
#include "media/CaptureTypes.h"

// One capture from the desktop duplication, as both capture threads do it, written against a small seam
// so that the status rules and the release of every acquired frame are tested without DXGI.

// DXGI results that AcquireNextFrame reports (HRESULT values).
inline constexpr int32_t kDxgiErrorWaitTimeout = static_cast<int32_t>(0x887A0027);
inline constexpr int32_t kDxgiErrorAccessLost = static_cast<int32_t>(0x887A0026);
inline constexpr int32_t kDxgiErrorDeviceRemoved = static_cast<int32_t>(0x887A0005);
inline constexpr int32_t kDxgiErrorDeviceReset = static_cast<int32_t>(0x887A0007);

// AcquireNextFrame waits at most this long, so a capture thread notices a stop request quickly.
inline constexpr uint32_t kCaptureAcquireTimeoutMs = 16;

// The duplication as a capture sees it. The Win32 side wraps IDXGIOutputDuplication; tests fake it.
class IDesktopFrameSource {
public:
    virtual ~IDesktopFrameSource() = default;
    // AcquireNextFrame; the HRESULT. A success holds a frame until ReleaseFrame.
    virtual int32_t AcquireNextFrame(uint32_t timeoutMs) = 0;
    virtual void ReleaseFrame() = 0;
    // Logs message with the HRESULT text and shows it as the status text.
    virtual void ReportFailure(const char* message, int32_t hr) = 0;
};

// The CPU mode's source: the held frame copied into a readable staging texture.
class IDesktopImageSource : public IDesktopFrameSource {
public:
    // Copies the held frame to the staging texture and maps it. False after reporting why.
    virtual bool MapFrame(DesktopImageView& image) = 0;
    virtual void UnmapFrame() = 0;
};

// Status of an AcquireNextFrame result: success delivers, a time-out is no new frame, access lost and a
// removed or reset device have their own status, anything else is a failure.
CaptureStatus CaptureStatusOfAcquire(int32_t hr);

// AcquireNextFrame inside the "DesktopCapture" stall scope; a failure other than the time-out is reported
// with its mode's message ("Async AcquireNextFrame access lost", "NV12 AcquireNextFrame device lost", ...).
// FrameDelivered means the source holds a frame that the caller must release.
CaptureStatus AcquireDesktopFrame(IDesktopFrameSource& source, CaptureMode mode);

// Where the CPU copy puts the picture: upright, logical size, scaled to at most the maximum.
struct CaptureGeometry {
    int32_t logicalWidth = 0;
    int32_t logicalHeight = 0;
    CaptureRotation rotation = CaptureRotation::Identity;
};

// One CPU capture: acquire, map, copy (CopyDesktopImage at CaptureOutputSize), unmap, release. The frame
// is released on every path once acquired. FrameDelivered fills frame; other results leave it alone.
CaptureStatus CaptureDesktopBgra(IDesktopImageSource& source, const CaptureGeometry& geometry,
                                 int32_t maxWidth, int32_t maxHeight, CapturedFrame& frame);
