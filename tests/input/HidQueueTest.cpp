#include <gtest/gtest.h>

#include <vector>

#include "input/HidQueue.h"
#include "input/InputMessages.h"

namespace {

using namespace InputMessage;

std::vector<HidQueueItem> Drain(HidQueue& queue) {
    std::vector<HidQueueItem> items;
    HidQueueItem item;
    while (queue.Pop(item))
        items.push_back(item);
    return items;
}

TEST(HidQueue, MovesCoalesceIntoTheNewestAndKeepTheirPlaceBeforeALaterButton) {
    HidQueue queue;
    HidWorkerCounters counts;
    ASSERT_TRUE(queue.Push(MakeHidMouseItem(kLButtonDown, 1, 1), counts));
    constexpr int kBurst = 40;
    for (int i = 0; i < kBurst; ++i)
        ASSERT_TRUE(queue.Push(MakeHidMouseItem(kMouseMove, 100 + i, 200 + i), counts));
    ASSERT_TRUE(queue.Push(MakeHidMouseItem(kLButtonUp, 9, 9), counts));

    EXPECT_EQ(counts.coalesced, uint64_t(kBurst - 1));
    EXPECT_EQ(counts.enqueued, uint64_t(kBurst + 2));
    EXPECT_EQ(counts.dropped, 0u);
    const std::vector<HidQueueItem> expected = {MakeHidMouseItem(kLButtonDown, 1, 1),
                                                MakeHidMouseItem(kMouseMove, 139, 239),
                                                MakeHidMouseItem(kLButtonUp, 9, 9)};
    EXPECT_EQ(Drain(queue), expected);
}

TEST(HidQueue, APendingMoveIsTakenLastWhenNothingFollowsIt) {
    HidQueue queue;
    HidWorkerCounters counts;
    queue.Push(MakeHidMouseItem(kMouseMove, 1, 2), counts);
    queue.Push(MakeHidMouseItem(kMouseMove, 3, 4), counts);
    EXPECT_EQ(queue.Depth(), 1u);
    const std::vector<HidQueueItem> expected = {MakeHidMouseItem(kMouseMove, 3, 4)};
    EXPECT_EQ(Drain(queue), expected);
    EXPECT_EQ(queue.Depth(), 0u);
}

TEST(HidQueue, AFullQueueRefusesAKeyAndDropsThePendingMoveToo) {
    HidQueue queue;
    HidWorkerCounters counts;
    for (size_t i = 0; i < HidQueue::kCapacity; ++i)
        ASSERT_TRUE(queue.Push(MakeHidKeyItem(kKeyDown, 65), counts)) << i;
    ASSERT_TRUE(queue.Push(MakeHidMouseItem(kMouseMove, 5, 5), counts)) << "a move always takes the slot";
    EXPECT_EQ(queue.Depth(), HidQueue::kCapacity + 1);

    EXPECT_FALSE(queue.Push(MakeHidKeyItem(kKeyUp, 65), counts));
    EXPECT_EQ(counts.dropped, 2u) << "the refused key and the move that could not be flushed";
    EXPECT_EQ(queue.Depth(), HidQueue::kCapacity);
    const std::vector<HidQueueItem> items = Drain(queue);
    ASSERT_EQ(items.size(), HidQueue::kCapacity);
    EXPECT_EQ(items.back(), MakeHidKeyItem(kKeyDown, 65));
}

TEST(HidQueue, AMoveIsNotFlushedIntoTheLastFreePlace) {
    HidQueue queue;
    HidWorkerCounters counts;
    for (size_t i = 0; i < HidQueue::kMoveFlushLimit; ++i)
        queue.Push(MakeHidKeyItem(kKeyDown, 65), counts);
    queue.Push(MakeHidMouseItem(kMouseMove, 5, 5), counts);
    EXPECT_TRUE(queue.Push(MakeHidMouseItem(kLButtonDown, 5, 5), counts)) << "the click itself still fits";
    EXPECT_EQ(counts.dropped, 1u);
    EXPECT_EQ(queue.Depth(), HidQueue::kCapacity);
}

TEST(HidQueue, ClearRemovesItemsAndThePendingMove) {
    HidQueue queue;
    HidWorkerCounters counts;
    queue.Push(MakeHidKeyItem(kKeyDown, 65), counts);
    queue.Push(MakeHidMouseItem(kMouseMove, 5, 5), counts);
    EXPECT_EQ(queue.Clear(), 2u);
    EXPECT_EQ(queue.Depth(), 0u);
    HidQueueItem item;
    EXPECT_FALSE(queue.Pop(item));
}

} // namespace
