#include <gtest/gtest.h>

#include <vector>

#include "service/BlackFrameStats.h"

namespace {

struct Frame {
    Frame(int32_t w, int32_t h, int32_t rowStride = 0)
        : width(w), height(h), stride(rowStride != 0 ? rowStride : w * 4), bytes(size_t(stride) * h) {}
    void Set(int32_t x, int32_t y, uint8_t b, uint8_t g, uint8_t r, uint8_t a = 0) {
        uint8_t* p = bytes.data() + size_t(y) * stride + size_t(x) * 4;
        p[0] = b;
        p[1] = g;
        p[2] = r;
        p[3] = a;
    }
    BlackFrameStats Measure() const {
        return MeasureBlackFrame(bytes.data(), bytes.size(), width, height, stride);
    }
    int32_t width;
    int32_t height;
    int32_t stride;
    std::vector<uint8_t> bytes;
};

TEST(BlackFrameStats, OneDimPixelOnASampledPositionIsNotBlack) {
    Frame frame(1920, 1080); // samples every 6th pixel of every 6th row
    EXPECT_TRUE(frame.Measure().black);
    frame.Set(6 * 100, 6 * 50, 0, 3, 0);
    const BlackFrameStats stats = frame.Measure();
    EXPECT_FALSE(stats.black);
    EXPECT_EQ(stats.maxRgb, 3u);
    EXPECT_EQ(stats.nonBlackPermille, 0u) << "1 of 57,600 samples rounds to 0 per mille";
}

TEST(BlackFrameStats, UnsampledPixelsAlphaAndLevelTwoStayBlack) {
    Frame frame(1920, 1080);
    frame.Set(1, 0, 255, 255, 255); // between sampled columns
    frame.Set(0, 1, 255, 255, 255); // between sampled rows
    frame.Set(6, 6, 2, 2, 2, 255);  // below the level; alpha is not colour
    const BlackFrameStats stats = frame.Measure();
    EXPECT_TRUE(stats.black);
    EXPECT_EQ(stats.maxRgb, 2u);
}

TEST(BlackFrameStats, SmallFramesSampleEveryPixelAndCountPerMille) {
    Frame frame(10, 10, 48); // padded rows
    for (int32_t x = 0; x < 10; ++x)
        frame.Set(x, 9, 0, 0, 200);
    const BlackFrameStats stats = frame.Measure();
    EXPECT_FALSE(stats.black);
    EXPECT_EQ(stats.maxRgb, 200u);
    EXPECT_EQ(stats.nonBlackPermille, 100u);
}

TEST(BlackFrameStats, GeometryOutsideTheBufferIsBlack) {
    Frame frame(16, 16);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x)
            frame.Set(x, y, 90, 90, 90);
    ASSERT_FALSE(frame.Measure().black);
    struct Case {
        const char* name;
        size_t size;
        int32_t width;
        int32_t height;
        int32_t stride;
    };
    const Case cases[] = {
        {"zero width", frame.bytes.size(), 0, 16, 64},
        {"zero height", frame.bytes.size(), 16, 0, 64},
        {"negative height", frame.bytes.size(), 16, -16, 64},
        {"negative stride", frame.bytes.size(), 16, 16, -64},
        {"stride below a row", frame.bytes.size(), 16, 16, 60},
        {"buffer one byte short", frame.bytes.size() - 1, 16, 16, 64},
        {"rows past the buffer", frame.bytes.size(), 16, 17, 64},
        {"huge sides", frame.bytes.size(), INT32_MAX, INT32_MAX, INT32_MAX},
    };
    for (const Case& c : cases) {
        const BlackFrameStats stats =
            MeasureBlackFrame(frame.bytes.data(), c.size, c.width, c.height, c.stride);
        EXPECT_TRUE(stats.black) << c.name;
        EXPECT_EQ(stats.maxRgb, 0u) << c.name;
    }
    EXPECT_TRUE(MeasureBlackFrame(nullptr, 1024, 16, 16, 64).black);
}

} // namespace
