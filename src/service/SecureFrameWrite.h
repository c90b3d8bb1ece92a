#pragma once

#include <cstdint>
#include <span>

// The writer's half of the secure-desktop frame mapping (layout in WardletShared.h), over the mapped bytes,
// so that the worker's Win32 side only supplies the mapping, the clock and the process facts.

// What the writer stamps on each frame besides its size.
struct SecureFrameStamp {
    uint32_t processId = 0;
    uint32_t sessionId = 0;
    uint64_t publishTick = 0;
    uint64_t sequence = 0;
};

// Whether a frame of this size and source stride fits a buffer: width and height at least 1, stride at
// least width * 4 and width * height * 4 at most the buffer capacity.
bool SecureFrameFits(int32_t width, int32_t height, int32_t sourceStride);

// Writes a fresh header (nothing published) over the start of the mapping; both descriptors become zero.
// False when the mapping is smaller than the whole layout.
bool InitSecureFrameHeader(std::span<uint8_t> mapping);

// Copies the rows packed into the buffer that is not published, fills its descriptor and then publishes it
// by exchanging the published index (a full fence). The caller signals the ready event afterwards. False,
// with nothing written, when the mapping is smaller than the layout or the frame does not fit.
bool PublishSecureFrame(std::span<uint8_t> mapping, const uint8_t* pixels, int32_t width, int32_t height,
                        int32_t sourceStride, const SecureFrameStamp& stamp);
