#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/LittleEndian.h"
#include "media/AudioRenderConvert.h"

#include "AudioTestFormats.h"

namespace {

const AudioWaveFormat kStream48 = PlainFormat(kWaveFormatPcm, 2, 48000, 16);

std::vector<uint8_t> ConvertOk(const AudioWaveFormat& source, const AudioWaveFormat& render,
                               const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out;
    EXPECT_EQ(ConvertToRender(source, render, data.data(), data.size(), out), AudioConvertResult::Ok);
    return out;
}

float FloatAt(const std::vector<uint8_t>& bytes, size_t sample) {
    const uint32_t bits = GetLe32(bytes.data() + sample * 4);
    float value = 0;
    std::memcpy(&value, &bits, 4);
    return value;
}

int32_t Int24At(const std::vector<uint8_t>& bytes, size_t sample) {
    const uint8_t* p = bytes.data() + sample * 3;
    return static_cast<int32_t>((p[0] | (p[1] << 8) | (p[2] << 16)) << 8) >> 8;
}

TEST(AudioRenderConvertTest, SameRateChannelsAndTypePassWholeFramesThrough) {
    std::vector<uint8_t> data = Pcm16({1, -2, 3, -4, 32767, -32768});
    data.push_back(0x55); // a partial frame at the end is ignored
    const std::vector<uint8_t> out = ConvertOk(kStream48, kStream48, data);
    EXPECT_EQ(out, std::vector<uint8_t>(data.begin(), data.end() - 1));
}

TEST(AudioRenderConvertTest, ResampledSizeIsRoundedToTheNearestFrameAndAtLeastOne) {
    EXPECT_EQ(ResampledFrameCount(441, 44100, 48000), 480u);
    EXPECT_EQ(ResampledFrameCount(440, 44100, 48000), 479u); // 478.91
    EXPECT_EQ(ResampledFrameCount(480, 48000, 44100), 441u);
    EXPECT_EQ(ResampledFrameCount(1, 48000, 8000), 1u);  // 0.17
    EXPECT_EQ(ResampledFrameCount(3, 8000, 44100), 17u); // 16.54
    // A whole datagram of 8 kHz mono going to 384 kHz: the product needs more than 32 bits.
    EXPECT_EQ(ResampledFrameCount(7484, 8000, 384000), 359232u);
    EXPECT_EQ(ResampledFrameCount(1ull << 32, 8000, 384000), (1ull << 32) * 48);
}

TEST(AudioRenderConvertTest, OutputFrameTakesTheSourceFrameAtTheFlooredPosition) {
    EXPECT_EQ(ResampleSourceIndex(0, 441, 44100, 48000), 0u);
    EXPECT_EQ(ResampleSourceIndex(11, 441, 44100, 48000), 10u);   // 10.11
    EXPECT_EQ(ResampleSourceIndex(479, 441, 44100, 48000), 440u); // 440.08
    EXPECT_EQ(ResampleSourceIndex(5, 4, 8000, 8000), 3u);         // beyond the end: the last frame
}

TEST(AudioRenderConvertTest, UpsamplingRepeatsSourceFramesByTheIndexRule) {
    const AudioWaveFormat source = PlainFormat(kWaveFormatPcm, 2, 44100, 16);
    std::vector<int16_t> samples;
    for (int16_t i = 0; i < 441; ++i) {
        samples.push_back(i);
        samples.push_back(static_cast<int16_t>(-i));
    }
    const std::vector<uint8_t> out = ConvertOk(source, kStream48, Pcm16(samples));
    ASSERT_EQ(out.size(), 480u * 4);
    for (uint32_t i = 0; i < 480; ++i) {
        const int16_t expected = static_cast<int16_t>(i * 44100ull / 48000);
        ASSERT_EQ(Pcm16At(out, i * 2), expected) << i;
        ASSERT_EQ(Pcm16At(out, i * 2 + 1), -expected) << i;
    }
}

TEST(AudioRenderConvertTest, MonoSourceFeedsEveryOutputChannel) {
    const AudioWaveFormat mono = PlainFormat(kWaveFormatPcm, 1, 48000, 16);
    const AudioWaveFormat quad = PlainFormat(kWaveFormatIeeeFloat, 4, 48000, 32);
    const std::vector<uint8_t> out = ConvertOk(mono, quad, Pcm16({16384, -16384}));
    ASSERT_EQ(out.size(), 2u * 16);
    for (size_t c = 0; c < 4; ++c) {
        EXPECT_FLOAT_EQ(FloatAt(out, c), 16384.0f / 32767.0f);
        EXPECT_FLOAT_EQ(FloatAt(out, 4 + c), -0.5f);
    }
}

TEST(AudioRenderConvertTest, MonoOutputTakesTheMeanOfTheFirstTwoChannels) {
    const AudioWaveFormat monoFloat = PlainFormat(kWaveFormatIeeeFloat, 1, 48000, 32);
    const std::vector<uint8_t> out = ConvertOk(kStream48, monoFloat, Pcm16({32767, 0, 32767, -32768}));
    ASSERT_EQ(out.size(), 8u);
    EXPECT_FLOAT_EQ(FloatAt(out, 0), 0.5f);
    EXPECT_FLOAT_EQ(FloatAt(out, 1), 0.0f);
}

TEST(AudioRenderConvertTest, ExtraOutputChannelsRepeatTheLastSourceChannel) {
    const AudioWaveFormat surround = PlainFormat(kWaveFormatPcm, 4, 48000, 16);
    const std::vector<uint8_t> out = ConvertOk(kStream48, surround, Pcm16({100, -200}));
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(Pcm16At(out, 0), 100);
    EXPECT_EQ(Pcm16At(out, 1), -200);
    EXPECT_EQ(Pcm16At(out, 2), -200);
    EXPECT_EQ(Pcm16At(out, 3), -200);
}

// s / 32767 when non-negative, s / 32768 when negative, written in the render sample type.
TEST(AudioRenderConvertTest, WritesEveryRenderSampleType) {
    const std::vector<uint8_t> data = Pcm16({32767, -32768, 16384, -16384, 0, -1});
    const std::vector<uint8_t> f =
        ConvertOk(kStream48, PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32), data);
    EXPECT_FLOAT_EQ(FloatAt(f, 0), 1.0f);
    EXPECT_FLOAT_EQ(FloatAt(f, 1), -1.0f);
    EXPECT_FLOAT_EQ(FloatAt(f, 2), 16384.0f / 32767.0f);
    EXPECT_FLOAT_EQ(FloatAt(f, 3), -0.5f);
    EXPECT_FLOAT_EQ(FloatAt(f, 4), 0.0f);

    const std::vector<uint8_t> i24 =
        ConvertOk(kStream48, ExtensibleFormat(kWaveFormatPcm, 2, 48000, 24), data);
    ASSERT_EQ(i24.size(), 3u * 3 * 2);
    EXPECT_EQ(Int24At(i24, 0), 8388607);
    EXPECT_EQ(Int24At(i24, 1), -8388608);
    EXPECT_EQ(Int24At(i24, 3), -4194304);
    EXPECT_EQ(Int24At(i24, 4), 0);
    EXPECT_EQ(Int24At(i24, 5), -256);

    const std::vector<uint8_t> i32 = ConvertOk(kStream48, PlainFormat(kWaveFormatPcm, 2, 48000, 32), data);
    EXPECT_EQ(static_cast<int32_t>(GetLe32(i32.data())), INT32_MAX);
    EXPECT_EQ(static_cast<int32_t>(GetLe32(i32.data() + 4)), INT32_MIN);
    EXPECT_EQ(static_cast<int32_t>(GetLe32(i32.data() + 12)), -1073741824);

    // 16-bit at another rate goes through the values and comes back to the same samples.
    const std::vector<uint8_t> i16 = ConvertOk(kStream48, PlainFormat(kWaveFormatPcm, 2, 96000, 16), data);
    ASSERT_EQ(i16.size(), data.size() * 2);
    for (size_t s = 0; s < 6; ++s)
        EXPECT_EQ(Pcm16At(i16, (s / 2) * 4 + s % 2), Pcm16At(data, s)) << s;
}

TEST(AudioRenderConvertTest, RefusesWhatItCannotConvert) {
    const std::vector<uint8_t> data = Pcm16({1, 2});
    std::vector<uint8_t> out;
    EXPECT_EQ(ConvertToRender(PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32), kStream48, data.data(),
                              data.size(), out),
              AudioConvertResult::Unsupported);
    EXPECT_EQ(
        ConvertToRender(kStream48, PlainFormat(kWaveFormatPcm, 2, 48000, 8), data.data(), data.size(), out),
        AudioConvertResult::Unsupported);
    EXPECT_EQ(ConvertToRender(kStream48, kStream48, data.data(), 3, out), AudioConvertResult::Empty);
    EXPECT_TRUE(out.empty());
}

} // namespace
