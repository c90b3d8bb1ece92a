#include "media/H264EncoderSettings.h"

H264EncoderSettings MakeH264EncoderSettings(int32_t width, int32_t height, int32_t fps, int32_t bitrate) {
    H264EncoderSettings s;
    s.width = width;
    s.height = height;
    s.fps = fps > 0 ? fps : kEncoderDefaultFps;
    s.bitrate = bitrate;
    s.gop = fps > 0 ? fps : kEncoderGopWithoutFps;
    s.frameDuration100ns = 10'000'000LL / s.fps;
    return s;
}
