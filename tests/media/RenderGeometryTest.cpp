#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "media/RemoteViewFrame.h"
#include "media/RenderGeometry.h"

namespace {

struct SizeCase {
    const char* name;
    int32_t codedW, codedH, visibleW, visibleH;
    bool ok;
    RenderSizes expected;
};

class RenderSizesTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(RenderSizesTest, VisibleSizeIsClampedAndEverySizeMadeEven) {
    const SizeCase& c = GetParam();
    RenderSizes sizes;
    ASSERT_EQ(NormalizeRenderSizes(c.codedW, c.codedH, c.visibleW, c.visibleH, sizes), c.ok);
    if (!c.ok)
        return;
    EXPECT_EQ(sizes.textureW, c.expected.textureW);
    EXPECT_EQ(sizes.textureH, c.expected.textureH);
    EXPECT_EQ(sizes.visibleW, c.expected.visibleW);
    EXPECT_EQ(sizes.visibleH, c.expected.visibleH);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenderSizesTest,
    ::testing::Values(SizeCase{"Padded1080", 1920, 1088, 1920, 1080, true, {1920, 1088, 1920, 1080}},
                      SizeCase{"VisibleAboveCoded", 1280, 720, 1920, 1080, true, {1280, 720, 1280, 720}},
                      SizeCase{"VisibleZeroTakesCoded", 640, 480, 0, -5, true, {640, 480, 640, 480}},
                      SizeCase{"OddSizes", 1365, 767, 1363, 765, true, {1364, 766, 1362, 764}},
                      SizeCase{"OnePixelVisible", 64, 64, 1, 64, false, {}},
                      SizeCase{"OnePixelCoded", 1, 64, 1, 64, false, {}},
                      SizeCase{"NoCoded", 0, 64, 0, 64, false, {}}),
    [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

TEST(RenderGeometryTest, UvScaleHidesThePaddingRows) {
    RenderSizes sizes;
    ASSERT_TRUE(NormalizeRenderSizes(1920, 1088, 1920, 1080, sizes));
    const UvScale scale = UvScaleOf(sizes);
    EXPECT_FLOAT_EQ(scale.x, 1.0f);
    EXPECT_FLOAT_EQ(scale.y, 1080.0f / 1088.0f);
}

TEST(RenderGeometryTest, DestinationIsTheEvenClientOrTheVisibleSizeWhenThereIsNoClient) {
    RenderSizes sizes;
    ASSERT_TRUE(NormalizeRenderSizes(1920, 1088, 1920, 1080, sizes));
    int32_t w = 0, h = 0;
    DestinationSize(1001, 701, sizes, w, h);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 700);
    DestinationSize(0, 0, sizes, w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    DestinationSize(1, 500, sizes, w, h); // evens to nothing
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
}

TEST(RenderGeometryTest, PackedNv12UploadStaysInsideTheSubmittedBytes) {
    // Odd coded sizes: the chroma plane starts after every delivered luma row, not after the even texture's.
    const int32_t sizes[][2] = {{1920, 1088}, {1365, 767}, {2, 2}, {3, 5}, {641, 481}};
    for (const auto& s : sizes) {
        RenderSizes render;
        ASSERT_TRUE(NormalizeRenderSizes(s[0], s[1], 0, 0, render));
        UploadLayout layout;
        ASSERT_TRUE(Nv12UploadLayout(s[0], s[1], 0, 0, render, layout));
        EXPECT_EQ(layout.rowPitch, static_cast<size_t>(s[0]));
        EXPECT_EQ(layout.chromaOffset, static_cast<size_t>(s[0]) * static_cast<size_t>(s[1]));
        EXPECT_LE(layout.requiredBytes, Nv12PictureBytes(s[0], s[1])) << s[0] << "x" << s[1];
    }
}

TEST(RenderGeometryTest, UploadPitchesBelowARowAreRefusedAndLargerOnesCounted) {
    RenderSizes render;
    ASSERT_TRUE(NormalizeRenderSizes(64, 32, 0, 0, render));
    UploadLayout layout;
    EXPECT_FALSE(Nv12UploadLayout(64, 32, 63, 0, render, layout));
    EXPECT_FALSE(Nv12UploadLayout(64, 32, 0, 62, render, layout));
    ASSERT_TRUE(Nv12UploadLayout(64, 32, 128, 96, render, layout));
    EXPECT_EQ(layout.chromaOffset, 128u * 32u);
    EXPECT_EQ(layout.requiredBytes, 128u * 32u + 15u * 96u + 64u);

    EXPECT_FALSE(BgraUploadLayout(64, 255, render, layout));
    ASSERT_TRUE(BgraUploadLayout(64, 0, render, layout));
    EXPECT_EQ(layout.rowPitch, 256u);
    EXPECT_EQ(layout.requiredBytes, 64u * 32u * 4u);
    ASSERT_TRUE(BgraUploadLayout(64, 300, render, layout));
    EXPECT_EQ(layout.requiredBytes, 31u * 300u + 256u);
}

TEST(RenderScaleModeName, ValuesAboveThreeCountAsLinear) {
    const std::pair<uint32_t, const char*> cases[] = {{0, "Auto"},   {1, "Nearest"},
                                                      {2, "Linear"}, {3, "Anisotropic"},
                                                      {4, "Linear"}, {0xFFFFFFFF, "Linear"}};
    for (const auto& [mode, name] : cases)
        EXPECT_STREQ(RenderScaleModeName(mode), name) << mode;
}

} // namespace
