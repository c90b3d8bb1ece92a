#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "media/TileWorkerPool.h"

namespace {

using namespace std::chrono_literals;

// Holds each arriving job until all four have arrived (or a bounded wait ends), which proves the four run
// at the same time on four threads.
class Rendezvous {
public:
    bool Arrive() {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_arrived;
        m_changed.notify_all();
        return m_changed.wait_for(lock, 5s, [this] { return m_arrived >= TileWorkerPool::kWorkers; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_arrived = 0;
};

TEST(TileWorkerPoolTest, EveryRoundRunsEachTileOnceOnFourThreadsAtOnce) {
    TileWorkerPool pool;
    ASSERT_TRUE(pool.Running());
    for (int round = 0; round < 50; ++round) {
        Rendezvous rendezvous;
        std::array<std::atomic<int>, 4> calls{};
        std::array<std::thread::id, 4> threads{};
        std::atomic<int> met{0};
        ASSERT_TRUE(pool.RunAndWait([&](uint64_t tile) {
            ASSERT_LT(tile, 4u);
            threads[tile] = std::this_thread::get_id();
            met += rendezvous.Arrive() ? 1 : 0;
            ++calls[tile];
        }));
        // Every call has returned by the time RunAndWait does.
        for (size_t i = 0; i < 4; ++i)
            EXPECT_EQ(calls[i].load(), 1) << "round " << round << " tile " << i;
        EXPECT_EQ(met.load(), 4) << "round " << round;
        EXPECT_EQ(std::set<std::thread::id>(threads.begin(), threads.end()).size(), 4u);
        EXPECT_EQ(std::count(threads.begin(), threads.end(), std::this_thread::get_id()), 0);
    }
}

TEST(TileWorkerPoolTest, AfterStopNothingRuns) {
    TileWorkerPool pool;
    pool.Stop();
    pool.Stop();
    EXPECT_FALSE(pool.Running());
    std::atomic<int> calls{0};
    EXPECT_FALSE(pool.RunAndWait([&](uint64_t) { ++calls; }));
    EXPECT_EQ(calls.load(), 0);
}

TEST(TileWorkerPoolTest, AWorkerThatCannotStartLeavesThePoolRefusingJobs) {
    std::atomic<int> launched{0};
    TileWorkerPool pool([&](std::function<void()> work) {
        if (++launched == 3)
            throw std::runtime_error("no thread");
        return std::thread(std::move(work));
    });
    EXPECT_EQ(launched.load(), 3);
    EXPECT_FALSE(pool.Running());
    std::atomic<int> calls{0};
    EXPECT_FALSE(pool.RunAndWait([&](uint64_t) { ++calls; }));
    EXPECT_EQ(calls.load(), 0);
}

TEST(TileWorkerPoolTest, EveryWorkerStartsThroughTheLauncher) {
    std::atomic<int> launched{0};
    TileWorkerPool pool([&](std::function<void()> work) {
        ++launched;
        return std::thread(std::move(work));
    });
    EXPECT_TRUE(pool.Running());
    EXPECT_EQ(launched.load(), 4);
}

TEST(TileWorkerPoolTest, AThrowingTileFailsTheRoundButTheOthersFinishAndThePoolGoesOn) {
    TileWorkerPool pool;
    std::array<std::atomic<int>, 4> calls{};
    EXPECT_FALSE(pool.RunAndWait([&](uint64_t tile) {
        ++calls[tile];
        if (tile == 2)
            throw std::runtime_error("tile 2");
    }));
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(calls[i].load(), 1);
    EXPECT_TRUE(pool.RunAndWait([&](uint64_t tile) { ++calls[tile]; }));
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(calls[i].load(), 2);
}

TEST(TileWorkerPoolTest, CallersOnTwoThreadsTakeTurns) {
    TileWorkerPool pool;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> total{0};
    auto caller = [&](int owner) {
        for (int round = 0; round < 40; ++round) {
            std::array<int, 4> mine{}; // written by the jobs of this round only
            ASSERT_TRUE(pool.RunAndWait([&](uint64_t tile) {
                if (++inside > 4)
                    ++overlaps;
                mine[tile] = owner;
                ++total;
                --inside;
            }));
            for (int value : mine)
                EXPECT_EQ(value, owner);
        }
    };
    std::thread a(caller, 1);
    std::thread b(caller, 2);
    a.join();
    b.join();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(total.load(), 2 * 40 * 4);
}

} // namespace
