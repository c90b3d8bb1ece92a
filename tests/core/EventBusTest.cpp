#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/EventBus.h"

namespace {

std::mutex g_logMutex;
std::vector<std::string> g_log;

void CaptureLog(const char* line) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_log.emplace_back(line);
}

std::vector<std::string> TakeLog() {
    std::lock_guard<std::mutex> lock(g_logMutex);
    std::vector<std::string> out;
    out.swap(g_log);
    return out;
}

class EventBusTest : public ::testing::Test {
protected:
    void SetUp() override { TakeLog(); }
    EventBus bus{&CaptureLog};
};

TslyEvent Event(uint32_t type, std::string text = {}) {
    TslyEvent e;
    e.type = type;
    e.text = std::move(text);
    return e;
}

TEST_F(EventBusTest, EmptyHandlerGivesZeroAndRegistersNothing) {
    EXPECT_EQ(bus.Subscribe(1, EventBus::Handler()), 0u);
    EXPECT_EQ(bus.SubscriptionCount(), 0u);
}

TEST_F(EventBusTest, IdsStartAtOneAndIncrease) {
    EXPECT_EQ(bus.Subscribe(1, [](const TslyEvent&) {}), 1u);
    EXPECT_EQ(bus.Subscribe(2, [](const TslyEvent&) {}), 2u);
    EXPECT_EQ(bus.Subscribe(1, [](const TslyEvent&) {}), 3u);
}

TEST_F(EventBusTest, HandlersOfTheTypeRunInSubscriptionOrderOnThePublishingThread) {
    std::vector<std::string> calls;
    std::thread::id publisher = std::this_thread::get_id();
    for (int i = 0; i < 5; ++i)
        bus.Subscribe(4, [&, i](const TslyEvent& e) {
            EXPECT_EQ(std::this_thread::get_id(), publisher);
            calls.push_back(std::to_string(i) + ":" + e.text);
        });
    bus.Subscribe(5, [&](const TslyEvent&) { calls.push_back("wrong type"); });
    bus.Publish(Event(4, "x"));
    EXPECT_EQ(calls, (std::vector<std::string>{"0:x", "1:x", "2:x", "3:x", "4:x"}));
}

TEST_F(EventBusTest, PublishingWithoutSubscribersDoesNothing) {
    bus.Publish(Event(3, "nobody"));
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(EventBusTest, AllFieldsReachTheHandler) {
    TslyEvent seen;
    bus.Subscribe(2, [&](const TslyEvent& e) { seen = e; });
    TslyEvent e;
    e.type = 2;
    e.id = 2600001;
    e.value1 = -5;
    e.value2 = INT64_MAX;
    e.text = "transfer";
    bus.Publish(e);
    EXPECT_EQ(seen.type, 2u);
    EXPECT_EQ(seen.id, 2600001u);
    EXPECT_EQ(seen.value1, -5);
    EXPECT_EQ(seen.value2, INT64_MAX);
    EXPECT_EQ(seen.text, "transfer");
}

TEST_F(EventBusTest, AHandlerMaySubscribeAndPublishDuringDispatch) {
    std::vector<std::string> calls;
    bool subscribed = false;
    bus.Subscribe(1, [&](const TslyEvent&) {
        calls.push_back("first");
        if (!subscribed) {
            subscribed = true;
            // A handler added now is not called for this event (the list was copied), but for the next.
            bus.Subscribe(1, [&](const TslyEvent&) { calls.push_back("late"); });
            bus.Publish(Event(2)); // nested publish of another type
        }
    });
    bus.Subscribe(2, [&](const TslyEvent&) { calls.push_back("nested"); });
    bus.Publish(Event(1));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "nested"}));
    calls.clear();
    bus.Publish(Event(1));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "late"}));
}

TEST_F(EventBusTest, AThrowingHandlerIsLoggedAndTheOthersStillRun) {
    std::vector<int> calls;
    bus.Subscribe(4, [&](const TslyEvent&) { calls.push_back(1); });
    bus.Subscribe(4, [&](const TslyEvent&) { throw std::runtime_error("boom"); });
    bus.Subscribe(4, [&](const TslyEvent&) { throw 42; }); // not a std::exception
    bus.Subscribe(4, [&](const TslyEvent&) { calls.push_back(4); });
    bus.Publish(Event(4));
    EXPECT_EQ(calls, (std::vector<int>{1, 4}));
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"EventBus handler exception type=4",
                                                   "EventBus handler exception type=4"}));
}

TEST_F(EventBusTest, ConcurrentPublishersAndSubscribers) {
    std::atomic<int> received{0};
    bus.Subscribe(1, [&](const TslyEvent&) { received.fetch_add(1); });
    constexpr int kThreads = 6;
    constexpr int kEach = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                bus.Publish(Event(1));
                if (i % 100 == 0)
                    bus.Subscribe(100 + t, [](const TslyEvent&) {});
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(received.load(), kThreads * kEach);
    EXPECT_EQ(bus.SubscriptionCount(), 1u + kThreads * 5);
}

TEST_F(EventBusTest, PostUiNotificationPublishesTypeFiveWithTitleLineFeedBody) {
    TslyEvent seen;
    int count = 0;
    bus.Subscribe(5, [&](const TslyEvent& e) {
        seen = e;
        ++count;
    });
    PostUiNotificationOn(bus, u"Tessaly", u"Verbunden \u00e9\u4e2d", 0x1, 3000);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(seen.type, 5u);
    EXPECT_EQ(seen.id, 0u);
    EXPECT_EQ(seen.value1, 1);
    EXPECT_EQ(seen.value2, 3000);
    EXPECT_EQ(seen.text, "Tessaly\nVerbunden \xC3\xA9\xE4\xB8\xAD");
}

TEST(EventBusInstance, IsOneObject) {
    EXPECT_EQ(&EventBus::Instance(), &EventBus::Instance());
}

} // namespace
