#include "media/Nv12ShaderMath.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t Unorm8(float value) {
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

} // namespace

ShaderRgb Nv12ShaderPixel(uint8_t y, uint8_t u, uint8_t v) {
    const float yf = static_cast<float>(y) / 255.0f;
    const float uf = static_cast<float>(u) / 255.0f - 128.0f / 255.0f;
    const float vf = static_cast<float>(v) / 255.0f - 128.0f / 255.0f;
    return ShaderRgb{Unorm8(yf + kShaderRFromV * vf), Unorm8(yf - kShaderGFromU * uf - kShaderGFromV * vf),
                     Unorm8(yf + kShaderBFromU * uf)};
}

std::vector<uint8_t> Nv12ShaderReference(const uint8_t* nv12, int32_t codedW, int32_t codedH,
                                         int32_t visibleW, int32_t visibleH) {
    if (nv12 == nullptr || codedW < 2 || codedH < 2 || visibleW < 1 || visibleH < 1 || visibleW > codedW ||
        visibleH > codedH) {
        return {};
    }
    const size_t stride = static_cast<size_t>(codedW);
    const uint8_t* chroma = nv12 + stride * static_cast<size_t>(codedH);
    std::vector<uint8_t> out(static_cast<size_t>(visibleW) * static_cast<size_t>(visibleH) * 4);
    for (size_t y = 0; y < static_cast<size_t>(visibleH); ++y) {
        for (size_t x = 0; x < static_cast<size_t>(visibleW); ++x) {
            const uint8_t* uv = chroma + (y / 2) * stride + (x / 2) * 2;
            const ShaderRgb rgb = Nv12ShaderPixel(nv12[y * stride + x], uv[0], uv[1]);
            uint8_t* pixel = out.data() + (y * static_cast<size_t>(visibleW) + x) * 4;
            pixel[0] = rgb.b;
            pixel[1] = rgb.g;
            pixel[2] = rgb.r;
            pixel[3] = 255;
        }
    }
    return out;
}
