// The clipboard channel's header and the framer that cuts a connection's bytes into messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardMessageFramer.h"

namespace {

std::vector<uint8_t> Wire(const ClipboardMessageHeader& header, const std::string& payload) {
    std::vector<uint8_t> bytes(kClipboardHeaderSize);
    EncodeClipboardHeader(header, bytes.data());
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

ClipboardMessageHeader Header(uint32_t type, uint32_t payloadBytes) {
    ClipboardMessageHeader h;
    h.type = type;
    h.id = 0x0102030405060708ull;
    h.a = 0x1112131415161718ull;
    h.b = 0xF1F2F3F4F5F6F7F8ull;
    h.payloadBytes = payloadBytes;
    h.c = 0xA1A2A3A4u;
    return h;
}

std::string PayloadText(const ClipboardMessage& m) {
    return std::string(m.payload.begin(), m.payload.end());
}

TEST(ClipboardHeader, LaysOutEveryFieldLittleEndianAtItsOffset) {
    uint8_t bytes[kClipboardHeaderSize];
    EncodeClipboardHeader(Header(13, 5), bytes);
    const uint8_t expected[kClipboardHeaderSize] = {
        'S',  'L',  'C',  'B',  13,   0,    0,    0,    0x08, 0x07, 0x06, 0x05, 0x04, 0x03,
        0x02, 0x01, 0x18, 0x17, 0x16, 0x15, 0x14, 0x13, 0x12, 0x11, 0xF8, 0xF7, 0xF6, 0xF5,
        0xF4, 0xF3, 0xF2, 0xF1, 5,    0,    0,    0,    0xA4, 0xA3, 0xA2, 0xA1};
    EXPECT_EQ(std::memcmp(bytes, expected, sizeof bytes), 0);

    ClipboardMessageHeader back;
    uint32_t magic = 0;
    ASSERT_EQ(DecodeClipboardHeader(bytes, back, magic), ClipboardHeaderCheck::Ok);
    EXPECT_EQ(magic, 0x42434C53u);
    EXPECT_EQ(back.type, 13u);
    EXPECT_EQ(back.id, 0x0102030405060708ull);
    EXPECT_EQ(back.a, 0x1112131415161718ull);
    EXPECT_EQ(back.b, 0xF1F2F3F4F5F6F7F8ull);
    EXPECT_EQ(back.payloadBytes, 5u);
    EXPECT_EQ(back.c, 0xA1A2A3A4u);
}

TEST(ClipboardHeader, ChecksMagicAndThePayloadLimit) {
    struct Case {
        const char* name;
        uint32_t payloadBytes;
        char firstByte;
        ClipboardHeaderCheck expected;
    } cases[] = {
        {"empty payload", 0, 'S', ClipboardHeaderCheck::Ok},
        {"16 MiB is the largest accepted", 16777216, 'S', ClipboardHeaderCheck::Ok},
        {"one byte more", 16777217, 'S', ClipboardHeaderCheck::PayloadTooLarge},
        {"largest u32", 0xFFFFFFFFu, 'S', ClipboardHeaderCheck::PayloadTooLarge},
        {"bad magic", 4, 's', ClipboardHeaderCheck::BadMagic},
    };
    for (const Case& c : cases) {
        uint8_t bytes[kClipboardHeaderSize];
        EncodeClipboardHeader(Header(2, c.payloadBytes), bytes);
        bytes[0] = static_cast<uint8_t>(c.firstByte);
        ClipboardMessageHeader h;
        uint32_t magic = 0;
        EXPECT_EQ(DecodeClipboardHeader(bytes, h, magic), c.expected) << c.name;
        EXPECT_EQ(h.payloadBytes, c.payloadBytes) << c.name;
    }
}

TEST(ClipboardHeader, NamesTheFifteenTypes) {
    EXPECT_STREQ(ClipboardMessageTypeName(1), "CB_HELLO");
    EXPECT_STREQ(ClipboardMessageTypeName(8), "CB_TRANSFER_STATUS");
    EXPECT_STREQ(ClipboardMessageTypeName(15), "CB_CLEAR_CLIPBOARD");
    for (uint32_t type : {0u, 16u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(IsKnownClipboardMessageType(type)) << type;
        EXPECT_STREQ(ClipboardMessageTypeName(type), "") << type;
    }
}

// Two messages back to back, fed in two pieces cut at every possible byte: both arrive whole and unchanged.
TEST(ClipboardFramer, SplitAtAnyByteGivesTheSameMessages) {
    std::vector<uint8_t> stream = Wire(Header(2, 6), std::string("ab\0cd\n", 6));
    const std::vector<uint8_t> second = Wire(Header(1, 0), "");
    stream.insert(stream.end(), second.begin(), second.end());
    for (size_t cut = 0; cut <= stream.size(); ++cut) {
        ClipboardMessageFramer framer;
        std::vector<ClipboardMessage> got;
        for (auto [from, to] : {std::pair<size_t, size_t>{0, cut}, {cut, stream.size()}}) {
            while (from < to) {
                size_t used = 0;
                const auto status = framer.Feed(stream.data() + from, to - from, used);
                from += used;
                ASSERT_NE(status, ClipboardMessageFramer::Status::BadHeader) << cut;
                if (status == ClipboardMessageFramer::Status::Message)
                    got.push_back(framer.Take());
                else
                    ASSERT_EQ(from, to) << cut;
            }
        }
        ASSERT_EQ(got.size(), 2u) << "cut " << cut;
        EXPECT_EQ(got[0].header.type, 2u);
        EXPECT_EQ(got[0].header.id, 0x0102030405060708ull);
        EXPECT_EQ(PayloadText(got[0]), std::string("ab\0cd\n", 6));
        EXPECT_EQ(got[1].header.type, 1u);
        EXPECT_TRUE(got[1].payload.empty());
        EXPECT_FALSE(framer.MidMessage());
    }
}

// The receive loop reads straight into Space: it never offers room past the current message, so the next
// message's bytes stay in the socket.
TEST(ClipboardFramer, SpaceEndsAtTheCurrentMessage) {
    ClipboardMessageFramer framer;
    EXPECT_EQ(framer.SpaceSize(), kClipboardHeaderSize);
    const std::vector<uint8_t> bytes = Wire(Header(3, 300), std::string(300, 'x'));
    std::memcpy(framer.Space(), bytes.data(), 10);
    EXPECT_EQ(framer.Commit(10), ClipboardMessageFramer::Status::NeedMore);
    EXPECT_TRUE(framer.MidMessage());
    EXPECT_EQ(framer.SpaceSize(), kClipboardHeaderSize - 10);
    std::memcpy(framer.Space(), bytes.data() + 10, kClipboardHeaderSize - 10);
    EXPECT_EQ(framer.Commit(kClipboardHeaderSize - 10), ClipboardMessageFramer::Status::NeedMore);
    EXPECT_EQ(framer.SpaceSize(), 300u);
    std::memcpy(framer.Space(), bytes.data() + kClipboardHeaderSize, 300);
    EXPECT_EQ(framer.Commit(300), ClipboardMessageFramer::Status::Message);
    EXPECT_EQ(framer.SpaceSize(), 0u);
    EXPECT_EQ(framer.Take().payload.size(), 300u);
    EXPECT_EQ(framer.SpaceSize(), kClipboardHeaderSize);
}

TEST(ClipboardFramer, RefusedHeaderFailsForGoodBeforeAnyPayloadIsHeld) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        ClipboardHeaderCheck refusal;
    } cases[] = {
        {"payload one byte over 16 MiB", Wire(Header(3, 16777217), ""),
         ClipboardHeaderCheck::PayloadTooLarge},
        {"bad magic",
         [] {
             auto b = Wire(Header(2, 2), "hi");
             b[3] = 'X';
             return b;
         }(),
         ClipboardHeaderCheck::BadMagic},
    };
    for (const Case& c : cases) {
        ClipboardMessageFramer framer;
        size_t used = 0;
        EXPECT_EQ(framer.Feed(c.bytes.data(), c.bytes.size(), used),
                  ClipboardMessageFramer::Status::BadHeader)
            << c.name;
        EXPECT_EQ(used, kClipboardHeaderSize) << c.name;
        EXPECT_EQ(framer.Refusal(), c.refusal) << c.name;
        EXPECT_TRUE(framer.Failed()) << c.name;
        EXPECT_EQ(framer.SpaceSize(), 0u) << c.name;
        const std::vector<uint8_t> good = Wire(Header(1, 0), "");
        EXPECT_EQ(framer.Feed(good.data(), good.size(), used), ClipboardMessageFramer::Status::BadHeader)
            << c.name;
        EXPECT_EQ(used, 0u) << c.name;
    }
}

TEST(ClipboardFramer, TheLargestPayloadIsAcceptedAndUnknownTypesStillFrame) {
    ClipboardMessageFramer framer;
    const std::vector<uint8_t> header = Wire(Header(0xFFFFFFFFu, kClipboardMaxPayload), "");
    size_t used = 0;
    ASSERT_EQ(framer.Feed(header.data(), header.size(), used), ClipboardMessageFramer::Status::NeedMore);
    EXPECT_LT(framer.SpaceSize(), size_t{kClipboardMaxPayload}) << "room grows with what arrives";
    size_t received = 0;
    ClipboardMessageFramer::Status status = ClipboardMessageFramer::Status::NeedMore;
    while (status == ClipboardMessageFramer::Status::NeedMore && received <= kClipboardMaxPayload) {
        const size_t room = framer.SpaceSize();
        ASSERT_GT(room, 0u);
        std::memset(framer.Space(), 0x5A, room);
        received += room;
        status = framer.Commit(room);
    }
    EXPECT_EQ(status, ClipboardMessageFramer::Status::Message);
    EXPECT_EQ(received, size_t{kClipboardMaxPayload});
    const ClipboardMessage m = framer.Take();
    EXPECT_EQ(m.header.type, 0xFFFFFFFFu);
    ASSERT_EQ(m.payload.size(), size_t{kClipboardMaxPayload});
    EXPECT_EQ(m.payload.front(), 0x5A);
    EXPECT_EQ(m.payload.back(), 0x5A);
}

} // namespace
