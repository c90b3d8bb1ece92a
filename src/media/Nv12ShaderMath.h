#pragma once

#include <cstdint>
#include <vector>

// The NV12 pixel shader's colour conversion on the CPU: BT.709 full range, luma used as is, chroma centred
// on 128/255, computed in float and stored to an 8-bit UNORM target as the GPU does. The shader text in the
// renderer carries the same coefficients; a change to one must be made to the other.
inline constexpr float kShaderRFromV = 1.5748f;
inline constexpr float kShaderGFromU = 0.18732427f;
inline constexpr float kShaderGFromV = 0.46812427f;
inline constexpr float kShaderBFromU = 1.8556f;

struct ShaderRgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};
ShaderRgb Nv12ShaderPixel(uint8_t y, uint8_t u, uint8_t v);

// The BGRA picture (visibleW x visibleH, alpha 255) the renderer draws when the target is exactly the
// visible size: each pixel takes its own luma and the chroma of its 2 x 2 block. nv12 holds codedH luma
// rows of codedW bytes, then the interleaved chroma rows. Empty for sizes below 2 or a visible size above
// the coded one.
std::vector<uint8_t> Nv12ShaderReference(const uint8_t* nv12, int32_t codedW, int32_t codedH,
                                         int32_t visibleW, int32_t visibleH);
