#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "media/FrameChecks.h"

namespace {

enum class Format { BGRA, Luma };

constexpr uint8_t kDark = 0;
constexpr uint8_t kBright = 200;
constexpr uint8_t kPadding = 255;

// Grey level of pixel (x, y).
using Painter = std::function<uint8_t(int32_t x, int32_t y)>;

Painter All(uint8_t level) {
    return [level](int32_t, int32_t) { return level; };
}

// The first `count` pixels in row order are bright, the rest dark.
Painter FirstBright(int32_t width, int32_t count) {
    return [width, count](int32_t x, int32_t y) { return y * width + x < count ? kBright : kDark; };
}

// Dark only where x % cx == ox and y % cy == 0, bright everywhere else.
Painter DarkGrid(int32_t cx, int32_t ox, int32_t cy) {
    return [=](int32_t x, int32_t y) { return x % cx == ox && y % cy == 0 ? kDark : kBright; };
}

struct BlackCase {
    const char* name;
    Format format;
    int32_t width, height;
    int32_t stride;           // passed to the test; rows are laid out with `layoutStride` bytes
    int32_t layoutStride;     // 0: tightly packed
    std::ptrdiff_t sizeDelta; // added to the exact buffer size
    Painter paint;
    bool black;
};

std::vector<uint8_t> Build(const BlackCase& c) {
    const size_t bpp = c.format == Format::BGRA ? 4 : 1;
    const size_t w = c.width > 0 ? static_cast<size_t>(c.width) : 0;
    const size_t h = c.height > 0 ? static_cast<size_t>(c.height) : 0;
    const size_t pitch = c.layoutStride > 0 ? static_cast<size_t>(c.layoutStride) : w * bpp;
    const size_t exact = h == 0 ? 0 : pitch * (h - 1) + w * bpp;
    std::vector<uint8_t> buffer(exact, kPadding);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            uint8_t level = c.paint(static_cast<int32_t>(x), static_cast<int32_t>(y));
            uint8_t* p = buffer.data() + y * pitch + x * bpp;
            if (c.format == Format::BGRA) {
                p[0] = p[1] = p[2] = level;
                p[3] = 255; // alpha is ignored
            } else {
                p[0] = level;
            }
        }
    buffer.resize(static_cast<size_t>(static_cast<std::ptrdiff_t>(exact) + c.sizeDelta), kPadding);
    return buffer;
}

class BlackFrameTest : public ::testing::TestWithParam<BlackCase> {};

TEST_P(BlackFrameTest, Table) {
    const BlackCase& c = GetParam();
    std::vector<uint8_t> buffer = Build(c);
    bool black = c.format == Format::BGRA ? IsBlackFrameBGRA(buffer, c.width, c.height, c.stride)
                                          : IsBlackFrameLuma(buffer, c.width, c.height, c.stride);
    EXPECT_EQ(black, c.black);
}

// 64x36 samples every pixel (2304): 46 bright leave exactly 98 % dark, 47 do not.
// 1920x1080 samples every 30th column and row: a picture dark only on that grid is black, the grid moved
// by one column is not.
INSTANTIATE_TEST_SUITE_P(
    Cases, BlackFrameTest,
    ::testing::Values(
        BlackCase{"BgraAllDark", Format::BGRA, 64, 36, 0, 0, 0, All(kDark), true},
        BlackCase{"BgraAllBright", Format::BGRA, 64, 36, 0, 0, 0, All(kBright), false},
        BlackCase{"BgraNineIsDark", Format::BGRA, 64, 36, 0, 0, 0, All(9), true},
        BlackCase{"BgraTenIsNotDark", Format::BGRA, 64, 36, 0, 0, 0, All(10), false},
        BlackCase{"BgraExactly98Percent", Format::BGRA, 64, 36, 0, 0, 0, FirstBright(64, 46), true},
        BlackCase{"BgraJustUnder98Percent", Format::BGRA, 64, 36, 0, 0, 0, FirstBright(64, 47), false},
        BlackCase{"BgraFullHdGrid", Format::BGRA, 1920, 1080, 0, 0, 0, DarkGrid(30, 0, 30), true},
        BlackCase{"BgraFullHdGridMoved", Format::BGRA, 1920, 1080, 0, 0, 0, DarkGrid(30, 1, 30), false},
        BlackCase{"BgraOneByteShort", Format::BGRA, 64, 36, 0, 0, -1, All(kDark), false},
        BlackCase{"BgraLargerBufferIsFine", Format::BGRA, 64, 36, 0, 0, 100, All(kDark), true},
        BlackCase{"BgraOnePixelDark", Format::BGRA, 1, 1, 0, 0, 0, All(kDark), true},
        BlackCase{"BgraOnePixelBright", Format::BGRA, 1, 1, 0, 0, 0, All(kBright), false},
        BlackCase{"BgraOddSizeDark", Format::BGRA, 65, 37, 0, 0, 0, All(kDark), true},
        BlackCase{"BgraOddTinyOneBright", Format::BGRA, 3, 5, 0, 0, 0, FirstBright(3, 1), false},
        BlackCase{"BgraZeroWidth", Format::BGRA, 0, 36, 0, 0, 0, All(kDark), false},
        BlackCase{"BgraZeroHeight", Format::BGRA, 64, 0, 0, 0, 0, All(kDark), false},
        BlackCase{"BgraNegativeWidth", Format::BGRA, -4, 36, 0, 0, 0, All(kDark), false},
        // Rows padded with bright bytes: read with their stride the padding is skipped; read as tightly
        // packed the same bytes are misread and the picture is not black.
        BlackCase{"BgraPaddedRowsWithStride", Format::BGRA, 64, 36, 272, 272, 0, All(kDark), true},
        BlackCase{"BgraPaddedRowsReadPacked", Format::BGRA, 64, 36, 0, 272, 0, All(kDark), false},
        BlackCase{"BgraStrideShorterThanRow", Format::BGRA, 64, 36, 252, 0, 0, All(kDark), false},
        BlackCase{"BgraStrideLastRowShort", Format::BGRA, 64, 36, 272, 272, -1, All(kDark), false},
        BlackCase{"LumaAllDark", Format::Luma, 64, 36, 0, 0, 0, All(kDark), true},
        BlackCase{"LumaFifteenIsDark", Format::Luma, 64, 36, 0, 0, 0, All(15), true},
        BlackCase{"LumaSixteenIsNotDark", Format::Luma, 64, 36, 0, 0, 0, All(16), false},
        BlackCase{"LumaExactly98Percent", Format::Luma, 64, 36, 0, 0, 0, FirstBright(64, 46), true},
        BlackCase{"LumaJustUnder98Percent", Format::Luma, 64, 36, 0, 0, 0, FirstBright(64, 47), false},
        BlackCase{"LumaFullHdGrid", Format::Luma, 1920, 1080, 0, 0, 0, DarkGrid(30, 0, 30), true},
        BlackCase{"LumaFullHdGridMoved", Format::Luma, 1920, 1080, 0, 0, 0, DarkGrid(30, 1, 30), false},
        BlackCase{"LumaOneByteShort", Format::Luma, 64, 36, 0, 0, -1, All(kDark), false},
        BlackCase{"LumaOddTinyDark", Format::Luma, 1, 3, 0, 0, 0, All(kDark), true},
        BlackCase{"LumaZeroWidth", Format::Luma, 0, 1, 0, 0, 0, All(kDark), false},
        BlackCase{"LumaPaddedRowsWithStride", Format::Luma, 64, 36, 80, 80, 0, All(kDark), true},
        BlackCase{"LumaPaddedRowsReadPacked", Format::Luma, 64, 36, 0, 80, 0, All(kDark), false}),
    [](const auto& info) { return std::string(info.param.name); });

// One channel at 10 is enough to make a BGRA sample bright.
TEST(BlackFrameChannelTest, EachColourChannelCountsAlphaDoesNot) {
    for (int channel = 0; channel < 4; ++channel) {
        std::vector<uint8_t> pixels(64 * 36 * 4, 0);
        for (size_t i = static_cast<size_t>(channel); i < pixels.size(); i += 4)
            pixels[i] = 10;
        EXPECT_EQ(IsBlackFrameBGRA(pixels, 64, 36), channel == 3) << "channel " << channel;
    }
}

} // namespace
