#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/LittleEndian.h"
#include "media/AudioPacket.h"

namespace {

std::vector<uint8_t> Datagram(AudioPacketKind kind, const std::vector<uint8_t>& payload,
                              uint32_t rate = 48000) {
    std::vector<uint8_t> d(kAudioHeaderBytes);
    PackAudioPacketHeader(MakeAudioPacketHeader(kind, 7, static_cast<uint32_t>(payload.size()), rate),
                          d.data());
    d.insert(d.end(), payload.begin(), payload.end());
    return d;
}

TEST(AudioPacketTest, HeaderPacksLittleEndianAtTheWireOffsets) {
    uint8_t bytes[kAudioHeaderBytes];
    PackAudioPacketHeader(MakeAudioPacketHeader(AudioPacketKind::Pcm, 0x01020304, 1920, 44100), bytes);
    const uint8_t expected[kAudioHeaderBytes] = {
        'T',  'S',  'L',  'O',  0x02, 0x00, 0x20, 0x00, // magic, kind PCM, header size 32
        0x04, 0x03, 0x02, 0x01, 0x80, 0x07, 0x00, 0x00, // sequence, payload bytes 1920
        0x44, 0xAC, 0x00, 0x00, 0x02, 0x00, 0x10, 0x00, // rate 44100, 2 channels, 16 bits
        0x01, 0x00, 0x04, 0x00, 0x10, 0xB1, 0x02, 0x00, // tag 1, block 4, 176400 bytes per second
    };
    EXPECT_EQ(0, std::memcmp(bytes, expected, sizeof bytes));
    const AudioPacketHeader back = ParseAudioPacketHeader(bytes);
    EXPECT_EQ(back.kind, 2);
    EXPECT_EQ(back.sequence, 0x01020304u);
    EXPECT_EQ(back.payloadBytes, 1920u);
    EXPECT_EQ(back.sampleRate, 44100u);
    EXPECT_EQ(back.avgBytesPerSec, 176400u);
}

TEST(AudioPacketTest, FormatDatagramCarriesTheStreamFormatAsWaveFormatEx) {
    const std::vector<uint8_t> d = BuildAudioFormatDatagram(48000);
    ASSERT_EQ(d.size(), kAudioHeaderBytes + 18);
    const AudioPacketHeader h = ParseAudioPacketHeader(d.data());
    EXPECT_EQ(h.kind, 1);
    EXPECT_EQ(h.sequence, 0u);
    EXPECT_EQ(h.payloadBytes, 18u);
    const uint8_t format[18] = {
        0x01, 0x00, 0x02, 0x00, 0x80, 0xBB, 0x00, 0x00, 0x00, 0xEE, 0x02, 0x00, // tag 1, 2 ch, 48000, 192000
        0x04, 0x00, 0x10, 0x00, 0x00, 0x00,                                     // block 4, 16 bits, extra 0
    };
    EXPECT_EQ(0, std::memcmp(d.data() + kAudioHeaderBytes, format, sizeof format));

    AudioDatagram read;
    ASSERT_EQ(ReadAudioDatagram(d.data(), d.size(), read), AudioDatagramCheck::Ok);
    EXPECT_EQ(read.kind, AudioPacketKind::Format);
    EXPECT_EQ(read.format, MakeAudioStreamFormat(48000));
}

TEST(AudioPacketTest, StreamRateFallsBackTo48000WhenTheMixFormatGivesNone) {
    EXPECT_EQ(MakeAudioStreamFormat(0).sampleRate, 48000u);
    EXPECT_EQ(MakeAudioStreamFormat(44100).avgBytesPerSec, 176400u);
}

TEST(AudioPacketTest, FramesPerPacketAreTenMillisecondsWithinOneDatagram) {
    EXPECT_EQ(AudioFramesPerPacket(48000), 480u);
    EXPECT_EQ(AudioFramesPerPacket(44100), 441u);
    EXPECT_EQ(AudioFramesPerPacket(50), 1u);
    // 3840 frames would make a 15,392-byte datagram that the player's 15,000-byte buffer truncates.
    EXPECT_EQ(AudioFramesPerPacket(384000), (kAudioMaxDatagramBytes - kAudioHeaderBytes) / 4);
    EXPECT_EQ(AudioFramesPerPacket(0xFFFFFFFFu), (kAudioMaxDatagramBytes - kAudioHeaderBytes) / 4);
}

struct DatagramCase {
    const char* name;
    std::vector<uint8_t> bytes;
    AudioDatagramCheck expected;
};

std::vector<DatagramCase> DatagramCases() {
    const std::vector<uint8_t> format = BuildAudioFormatDatagram(48000);
    const std::vector<uint8_t> pcm = Datagram(AudioPacketKind::Pcm, std::vector<uint8_t>(8, 1));
    std::vector<DatagramCase> cases;
    cases.push_back({"empty", {}, AudioDatagramCheck::Ignored});
    cases.push_back(
        {"31 bytes", std::vector<uint8_t>(pcm.begin(), pcm.begin() + 31), AudioDatagramCheck::Ignored});
    std::vector<uint8_t> b = pcm;
    b[0] = 'X';
    cases.push_back({"another magic", b, AudioDatagramCheck::Ignored});
    b = pcm;
    PutLe16(b.data() + 6, 28);
    cases.push_back({"header size 28", b, AudioDatagramCheck::Ignored});
    for (uint16_t kind : {0, 3, 0x0102}) {
        b = pcm;
        PutLe16(b.data() + 4, kind);
        cases.push_back({"another kind", b, AudioDatagramCheck::Ignored});
    }
    cases.push_back({"PCM with 8 payload bytes", pcm, AudioDatagramCheck::Ok});
    cases.push_back({"header only PCM", Datagram(AudioPacketKind::Pcm, {}), AudioDatagramCheck::BadPayload});
    b = pcm;
    PutLe32(b.data() + 12, 9);
    cases.push_back({"PCM payload bytes beyond the datagram", b, AudioDatagramCheck::BadPayload});
    b = pcm;
    PutLe32(b.data() + 12, 0xFFFFFFFFu);
    cases.push_back({"payload bytes near 4 GiB", b, AudioDatagramCheck::BadPayload});
    cases.push_back({"FORMAT", format, AudioDatagramCheck::Ok});
    b = std::vector<uint8_t>(format.begin(), format.end() - 1);
    cases.push_back({"FORMAT cut by one byte", b, AudioDatagramCheck::BadPayload});
    b = format;
    PutLe32(b.data() + 12, 17);
    cases.push_back({"FORMAT payload of 17 bytes", b, AudioDatagramCheck::BadPayload});
    b = format;
    PutLe16(b.data() + kAudioHeaderBytes + 16, 2);
    cases.push_back({"FORMAT extra size beyond the datagram", b, AudioDatagramCheck::BadPayload});
    b.push_back(0xAA);
    b.push_back(0xBB);
    cases.push_back({"FORMAT extra size beyond the payload bytes", b, AudioDatagramCheck::BadPayload});
    PutLe32(b.data() + 12, 20);
    cases.push_back({"FORMAT with two extra bytes", b, AudioDatagramCheck::Ok});
    return cases;
}

TEST(AudioPacketTest, ReadsOnlyDatagramsThatHoldTogether) {
    for (const DatagramCase& c : DatagramCases()) {
        AudioDatagram read;
        EXPECT_EQ(ReadAudioDatagram(c.bytes.data(), c.bytes.size(), read), c.expected) << c.name;
    }
}

TEST(AudioPacketTest, ReadPointsAtThePayloadByItsDeclaredLength) {
    std::vector<uint8_t> d = Datagram(AudioPacketKind::Pcm, {1, 2, 3, 4, 5, 6, 7, 8});
    PutLe32(d.data() + 12, 4); // trailing bytes beyond the declared payload are not audio
    AudioDatagram read;
    ASSERT_EQ(ReadAudioDatagram(d.data(), d.size(), read), AudioDatagramCheck::Ok);
    EXPECT_EQ(read.kind, AudioPacketKind::Pcm);
    EXPECT_EQ(read.header.sequence, 7u);
    EXPECT_EQ(read.payload, d.data() + kAudioHeaderBytes);
    EXPECT_EQ(read.payloadBytes, 4u);

    std::vector<uint8_t> f = BuildAudioFormatDatagram(44100);
    PutLe16(f.data() + kAudioHeaderBytes + 16, 2);
    f.push_back(0xAA);
    f.push_back(0xBB);
    PutLe32(f.data() + 12, 20);
    ASSERT_EQ(ReadAudioDatagram(f.data(), f.size(), read), AudioDatagramCheck::Ok);
    EXPECT_EQ(read.format.sampleRate, 44100u);
    EXPECT_EQ(read.format.extra, (std::vector<uint8_t>{0xAA, 0xBB}));
}

} // namespace
