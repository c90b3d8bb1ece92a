// The frame mapping's writer and reader over a buffer laid out as the real mapping: what Publish accepts,
// which buffer it fills, the header Init leaves, and what the reader refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "service/SecureFrameRead.h"
#include "service/SecureFrameWrite.h"
#include "service/WardletShared.h"

namespace {

constexpr uint64_t kNow = 50000;

// One mapping-sized buffer for the whole suite (128 MiB), re-initialised by every test.
class SecureFrameMappingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_mapping = std::make_unique<std::vector<uint8_t>>(kSecureFrameMappingSize);
    }
    static void TearDownTestSuite() { s_mapping.reset(); }
    void SetUp() override { ASSERT_TRUE(InitSecureFrameHeader(Mapping())); }

    static std::span<uint8_t> Mapping() { return {s_mapping->data(), s_mapping->size()}; }
    static SecureFrameHeader& Header() { return *reinterpret_cast<SecureFrameHeader*>(s_mapping->data()); }
    static const uint8_t* Buffer(int index) { return s_mapping->data() + kSecureFrameBufferOffset[index]; }

    // A frame of one colour byte, published at tick.
    static bool PublishFilled(int32_t width, int32_t height, uint8_t value, uint64_t sequence,
                              uint64_t tick = kNow) {
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, value);
        return PublishSecureFrame(Mapping(), pixels.data(), width, height, width * 4,
                                  {11, 3, tick, sequence});
    }
    static bool Read(std::vector<uint8_t>& out, int32_t targetWidth, int32_t targetHeight,
                     uint64_t* lastSequence = nullptr, uint64_t now = kNow) {
        std::vector<uint8_t> raw;
        return ReadSecureFrame(Mapping(), now, targetWidth, targetHeight, lastSequence, raw, out);
    }

    static std::unique_ptr<std::vector<uint8_t>> s_mapping;
};

std::unique_ptr<std::vector<uint8_t>> SecureFrameMappingTest::s_mapping;

TEST_F(SecureFrameMappingTest, InitWritesTheExactHeaderBytes) {
    std::memset(s_mapping->data(), 0xCD, kSecureFrameHeaderSize);
    ASSERT_TRUE(InitSecureFrameHeader(Mapping()));
    std::vector<uint8_t> expected(kSecureFrameHeaderSize, 0);
    const uint8_t start[] = {'S', 'D', 'F',  '2',  2,    0,    0, 0, 128, 0,
                             0,   0,   0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0,   4};
    std::memcpy(expected.data(), start, sizeof start);
    EXPECT_EQ(std::vector<uint8_t>(s_mapping->begin(), s_mapping->begin() + kSecureFrameHeaderSize),
              expected);

    std::vector<uint8_t> small(kSecureFrameMappingSize - 1);
    EXPECT_FALSE(InitSecureFrameHeader(small));
}

struct PublishCase {
    const char* name;
    int32_t width, height, stride;
    bool accepted;
};

TEST_F(SecureFrameMappingTest, PublishAcceptsWhatFitsABuffer) {
    const PublishCase cases[] = {
        {"exactly the capacity", 4096, 4096, 4096 * 4, true},
        {"one row above the capacity", 4096, 4097, 4096 * 4, false},
        {"source stride one pixel short", 100, 10, 100 * 4 - 4, false},
        {"wider source stride is packed", 100, 10, 100 * 4 + 12, true},
        {"zero width", 0, 10, 0, false},
        {"negative height", 10, -1, 40, false},
        {"width times four above 32 bits", 0x40000001, 1, 4, false},
    };
    for (const PublishCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(InitSecureFrameHeader(Mapping()));
        const int64_t bytes = int64_t{c.height > 0 ? c.height : 1} * (c.stride > 0 ? c.stride : 4);
        std::vector<uint8_t> pixels(static_cast<size_t>(std::min<int64_t>(bytes, 0x4100000)), 7);
        EXPECT_EQ(PublishSecureFrame(Mapping(), pixels.data(), c.width, c.height, c.stride, {1, 1, kNow, 1}),
                  c.accepted);
        EXPECT_EQ(Header().publishedIndex, c.accepted ? 0u : kSecureFrameNoIndex);
    }
    EXPECT_FALSE(PublishSecureFrame(Mapping(), nullptr, 2, 2, 8, {1, 1, kNow, 1}));
}

TEST_F(SecureFrameMappingTest, PublishAlternatesBuffersAndPacksRows) {
    // Two rows of two pixels in a source with 4 bytes of padding per row.
    const uint8_t source[] = {1, 2,  3,  4,  5,  6,  7,  8,  0xEE, 0xEE, 0xEE, 0xEE,
                              9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE, 0xEE, 0xEE};
    ASSERT_TRUE(PublishSecureFrame(Mapping(), source, 2, 2, 12, {4242, 7, 1234, 1}));
    EXPECT_EQ(Header().publishedIndex, 0u);
    const uint8_t packed[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(std::memcmp(Buffer(0), packed, sizeof packed), 0);
    const SecureFrameDescriptor& first = Header().descriptors[0];
    EXPECT_EQ(first.width, 2u);
    EXPECT_EQ(first.height, 2u);
    EXPECT_EQ(first.stride, 8u);
    EXPECT_EQ(first.size, 16u);
    EXPECT_EQ(first.pixelFormat, kSecureFramePixelFormatBgra);
    EXPECT_EQ(first.processId, 4242u);
    EXPECT_EQ(first.sessionId, 7u);
    EXPECT_EQ(first.publishTick, 1234u);
    EXPECT_EQ(first.sequence, 1u);

    ASSERT_TRUE(PublishFilled(3, 1, 0x55, 2));
    EXPECT_EQ(Header().publishedIndex, 1u);
    EXPECT_EQ(Header().descriptors[1].sequence, 2u);
    EXPECT_EQ(Buffer(1)[0], 0x55);
    EXPECT_EQ(std::memcmp(Buffer(0), packed, sizeof packed), 0) << "the published buffer was written";

    ASSERT_TRUE(PublishFilled(1, 1, 0x66, 3));
    EXPECT_EQ(Header().publishedIndex, 0u);
}

// A published 4x2 frame, then one change to the mapping; does the reader still deliver it?
struct ReadCase {
    const char* name;
    void (*change)(SecureFrameHeader&);
    uint64_t now;
    bool delivered;
};

TEST_F(SecureFrameMappingTest, ReaderRefusesWhatTheWriterWouldNotPublish) {
    const ReadCase cases[] = {
        {"unchanged", [](SecureFrameHeader&) {}, kNow, true},
        {"nothing published yet", [](SecureFrameHeader& h) { h.publishedIndex = kSecureFrameNoIndex; }, kNow,
         false},
        {"index 2", [](SecureFrameHeader& h) { h.publishedIndex = 2; }, kNow, false},
        {"wrong magic", [](SecureFrameHeader& h) { h.magic = 0x31464453; }, kNow, false},
        {"wrong version", [](SecureFrameHeader& h) { h.version = 1; }, kNow, false},
        {"wrong header size", [](SecureFrameHeader& h) { h.headerSize = 64; }, kNow, false},
        {"wrong capacity", [](SecureFrameHeader& h) { h.capacity = 0x8000000; }, kNow, false},
        {"pixel format 1", [](SecureFrameHeader& h) { h.descriptors[0].pixelFormat = 1; }, kNow, false},
        {"zero width", [](SecureFrameHeader& h) { h.descriptors[0].width = 0; }, kNow, false},
        {"zero height", [](SecureFrameHeader& h) { h.descriptors[0].height = 0; }, kNow, false},
        {"stride above width * 4", [](SecureFrameHeader& h) { h.descriptors[0].stride = 20; }, kNow, false},
        {"stride below width * 4", [](SecureFrameHeader& h) { h.descriptors[0].stride = 12; }, kNow, false},
        {"size not width * height * 4", [](SecureFrameHeader& h) { h.descriptors[0].size = 24; }, kNow,
         false},
        {"width * 4 wraps in 32 bits",
         [](SecureFrameHeader& h) {
             h.descriptors[0].width = 0x40000001;
             h.descriptors[0].height = 1;
             h.descriptors[0].stride = 4;
             h.descriptors[0].size = 4;
         },
         kNow, false},
        {"above the capacity",
         [](SecureFrameHeader& h) {
             h.descriptors[0].width = 4096;
             h.descriptors[0].height = 4097;
             h.descriptors[0].stride = 16384;
             h.descriptors[0].size = 4096u * 4097u * 4u;
         },
         kNow, false},
        {"tick 0", [](SecureFrameHeader& h) { h.descriptors[0].publishTick = 0; }, kNow, false},
        {"published 2,999 ms ago", [](SecureFrameHeader&) {}, kNow + 2999, true},
        {"published 3,000 ms ago", [](SecureFrameHeader&) {}, kNow + 3000, true},
        {"published 3,001 ms ago", [](SecureFrameHeader&) {}, kNow + 3001, false},
        {"published in the future", [](SecureFrameHeader&) {}, kNow - 1, false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(InitSecureFrameHeader(Mapping()));
        ASSERT_TRUE(PublishFilled(4, 2, 0x42, 9));
        c.change(Header());
        std::vector<uint8_t> out(3, 0xAB);
        uint64_t last = 0;
        EXPECT_EQ(Read(out, 4, 2, &last, c.now), c.delivered);
        if (c.delivered) {
            EXPECT_EQ(out, std::vector<uint8_t>(32, 0x42));
            EXPECT_EQ(last, 9u);
        } else {
            EXPECT_EQ(out, std::vector<uint8_t>(3, 0xAB)) << "a refusal leaves the output alone";
            EXPECT_EQ(last, 0u);
        }
    }
}

TEST_F(SecureFrameMappingTest, TheSameSequenceIsDeliveredOnce) {
    ASSERT_TRUE(PublishFilled(2, 2, 1, 5));
    std::vector<uint8_t> out;
    uint64_t last = 0;
    EXPECT_TRUE(Read(out, 2, 2, &last));
    EXPECT_EQ(last, 5u);
    EXPECT_FALSE(Read(out, 2, 2, &last)) << "nothing new";
    EXPECT_TRUE(Read(out, 2, 2)) << "a reader that keeps no sequence gets the frame again";
    ASSERT_TRUE(PublishFilled(2, 2, 2, 6));
    EXPECT_TRUE(Read(out, 2, 2, &last));
    EXPECT_EQ(last, 6u);
}

TEST_F(SecureFrameMappingTest, ReaderNeverReachesBeyondItsView) {
    ASSERT_TRUE(PublishFilled(4, 4, 9, 1)); // 64 bytes in buffer 0
    std::vector<uint8_t> raw, out;
    const std::span<const uint8_t> whole(s_mapping->data(), s_mapping->size());
    EXPECT_FALSE(ReadSecureFrame(whole.first(kSecureFrameHeaderSize + 63), kNow, 4, 4, nullptr, raw, out));
    EXPECT_TRUE(ReadSecureFrame(whole.first(kSecureFrameHeaderSize + 64), kNow, 4, 4, nullptr, raw, out));
    EXPECT_FALSE(ReadSecureFrame(whole.first(kSecureFrameHeaderSize - 1), kNow, 4, 4, nullptr, raw, out));
    EXPECT_FALSE(ReadSecureFrame(whole, kNow, 0, 4, nullptr, raw, out)) << "no target";
}

TEST_F(SecureFrameMappingTest, A1080pFrameIsScaledTo720pByNearestNeighbour) {
    // Each pixel names its own column and row, so every output pixel shows where it was taken from.
    const int32_t width = 1920, height = 1080;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(x >> 8);
            p[2] = static_cast<uint8_t>(y);
            p[3] = static_cast<uint8_t>(y >> 8);
        }
    ASSERT_TRUE(PublishSecureFrame(Mapping(), pixels.data(), width, height, width * 4, {1, 1, kNow, 1}));
    std::vector<uint8_t> out;
    ASSERT_TRUE(Read(out, 1280, 720));
    ASSERT_EQ(out.size(), 1280u * 720u * 4u);
    auto sourceOf = [&](int x, int y) {
        const uint8_t* p = &out[(static_cast<size_t>(y) * 1280 + x) * 4];
        return std::pair<int, int>(p[0] | p[1] << 8, p[2] | p[3] << 8);
    };
    EXPECT_EQ(sourceOf(0, 0), std::make_pair(0, 0));
    EXPECT_EQ(sourceOf(1, 1), std::make_pair(1, 1));
    EXPECT_EQ(sourceOf(2, 2), std::make_pair(3, 3));
    EXPECT_EQ(sourceOf(3, 5), std::make_pair(4, 7));
    EXPECT_EQ(sourceOf(1279, 719), std::make_pair(1918, 1078));
    for (int y = 0; y < 720; y += 7)
        for (int x = 0; x < 1280; x += 13)
            ASSERT_EQ(sourceOf(x, y), std::make_pair(x * 3 / 2, y * 3 / 2)) << x << "," << y;
}

TEST(SecureFrameScale, UpscalingRepeatsPixels) {
    const uint8_t source[] = {1, 1, 1, 1, 2, 2, 2, 2}; // 2x1
    std::vector<uint8_t> out;
    ScaleNearestBgra(source, 2, 1, 8, 4, 2, out);
    const std::vector<uint8_t> row = {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2};
    std::vector<uint8_t> expected = row;
    expected.insert(expected.end(), row.begin(), row.end());
    EXPECT_EQ(out, expected);
}

} // namespace
