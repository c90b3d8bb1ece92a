#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "media/AudioPacket.h"
#include "media/AudioPacketizer.h"

namespace {

struct Sent {
    AudioPacketHeader header;
    std::vector<uint8_t> payload;
};

std::vector<Sent> CutAll(AudioPacketizer& packetizer, const std::vector<uint8_t>& pcm) {
    std::vector<Sent> sent;
    const size_t count = packetizer.Cut(pcm.data(), pcm.size(), [&](const uint8_t* d, size_t size) {
        EXPECT_GE(size, kAudioHeaderBytes);
        Sent s{ParseAudioPacketHeader(d), std::vector<uint8_t>(d + kAudioHeaderBytes, d + size)};
        EXPECT_EQ(s.header.payloadBytes, s.payload.size());
        sent.push_back(std::move(s));
    });
    EXPECT_EQ(count, sent.size());
    return sent;
}

std::vector<uint8_t> Ramp(size_t bytes) {
    std::vector<uint8_t> pcm(bytes);
    for (size_t i = 0; i < bytes; ++i)
        pcm[i] = static_cast<uint8_t>(i * 7);
    return pcm;
}

TEST(AudioPacketizerTest, FortyEightKilohertzTravelsIn1920BytePayloads) {
    AudioPacketizer packetizer;
    packetizer.SetRate(48000);
    const std::vector<uint8_t> pcm = Ramp(1920 * 2 + 400);
    const std::vector<Sent> sent = CutAll(packetizer, pcm);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].payload.size(), 1920u);
    EXPECT_EQ(sent[1].payload.size(), 1920u);
    EXPECT_EQ(sent[2].payload.size(), 400u);
    std::vector<uint8_t> joined;
    for (const Sent& s : sent) {
        EXPECT_EQ(s.header.kind, static_cast<uint16_t>(AudioPacketKind::Pcm));
        EXPECT_EQ(s.header.sampleRate, 48000u);
        EXPECT_EQ(s.header.avgBytesPerSec, 192000u);
        joined.insert(joined.end(), s.payload.begin(), s.payload.end());
    }
    EXPECT_EQ(joined, pcm);
}

TEST(AudioPacketizerTest, FortyFourPointOneKilohertzTravelsIn441Frames) {
    AudioPacketizer packetizer;
    packetizer.SetRate(44100);
    const std::vector<Sent> sent = CutAll(packetizer, Ramp(1764 * 3));
    ASSERT_EQ(sent.size(), 3u);
    for (const Sent& s : sent)
        EXPECT_EQ(s.payload.size(), 1764u);
}

TEST(AudioPacketizerTest, SendsWholeFramesOnly) {
    AudioPacketizer packetizer;
    packetizer.SetRate(48000);
    const std::vector<Sent> sent = CutAll(packetizer, Ramp(1923));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].payload.size(), 1920u);
    EXPECT_TRUE(CutAll(packetizer, Ramp(3)).empty());
}

TEST(AudioPacketizerTest, SequenceCountsFromOneAcrossCallsAndRateChanges) {
    AudioPacketizer packetizer;
    EXPECT_EQ(packetizer.Sequence(), 0u);
    packetizer.SetRate(48000);
    std::vector<Sent> sent = CutAll(packetizer, Ramp(1920 * 2));
    packetizer.SetRate(44100); // a rebuilt pipeline on another device
    const std::vector<Sent> more = CutAll(packetizer, Ramp(1764));
    sent.insert(sent.end(), more.begin(), more.end());
    ASSERT_EQ(sent.size(), 3u);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(sent[i].header.sequence, i + 1);
    EXPECT_EQ(sent[2].header.sampleRate, 44100u);
    EXPECT_EQ(packetizer.Sequence(), 3u);
}

} // namespace
