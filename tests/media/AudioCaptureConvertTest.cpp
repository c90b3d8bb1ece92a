#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "core/LittleEndian.h"
#include "media/AudioCaptureConvert.h"

#include "AudioTestFormats.h"

namespace {

std::vector<uint8_t> FloatFrames(const std::vector<float>& samples) {
    std::vector<uint8_t> bytes(samples.size() * 4);
    for (size_t i = 0; i < samples.size(); ++i) {
        uint32_t bits = 0;
        std::memcpy(&bits, &samples[i], 4);
        PutLe32(bytes.data() + i * 4, bits);
    }
    return bytes;
}

std::vector<uint8_t> Int24Frames(const std::vector<int32_t>& samples) {
    std::vector<uint8_t> bytes;
    for (int32_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(s));
        bytes.push_back(static_cast<uint8_t>(s >> 8));
        bytes.push_back(static_cast<uint8_t>(s >> 16));
    }
    return bytes;
}

std::vector<uint8_t> Int32Frames(const std::vector<int32_t>& samples) {
    std::vector<uint8_t> bytes(samples.size() * 4);
    for (size_t i = 0; i < samples.size(); ++i)
        PutLe32(bytes.data() + i * 4, static_cast<uint32_t>(samples[i]));
    return bytes;
}

std::vector<int16_t> Convert(const AudioWaveFormat& format, const std::vector<uint8_t>& data,
                             bool silent = false) {
    std::vector<uint8_t> out = {0xEE}; // appended behind what is there
    const uint32_t frames = static_cast<uint32_t>(data.size() / format.blockAlign);
    AppendCapturedAsStream(format, data.data(), frames, silent, out);
    EXPECT_EQ(out.size(), 1 + frames * 4u);
    EXPECT_EQ(out[0], 0xEE);
    std::vector<int16_t> samples;
    for (size_t i = 1; i + 1 < out.size(); i += 2)
        samples.push_back(static_cast<int16_t>(GetLe16(out.data() + i)));
    return samples;
}

struct ConversionCase {
    const char* name;
    AudioWaveFormat format;
    std::vector<uint8_t> data;
    std::vector<int16_t> expected; // left, right per frame
};

// The scaling rule: value x 32767 + 0.5 when non-negative, value x 32768 - 0.5 when negative, truncated
// toward zero, after clamping to [-1, 1].
TEST(AudioCaptureConvertTest, ConvertsEverySourceTypeToSixteenBitStereo) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const AudioWaveFormat float2 = PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32);
    const ConversionCase cases[] = {
        {"float halves and quarter",
         float2,
         FloatFrames({0.5f, -0.5f, 0.25f, -0.25f}),
         {16384, -16384, 8192, -8192}},
        {"float full scale", float2, FloatFrames({1.0f, -1.0f}), {32767, -32768}},
        {"float clamps", float2, FloatFrames({2.0f, -7.5f, inf, -inf}), {32767, -32768, 32767, -32768}},
        {"float NaN is silence", float2, FloatFrames({nan, 0.5f}), {0, 16384}},
        {"float tiny values truncate toward zero",
         float2,
         FloatFrames({1e-5f, -1e-5f, -3e-5f, 3e-5f}),
         {0, 0, -1, 1}},
        {"extensible float",
         ExtensibleFormat(kWaveFormatIeeeFloat, 2, 48000, 32),
         FloatFrames({0.5f, -1.0f}),
         {16384, -32768}},
        {"16-bit",
         PlainFormat(kWaveFormatPcm, 2, 48000, 16),
         Pcm16({32767, -32768, 16384, -1, 1, 0}),
         {32766, -32768, 16384, -1, 1, 0}},
        {"24-bit packed, sign-extended",
         PlainFormat(kWaveFormatPcm, 2, 48000, 24),
         Int24Frames({0x7FFFFF, 0x800000, 0x400000, 0xC00000}),
         {32767, -32768, 16384, -16384}},
        {"32-bit integer in frames larger than 4 bytes per channel",
         PlainFormat(0, 1, 48000, 32, 8),
         Int32Frames({0x40000000, 0x7FFFFFFF, INT32_MIN, 0}),
         {16384, 16384, -32768, -32768}},
        {"32-bit of an unknown type, 4 bytes per channel, read as float",
         ExtensibleFormat(kWaveFormatPcm, 2, 48000, 32, true),
         FloatFrames({0.5f, -0.5f}),
         {16384, -16384}},
        {"32-bit declared integer PCM stays integer",
         PlainFormat(kWaveFormatPcm, 2, 48000, 32),
         Int32Frames({0x40000000, INT32_MIN}),
         {16384, -32768}},
        {"32-bit extensible integer PCM",
         ExtensibleFormat(kWaveFormatPcm, 2, 48000, 32),
         Int32Frames({-0x40000000, 0x7FFFFFFF}),
         {-16384, 32767}},
        {"mono gives both sides",
         PlainFormat(kWaveFormatPcm, 1, 48000, 16),
         Pcm16({16384, -32768}),
         {16384, 16384, -32768, -32768}},
        {"channels beyond the second are dropped",
         PlainFormat(kWaveFormatPcm, 4, 48000, 16),
         Pcm16({100, 200, 300, 400}),
         {100, 200}},
        {"8-bit reads as silence", PlainFormat(kWaveFormatPcm, 2, 48000, 8), {0x7F, 0x80}, {0, 0}},
        {"a frame too small for its samples reads as silence",
         PlainFormat(kWaveFormatPcm, 2, 48000, 16, 2),
         Pcm16({16384, 16384}),
         {16384, 0, 16384, 0}},
    };
    for (const ConversionCase& c : cases)
        EXPECT_EQ(Convert(c.format, c.data), c.expected) << c.name;
}

TEST(AudioCaptureConvertTest, SilentBufferGivesZerosWhateverItHolds) {
    const AudioWaveFormat f = PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32);
    EXPECT_EQ(Convert(f, FloatFrames({0.5f, 0.5f, -1.0f, 1.0f}), true), (std::vector<int16_t>{0, 0, 0, 0}));
}

} // namespace
