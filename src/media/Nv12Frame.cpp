#include "media/Nv12Frame.h"

#include <algorithm>
#include <cstring>

#include "media/VideoLimits.h"

size_t Nv12FrameBytes(int32_t width, int32_t height) {
    if (width < 1 || height < 1 || width % 2 != 0 || height % 2 != 0 || width > kMaxVideoDimension ||
        height > kMaxVideoDimension) {
        return 0;
    }
    return static_cast<size_t>(width) * static_cast<size_t>(height) * 3 / 2;
}

namespace {

uint8_t LumaOf(int b, int g, int r) {
    return static_cast<uint8_t>((19 * b + 183 * g + 54 * r + 128) >> 8);
}

// Signed results: the shift is arithmetic, as the formulas ask.
int CbOf(int b, int g, int r) {
    return (128 * b - 99 * g - 29 * r + 128) >> 8;
}
int CrOf(int b, int g, int r) {
    return (128 * r - 116 * g - 12 * b + 128) >> 8;
}

uint8_t ChromaOfBlock(int sum) {
    return static_cast<uint8_t>(std::clamp((sum + 512) / 4, 0, 255));
}

} // namespace

bool ConvertBGRAtoNV12(const uint8_t* bgra, int32_t width, int32_t height, std::vector<uint8_t>& out) {
    const size_t bytes = Nv12FrameBytes(width, height);
    if (bgra == nullptr || bytes == 0) {
        return false;
    }
    const size_t w = static_cast<size_t>(width);
    const size_t h = static_cast<size_t>(height);
    const size_t rowBytes = w * 4;
    out.resize(bytes);
    uint8_t* luma = out.data();
    uint8_t* chroma = out.data() + w * h;
    for (size_t y = 0; y < h; y += 2) {
        const uint8_t* top = bgra + y * rowBytes;
        const uint8_t* bottom = top + rowBytes;
        uint8_t* lumaTop = luma + y * w;
        uint8_t* lumaBottom = lumaTop + w;
        uint8_t* uv = chroma + (y / 2) * w;
        for (size_t x = 0; x < w; x += 2) {
            int cbSum = 0;
            int crSum = 0;
            const uint8_t* pixels[4] = {top + x * 4, top + x * 4 + 4, bottom + x * 4, bottom + x * 4 + 4};
            uint8_t* lumaOut[4] = {lumaTop + x, lumaTop + x + 1, lumaBottom + x, lumaBottom + x + 1};
            for (int i = 0; i < 4; ++i) {
                const int b = pixels[i][0];
                const int g = pixels[i][1];
                const int r = pixels[i][2];
                *lumaOut[i] = LumaOf(b, g, r);
                cbSum += CbOf(b, g, r);
                crSum += CrOf(b, g, r);
            }
            uv[x] = ChromaOfBlock(cbSum);
            uv[x + 1] = ChromaOfBlock(crSum);
        }
    }
    return true;
}

bool Nv12RowSteps(size_t width, int32_t yPitch, int32_t uvPitch, size_t& yStep, size_t& uvStep) {
    yStep = yPitch <= 0 ? width : static_cast<size_t>(yPitch);
    uvStep = uvPitch <= 0 ? width : static_cast<size_t>(uvPitch);
    return yStep >= width && uvStep >= width;
}

bool PackNV12(const uint8_t* source, int32_t width, int32_t height, int32_t yPitch, int32_t uvPitch,
              std::vector<uint8_t>& out) {
    const size_t bytes = Nv12FrameBytes(width, height);
    if (source == nullptr || bytes == 0) {
        return false;
    }
    const size_t w = static_cast<size_t>(width);
    const size_t h = static_cast<size_t>(height);
    size_t yStep = 0;
    size_t uvStep = 0;
    if (!Nv12RowSteps(w, yPitch, uvPitch, yStep, uvStep)) {
        return false;
    }
    out.resize(bytes);
    if (yStep == w && uvStep == w) {
        std::memcpy(out.data(), source, bytes);
        return true;
    }
    for (size_t row = 0; row < h; ++row) {
        std::memcpy(out.data() + row * w, source + row * yStep, w);
    }
    const uint8_t* uvSource = source + yStep * h;
    uint8_t* uvOut = out.data() + w * h;
    for (size_t row = 0; row < h / 2; ++row) {
        std::memcpy(uvOut + row * w, uvSource + row * uvStep, w);
    }
    return true;
}
