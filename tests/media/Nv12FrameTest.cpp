#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/Nv12Frame.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    int r, g, b;
};

// A BGRA picture of one colour.
Bytes Solid(int width, int height, Rgb c) {
    Bytes pixels;
    for (int i = 0; i < width * height; ++i) {
        pixels.insert(pixels.end(),
                      {static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.r), 255});
    }
    return pixels;
}

// Full-range BT.709 reference in floating point.
struct Yuv {
    double y, u, v;
};
Yuv ReferenceBt709Full(Rgb c) {
    const double y = 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
    return {y, (c.b - y) / 1.8556 + 128.0, (c.r - y) / 1.5748 + 128.0};
}

// The controller's NV12 -> RGB formula (full range, BT.709), as its pixel shader computes it.
Rgb RenderBt709Full(int y, int u, int v) {
    const double cb = u - 128.0;
    const double cr = v - 128.0;
    auto clamp = [](double x) { return static_cast<int>(std::lround(std::clamp(x, 0.0, 255.0))); };
    return {clamp(y + 1.5748 * cr), clamp(y - 0.1873 * cb - 0.4681 * cr), clamp(y + 1.8556 * cb)};
}

// The same with BT.601 studio-range coefficients: what a renderer with the wrong matrix and range would show.
Rgb RenderBt601Studio(int y, int u, int v) {
    const double luma = 1.164 * (y - 16);
    const double cb = u - 128.0;
    const double cr = v - 128.0;
    auto clamp = [](double x) { return static_cast<int>(std::lround(std::clamp(x, 0.0, 255.0))); };
    return {clamp(luma + 1.596 * cr), clamp(luma - 0.392 * cb - 0.813 * cr), clamp(luma + 2.017 * cb)};
}

struct Converted {
    int y, u, v;
};
Converted ConvertSolid(Rgb c) {
    const Bytes bgra = Solid(2, 2, c);
    Bytes nv12;
    EXPECT_TRUE(ConvertBGRAtoNV12(bgra.data(), 2, 2, nv12));
    EXPECT_EQ(nv12.size(), 6u);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(nv12[i], nv12[0]) << "one colour, one luma";
    }
    return {nv12[0], nv12[4], nv12[5]};
}

int MaxError(Rgb a, Rgb b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

const Rgb kColours[] = {{255, 0, 0},   {0, 255, 0},     {0, 0, 255},     {255, 255, 0}, {0, 255, 255},
                        {255, 0, 255}, {128, 128, 128}, {200, 100, 50},  {30, 60, 220}, {255, 255, 255},
                        {0, 0, 0},     {16, 16, 16},    {235, 235, 235}, {90, 200, 140}};

TEST(Nv12FrameTest, WhiteAndBlackAreFullRangeWithNeutralChroma) {
    const Converted white = ConvertSolid({255, 255, 255});
    EXPECT_EQ(white.y, 255);
    EXPECT_EQ(white.u, 128);
    EXPECT_EQ(white.v, 128);
    const Converted black = ConvertSolid({0, 0, 0});
    EXPECT_EQ(black.y, 0);
    EXPECT_EQ(black.u, 128);
    EXPECT_EQ(black.v, 128);
}

TEST(Nv12FrameTest, ColoursWithinOneOfFloatBt709FullRange) {
    for (const Rgb& c : kColours) {
        const Converted got = ConvertSolid(c);
        const Yuv want = ReferenceBt709Full(c);
        SCOPED_TRACE(testing::Message() << "rgb " << c.r << "," << c.g << "," << c.b);
        EXPECT_NEAR(got.y, want.y, 1.0);
        EXPECT_NEAR(got.u, std::clamp(want.u, 0.0, 255.0), 1.0);
        EXPECT_NEAR(got.v, std::clamp(want.v, 0.0, 255.0), 1.0);
    }
}

TEST(Nv12FrameTest, ChromaIsTheAverageOfTheBlock) {
    // Left column red, right column blue: U and V come from all four pixels, each luma from its own.
    const Bytes bgra = {0, 0, 255, 255, 255, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0, 255};
    Bytes nv12;
    ASSERT_TRUE(ConvertBGRAtoNV12(bgra.data(), 2, 2, nv12));
    EXPECT_EQ(nv12[0], ConvertSolid({255, 0, 0}).y);
    EXPECT_EQ(nv12[1], ConvertSolid({0, 0, 255}).y);
    const Yuv red = ReferenceBt709Full({255, 0, 0});
    const Yuv blue = ReferenceBt709Full({0, 0, 255});
    EXPECT_NEAR(nv12[4], (red.u + blue.u) / 2, 1.0);
    EXPECT_NEAR(nv12[5], (red.v + blue.v) / 2, 1.0);
}

TEST(Nv12FrameTest, RoundTripThroughTheRendererFormulaStaysClose) {
    for (const Rgb& c : kColours) {
        const Converted yuv = ConvertSolid(c);
        SCOPED_TRACE(testing::Message() << "rgb " << c.r << "," << c.g << "," << c.b);
        EXPECT_LE(MaxError(RenderBt709Full(yuv.y, yuv.u, yuv.v), c), 3);
    }
}

TEST(Nv12FrameTest, RoundTripBoundCatchesAMatrixAndRangeMismatch) {
    // The bound above is tight enough that a renderer using another matrix and range would fail it.
    int worst = 0;
    for (const Rgb& c : kColours) {
        const Converted yuv = ConvertSolid(c);
        worst = std::max(worst, MaxError(RenderBt601Studio(yuv.y, yuv.u, yuv.v), c));
    }
    EXPECT_GT(worst, 20);
}

TEST(Nv12FrameTest, RefusesSizesTheEncodersCannotTake) {
    struct Case {
        const char* name;
        int width;
        int height;
    };
    const Case cases[] = {
        {"odd width 1921", 1921, 1080}, {"odd height", 64, 35}, {"zero width", 0, 2},
        {"negative height", 2, -2},     {"one pixel", 1, 1},    {"above the cap", 16386, 2}};
    const Bytes pixels(4 * 4, 0);
    for (const Case& c : cases) {
        Bytes out = {9};
        EXPECT_EQ(Nv12FrameBytes(c.width, c.height), 0u) << c.name;
        // The pixel buffer is too small for most sizes: a refusal must come before any read.
        EXPECT_FALSE(ConvertBGRAtoNV12(pixels.data(), c.width, c.height, out)) << c.name;
        EXPECT_EQ(out, Bytes{9}) << c.name;
        EXPECT_FALSE(PackNV12(pixels.data(), c.width, c.height, 0, 0, out)) << c.name;
    }
    Bytes out;
    EXPECT_FALSE(ConvertBGRAtoNV12(nullptr, 2, 2, out));
    EXPECT_FALSE(PackNV12(nullptr, 2, 2, 0, 0, out));
    EXPECT_EQ(Nv12FrameBytes(1920, 1080), 1920u * 1080u * 3 / 2);
}

// A 4x4 NV12 frame with row pitches: payload bytes count up, padding is 0xEE.
Bytes PitchedFrame(int yPitch, int uvPitch) {
    Bytes frame;
    uint8_t next = 1;
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < yPitch; ++x)
            frame.push_back(x < 4 ? next++ : 0xEE);
    }
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < uvPitch; ++x)
            frame.push_back(x < 4 ? next++ : 0xEE);
    }
    return frame;
}

TEST(Nv12FrameTest, PacksRowsTakenAtTheirPitches) {
    Bytes packed(24);
    for (uint8_t i = 0; i < 24; ++i)
        packed[i] = i + 1;
    struct Case {
        const char* name;
        int yPitch;
        int uvPitch;
        int passYPitch;
        int passUvPitch;
    };
    const Case cases[] = {{"packed", 4, 4, 4, 4},
                          {"zero pitches mean the width", 4, 4, 0, 0},
                          {"negative pitches", 4, 4, -1, -8},
                          {"padded luma", 8, 4, 8, 0},
                          {"padded both", 6, 10, 6, 10},
                          {"padded chroma only", 4, 16, 4, 16}};
    for (const Case& c : cases) {
        const Bytes source = PitchedFrame(c.yPitch, c.uvPitch);
        Bytes out;
        ASSERT_TRUE(PackNV12(source.data(), 4, 4, c.passYPitch, c.passUvPitch, out)) << c.name;
        EXPECT_EQ(out, packed) << c.name;
    }
}

TEST(Nv12FrameTest, PackRefusesAPitchShorterThanARow) {
    const Bytes source(64, 0);
    Bytes out;
    EXPECT_FALSE(PackNV12(source.data(), 4, 4, 3, 4, out));
    EXPECT_FALSE(PackNV12(source.data(), 4, 4, 4, 2, out));
}

} // namespace
