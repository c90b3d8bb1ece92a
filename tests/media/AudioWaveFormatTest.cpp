#include <gtest/gtest.h>

#include <vector>

#include "media/AudioWaveFormat.h"

#include "AudioTestFormats.h"

namespace {

AudioWaveFormat WithBlockAlign(AudioWaveFormat f, uint16_t blockAlign) {
    f.blockAlign = blockAlign;
    return f;
}

TEST(AudioWaveFormatTest, ExtensibleFormatRoundTripsWithItsExtraBytes) {
    const AudioWaveFormat in = ExtensibleFormat(kWaveFormatIeeeFloat, 2, 48000, 32);
    const std::vector<uint8_t> bytes = PackWaveFormat(in);
    ASSERT_EQ(bytes.size(), 18u + 22u);
    EXPECT_EQ(bytes[16], 22); // extra size
    const std::optional<AudioWaveFormat> out = ParseWaveFormat(bytes.data(), bytes.size());
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, in);
    EXPECT_FALSE(ParseWaveFormat(bytes.data(), bytes.size() - 1));
    EXPECT_FALSE(ParseWaveFormat(bytes.data(), 17));
}

TEST(AudioWaveFormatTest, SampleTagComesFromTheSubFormatOfAnExtensibleFormat) {
    EXPECT_EQ(SampleFormatTag(PlainFormat(kWaveFormatPcm, 2, 48000, 16)), kWaveFormatPcm);
    EXPECT_EQ(SampleFormatTag(ExtensibleFormat(kWaveFormatPcm, 2, 48000, 24)), kWaveFormatPcm);
    EXPECT_EQ(SampleFormatTag(ExtensibleFormat(kWaveFormatIeeeFloat, 2, 48000, 32)), kWaveFormatIeeeFloat);
    EXPECT_EQ(SampleFormatTag(ExtensibleFormat(kWaveFormatPcm, 2, 48000, 16, true)), 0);
    AudioWaveFormat shortExtra = ExtensibleFormat(kWaveFormatPcm, 2, 48000, 16);
    shortExtra.extra.resize(21);
    EXPECT_EQ(SampleFormatTag(shortExtra), 0);
}

TEST(AudioWaveFormatTest, WritableSampleTypes) {
    struct Case {
        const char* name;
        AudioWaveFormat format;
        AudioSampleType expected;
    };
    const Case cases[] = {
        {"PCM 16", PlainFormat(kWaveFormatPcm, 2, 48000, 16), AudioSampleType::Int16},
        {"PCM 24 packed", PlainFormat(kWaveFormatPcm, 2, 48000, 24), AudioSampleType::Int24},
        {"PCM 32", PlainFormat(kWaveFormatPcm, 6, 48000, 32), AudioSampleType::Int32},
        {"float 32", PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32), AudioSampleType::Float32},
        {"extensible float", ExtensibleFormat(kWaveFormatIeeeFloat, 2, 44100, 32), AudioSampleType::Float32},
        {"extensible PCM 24", ExtensibleFormat(kWaveFormatPcm, 2, 44100, 24), AudioSampleType::Int24},
        {"PCM 8", PlainFormat(kWaveFormatPcm, 2, 48000, 8), AudioSampleType::None},
        {"float 64", PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 64), AudioSampleType::None},
        {"foreign sub-format", ExtensibleFormat(kWaveFormatPcm, 2, 48000, 16, true), AudioSampleType::None},
        {"padded block", PlainFormat(kWaveFormatPcm, 2, 48000, 16, 8), AudioSampleType::None},
        {"no channels", PlainFormat(kWaveFormatPcm, 0, 48000, 16), AudioSampleType::None},
        {"no rate", PlainFormat(kWaveFormatPcm, 2, 0, 16), AudioSampleType::None},
        {"another tag", PlainFormat(0x55, 2, 48000, 16), AudioSampleType::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WritableSampleType(c.format), c.expected) << c.name;
        EXPECT_EQ(IsConvertibleWaveFormat(c.format), c.expected != AudioSampleType::None) << c.name;
    }
}

TEST(AudioWaveFormatTest, OnlySixteenBitPcmIsAPlayerSource) {
    EXPECT_TRUE(IsPcm16Source(PlainFormat(kWaveFormatPcm, 2, 48000, 16)));
    EXPECT_TRUE(IsPcm16Source(ExtensibleFormat(kWaveFormatPcm, 1, 8000, 16)));
    EXPECT_FALSE(IsPcm16Source(PlainFormat(kWaveFormatPcm, 2, 48000, 24)));
    EXPECT_FALSE(IsPcm16Source(PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 16)));
    EXPECT_FALSE(IsPcm16Source(PlainFormat(kWaveFormatPcm, 0, 48000, 16)));
    EXPECT_FALSE(IsPcm16Source(PlainFormat(kWaveFormatPcm, 2, 0, 16)));
    EXPECT_FALSE(IsPcm16Source(WithBlockAlign(PlainFormat(kWaveFormatPcm, 2, 48000, 16), 0)));
}

// A FORMAT from the peer sizes every buffer of the player: values outside what a sender can produce are
// refused before anything is built from them.
TEST(AudioWaveFormatTest, RemoteFormatBounds) {
    struct Case {
        const char* name;
        AudioWaveFormat format;
        const char* refusal; // null: accepted
    };
    const Case cases[] = {
        {"stream format", PlainFormat(kWaveFormatPcm, 2, 48000, 16), nullptr},
        {"mono 8 kHz", PlainFormat(kWaveFormatPcm, 1, 8000, 16), nullptr},
        {"8 channels 384 kHz", PlainFormat(kWaveFormatPcm, 8, 384000, 16), nullptr},
        {"extensible PCM", ExtensibleFormat(kWaveFormatPcm, 2, 44100, 16), nullptr},
        {"no channels", PlainFormat(kWaveFormatPcm, 0, 48000, 16, 4), "channels"},
        {"9 channels", PlainFormat(kWaveFormatPcm, 9, 48000, 16), "channels"},
        {"65535 channels", PlainFormat(kWaveFormatPcm, 0xFFFF, 48000, 16, 4), "channels"},
        {"rate 0", PlainFormat(kWaveFormatPcm, 2, 0, 16), "rate"},
        {"rate 7999", PlainFormat(kWaveFormatPcm, 2, 7999, 16), "rate"},
        {"rate 384001", PlainFormat(kWaveFormatPcm, 2, 384001, 16), "rate"},
        {"rate 4 GHz", PlainFormat(kWaveFormatPcm, 2, 0xFFFFFFFFu, 16), "rate"},
        {"block 0", WithBlockAlign(PlainFormat(kWaveFormatPcm, 2, 48000, 16), 0), "block align"},
        {"block 65535", PlainFormat(kWaveFormatPcm, 2, 48000, 16, 0xFFFF), "block align"},
        {"block 2 for stereo", PlainFormat(kWaveFormatPcm, 2, 48000, 16, 2), "block align"},
        {"24 bits", PlainFormat(kWaveFormatPcm, 2, 48000, 24), "bits"},
        {"float", PlainFormat(kWaveFormatIeeeFloat, 2, 48000, 32), "type"},
        {"foreign sub-format", ExtensibleFormat(kWaveFormatPcm, 2, 48000, 16, true), "type"},
    };
    for (const Case& c : cases) {
        const char* refusal = RemoteFormatRefusal(c.format);
        if (c.refusal == nullptr)
            EXPECT_EQ(refusal, nullptr) << c.name << ": " << refusal;
        else
            EXPECT_STREQ(refusal, c.refusal) << c.name;
    }
}

} // namespace
