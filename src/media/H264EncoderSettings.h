#pragma once

#include <cstdint>

// What the H.264 encoder is configured with, derived once at Init from what the caller asked for.
struct H264EncoderSettings {
    int32_t width = 0;
    int32_t height = 0;
    // Frames per second used for the frame rate, the frame duration and the logs; never 0.
    int32_t fps = 0;
    int32_t bitrate = 0;
    // Frames between IDR frames: one second of frames, 60 when no frame rate was given.
    int32_t gop = 0;
    // 10,000,000 / fps.
    int64_t frameDuration100ns = 0;
};

inline constexpr int32_t kEncoderDefaultFps = 30;
inline constexpr int32_t kEncoderGopWithoutFps = 60;
// Output buffer size when the transform does not name one.
inline constexpr uint32_t kEncoderDefaultOutputBuffer = 0x100000;

// A requested fps of 0 or less means the default frame rate, so nothing divides by it.
H264EncoderSettings MakeH264EncoderSettings(int32_t width, int32_t height, int32_t fps, int32_t bitrate);
