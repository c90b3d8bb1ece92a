#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "media/Nv12Frame.h"
#include "media/Nv12ShaderMath.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A BGRA picture of 2 x 2 blocks of one random colour each (chroma is shared per block, so a block of one
// colour must come back as that colour).
Bytes RandomBlocks(int32_t width, int32_t height, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int32_t by = 0; by < height; by += 2) {
        for (int32_t bx = 0; bx < width; bx += 2) {
            const uint8_t b = static_cast<uint8_t>(random()), g = static_cast<uint8_t>(random()),
                          r = static_cast<uint8_t>(random());
            for (int32_t y = by; y < by + 2; ++y) {
                for (int32_t x = bx; x < bx + 2; ++x) {
                    uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 4;
                    p[0] = b;
                    p[1] = g;
                    p[2] = r;
                    p[3] = 255;
                }
            }
        }
    }
    return pixels;
}

int MaxDifference(const Bytes& a, const Bytes& b) {
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    return worst;
}

TEST(Nv12ShaderMathTest, EncoderThenShaderRoundTripStaysWithinTwoLevels) {
    const int32_t w = 128, h = 96;
    const Bytes bgra = RandomBlocks(w, h, 7);
    Bytes nv12;
    ASSERT_TRUE(ConvertBGRAtoNV12(bgra.data(), w, h, nv12));
    const Bytes drawn = Nv12ShaderReference(nv12.data(), w, h, w, h);
    ASSERT_EQ(drawn.size(), bgra.size());
    EXPECT_LE(MaxDifference(drawn, bgra), 2);
}

TEST(Nv12ShaderMathTest, PrimariesAndGreysComeBackWithinTwoLevels) {
    const uint8_t colours[][3] = {{0, 0, 0},    {255, 255, 255}, {255, 0, 0},    {0, 255, 0},
                                  {0, 0, 255},  {255, 255, 0},   {0, 255, 255},  {255, 0, 255},
                                  {16, 16, 16}, {235, 235, 235}, {128, 128, 128}};
    for (const auto& c : colours) {
        Bytes bgra;
        for (int i = 0; i < 4; ++i)
            bgra.insert(bgra.end(), {c[2], c[1], c[0], 255});
        Bytes nv12;
        ASSERT_TRUE(ConvertBGRAtoNV12(bgra.data(), 2, 2, nv12));
        const ShaderRgb rgb = Nv12ShaderPixel(nv12[0], nv12[4], nv12[5]);
        EXPECT_LE(std::abs(rgb.r - c[0]), 2) << int(c[0]) << "," << int(c[1]) << "," << int(c[2]);
        EXPECT_LE(std::abs(rgb.g - c[1]), 2) << int(c[0]) << "," << int(c[1]) << "," << int(c[2]);
        EXPECT_LE(std::abs(rgb.b - c[2]), 2) << int(c[0]) << "," << int(c[1]) << "," << int(c[2]);
    }
}

TEST(Nv12ShaderMathTest, FullRangeLumaIsNotExpandedAndNeutralChromaIsGrey) {
    // A studio-range renderer would turn 16 into 0 and 235 into 255.
    for (int y : {0, 16, 128, 235, 255}) {
        const ShaderRgb rgb = Nv12ShaderPixel(static_cast<uint8_t>(y), 128, 128);
        EXPECT_EQ(rgb.r, y);
        EXPECT_EQ(rgb.g, y);
        EXPECT_EQ(rgb.b, y);
    }
}

TEST(Nv12ShaderMathTest, ReferenceShowsOnlyTheVisiblePartAndSharesChromaPerBlock) {
    // 4 x 4 coded, 4 x 2 visible: the bottom rows are padding the renderer never shows.
    Bytes nv12(4 * 4 + 4 * 2, 0);
    for (int i = 0; i < 8; ++i)
        nv12[i] = 100; // visible luma
    for (int i = 8; i < 16; ++i)
        nv12[i] = 250; // padding luma
    nv12[16] = 128;    // block (0,0): grey
    nv12[17] = 128;
    nv12[18] = 128 + 60; // block (1,0): blue-ish
    nv12[19] = 128;
    const Bytes out = Nv12ShaderReference(nv12.data(), 4, 4, 4, 2);
    ASSERT_EQ(out.size(), 4u * 2u * 4u);
    const ShaderRgb grey = Nv12ShaderPixel(100, 128, 128);
    const ShaderRgb blue = Nv12ShaderPixel(100, 188, 128);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const ShaderRgb& want = x < 2 ? grey : blue;
            const uint8_t* p = out.data() + (y * 4 + x) * 4;
            EXPECT_EQ(p[0], want.b);
            EXPECT_EQ(p[1], want.g);
            EXPECT_EQ(p[2], want.r);
            EXPECT_EQ(p[3], 255);
        }
    }
    EXPECT_TRUE(Nv12ShaderReference(nv12.data(), 4, 4, 5, 2).empty());
}

} // namespace
