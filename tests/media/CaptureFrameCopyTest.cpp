#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "media/CaptureFrameCopy.h"
#include "media/VideoLimits.h"

namespace {

struct SizeCase {
    const char* name;
    int32_t logicalWidth, logicalHeight, maxWidth, maxHeight;
    CaptureSize expected;
};

class CaptureOutputSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(CaptureOutputSizeTest, Table) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(CaptureOutputSize(c.logicalWidth, c.logicalHeight, c.maxWidth, c.maxHeight), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaptureOutputSizeTest,
    ::testing::Values(SizeCase{"NoMaximum", 2560, 1440, 0, 0, {2560, 1440}},
                      SizeCase{"OnlyOneMaximumMeansNone", 2560, 1440, 1920, 0, {2560, 1440}},
                      SizeCase{"FitsStaysOddWhenUnscaled", 1365, 767, 1920, 1080, {1365, 767}},
                      SizeCase{"ExactlyTheMaximum", 1920, 1080, 1920, 1080, {1920, 1080}},
                      SizeCase{"SameAspect", 2560, 1440, 1920, 1080, {1920, 1080}},
                      SizeCase{"WidthRatioSmaller", 3840, 2160, 1280, 800, {1280, 720}},
                      SizeCase{"HeightRatioSmaller", 1080, 1920, 1920, 1080, {606, 1080}},
                      SizeCase{"OnlyHeightExceeds", 1000, 1200, 1920, 1080, {900, 1080}},
                      SizeCase{"TruncatedThenEven", 1000, 1001, 500, 500, {498, 500}},
                      SizeCase{"OddMaximumMadeEven", 1920, 1080, 1279, 1079, {1278, 718}},
                      SizeCase{"ThinSideKeptAtTwo", 4000, 2, 100, 100, {100, 2}},
                      SizeCase{"TinyMaximumKeptAtTwo", 640, 480, 1, 1, {2, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// An upright picture whose every pixel is distinct: B = column, G = row, R = 0x5A, A = 0x11.
struct Picture {
    int32_t width, height;
    std::vector<uint8_t> bgra;

    uint32_t At(int32_t x, int32_t y) const {
        const uint8_t* p = &bgra[(size_t(y) * size_t(width) + size_t(x)) * 4];
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
};

Picture Upright(int32_t width, int32_t height) {
    Picture picture{width, height, std::vector<uint8_t>(size_t(width) * size_t(height) * 4)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = &picture.bgra[(size_t(y) * size_t(width) + size_t(x)) * 4];
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = 0x5A;
            p[3] = 0x11;
        }
    return picture;
}

// The duplicated image of an upright picture on a rotated output, with padding at the end of each row.
// ROTATE90 holds the picture turned a quarter counter-clockwise (its top-right corner at the raw top-left),
// ROTATE270 a quarter clockwise (its top-left corner at the raw top-right), ROTATE180 upside down.
struct RawImage {
    std::vector<uint8_t> bytes;
    DesktopImageView view;
};

RawImage RawOf(const Picture& upright, CaptureRotation rotation, size_t padding = 12) {
    const bool quarter = rotation == CaptureRotation::Rotate90 || rotation == CaptureRotation::Rotate270;
    const int32_t rawWidth = quarter ? upright.height : upright.width;
    const int32_t rawHeight = quarter ? upright.width : upright.height;
    RawImage raw;
    const size_t pitch = size_t(rawWidth) * 4 + padding;
    raw.bytes.assign(pitch * size_t(rawHeight), 0xEE);
    for (int32_t y = 0; y < upright.height; ++y)
        for (int32_t x = 0; x < upright.width; ++x) {
            int32_t row = y, column = x;
            if (rotation == CaptureRotation::Rotate90) {
                row = upright.width - 1 - x;
                column = y;
            } else if (rotation == CaptureRotation::Rotate270) {
                row = x;
                column = upright.height - 1 - y;
            } else if (rotation == CaptureRotation::Rotate180) {
                row = upright.height - 1 - y;
                column = upright.width - 1 - x;
            }
            const uint8_t* from = &upright.bgra[(size_t(y) * size_t(upright.width) + size_t(x)) * 4];
            std::copy(from, from + 4, &raw.bytes[size_t(row) * pitch + size_t(column) * 4]);
        }
    raw.view = {raw.bytes.data(), pitch, rawWidth, rawHeight, kCaptureFormatB8G8R8A8};
    return raw;
}

struct CopyCase {
    const char* name;
    CaptureRotation rotation;
    int32_t logicalWidth, logicalHeight;
    CaptureSize output;
};

class CopyDesktopImageTest : public ::testing::TestWithParam<CopyCase> {};

// Every output pixel is the upright picture's pixel at the scaled position, whatever the rotation.
TEST_P(CopyDesktopImageTest, ShowsTheUprightPictureScaledByNearestPixel) {
    const CopyCase& c = GetParam();
    const Picture upright = Upright(c.logicalWidth, c.logicalHeight);
    const RawImage raw = RawOf(upright, c.rotation);
    std::vector<uint8_t> out;
    ASSERT_TRUE(CopyDesktopImage(raw.view, c.rotation, c.logicalWidth, c.logicalHeight, c.output, out));
    ASSERT_EQ(out.size(), size_t(c.output.width) * size_t(c.output.height) * 4);
    const Picture result{c.output.width, c.output.height, out};
    for (int32_t y = 0; y < c.output.height; ++y)
        for (int32_t x = 0; x < c.output.width; ++x)
            ASSERT_EQ(result.At(x, y),
                      upright.At(x * c.logicalWidth / c.output.width, y * c.logicalHeight / c.output.height))
                << "at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyDesktopImageTest,
    ::testing::Values(CopyCase{"IdentityStraight", CaptureRotation::Identity, 7, 5, {7, 5}},
                      CopyCase{"UnspecifiedStraight", CaptureRotation::Unspecified, 6, 3, {6, 3}},
                      CopyCase{"IdentityScaled", CaptureRotation::Identity, 16, 10, {8, 4}},
                      CopyCase{"Rotate90", CaptureRotation::Rotate90, 6, 9, {6, 9}},
                      CopyCase{"Rotate180", CaptureRotation::Rotate180, 9, 6, {9, 6}},
                      CopyCase{"Rotate270", CaptureRotation::Rotate270, 6, 9, {6, 9}},
                      CopyCase{"Rotate90Scaled", CaptureRotation::Rotate90, 20, 12, {10, 6}},
                      CopyCase{"Rotate180Scaled", CaptureRotation::Rotate180, 20, 12, {6, 4}},
                      CopyCase{"Rotate270Scaled", CaptureRotation::Rotate270, 12, 20, {4, 6}},
                      CopyCase{"Rotate90OddSides", CaptureRotation::Rotate90, 5, 3, {5, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CopyDesktopImageTest, RawLargerThanLogicalIsScaledToTheRawExtents) {
    // A raw image at twice the logical size: each logical pixel is a 2x2 block of the raw one.
    const Picture logical = Upright(3, 2);
    const Picture big = Upright(6, 4);
    std::vector<uint8_t> rawBytes(big.bgra.size());
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const uint32_t value = logical.At(x / 2, y / 2);
            std::memcpy(&rawBytes[(size_t(y) * 6 + size_t(x)) * 4], &value, 4);
        }
    const DesktopImageView view{rawBytes.data(), 24, 6, 4, kCaptureFormatB8G8R8A8};
    std::vector<uint8_t> out;
    ASSERT_TRUE(CopyDesktopImage(view, CaptureRotation::Identity, 3, 2, {3, 2}, out));
    EXPECT_EQ(out, logical.bgra);
}

TEST(CopyDesktopImageTest, X8SourceGetsOpaqueAlphaOnEveryPath) {
    for (CaptureRotation rotation : {CaptureRotation::Identity, CaptureRotation::Rotate270}) {
        const Picture upright = Upright(4, 2);
        RawImage raw = RawOf(upright, rotation);
        raw.view.format = kCaptureFormatB8G8R8X8;
        std::vector<uint8_t> out;
        ASSERT_TRUE(CopyDesktopImage(raw.view, rotation, 4, 2, {4, 2}, out));
        for (size_t i = 0; i < out.size(); i += 4) {
            EXPECT_EQ(out[i + 3], 255) << "pixel " << i / 4;
            EXPECT_EQ(out[i + 2], 0x5A);
        }
    }
}

TEST(CopyDesktopImageTest, A8SourceKeepsItsAlpha) {
    const RawImage raw = RawOf(Upright(4, 2), CaptureRotation::Identity);
    std::vector<uint8_t> out;
    ASSERT_TRUE(CopyDesktopImage(raw.view, CaptureRotation::Identity, 4, 2, {4, 2}, out));
    EXPECT_EQ(out[3], 0x11);
}

TEST(CopyDesktopImageTest, RefusesWhatItCannotReadSafely) {
    const RawImage good = RawOf(Upright(4, 2), CaptureRotation::Identity);
    struct Bad {
        const char* name;
        DesktopImageView view;
        CaptureRotation rotation;
        int32_t logicalWidth, logicalHeight;
        CaptureSize output;
    };
    DesktopImageView shortPitch = good.view;
    shortPitch.rowPitch = 15;
    DesktopImageView otherFormat = good.view;
    otherFormat.format = 24;
    DesktopImageView noData = good.view;
    noData.data = nullptr;
    DesktopImageView zeroWidth = good.view;
    zeroWidth.width = 0;
    const Bad cases[] = {
        {"ShortPitch", shortPitch, CaptureRotation::Identity, 4, 2, {4, 2}},
        {"OtherFormat", otherFormat, CaptureRotation::Identity, 4, 2, {4, 2}},
        {"NoData", noData, CaptureRotation::Identity, 4, 2, {4, 2}},
        {"ZeroRawWidth", zeroWidth, CaptureRotation::Identity, 4, 2, {4, 2}},
        {"ZeroLogical", good.view, CaptureRotation::Identity, 0, 2, {4, 2}},
        {"ZeroOutput", good.view, CaptureRotation::Identity, 4, 2, {0, 2}},
        {"HugeOutput", good.view, CaptureRotation::Identity, 4, 2, {kMaxVideoDimension + 1, 2}},
        {"UnknownRotation", good.view, static_cast<CaptureRotation>(5), 4, 2, {4, 2}},
    };
    for (const Bad& c : cases) {
        std::vector<uint8_t> out{1, 2, 3};
        EXPECT_FALSE(CopyDesktopImage(c.view, c.rotation, c.logicalWidth, c.logicalHeight, c.output, out))
            << c.name;
        EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3})) << c.name;
    }
}

TEST(CopyNv12PlanesTest, PacksTheLumaRowsThenTheChromaRowsWithoutPadding) {
    const int32_t width = 4, height = 2;
    const size_t pitch = 8;
    // Three mapped rows (two luma, one chroma), each padded with 0xEE.
    std::vector<uint8_t> mapped(pitch * 3, 0xEE);
    for (size_t row = 0; row < 3; ++row)
        for (size_t x = 0; x < 4; ++x)
            mapped[row * pitch + x] = uint8_t(row * 16 + x);
    std::vector<uint8_t> out;
    ASSERT_TRUE(CopyNv12Planes(mapped.data(), pitch, width, height, out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0, 1, 2, 3, 16, 17, 18, 19, 32, 33, 34, 35}));
}

TEST(CopyNv12PlanesTest, RefusesOddOrTinySizesAndShortPitch) {
    std::vector<uint8_t> mapped(64 * 64, 0);
    std::vector<uint8_t> out;
    EXPECT_FALSE(CopyNv12Planes(mapped.data(), 8, 3, 2, out));
    EXPECT_FALSE(CopyNv12Planes(mapped.data(), 8, 4, 3, out));
    EXPECT_FALSE(CopyNv12Planes(mapped.data(), 8, 0, 2, out));
    EXPECT_FALSE(CopyNv12Planes(mapped.data(), 3, 4, 2, out));
    EXPECT_FALSE(CopyNv12Planes(nullptr, 8, 4, 2, out));
    EXPECT_FALSE(CopyNv12Planes(mapped.data(), 8, kMaxVideoDimension + 2, 2, out));
    EXPECT_TRUE(out.empty());
}

} // namespace
