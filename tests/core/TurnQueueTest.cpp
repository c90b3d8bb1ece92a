#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <mutex>
#include <thread>
#include <vector>

#include "core/TurnQueue.h"

namespace {

TEST(TurnQueueTest, WorkRunsInTicketOrderWhateverTheThreadsDo) {
    TurnQueue queue;
    std::mutex orderMutex;
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    const uint64_t first = queue.Take(), second = queue.Take(), third = queue.Take();
    auto work = [&](uint64_t ticket, int id) {
        ScopedTurn turn(queue, ticket);
        if (running.fetch_add(1) != 0)
            overlapped = true;
        {
            std::lock_guard<std::mutex> lock(orderMutex);
            order.push_back(id);
        }
        std::this_thread::yield();
        running.fetch_sub(1);
    };
    // Started last to first: each must still wait for the tickets before it.
    std::thread c(work, third, 3);
    std::thread b(work, second, 2);
    std::thread a(work, first, 1);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(overlapped);
}

TEST(TurnQueueTest, ATicketFinishedWithoutRunningDoesNotBlockTheNext) {
    TurnQueue queue;
    const uint64_t running = queue.Take(), neverStarted = queue.Take(), last = queue.Take();
    queue.Wait(running);
    queue.Finish(neverStarted); // its thread could not be created, while the first still runs
    std::atomic<bool> lastRan{false};
    std::thread t([&] {
        ScopedTurn turn(queue, last);
        lastRan = true;
    });
    queue.Finish(running);
    t.join();
    EXPECT_TRUE(lastRan);
}

TEST(TurnQueueTest, ThrowingWorkPassesTheTurnOn) {
    TurnQueue queue;
    const uint64_t first = queue.Take(), second = queue.Take();
    try {
        ScopedTurn turn(queue, first);
        throw std::runtime_error("stop failed");
    } catch (const std::runtime_error&) {
    }
    auto next = std::async(std::launch::async, [&] { ScopedTurn turn(queue, second); });
    EXPECT_EQ(next.wait_for(std::chrono::seconds(5)), std::future_status::ready);
}

} // namespace
