#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "support/LoggedTest.h"
#include "support/TestLog.h"
#include "transfer/DroppedFilesChannel.h"
#include "transfer/DroppedFilesOffer.h"
#include "transfer/PendingOfferQueue.h"

namespace {

using Paths = std::vector<std::u16string>;

// Records what the offer does with the channel, in order, beside the log.
class RecordingChannel final : public IDroppedFilesChannel {
public:
    bool running = true, connected = true, accepts = true;
    std::vector<std::string> calls;
    std::vector<Paths> sent;

    bool IsClipboardRunning() override { return running; }
    bool IsClipboardConnected() override { return connected; }
    bool SendDroppedFiles(const Paths& paths) override {
        calls.push_back("send");
        sent.push_back(paths);
        return accepts;
    }
    void SetFileTransferBusy(bool busy) override { calls.push_back(busy ? "busy=1" : "busy=0"); }
};

std::vector<std::string> Log() {
    return TestLog().Messages();
}

struct OfferCase {
    const char* name;
    bool running, connected, accepts;
    std::vector<std::string> calls;
    size_t pendingDepth;
    std::vector<std::string> log;
};

class OfferDroppedFilesTest : public LoggedTest, public ::testing::WithParamInterface<OfferCase> {};

TEST_P(OfferDroppedFilesTest, Outcome) {
    const OfferCase& c = GetParam();
    RecordingChannel channel;
    channel.running = c.running;
    channel.connected = c.connected;
    channel.accepts = c.accepts;
    PendingOfferQueue pending;
    const Paths paths{u"C:\\a.txt", u"C:\\b.txt"};

    OfferDroppedFiles(paths, channel, pending);

    EXPECT_EQ(channel.calls, c.calls);
    ASSERT_EQ(pending.Depth(), c.pendingDepth);
    if (c.pendingDepth == 1)
        EXPECT_EQ(pending.TakeAll().front(), paths) << "the queued list is the dropped one";
    EXPECT_EQ(Log(), c.log);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OfferDroppedFilesTest,
    ::testing::Values(
        OfferCase{"Accepted",
                  true,
                  true,
                  true,
                  {"busy=1", "send"},
                  0,
                  {"[TRANSFER][OFFER] dropped-files count=2 clipRunning=1 clipConnected=1",
                   "[TRANSFER][OFFER][QUEUED] dropped-files count=2"}},
        OfferCase{"Rejected",
                  true,
                  true,
                  false,
                  {"busy=1", "send", "busy=0"},
                  1,
                  {"[TRANSFER][OFFER] dropped-files count=2 clipRunning=1 clipConnected=1",
                   "[TRANSFER][PENDING][QUEUE] count=2 depth=1 reason=clipboard-service-rejected",
                   "[TRANSFER][OFFER][PENDING] clipboard service rejected; queued count=2"}},
        OfferCase{"NotRunning",
                  false,
                  true,
                  true,
                  {"busy=1", "busy=0"},
                  1,
                  {"[TRANSFER][OFFER] dropped-files count=2 clipRunning=0 clipConnected=0",
                   "[TRANSFER][PENDING][QUEUE] count=2 depth=1 reason=clipboard-not-running",
                   "[TRANSFER][OFFER][PENDING] dropped-files count=2 clipRunning=0 clipConnected=0"}},
        OfferCase{"NotConnected",
                  true,
                  false,
                  true,
                  {"busy=1", "busy=0"},
                  1,
                  {"[TRANSFER][OFFER] dropped-files count=2 clipRunning=1 clipConnected=0",
                   "[TRANSFER][PENDING][QUEUE] count=2 depth=1 reason=clipboard-not-connected",
                   "[TRANSFER][OFFER][PENDING] dropped-files count=2 clipRunning=1 clipConnected=0"}}),
    [](const ::testing::TestParamInfo<OfferCase>& info) { return std::string(info.param.name); });

using PendingOfferQueueTest = LoggedTest;

TEST_F(PendingOfferQueueTest, NinthListPushesOutTheOldestAndDepthStaysAtEight) {
    PendingOfferQueue queue;
    for (int i = 1; i <= 9; ++i)
        queue.Append(Paths(static_cast<size_t>(i), std::u16string(1, static_cast<char16_t>(u'0' + i))),
                     "clipboard-not-running");
    const auto taken = queue.TakeAll();
    ASSERT_EQ(taken.size(), 8u);
    EXPECT_EQ(taken.front().front(), u"2") << "list 1 was dropped";
    EXPECT_EQ(taken.back().front(), u"9");
    EXPECT_EQ(taken.back().size(), 9u);
    EXPECT_EQ(queue.Depth(), 0u) << "TakeAll empties the queue";
    const auto log = Log();
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(log[7], "[TRANSFER][PENDING][QUEUE] count=8 depth=8 reason=clipboard-not-running");
    EXPECT_EQ(log[8], "[TRANSFER][PENDING][DROP] count=1 reason=queue-full max=8")
        << "the loss is never silent";
    EXPECT_EQ(log[9], "[TRANSFER][PENDING][QUEUE] count=9 depth=8 reason=clipboard-not-running");
}

struct GateCase {
    const char* name;
    size_t count;
    bool clipboard, active, ok;
    const char* line; // nullptr: nothing logged
};

class DroppedFilesGateTest : public LoggedTest, public ::testing::WithParamInterface<GateCase> {};

TEST_P(DroppedFilesGateTest, ChecksInOrder) {
    const GateCase& c = GetParam();
    EXPECT_EQ(DroppedFilesMayBeOffered(c.count, c.clipboard, c.active), c.ok);
    if (c.line == nullptr)
        EXPECT_TRUE(Log().empty());
    else
        EXPECT_EQ(Log(), std::vector<std::string>{c.line});
}

INSTANTIATE_TEST_SUITE_P(
    Table, DroppedFilesGateTest,
    ::testing::Values(GateCase{"MayGo", 2, true, true, true, nullptr},
                      GateCase{"EmptyFirst", 0, false, false, false,
                               "[TRANSFER][OFFER][FAIL] empty path list"},
                      GateCase{"ClipboardOffBeforeControl", 2, false, false, false,
                               "[TRANSFER][OFFER][FAIL] file control channel disabled"},
                      GateCase{"NotControlling", 2, true, false, false,
                               "[TRANSFER][OFFER][FAIL] remote input/control path not ready count=2"}),
    [](const ::testing::TestParamInfo<GateCase>& info) { return std::string(info.param.name); });

} // namespace
