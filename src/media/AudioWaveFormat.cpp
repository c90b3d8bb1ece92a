#include "media/AudioWaveFormat.h"

#include <cstring>

#include "core/LittleEndian.h"

namespace {

// KSDATAFORMAT_SUBTYPE_* GUIDs are {tag-0000-0010-8000-00aa00389b71}: the last 12 bytes as stored.
constexpr uint8_t kSubFormatBaseTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                            0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr size_t kSubFormatOffset = 6; // in the extra bytes: after valid bits and channel mask

} // namespace

std::optional<AudioWaveFormat> ParseWaveFormat(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < kWaveFormatBaseBytes)
        return std::nullopt;
    const uint16_t extraSize = GetLe16(bytes + 16);
    if (size - kWaveFormatBaseBytes < extraSize)
        return std::nullopt;
    AudioWaveFormat f;
    f.formatTag = GetLe16(bytes);
    f.channels = GetLe16(bytes + 2);
    f.sampleRate = GetLe32(bytes + 4);
    f.avgBytesPerSec = GetLe32(bytes + 8);
    f.blockAlign = GetLe16(bytes + 12);
    f.bitsPerSample = GetLe16(bytes + 14);
    f.extra.assign(bytes + kWaveFormatBaseBytes, bytes + kWaveFormatBaseBytes + extraSize);
    return f;
}

std::vector<uint8_t> PackWaveFormat(const AudioWaveFormat& f) {
    std::vector<uint8_t> out(kWaveFormatBaseBytes + f.extra.size());
    PutLe16(out.data(), f.formatTag);
    PutLe16(out.data() + 2, f.channels);
    PutLe32(out.data() + 4, f.sampleRate);
    PutLe32(out.data() + 8, f.avgBytesPerSec);
    PutLe16(out.data() + 12, f.blockAlign);
    PutLe16(out.data() + 14, f.bitsPerSample);
    PutLe16(out.data() + 16, static_cast<uint16_t>(f.extra.size()));
    if (!f.extra.empty())
        std::memcpy(out.data() + kWaveFormatBaseBytes, f.extra.data(), f.extra.size());
    return out;
}

uint16_t SampleFormatTag(const AudioWaveFormat& f) {
    if (f.formatTag != kWaveFormatExtensible)
        return f.formatTag;
    if (f.extra.size() < kWaveFormatExtensibleExtraBytes)
        return 0;
    const uint8_t* guid = f.extra.data() + kSubFormatOffset;
    if (guid[2] != 0 || guid[3] != 0 ||
        std::memcmp(guid + 4, kSubFormatBaseTail, sizeof kSubFormatBaseTail) != 0)
        return 0;
    return GetLe16(guid);
}

AudioSampleType WritableSampleType(const AudioWaveFormat& f) {
    if (f.channels == 0 || f.sampleRate == 0 || f.blockAlign != f.channels * (f.bitsPerSample / 8u) ||
        f.bitsPerSample % 8 != 0)
        return AudioSampleType::None;
    const uint16_t tag = SampleFormatTag(f);
    if (tag == kWaveFormatIeeeFloat)
        return f.bitsPerSample == 32 ? AudioSampleType::Float32 : AudioSampleType::None;
    if (tag != kWaveFormatPcm)
        return AudioSampleType::None;
    switch (f.bitsPerSample) {
    case 16:
        return AudioSampleType::Int16;
    case 24:
        return AudioSampleType::Int24;
    case 32:
        return AudioSampleType::Int32;
    default:
        return AudioSampleType::None;
    }
}

bool IsConvertibleWaveFormat(const AudioWaveFormat& f) {
    return WritableSampleType(f) != AudioSampleType::None;
}

bool IsPcm16Source(const AudioWaveFormat& f) {
    return SampleFormatTag(f) == kWaveFormatPcm && f.bitsPerSample == 16 && f.channels != 0 &&
           f.sampleRate != 0 && f.blockAlign != 0;
}

const char* RemoteFormatRefusal(const AudioWaveFormat& f) {
    if (SampleFormatTag(f) != kWaveFormatPcm)
        return "type";
    if (f.bitsPerSample != 16)
        return "bits";
    if (f.channels < 1 || f.channels > kRemoteMaxChannels)
        return "channels";
    if (f.sampleRate < kRemoteMinRate || f.sampleRate > kRemoteMaxRate)
        return "rate";
    if (f.blockAlign != f.channels * 2u)
        return "block align";
    return nullptr;
}
