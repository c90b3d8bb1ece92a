#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/AudioWaveFormat.h"

// The player's conversion of received 16-bit PCM (the remote FORMAT) to the render format of its device.
// Sizes are computed in 64 bits; the caller bounds the remote format first (RemoteFormatRefusal).

// Output frames for sourceFrames: sourceFrames x renderRate / sourceRate rounded to the nearest integer, at
// least 1. Both rates non-zero.
uint64_t ResampledFrameCount(uint64_t sourceFrames, uint32_t sourceRate, uint32_t renderRate);
// The source frame output frame i takes: floor(i x sourceRate / renderRate), the last frame when beyond.
uint64_t ResampleSourceIndex(uint64_t i, uint64_t sourceFrames, uint32_t sourceRate, uint32_t renderRate);

enum class AudioConvertResult {
    Ok,
    Unsupported, // the source is not 16-bit PCM or the render format is not convertible
    Empty,       // not one whole source frame
};

// Appends the whole source frames of data (a partial frame at the end is ignored) to out in the render
// format. With equal rate, channels and sample type the bytes are appended as they are. Channels: a mono
// source feeds every output channel; a mono output takes the mean of source channels 0 and 1; otherwise
// output channel c takes source channel min(c, source channels - 1).
AudioConvertResult ConvertToRender(const AudioWaveFormat& source, const AudioWaveFormat& render,
                                   const uint8_t* data, size_t bytes, std::vector<uint8_t>& out);
