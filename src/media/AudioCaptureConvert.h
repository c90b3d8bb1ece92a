#pragma once

#include <cstdint>
#include <vector>

#include "media/AudioWaveFormat.h"

// The sender's conversion of captured frames (in the capture device's mix format) to the stream format,
// 16-bit stereo: channel 0 of the source becomes left and channel 1 right (a mono source gives both).

// One source sample as a value, read by the format: tag 3 (IEEE float, 32 bits) as float, NaN as 0; 16-bit
// integer x 1/32768; 24-bit packed integer, sign-extended, x 1/8388608; 32-bit samples of a format declared
// integer PCM (tag 1, plain or extensible) x 1/2147483648; other 32-bit samples as float when the frame is
// exactly 4 bytes per channel, else as integer; anything else 0. A channel outside the frame reads 0.
float ReadCapturedSample(const AudioWaveFormat& source, const uint8_t* frame, uint32_t channel);

// Appends `frames` frames of data (frames x block align bytes) to out as 16-bit stereo; a buffer flagged
// silent appends zeros.
void AppendCapturedAsStream(const AudioWaveFormat& source, const uint8_t* data, uint32_t frames, bool silent,
                            std::vector<uint8_t>& out);
