#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "media/RemoteViewFrameQueue.h"

namespace {

using namespace std::chrono_literals;

RemoteViewFrame Bgra(int32_t width, int32_t height, uint8_t fill) {
    RemoteViewFrame frame;
    frame.pixelFormat = kRemoteViewPixelBGRA;
    frame.width = frame.sourceWidth = width;
    frame.height = frame.sourceHeight = height;
    frame.stride = width * 4;
    frame.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, fill);
    return frame;
}

TEST(RemoteViewFrameQueueTest, OnlyTheNewestPictureWaitsAndIsHandedOverWithoutACopy) {
    RemoteViewFrameQueue queue;
    queue.Open();
    ASSERT_TRUE(queue.PushNewest(Bgra(4, 2, 1)));
    RemoteViewFrame second = Bgra(6, 4, 2);
    second.sourceWidth = 5;
    second.sourceHeight = 3;
    const uint8_t* secondPixels = second.pixels.data();
    ASSERT_TRUE(queue.PushNewest(std::move(second)));

    RemoteViewFrame out = Bgra(1, 1, 9); // the caller's old record is replaced
    ASSERT_TRUE(queue.Pop(out));
    EXPECT_EQ(out.kind, kRemoteViewFramePicture);
    EXPECT_EQ(out.pixelFormat, kRemoteViewPixelBGRA);
    EXPECT_EQ(out.sequence, 2u) << "one above the replaced picture";
    EXPECT_EQ(out.width, 6);
    EXPECT_EQ(out.height, 4);
    EXPECT_EQ(out.sourceWidth, 5);
    EXPECT_EQ(out.sourceHeight, 3);
    EXPECT_EQ(out.stride, 24);
    EXPECT_EQ(out.reserved, 0u);
    EXPECT_EQ(out.pixels.data(), secondPixels);
    EXPECT_EQ(out.pixels, std::vector<uint8_t>(6 * 4 * 4, 2));

    // The replaced picture is gone: nothing else waits.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(queue.Pop(out));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 95ms) << "an open, empty queue waits about 100 ms";
}

TEST(RemoteViewFrameQueueTest, BlackRequestReplacesAWaitingPicture) {
    RemoteViewFrameQueue queue;
    queue.Open();
    ASSERT_TRUE(queue.PushNewest(Bgra(8, 8, 7)));
    ASSERT_TRUE(queue.PushNewest(RemoteViewBlackRequest()));
    RemoteViewFrame out;
    ASSERT_TRUE(queue.Pop(out));
    EXPECT_EQ(out.kind, kRemoteViewFrameBlackRequest);
    EXPECT_TRUE(out.pixels.empty());
    EXPECT_EQ(out.width, 0);
    EXPECT_EQ(out.height, 0);
    EXPECT_EQ(out.sequence, 2u);
}

TEST(RemoteViewFrameQueueTest, ClosedQueueRefusesPushesAndPopsNothing) {
    RemoteViewFrameQueue queue;
    EXPECT_FALSE(queue.PushNewest(Bgra(2, 2, 1))) << "closed before the first open";
    queue.Open();
    ASSERT_TRUE(queue.PushNewest(Bgra(2, 2, 1)));
    queue.Stop();
    EXPECT_FALSE(queue.PushNewest(Bgra(2, 2, 1)));
    RemoteViewFrame out;
    EXPECT_FALSE(queue.Pop(out)) << "Stop emptied the queue";
}

TEST(RemoteViewFrameQueueTest, SequenceStartsAtOneAfterEachOpen) {
    RemoteViewFrameQueue queue;
    queue.Open();
    RemoteViewFrame out;
    ASSERT_TRUE(queue.PushNewest(Bgra(2, 2, 1)));
    ASSERT_TRUE(queue.PushNewest(Bgra(2, 2, 1)));
    ASSERT_TRUE(queue.PushNewest(Bgra(2, 2, 1)));
    ASSERT_TRUE(queue.Pop(out));
    EXPECT_EQ(out.sequence, 3u);
    queue.Stop();
    queue.Open();
    ASSERT_TRUE(queue.PushNewest(Bgra(2, 2, 1)));
    ASSERT_TRUE(queue.Pop(out));
    EXPECT_EQ(out.sequence, 1u);
}

struct StorageCase {
    const char* name;
    int32_t width, height;
    size_t capacityAfterStop;
};

class RemoteViewFrameStorageTest : public ::testing::TestWithParam<StorageCase> {};

// A waiting picture above 32 MiB makes the next Compact release the array; a smaller one leaves it for
// reuse.
TEST_P(RemoteViewFrameStorageTest, CompactReleasesOnlyAfterALargeBuffer) {
    const StorageCase& c = GetParam();
    RemoteViewFrameQueue queue;
    queue.Open();
    ASSERT_TRUE(queue.PushNewest(Bgra(c.width, c.height, 0)));
    EXPECT_EQ(queue.StorageCapacity(), 1u);
    queue.Stop();
    EXPECT_EQ(queue.StorageCapacity(), c.capacityAfterStop);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RemoteViewFrameStorageTest,
                         ::testing::Values(StorageCase{"Uhd5K", 5120, 2880, 0}, // 58,982,400 bytes
                                           StorageCase{"Uhd4K", 3840, 2160, 1}, // 33,177,600 bytes
                                           StorageCase{"FullHd", 1920, 1080, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// The replaced large picture also releases the storage when the next picture arrives, so the array that
// held it does not outlive a resolution drop.
TEST(RemoteViewFrameQueueTest, ReplacingALargePictureReleasesItsStorage) {
    RemoteViewFrameQueue queue;
    queue.Open();
    ASSERT_TRUE(queue.PushNewest(Bgra(5120, 2880, 0)));
    ASSERT_TRUE(queue.PushNewest(Bgra(2, 2, 0)));
    queue.Stop();
    EXPECT_EQ(queue.StorageCapacity(), 1u) << "the small picture's array is kept for reuse";
}

// One producer pushes numbered pictures as fast as it can; one consumer takes what it gets. Every picture
// taken is whole, newer than the last one taken, and the last one pushed is always delivered.
TEST(RemoteViewFrameQueueTest, ConcurrentProducerAndConsumer) {
    constexpr uint32_t kFrames = 3000;
    RemoteViewFrameQueue queue;
    queue.Open();
    std::atomic<bool> ok{true};
    std::atomic<uint64_t> lastSeen{0};
    std::thread consumer([&] {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        RemoteViewFrame frame;
        while (lastSeen.load() < kFrames && std::chrono::steady_clock::now() < deadline) {
            if (!queue.Pop(frame))
                continue;
            uint32_t head = 0;
            uint32_t tail = 0;
            std::memcpy(&head, frame.pixels.data(), sizeof head);
            std::memcpy(&tail, frame.pixels.data() + frame.pixels.size() - sizeof tail, sizeof tail);
            if (frame.sequence <= lastSeen.load() || head != frame.sequence || tail != frame.sequence)
                ok = false;
            lastSeen = frame.sequence;
        }
    });
    for (uint32_t i = 1; i <= kFrames; ++i) {
        RemoteViewFrame frame = Bgra(8, 8, 0);
        std::memcpy(frame.pixels.data(), &i, sizeof i);
        std::memcpy(frame.pixels.data() + frame.pixels.size() - sizeof i, &i, sizeof i);
        if (!queue.PushNewest(std::move(frame)))
            ok = false;
        if (i % 256 == 0)
            std::this_thread::yield();
    }
    consumer.join();
    queue.Stop();
    EXPECT_TRUE(ok.load());
    EXPECT_EQ(lastSeen.load(), kFrames);
}

} // namespace
