#include <gtest/gtest.h>

#include <string>

#include "media/DecoderLogText.h"

namespace {

constexpr MediaSubtypeGuid FourCcSubtype(uint32_t code) {
    return {code, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

TEST(DecoderLogTextTest, SubtypeNames) {
    struct Case {
        const char* name;
        MediaSubtypeGuid subtype;
        const char* text;
    };
    const Case cases[] = {
        {"H264", FourCcSubtype(0x34363248), "H264"},
        {"RGB32", FourCcSubtype(22), "RGB32"},
        {"ARGB32", FourCcSubtype(21), "ARGB32"},
        {"NV12", FourCcSubtype(0x3231564E), "NV12"},
        {"YUY2", FourCcSubtype(0x32595559), "YUY2"},
        // Lower-case h264 is a subtype of its own.
        {"h264", FourCcSubtype(0x34363268), "{34363268-0000-0010-8000-00AA00389B71}"},
        {"P010", FourCcSubtype(0x30313050), "{30313050-0000-0010-8000-00AA00389B71}"},
        // The NV12 code under another tail is not NV12.
        {"NV12 code, other tail",
         {0x3231564E, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x72}},
         "{3231564E-0000-0010-8000-00AA00389B72}"},
        {"decoder class",
         {0x62CE7E72, 0x4C71, 0x4D20, {0xB1, 0x5D, 0x45, 0x28, 0x31, 0xA8, 0x7D, 0x9D}},
         "{62CE7E72-4C71-4D20-B15D-452831A87D9D}"},
        {"null", {}, "{00000000-0000-0000-0000-000000000000}"},
        {"all ones",
         {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
         "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MediaSubtypeText(c.subtype), c.text) << c.name;
}

TEST(DecoderLogTextTest, ColourLineShowsSetAndUnsetValues) {
    DecoderColorType type;
    type.subtype = "NV12";
    type.width = 1920;
    type.height = 1088;
    type.nominalRange = 2;
    type.yuvMatrix = 1;
    EXPECT_EQ(FormatDecoderColorType("initial-output", type),
              "[COLOR][DEC][TYPE] tag=initial-output subtype=NV12 size=1920x1088 nominalRange=2 yuvMatrix=1 "
              "primaries=4294967295 transferFunc=4294967295 expectedRange=0_255 expectedMatrix=BT709");
}

} // namespace
