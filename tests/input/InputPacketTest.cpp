#include <gtest/gtest.h>

#include <cstring>

#include "input/InputPacket.h"

namespace {

TEST(InputPacketWire, EncodesEveryFieldLittleEndianBehindTheMagic) {
    uint8_t bytes[kInputPacketSize] = {};
    EncodeInputPacket(MakeInputPacket(InputPacketType::Key, 0x1C, -2, 0x0D, 0x11223344), bytes);
    const uint8_t expected[kInputPacketSize] = {'T',  'S', 'L', 'Y', 4,    0,    0,    0,
                                                0x1C, 0,   0,   0,   0xFE, 0xFF, 0xFF, 0xFF,
                                                0x0D, 0,   0,   0,   0x44, 0x33, 0x22, 0x11};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);
    InputPacket back;
    ASSERT_TRUE(DecodeInputPacket(bytes, back));
    EXPECT_EQ(back, MakeInputPacket(InputPacketType::Key, 0x1C, -2, 0x0D, 0x11223344));
}

TEST(InputPacketWire, HandshakeTagsAreTheDocumentedBytes) {
    uint8_t hello[kInputPacketSize];
    uint8_t ack[kInputPacketSize];
    EncodeInputPacket(MakeHelloPacket(7), hello);
    EncodeInputPacket(MakeAckPacket(7), ack);
    const uint8_t helloTag[] = {0x31, 0x50, 0x4E, 0x49};
    const uint8_t ackTag[] = {0x31, 0x4B, 0x43, 0x41};
    EXPECT_EQ(std::memcmp(hello + 8, helloTag, 4), 0);
    EXPECT_EQ(std::memcmp(ack + 8, ackTag, 4), 0);
    EXPECT_EQ(hello[20], 0);
    EXPECT_EQ(ack[20], 1);
}

TEST(InputPacketWire, WrongMagicIsReportedWithItsValue) {
    uint8_t bytes[kInputPacketSize];
    EncodeInputPacket(MakeInputPacket(InputPacketType::MouseMove, 1, 2, 0, 0), bytes);
    bytes[3] = 'Z';
    InputPacket packet;
    EXPECT_FALSE(DecodeInputPacket(bytes, packet));
    EXPECT_EQ(InputPacketMagicOf(bytes), 0x5A4C5354u);
}

TEST(InputPacketWire, TypeNames) {
    EXPECT_STREQ(InputPacketTypeName(1), "MOUSE_MOVE");
    EXPECT_STREQ(InputPacketTypeName(2), "MOUSE_BUTTON");
    EXPECT_STREQ(InputPacketTypeName(3), "MOUSE_WHEEL");
    EXPECT_STREQ(InputPacketTypeName(4), "KEY");
    EXPECT_STREQ(InputPacketTypeName(5), "SYSTEM_KEY");
    EXPECT_STREQ(InputPacketTypeName(100), "HELLO");
    EXPECT_STREQ(InputPacketTypeName(0), "UNKNOWN");
    EXPECT_STREQ(InputPacketTypeName(6), "UNKNOWN");
}

struct HelloCase {
    const char* name;
    InputPacket packet;
    bool accepted;
};

class HostHelloTest : public ::testing::TestWithParam<HelloCase> {};

TEST_P(HostHelloTest, Decides) {
    EXPECT_EQ(IsAcceptableHello(GetParam().packet), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostHelloTest,
    ::testing::Values(
        HelloCase{"HelloTag", MakeHelloPacket(5), true},
        HelloCase{"ZeroTagOfOlderClients", MakeInputPacket(InputPacketType::Hello, 0, 0, 5, 0), true},
        HelloCase{"AckTag", MakeAckPacket(5), false},
        HelloCase{"OtherTag", MakeInputPacket(InputPacketType::Hello, 1, 0, 5, 0), false},
        HelloCase{"WrongType", MakeInputPacket(InputPacketType::Key, kHelloTag, 0, 5, 0), false}),
    [](const ::testing::TestParamInfo<HelloCase>& info) { return std::string(info.param.name); });

struct AckCase {
    const char* name;
    InputPacket packet;
    bool matches;
};

class ClientAckTest : public ::testing::TestWithParam<AckCase> {};

TEST_P(ClientAckTest, Decides) {
    EXPECT_EQ(IsMatchingAck(GetParam().packet, 42), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClientAckTest,
    ::testing::Values(AckCase{"Matching", MakeAckPacket(42), true},
                      AckCase{"OtherNonce", MakeAckPacket(43), false},
                      AckCase{"Data2Zero", MakeInputPacket(InputPacketType::Hello, kAckTag, 0, 42, 0), false},
                      AckCase{"HelloTag", MakeInputPacket(InputPacketType::Hello, kHelloTag, 0, 42, 1),
                              false},
                      AckCase{"WrongType", MakeInputPacket(InputPacketType::Key, kAckTag, 0, 42, 1), false}),
    [](const ::testing::TestParamInfo<AckCase>& info) { return std::string(info.param.name); });

TEST(InputHandshakeNonce, IsTheRunGenerationWithoutTheSignBit) {
    EXPECT_EQ(InputHandshakeNonce(5), 5);
    EXPECT_EQ(InputHandshakeNonce(0x180000001ull), 1);
    EXPECT_EQ(InputHandshakeNonce(0xFFFFFFFFull), 0x7FFFFFFF);
}

} // namespace
