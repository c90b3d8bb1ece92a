#include "media/AudioCaptureConvert.h"

#include <cmath>
#include <cstring>

#include "core/LittleEndian.h"
#include "media/AudioPacket.h"
#include "media/AudioSamples.h"

namespace {

int32_t SignExtend24(const uint8_t* p) {
    const uint32_t raw = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                         (static_cast<uint32_t>(p[2]) << 16);
    return static_cast<int32_t>(raw << 8) >> 8;
}

float ReadFloat(const uint8_t* p) {
    const uint32_t bits = GetLe32(p);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return std::isnan(value) ? 0.0f : value;
}

} // namespace

float ReadCapturedSample(const AudioWaveFormat& f, const uint8_t* frame, uint32_t channel) {
    const uint32_t bytes = f.bitsPerSample / 8u;
    if (f.bitsPerSample % 8 != 0 || bytes == 0 || (channel + 1) * bytes > f.blockAlign)
        return 0.0f;
    const uint8_t* p = frame + channel * bytes;
    const uint16_t tag = SampleFormatTag(f);
    if (tag == kWaveFormatIeeeFloat)
        return f.bitsPerSample == 32 ? ReadFloat(p) : 0.0f;
    switch (f.bitsPerSample) {
    case 16:
        return static_cast<float>(static_cast<int16_t>(GetLe16(p))) * (1.0f / 32768.0f);
    case 24:
        return static_cast<float>(SignExtend24(p)) * (1.0f / 8388608.0f);
    case 32:
        if (tag != kWaveFormatPcm && f.blockAlign == 4u * f.channels)
            return ReadFloat(p);
        return static_cast<float>(static_cast<int32_t>(GetLe32(p))) * (1.0f / 2147483648.0f);
    default:
        return 0.0f;
    }
}

void AppendCapturedAsStream(const AudioWaveFormat& f, const uint8_t* data, uint32_t frames, bool silent,
                            std::vector<uint8_t>& out) {
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(frames) * kAudioStreamBlockAlign, 0);
    if (silent || data == nullptr || f.blockAlign == 0)
        return;
    const uint32_t right = f.channels > 1 ? 1 : 0;
    uint8_t* o = out.data() + at;
    for (uint32_t i = 0; i < frames; ++i, o += kAudioStreamBlockAlign) {
        const uint8_t* frame = data + static_cast<size_t>(i) * f.blockAlign;
        PutLe16(o, static_cast<uint16_t>(ScaleToIntegerSample(ReadCapturedSample(f, frame, 0), 16)));
        PutLe16(o + 2, static_cast<uint16_t>(ScaleToIntegerSample(ReadCapturedSample(f, frame, right), 16)));
    }
}
