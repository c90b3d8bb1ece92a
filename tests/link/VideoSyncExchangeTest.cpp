// What the visibility and quality senders make of an exchange: the log line for each way it can end and
// whether the reply confirms the request.
#include <gtest/gtest.h>

#include <string>

#include "core/Log.h"
#include "link/VideoSyncExchange.h"
#include "support/TestLog.h"

namespace {

SyncExchange Ended(SyncExchangeStage stage, int wsa, const std::string& reply = "") {
    SyncExchange e;
    e.stage = stage;
    e.wsa = wsa;
    e.bytes = 88;
    e.reply = reply;
    return e;
}

SyncExchange Replied(const std::string& reply) {
    return Ended(SyncExchangeStage::Sent, 0, reply);
}

class VideoSyncExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }
};

TEST_F(VideoSyncExchangeTest, VisibilityRepliesAndFailures) {
    struct Case {
        const char* name;
        SyncExchange exchange;
        const char* reason;
        bool confirmed;
        const char* line;
    } const cases[] = {
        {"connect failed", Ended(SyncExchangeStage::ConnectFailed, 10061), "state-change", false,
         "[VIDEO][VISIBILITY][TX_CONNECT_FAIL] peer=10.0.0.2 hidden=1 viewSeq=7 reason=state-change "
         "wsa=10061"},
        {"send failed", Ended(SyncExchangeStage::SendFailed, 10054), "retry-unconfirmed", false,
         "[VIDEO][VISIBILITY][TX_SEND_FAIL] peer=10.0.0.2 hidden=1 viewSeq=7 reason=retry-unconfirmed "
         "bytes=88 "
         "wsa=10054"},
        {"accepted", Replied("TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=1;end=1;"),
         "peer-change", true,
         "[VIDEO][VISIBILITY][TX_ACK] peer=10.0.0.2 hidden=1 viewSeq=7 ackSeq=7 accepted=1 confirmed=1 "
         "reason=peer-change ackBytes=64"},
        {"refused as stale", Replied("TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=9;accepted=0;end=1;"),
         nullptr, false,
         "[VIDEO][VISIBILITY][TX_ACK] peer=10.0.0.2 hidden=1 viewSeq=7 ackSeq=9 accepted=0 confirmed=0 "
         "reason=sync"},
        {"accepted another sequence",
         Replied("TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=8;accepted=1;end=1;"), "", false,
         "ackSeq=8 accepted=1 confirmed=0 reason=sync"},
        {"accepted=11 is no flag",
         Replied("TSLY_ACK;verb=TSLY_VIDEO_VISIBILITY;view_seq=7;accepted=11;end=1;"), "x", false,
         "ackSeq=7 accepted=0 confirmed=0 reason=x"},
        {"the quality verb", Replied("TSLY_ACK;verb=TSLY_VIDEO_QUALITY;view_seq=7;accepted=1;end=1;"), "x",
         false, "ackSeq=7 accepted=1 confirmed=0"},
        {"no reply in time", Replied(""), "x", false, "ackSeq=0 accepted=0 confirmed=0 reason=x ackBytes=0"},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        EXPECT_EQ(ReportVisibilityExchange("10.0.0.2", true, 7, c.reason, c.exchange), c.confirmed) << c.name;
        EXPECT_EQ(CountLogMessages(c.line), 1u) << c.name;
    }
}

TEST_F(VideoSyncExchangeTest, QualityRepliesAndFailures) {
    struct Case {
        const char* name;
        SyncExchange exchange;
        bool confirmed;
        const char* line;
    } const cases[] = {
        {"connect failed", Ended(SyncExchangeStage::ConnectFailed, 10060), false,
         "[QUALITY][TX_CONNECT_FAIL] peer=10.0.0.2 qualitySeq=4 mode=ULTRA attempt=2 wsa=10060"},
        {"send failed", Ended(SyncExchangeStage::SendFailed, 10054), false,
         "[QUALITY][TX_SEND_FAIL] peer=10.0.0.2 qualitySeq=4 mode=ULTRA attempt=2 wsa=10054"},
        {"accepted", Replied("TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=4;quality=1;accepted=1;end=1;"),
         true,
         "[QUALITY][TX_ACK] peer=10.0.0.2 qualitySeq=4 ackSeq=4 mode=ULTRA ackMode=ULTRA accepted=1 "
         "confirmed=1 "
         "attempt=2 ackBytes=74"},
        {"accepted, other mode held",
         Replied("TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=4;quality=0;accepted=1;end=1;"), false,
         "ackSeq=4 mode=ULTRA ackMode=H264 accepted=1 confirmed=0"},
        {"stale", Replied("TSLY_ACK;verb=TSLY_VIDEO_QUALITY;quality_seq=6;quality=0;accepted=0;end=1;"),
         false, "ackSeq=6 mode=ULTRA ackMode=H264 accepted=0 confirmed=0"},
        {"not an ACK", Replied("TSLY_NACK;verb=TSLY_VIDEO_QUALITY;quality_seq=4;quality=1;accepted=1;end=1;"),
         false, "ackSeq=4 mode=ULTRA ackMode=ULTRA accepted=1 confirmed=0"},
    };
    for (const Case& c : cases) {
        TestLog().Clear();
        EXPECT_EQ(ReportQualityExchange("10.0.0.2", true, 4, 2, c.exchange), c.confirmed) << c.name;
        EXPECT_EQ(CountLogMessages(c.line), 1u) << c.name;
    }
}

} // namespace
