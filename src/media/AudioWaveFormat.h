#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A Windows WAVEFORMATEX as the audio code handles it: the 18-byte base (tag, channels, rate, average bytes
// per second, block align, bits per sample, extra size) and the extra bytes behind it. A
// WAVEFORMATEXTENSIBLE keeps valid bits (u16), channel mask (u32) and the sub-format GUID (16 bytes) in its
// first 22 extra bytes. Read from the wire (the FORMAT payload) and from the audio device alike.

inline constexpr size_t kWaveFormatBaseBytes = 18;
inline constexpr size_t kWaveFormatExtensibleExtraBytes = 22;
inline constexpr uint16_t kWaveFormatPcm = 1;
inline constexpr uint16_t kWaveFormatIeeeFloat = 3;
inline constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

struct AudioWaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    std::vector<uint8_t> extra; // its size is the extra-size field

    bool operator==(const AudioWaveFormat&) const = default;
};

// The format at the start of bytes; nothing when fewer than 18 bytes or fewer than 18 + extra size.
std::optional<AudioWaveFormat> ParseWaveFormat(const uint8_t* bytes, size_t size);
// 18 + extra bytes, ready to be handed to the platform as a WAVEFORMATEX.
std::vector<uint8_t> PackWaveFormat(const AudioWaveFormat& format);

// The tag that says what the samples are: the format tag, or for an extensible format the tag inside its
// sub-format GUID (KSDATAFORMAT_SUBTYPE_PCM gives 1, _IEEE_FLOAT 3); 0 for an extensible format with too
// few extra bytes or a sub-format outside that GUID family.
uint16_t SampleFormatTag(const AudioWaveFormat& format);

enum class AudioSampleType {
    None,
    Int16,
    Int24,
    Int32,
    Float32,
};

// The sample type the player can write: 16-, 24- or 32-bit integer PCM or 32-bit float, plain or
// extensible, with a block align of exactly channels x bytes per sample and non-zero channels and rate.
AudioSampleType WritableSampleType(const AudioWaveFormat& format);
// A render format the player converts to (WritableSampleType is not None).
bool IsConvertibleWaveFormat(const AudioWaveFormat& format);
// A source the player converts from: 16-bit integer PCM with non-zero channels, rate and block align.
bool IsPcm16Source(const AudioWaveFormat& format);

// Bounds a FORMAT from the peer must keep before anything is sized from it.
inline constexpr uint16_t kRemoteMaxChannels = 8;
inline constexpr uint32_t kRemoteMinRate = 8000;
inline constexpr uint32_t kRemoteMaxRate = 384000;
// Why a remote format is refused ("channels", "rate", "bits", "type", "block align"), or null when it is
// 16-bit PCM with 1..8 channels, 8,000..384,000 Hz and a block align of channels x 2.
const char* RemoteFormatRefusal(const AudioWaveFormat& format);
