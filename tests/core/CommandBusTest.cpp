#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/CommandBus.h"
#include "core/CommandBusPayload.h"

namespace {

std::mutex g_logMutex;
std::vector<std::string> g_log;
std::atomic<int> g_backlogCalls{0};

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

void CountBacklog() {
    g_backlogCalls.fetch_add(1);
}

CommandMessage Message(uint32_t type, std::string payload = {}) {
    CommandMessage m;
    m.type = type;
    m.name = CommandTypeName(type);
    m.SetPayloadText(payload);
    return m;
}

class CommandBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        TakeLog();
        g_backlogCalls = 0;
    }
    CommandBus bus{&CaptureLog, &CountBacklog};
};

TEST_F(CommandBusTest, EmptyHandlerGivesZero) {
    EXPECT_EQ(bus.Subscribe(400, CommandBus::Handler()), 0u);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(CommandBusTest, SubscribeLogsIdAndType) {
    EXPECT_EQ(bus.Subscribe(400, [](const CommandMessage&) {}), 1u);
    EXPECT_EQ(bus.Subscribe(500, [](const CommandMessage&) {}), 2u);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"CommandBus Subscribe id=1 type=400",
                                                   "CommandBus Subscribe id=2 type=500"}));
}

TEST_F(CommandBusTest, PublishNeverCallsAHandlerDrainDoesInQueueOrder) {
    std::vector<std::string> seen;
    bus.Subscribe(403, [&](const CommandMessage& m) { seen.push_back(m.PayloadText()); });
    bus.Publish(Message(403, "a"));
    bus.Publish(Message(403, "b"));
    bus.Publish(Message(401, "other type"));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(bus.QueuedCount(), 3u);
    EXPECT_EQ(bus.Drain(), 3u);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(bus.Drain(), 0u);
}

TEST_F(CommandBusTest, UnsubscribeStopsDeliveryAndIdZeroIsIgnored) {
    int calls = 0;
    uint64_t id = bus.Subscribe(402, [&](const CommandMessage&) { ++calls; });
    bus.Unsubscribe(0);
    bus.Publish(Message(402));
    bus.Drain();
    bus.Unsubscribe(id);
    bus.Publish(Message(402));
    bus.Drain();
    EXPECT_EQ(calls, 1);
}

TEST_F(CommandBusTest, ThreeHundredCommandsDrain128Then128Then44AndTheBacklogRaisesTheNotice) {
    int calls = 0;
    bus.Subscribe(403, [&](const CommandMessage&) { ++calls; });
    for (int i = 0; i < 300; ++i)
        bus.Publish(Message(403));
    EXPECT_EQ(bus.Drain(), 128u);
    EXPECT_EQ(bus.QueuedCount(), 172u);
    EXPECT_EQ(g_backlogCalls.load(), 1);
    EXPECT_EQ(bus.Drain(), 128u);
    EXPECT_EQ(bus.QueuedCount(), 44u);
    EXPECT_EQ(g_backlogCalls.load(), 2);
    EXPECT_EQ(bus.Drain(), 44u);
    EXPECT_EQ(bus.QueuedCount(), 0u);
    EXPECT_EQ(g_backlogCalls.load(), 2) << "an emptied queue raises nothing";
    EXPECT_EQ(calls, 300);
}

TEST_F(CommandBusTest, ExactlyOneDrainfulRaisesNoBacklog) {
    for (int i = 0; i < 128; ++i)
        bus.Publish(Message(401));
    EXPECT_EQ(bus.Drain(), 128u);
    EXPECT_EQ(g_backlogCalls.load(), 0);
}

TEST_F(CommandBusTest, SequenceStartsAtOneAndTimestampIsKeptWhenGiven) {
    CommandMessage stamped = Message(404);
    stamped.timestampMs = 12345;
    EXPECT_EQ(bus.Publish(Message(400)), 1u);
    EXPECT_EQ(bus.Publish(stamped), 2u);
    std::vector<CommandMessage> seen;
    bus.Subscribe(400, [&](const CommandMessage& m) { seen.push_back(m); });
    bus.Subscribe(404, [&](const CommandMessage& m) { seen.push_back(m); });
    bus.Drain();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].sequence, 1u);
    EXPECT_NE(seen[0].timestampMs, 0u);
    EXPECT_LE(seen[0].timestampMs, CommandBusSteadyMs());
    EXPECT_EQ(seen[1].sequence, 2u);
    EXPECT_EQ(seen[1].timestampMs, 12345u);
    EXPECT_EQ(seen[1].name, "file.error");
}

TEST_F(CommandBusTest, AThrowingHandlerIsLoggedAndTheOthersStillRun) {
    std::vector<int> calls;
    bus.Subscribe(404, [&](const CommandMessage&) { calls.push_back(1); });
    bus.Subscribe(404, [&](const CommandMessage&) { throw std::runtime_error("x"); });
    bus.Subscribe(404, [&](const CommandMessage&) { calls.push_back(3); });
    TakeLog();
    bus.Publish(Message(404));
    bus.Publish(Message(404));
    EXPECT_EQ(bus.Drain(), 2u);
    EXPECT_EQ(calls, (std::vector<int>{1, 3, 1, 3}));
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"CommandBus handler exception type=404 seq=1",
                                                   "CommandBus handler exception type=404 seq=2"}));
}

TEST_F(CommandBusTest, AHandlerMayPublishSubscribeAndUnsubscribeDuringDrain) {
    std::vector<std::string> seen;
    uint64_t self = 0;
    self = bus.Subscribe(400, [&](const CommandMessage& m) {
        seen.push_back("begin:" + m.PayloadText());
        bus.Publish(Message(403, "from handler"));
        bus.Subscribe(403, [&](const CommandMessage& p) { seen.push_back("progress:" + p.PayloadText()); });
        bus.Unsubscribe(self);
    });
    bus.Publish(Message(400, "one"));
    bus.Publish(Message(400, "two"));
    EXPECT_EQ(bus.Drain(), 3u);
    EXPECT_EQ(seen, (std::vector<std::string>{"begin:one", "progress:from handler"}));
}

TEST_F(CommandBusTest, QueueOrderEqualsSequenceOrderAcrossPublishers) {
    constexpr int kThreads = 8;
    constexpr int kEach = 400;
    std::vector<std::thread> threads;
    std::vector<std::vector<uint64_t>> returned(kThreads);
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                CommandMessage m = Message(403, std::to_string(t) + ":" + std::to_string(i));
                m.correlationId = static_cast<uint64_t>(t);
                returned[t].push_back(bus.Publish(std::move(m)));
            }
        });
    // Drain on this thread while they publish (the UI thread's role).
    std::vector<CommandMessage> seen;
    bus.Subscribe(403, [&](const CommandMessage& m) { seen.push_back(m); });
    while (seen.size() < static_cast<size_t>(kThreads * kEach))
        if (bus.Drain() == 0)
            std::this_thread::yield();
    for (auto& thread : threads)
        thread.join();
    bus.Drain();
    ASSERT_EQ(seen.size(), static_cast<size_t>(kThreads * kEach));
    for (size_t i = 0; i < seen.size(); ++i)
        ASSERT_EQ(seen[i].sequence, i + 1) << "queue order is sequence order";
    std::map<uint64_t, int> next;
    for (const CommandMessage& m : seen) {
        int t = static_cast<int>(m.correlationId);
        EXPECT_EQ(m.PayloadText(), std::to_string(t) + ":" + std::to_string(next[t]++))
            << "per-thread order kept";
    }
    for (int t = 0; t < kThreads; ++t)
        EXPECT_TRUE(std::is_sorted(returned[t].begin(), returned[t].end()));
}

TEST_F(CommandBusTest, TypeNames) {
    EXPECT_STREQ(CommandTypeName(400), "file.http.begin");
    EXPECT_STREQ(CommandTypeName(401), "file.cancel");
    EXPECT_STREQ(CommandTypeName(402), "file.done");
    EXPECT_STREQ(CommandTypeName(403), "file.progress");
    EXPECT_STREQ(CommandTypeName(404), "file.error");
    EXPECT_STREQ(CommandTypeName(500), "runtime.state.changed");
    EXPECT_STREQ(CommandTypeName(405), "");
}

TEST(CommandPayload, EscapingOfBackslashLineFeedAndCarriageReturn) {
    EXPECT_EQ(EscapeCommandValue("a\\b\nc\rd"), "a\\\\b\\nc\\rd");
    EXPECT_EQ(EscapeCommandValue(""), "");
    EXPECT_EQ(EscapeCommandValue(std::string("x\0y\t", 4)), std::string("x\0y\t", 4)) << "other bytes copied";
    EXPECT_EQ(UnescapeCommandValue("a\\\\b\\nc\\rd"), "a\\b\nc\rd");
    EXPECT_EQ(UnescapeCommandValue("\\t\\"), "\\t\\") << "unknown escape and a lone backslash stay";
}

TEST(CommandPayload, RoundTripOfAwkwardTexts) {
    for (std::string text :
         {std::string("plain"), std::string("\\"), std::string("\\n"), std::string("\n\r\n"),
          std::string("\\\\\\"), std::string("C:\\new\\rates\\"), std::string("\xE4\xB8\xAD\n")}) {
        std::string escaped = EscapeCommandValue(text);
        EXPECT_EQ(escaped.find('\n'), std::string::npos);
        EXPECT_EQ(escaped.find('\r'), std::string::npos);
        EXPECT_EQ(UnescapeCommandValue(escaped), text);
    }
}

TEST(CommandPayload, FindValueTakesTheFirstKeyLineAndCutsACarriageReturn) {
    std::string payload = "transferId=7\r\nmessage=a\\nb\nmessageX=no\nmessage=second\n";
    std::string value;
    ASSERT_TRUE(FindCommandPayloadValue(payload, "transferId", value));
    EXPECT_EQ(value, "7");
    ASSERT_TRUE(FindCommandPayloadValue(payload, "message", value));
    EXPECT_EQ(UnescapeCommandValue(value), "a\nb");
    EXPECT_FALSE(FindCommandPayloadValue(payload, "missing", value));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(FindCommandPayloadValue("message=\n", "message", value));
    EXPECT_EQ(value, "");
    ASSERT_TRUE(FindCommandPayloadValue("mode=http_manifest\nconflict=rename", "conflict", value));
    EXPECT_EQ(value, "rename");
}

TEST(CommandPayload, RuntimeStateChangedCommand) {
    EXPECT_EQ(FormatRuntimeStatePayload(5, 1), "program=5 role=1");
    CommandMessage m = MakeRuntimeStateChangedCommand(-3, 2);
    EXPECT_EQ(m.type, 500u);
    EXPECT_EQ(m.correlationId, 0u);
    EXPECT_EQ(m.sequence, 0u);
    EXPECT_EQ(m.name, "runtime.state.changed");
    EXPECT_EQ(m.PayloadText(), "program=-3 role=2");
}

TEST(CommandBusInstance, IsOneObject) {
    EXPECT_EQ(&CommandBus::Instance(), &CommandBus::Instance());
}

} // namespace
