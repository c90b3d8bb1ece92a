#include "media/DecoderLogText.h"

#include <cstdio>

namespace {

// Media subtypes built from a FOURCC or a D3D format code share this tail:
// {XXXXXXXX-0000-0010-8000-00AA00389B71}.
constexpr uint8_t kFourCcTail[8] = {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

constexpr uint32_t FourCc(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

struct NamedSubtype {
    uint32_t code;
    const char* name;
};

constexpr NamedSubtype kNamedSubtypes[] = {
    {FourCc('H', '2', '6', '4'), "H264"},
    {22, "RGB32"},  // D3DFMT_X8R8G8B8
    {21, "ARGB32"}, // D3DFMT_A8R8G8B8
    {FourCc('N', 'V', '1', '2'), "NV12"},
    {FourCc('Y', 'U', 'Y', '2'), "YUY2"},
};

bool HasFourCcTail(const MediaSubtypeGuid& g) {
    if (g.data2 != 0x0000 || g.data3 != 0x0010)
        return false;
    for (size_t i = 0; i < sizeof kFourCcTail; ++i) {
        if (g.data4[i] != kFourCcTail[i])
            return false;
    }
    return true;
}

} // namespace

std::string MediaSubtypeText(const MediaSubtypeGuid& subtype) {
    if (HasFourCcTail(subtype)) {
        for (const NamedSubtype& named : kNamedSubtypes) {
            if (named.code == subtype.data1)
                return named.name;
        }
    }
    char text[40];
    const uint8_t* d = subtype.data4;
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(subtype.data1), static_cast<unsigned>(subtype.data2),
                  static_cast<unsigned>(subtype.data3), d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
    return text;
}

std::string FormatDecoderColorType(const char* tag, const DecoderColorType& type) {
    char line[320];
    std::snprintf(line, sizeof line,
                  "[COLOR][DEC][TYPE] tag=%s subtype=%s size=%ux%u nominalRange=%u yuvMatrix=%u primaries=%u "
                  "transferFunc=%u expectedRange=0_255 expectedMatrix=BT709",
                  tag != nullptr ? tag : "", type.subtype.c_str(), static_cast<unsigned>(type.width),
                  static_cast<unsigned>(type.height), static_cast<unsigned>(type.nominalRange),
                  static_cast<unsigned>(type.yuvMatrix), static_cast<unsigned>(type.primaries),
                  static_cast<unsigned>(type.transferFunction));
    return line;
}
