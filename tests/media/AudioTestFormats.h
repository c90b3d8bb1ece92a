#pragma once

#include <cstdint>
#include <vector>

#include "core/LittleEndian.h"
#include "media/AudioWaveFormat.h"

// Wave formats as devices and peers hand them out, for the audio tests.

inline AudioWaveFormat PlainFormat(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                                   uint16_t blockAlign = 0) {
    AudioWaveFormat f;
    f.formatTag = tag;
    f.channels = channels;
    f.sampleRate = rate;
    f.bitsPerSample = bits;
    f.blockAlign = blockAlign != 0 ? blockAlign : static_cast<uint16_t>(channels * (bits / 8));
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

// WAVE_FORMAT_EXTENSIBLE with the KSDATAFORMAT_SUBTYPE GUID of subTag (1 PCM, 3 IEEE float); a sub-format
// outside that family when foreignGuid.
inline AudioWaveFormat ExtensibleFormat(uint16_t subTag, uint16_t channels, uint32_t rate, uint16_t bits,
                                        bool foreignGuid = false) {
    AudioWaveFormat f = PlainFormat(kWaveFormatExtensible, channels, rate, bits);
    f.extra.assign(kWaveFormatExtensibleExtraBytes, 0);
    PutLe16(f.extra.data(), bits);       // valid bits
    PutLe32(f.extra.data() + 2, 0x3);    // front left and right
    PutLe32(f.extra.data() + 6, subTag); // Data1
    const uint8_t tail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    for (int i = 0; i < 12; ++i)
        f.extra[10 + i] = tail[i];
    if (foreignGuid)
        f.extra[21] ^= 0xFF;
    return f;
}

// Interleaved 16-bit little-endian samples.
inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i)
        PutLe16(bytes.data() + i * 2, static_cast<uint16_t>(samples[i]));
    return bytes;
}

inline int16_t Pcm16At(const std::vector<uint8_t>& bytes, size_t sample) {
    return static_cast<int16_t>(GetLe16(bytes.data() + sample * 2));
}
