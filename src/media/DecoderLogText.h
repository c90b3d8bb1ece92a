#pragma once

#include <cstdint>
#include <string>

// Texts of the H.264 decoder's log lines that take more than a format string: media subtype names and the
// output type's colour line.

// A media subtype GUID in its parts, so that the naming needs no Windows header.
struct MediaSubtypeGuid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
};

// "H264", "RGB32", "ARGB32", "NV12" or "YUY2" for those subtypes; any other GUID in its braced registry form,
// upper case: "{62CE7E72-4C71-4D20-B15D-452831A87D9D}".
std::string MediaSubtypeText(const MediaSubtypeGuid& subtype);

// The values of one media type for the colour line; an attribute the type does not carry is kUnsetValue.
inline constexpr uint32_t kUnsetValue = 0xFFFFFFFF;
struct DecoderColorType {
    std::string subtype;
    uint32_t width = kUnsetValue;
    uint32_t height = kUnsetValue;
    uint32_t nominalRange = kUnsetValue;
    uint32_t yuvMatrix = kUnsetValue;
    uint32_t primaries = kUnsetValue;
    uint32_t transferFunction = kUnsetValue;
};

// "[COLOR][DEC][TYPE] tag=... subtype=... size=WxH nominalRange=... yuvMatrix=... primaries=...
// transferFunc=... expectedRange=0_255 expectedMatrix=BT709": the renderer assumes full range and BT.709, so
// the line shows at a glance when the decoder's output says otherwise.
std::string FormatDecoderColorType(const char* tag, const DecoderColorType& type);
