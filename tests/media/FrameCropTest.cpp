#include "media/FrameCrop.h"

#include <gtest/gtest.h>

#include "core/Log.h"
#include "support/TestLog.h"

namespace {

// Every pixel of a picture carries its own coordinates, so a moved or lost pixel shows. Bytes of a row's
// padding are 0xEE.
std::vector<uint8_t> CoordinatePicture(int32_t width, int32_t height, int32_t stride) {
    std::vector<uint8_t> pixels(static_cast<size_t>(stride) * (height - 1) + static_cast<size_t>(width) * 4,
                                0xEE);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = pixels.data() + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4;
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(x >> 8);
            p[2] = static_cast<uint8_t>(y);
            p[3] = static_cast<uint8_t>(y >> 8);
        }
    }
    return pixels;
}

// The picture is tightly packed at width x height and every pixel is the one from the same place.
::testing::AssertionResult HoldsCoordinates(const std::vector<uint8_t>& pixels, int32_t width,
                                            int32_t height) {
    if (pixels.size() != static_cast<size_t>(width) * height * 4)
        return ::testing::AssertionFailure() << "size " << pixels.size();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 4;
            if (p[0] + (p[1] << 8) != x || p[2] + (p[3] << 8) != y)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y;
        }
    }
    return ::testing::AssertionSuccess();
}

// The crop's log line is part of what is checked.
class FrameCrop : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Log::Open()); }
};

} // namespace

TEST_F(FrameCrop, OddSizesLoseTheLastColumnOrRowAndKeepEveryOtherPixel) {
    struct Case {
        const char* name;
        int32_t width;
        int32_t height;
        int32_t stride; // 0 = packed
        int32_t evenWidth;
        int32_t evenHeight;
        bool logged;
    } cases[] = {
        {"odd width", 1367, 4, 0, 1366, 4, true},
        {"odd height", 6, 769, 0, 6, 768, true},
        {"both odd", 301, 301, 0, 300, 300, true},
        {"smallest odd", 3, 3, 0, 2, 2, true},
        {"odd width, padded rows", 5, 4, 32, 4, 4, true},
        {"both odd, padded rows", 301, 7, 1300, 300, 6, true},
        {"even, padded rows are packed", 4, 4, 24, 4, 4, false},
    };
    for (const Case& c : cases) {
        const int32_t stride = c.stride == 0 ? c.width * 4 : c.stride;
        std::vector<uint8_t> pixels = CoordinatePicture(c.width, c.height, stride);
        int32_t width = c.width;
        int32_t height = c.height;
        TestLog().Clear();
        ASSERT_TRUE(CropEvenBGRA(pixels, width, height, c.stride)) << c.name;
        EXPECT_EQ(width, c.evenWidth) << c.name;
        EXPECT_EQ(height, c.evenHeight) << c.name;
        EXPECT_TRUE(HoldsCoordinates(pixels, width, height)) << c.name;
        const std::string line = "CropEvenBGRA " + std::to_string(c.width) + "x" + std::to_string(c.height) +
                                 " -> " + std::to_string(c.evenWidth) + "x" + std::to_string(c.evenHeight);
        EXPECT_EQ(CountLogMessages(line), c.logged ? 1u : 0u) << c.name;
    }
}

TEST_F(FrameCrop, EvenPackedPictureIsLeftAlone) {
    std::vector<uint8_t> pixels = CoordinatePicture(8, 6, 32);
    const std::vector<uint8_t> before = pixels;
    int32_t width = 8;
    int32_t height = 6;
    TestLog().Clear();
    EXPECT_TRUE(CropEvenBGRA(pixels, width, height));
    EXPECT_EQ(pixels, before);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 6);
    EXPECT_EQ(CountLogMessages("CropEvenBGRA"), 0u);
}

TEST_F(FrameCrop, RefusesWhatItCannotCropAndChangesNothing) {
    struct Case {
        const char* name;
        int32_t width;
        int32_t height;
        int32_t stride;
        size_t bufferBytes;
    } cases[] = {
        {"one pixel wide", 1, 4, 0, 16},
        {"one row high", 4, 1, 0, 16},
        {"zero size", 0, 0, 0, 0},
        {"negative width", -3, 4, 0, 64},
        {"wider than any video", 16385, 2, 0, 16385 * 8},
        {"stride shorter than a row", 5, 4, 16, 80},
        {"negative stride", 5, 4, -20, 80},
        {"buffer one byte short", 5, 3, 0, 59},
        {"padded buffer one byte short", 5, 3, 32, 32 * 2 + 19},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> pixels(c.bufferBytes, 0x5A);
        int32_t width = c.width;
        int32_t height = c.height;
        TestLog().Clear();
        EXPECT_FALSE(CropEvenBGRA(pixels, width, height, c.stride)) << c.name;
        EXPECT_EQ(width, c.width) << c.name;
        EXPECT_EQ(height, c.height) << c.name;
        EXPECT_EQ(pixels, std::vector<uint8_t>(c.bufferBytes, 0x5A)) << c.name;
        EXPECT_EQ(CountLogMessages("CropEvenBGRA"), 0u) << c.name;
    }
}

TEST_F(FrameCrop, LastRowNeedsNoPaddingBehindIt) {
    // A padded picture whose buffer ends right after the last row's pixels, as a capture hands it out.
    std::vector<uint8_t> pixels = CoordinatePicture(3, 3, 20);
    ASSERT_EQ(pixels.size(), 20u * 2 + 12);
    int32_t width = 3;
    int32_t height = 3;
    ASSERT_TRUE(CropEvenBGRA(pixels, width, height, 20));
    EXPECT_TRUE(HoldsCoordinates(pixels, 2, 2));
}
