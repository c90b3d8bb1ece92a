#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

#include "core/Log.h"
#include "core/ThreadHelpers.h"
#include "support/TestLog.h"
#include "transfer/DroppedFilesOffer.h"
#include "transfer/PendingOfferFlush.h"
#include "transfer/PendingOfferQueue.h"

namespace {

using Paths = std::vector<std::u16string>;

class ScriptedChannel final : public IDroppedFilesChannel {
public:
    bool running = true, connected = true;
    std::vector<bool> accepts; // per send, in order; past the end: accepted
    std::function<void()> duringSend;
    std::vector<Paths> sent;
    std::vector<std::string> busy;

    bool IsClipboardRunning() override { return running; }
    bool IsClipboardConnected() override { return connected; }
    bool SendDroppedFiles(const Paths& paths) override {
        const size_t index = sent.size();
        sent.push_back(paths);
        if (duringSend)
            duringSend();
        return index >= accepts.size() || accepts[index];
    }
    void SetFileTransferBusy(bool value) override { busy.push_back(value ? "busy=1" : "busy=0"); }
};

Paths List(char16_t tag) {
    return Paths{std::u16string(u"C:\\") + tag};
}

// Workers are held here instead of started, so a test decides when (and whether) each one runs.
class PendingOfferFlushTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
        queue.SetAppendObserver([this] { flush.Wake(); });
    }
    void TearDown() override { Log::Close(); }

    void RunWorkers() {
        while (!workers.empty()) {
            auto body = std::move(workers.front());
            workers.erase(workers.begin());
            body();
        }
    }
    std::vector<char16_t> SentTags() const {
        std::vector<char16_t> tags;
        for (const Paths& paths : channel.sent)
            tags.push_back(paths.front().back());
        return tags;
    }

    PendingOfferQueue queue;
    ScriptedChannel channel;
    std::vector<std::function<void()>> workers;
    int starts = 0;
    std::vector<uint32_t> sleeps;
    bool canStart = true;
    PendingOfferFlush flush{queue, channel,
                            [this](std::function<void()> body) {
                                ++starts;
                                if (canStart)
                                    workers.push_back(std::move(body));
                                return canStart;
                            },
                            [this](uint32_t ms) { sleeps.push_back(ms); }};
};

TEST_F(PendingOfferFlushTest, NineOffersWhileDownLeaveEightThatGoInOrderOnConnect) {
    channel.connected = false;
    for (char16_t tag = u'1'; tag <= u'9'; ++tag)
        OfferDroppedFiles(List(tag), channel, queue);
    EXPECT_EQ(queue.Depth(), 8u);
    EXPECT_EQ(CountLogMessages("[TRANSFER][PENDING][DROP] count=1 reason=queue-full"), 1u);
    EXPECT_EQ(starts, 0) << "nothing to flush into while the channel is down";

    channel.connected = true;
    flush.OnConnected("client-connected");
    flush.OnConnected("host-accepted"); // a second connection notice while the first flush waits to run
    EXPECT_EQ(starts, 1) << "one flush worker at a time";
    RunWorkers();

    EXPECT_EQ(SentTags(), (std::vector<char16_t>{u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9'}));
    EXPECT_EQ(sleeps, std::vector<uint32_t>(8, PendingOfferFlush::kPauseMs));
    EXPECT_EQ(queue.Depth(), 0u);
    EXPECT_FALSE(flush.IsRunning());
    EXPECT_EQ(CountLogMessages(
                  "[TRANSFER][PENDING][CONNECT] reason=client-connected clipRunning=1 clipConnected=1"),
              1u);
    EXPECT_EQ(CountLogMessages("[TRANSFER][PENDING][FLUSH][SEND] count=1 ok=1"), 8u);
}

TEST_F(PendingOfferFlushTest, LostConnectionPutsTheListBackAndTheNextConnectionSendsIt) {
    queue.Requeue(List(u'a'), "clipboard-not-connected");
    queue.Requeue(List(u'b'), "clipboard-not-connected");
    flush.OnConnected("client-connected");
    channel.connected = false; // gone before the worker runs
    RunWorkers();

    EXPECT_TRUE(channel.sent.empty());
    EXPECT_EQ(queue.Depth(), 2u);
    EXPECT_EQ(CountLogMessages("reason=flush-lost-connection"), 1u);
    EXPECT_FALSE(flush.IsRunning());

    channel.connected = true;
    flush.OnConnected("client-connected");
    RunWorkers();
    EXPECT_EQ(SentTags(), (std::vector<char16_t>{u'b', u'a'})) << "the put-back list goes to the end";
}

TEST_F(PendingOfferFlushTest, RefusedSendIsPutBackAndTheWorkerDoesNotSpinOnIt) {
    queue.Requeue(List(u'a'), "clipboard-not-connected");
    channel.accepts = {false};
    flush.OnConnected("host-accepted");
    RunWorkers();

    EXPECT_EQ(starts, 1);
    EXPECT_EQ(queue.Depth(), 1u);
    EXPECT_EQ(channel.busy, (std::vector<std::string>{"busy=1", "busy=0"}));
    EXPECT_EQ(CountLogMessages("[TRANSFER][PENDING][QUEUE] count=1 depth=1 reason=flush-send-failed"), 1u);
    EXPECT_FALSE(flush.IsRunning());
}

TEST_F(PendingOfferFlushTest, OfferQueuedWhileConnectedStartsAFlush) {
    channel.accepts = {false}; // the direct offer is refused, so it is queued while the channel is up
    OfferDroppedFiles(List(u'a'), channel, queue);
    EXPECT_EQ(starts, 1) << "waiting for the next connection would lose the wake-up";
    RunWorkers();
    EXPECT_EQ(SentTags(), (std::vector<char16_t>{u'a', u'a'}));
    EXPECT_EQ(queue.Depth(), 0u);
}

TEST_F(PendingOfferFlushTest, OfferQueuedWhileAWorkerEndsIsSentByThatWorker) {
    queue.Requeue(List(u'a'), "clipboard-not-connected");
    channel.accepts = {false};
    // While the worker's send of "a" fails, the user drops "b": its wake finds the worker running.
    channel.duringSend = [this] {
        channel.duringSend = nullptr;
        queue.Append(List(u'b'), "clipboard-service-rejected");
    };
    flush.OnConnected("client-connected");
    RunWorkers();

    EXPECT_EQ(starts, 1) << "no second worker";
    EXPECT_EQ(SentTags(), (std::vector<char16_t>{u'a', u'b', u'a'}))
        << "the worker looked again before ending";
    EXPECT_EQ(queue.Depth(), 0u);
    EXPECT_FALSE(flush.IsRunning());
}

TEST_F(PendingOfferFlushTest, WorkerThatCannotStartLeavesTheFlagFree) {
    queue.Requeue(List(u'a'), "clipboard-not-connected");
    canStart = false;
    flush.OnConnected("client-connected");
    EXPECT_FALSE(flush.IsRunning());
    EXPECT_EQ(CountLogMessages("[TRANSFER][PENDING][FLUSH][FAIL] worker start failed depth=1"), 1u);
    canStart = true;
    flush.OnConnected("client-connected");
    RunWorkers();
    EXPECT_EQ(SentTags(), (std::vector<char16_t>{u'a'}));
}

} // namespace
