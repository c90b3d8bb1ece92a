#pragma once

#include <cstdint>
#include <vector>

#include "media/VideoFrameHeader.h"

// Builds video streams for the transport tests: valid frames, and headers with one field changed.

using Bytes = std::vector<uint8_t>;

// Frame bodies: an H.264 access unit with an IDR slice, one with a P slice only, and plain bytes.
inline Bytes IdrBody(size_t size = 64) {
    Bytes body(size < 6 ? 6 : size, 0xAB);
    const uint8_t unit[] = {0x00, 0x00, 0x00, 0x01, 0x65, 0x88};
    std::copy(std::begin(unit), std::end(unit), body.begin());
    return body;
}

inline Bytes PSliceBody(size_t size = 64) {
    Bytes body(size < 6 ? 6 : size, 0xAB);
    const uint8_t unit[] = {0x00, 0x00, 0x00, 0x01, 0x41, 0x9A};
    std::copy(std::begin(unit), std::end(unit), body.begin());
    return body;
}

inline VideoFrameHeader HeaderFor(const Bytes& body, uint32_t frameId, VideoCodecFlag codec) {
    return MakeVideoFrameHeader(frameId, static_cast<uint32_t>(body.size()), 1920, 1080, 2560, 1440, codec,
                                false);
}

// Header and body as the sender writes them.
inline Bytes Frame(const VideoFrameHeader& header, const Bytes& body) {
    Bytes bytes(kVideoFrameHeaderBytes);
    PackVideoFrameHeader(header, bytes.data());
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

inline Bytes Frame(const Bytes& body, uint32_t frameId, VideoCodecFlag codec = VideoCodecFlag::H264) {
    return Frame(HeaderFor(body, frameId, codec), body);
}

inline void Append(Bytes& stream, const Bytes& more) {
    stream.insert(stream.end(), more.begin(), more.end());
}
