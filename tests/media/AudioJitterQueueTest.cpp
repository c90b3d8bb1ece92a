#include <gtest/gtest.h>

#include <vector>

#include "media/AudioJitterQueue.h"

namespace {

// 48 kHz 16-bit stereo: 192,000 bytes a second, so 50 ms are 9,600 bytes and 120 ms 23,040.
constexpr uint32_t kRate = 48000;
constexpr uint32_t kBlock = 4;

std::vector<uint8_t> Bytes(size_t size, uint8_t first) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}

TEST(AudioJitterQueueTest, LimitsAreFiftyAndOneHundredTwentyMilliseconds) {
    AudioJitterQueue queue;
    queue.Configure(kRate, kBlock);
    EXPECT_EQ(queue.ThresholdBytes(), 9600u);
    EXPECT_EQ(queue.CapBytes(), 23040u);
    // 11,025 Hz: 50 ms are 2,205 bytes, which is no whole frame; the limit stays on a frame border.
    queue.Configure(11025, kBlock);
    EXPECT_EQ(queue.ThresholdBytes(), 2204u);
    EXPECT_EQ(queue.CapBytes(), 5292u);
}

TEST(AudioJitterQueueTest, WritesNothingUntilFiftyMillisecondsAreQueued) {
    AudioJitterQueue queue;
    queue.Configure(kRate, kBlock);
    EXPECT_EQ(queue.FramesToWrite(1000), 0u);
    queue.Append(Bytes(9596, 0).data(), 9596);
    EXPECT_EQ(queue.FramesToWrite(1000), 0u);
    EXPECT_FALSE(queue.Primed());
    queue.Append(Bytes(4, 0).data(), 4);
    EXPECT_EQ(queue.FramesToWrite(1000), 480u); // rate / 100
    EXPECT_TRUE(queue.Primed());
    EXPECT_EQ(queue.FramesToWrite(100), 100u); // no more than the device has free
    EXPECT_EQ(queue.FramesToWrite(0), 0u);
}

TEST(AudioJitterQueueTest, WritesAtLeastSixtyFourFramesAtLowRates) {
    AudioJitterQueue queue;
    queue.Configure(4000, 2); // 40 frames per 10 ms
    const std::vector<uint8_t> bytes = Bytes(400, 0);
    queue.Append(bytes.data(), bytes.size());
    EXPECT_EQ(queue.FramesToWrite(1000), 64u);
}

TEST(AudioJitterQueueTest, HandsOutBytesInOrder) {
    AudioJitterQueue queue;
    queue.Configure(kRate, kBlock);
    const std::vector<uint8_t> in = Bytes(9600, 3);
    queue.Append(in.data(), in.size());
    ASSERT_EQ(queue.FramesToWrite(4000), 480u);
    std::vector<uint8_t> out(1920);
    queue.Take(out.data(), 480);
    EXPECT_EQ(out, std::vector<uint8_t>(in.begin(), in.begin() + 1920));
    EXPECT_EQ(queue.QueuedBytes(), 9600u - 1920);
    EXPECT_EQ(queue.Underruns(), 0u);
}

TEST(AudioJitterQueueTest, BurstBeyondOneHundredTwentyMillisecondsDropsTheOldest) {
    AudioJitterQueue queue;
    queue.Configure(kRate, kBlock);
    std::vector<uint8_t> all;
    for (int packet = 0; packet < 20; ++packet) { // 200 ms in 10 ms packets
        const std::vector<uint8_t> bytes = Bytes(1920, static_cast<uint8_t>(packet * 37));
        queue.Append(bytes.data(), bytes.size());
        all.insert(all.end(), bytes.begin(), bytes.end());
        ASSERT_LE(queue.QueuedBytes(), queue.CapBytes());
    }
    EXPECT_EQ(queue.QueuedBytes(), 23040u);
    EXPECT_EQ(queue.DroppedBytes(), all.size() - 23040u);
    std::vector<uint8_t> out(23040);
    ASSERT_GT(queue.FramesToWrite(10000), 0u);
    queue.Take(out.data(), 5760);
    EXPECT_EQ(out, std::vector<uint8_t>(all.end() - 23040, all.end()));
    EXPECT_EQ(queue.Underruns(), 0u);

    // One append larger than the whole queue keeps its newest part.
    const std::vector<uint8_t> huge = Bytes(30000, 9);
    queue.Append(huge.data(), huge.size());
    ASSERT_GT(queue.FramesToWrite(10000), 0u);
    queue.Take(out.data(), 5760);
    EXPECT_EQ(out, std::vector<uint8_t>(huge.end() - 23040, huge.end()));
}

TEST(AudioJitterQueueTest, GapPlaysSilenceCountsAnUnderrunAndPrimesAgain) {
    AudioJitterQueue queue;
    queue.Configure(kRate, kBlock);
    const std::vector<uint8_t> in = Bytes(9600, 1);
    queue.Append(in.data(), in.size());
    ASSERT_EQ(queue.FramesToWrite(10000), 480u);
    std::vector<uint8_t> out(2000 * kBlock, 0xEE);
    queue.Take(out.data(), 2000); // 8,000 of the 9,600 bytes
    ASSERT_EQ(queue.FramesToWrite(10000), 480u);
    queue.Take(out.data(), 480); // 1,600 left: 320 bytes of silence follow
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 1600),
              std::vector<uint8_t>(in.begin() + 8000, in.end()));
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 1600, out.begin() + 1920), std::vector<uint8_t>(320, 0));
    EXPECT_EQ(queue.Underruns(), 1u);
    EXPECT_FALSE(queue.Primed());
    queue.Append(in.data(), 9596);
    EXPECT_EQ(queue.FramesToWrite(10000), 0u);
    queue.Append(in.data(), 4);
    EXPECT_EQ(queue.FramesToWrite(10000), 480u);
}

TEST(AudioJitterQueueTest, ClearEmptiesAndPrimesAgain) {
    AudioJitterQueue queue;
    queue.Configure(kRate, kBlock);
    const std::vector<uint8_t> in = Bytes(9600, 1);
    queue.Append(in.data(), in.size());
    ASSERT_GT(queue.FramesToWrite(480), 0u);
    queue.Clear();
    EXPECT_EQ(queue.QueuedBytes(), 0u);
    EXPECT_FALSE(queue.Primed());
    EXPECT_EQ(queue.FramesToWrite(480), 0u);
}

} // namespace
