// The file.* reports relayed to the peer as CB_TRANSFER_STATUS, and what the peer makes of them.
#include <gtest/gtest.h>

#include <string>

#include "core/CommandBus.h"
#include "core/CommandBusPayload.h"
#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardReceiveRules.h"
#include "transfer/ClipboardStatusRelay.h"

namespace {

constexpr uint32_t kProgress = static_cast<uint32_t>(TransferStatusFlags::Progress);

TEST(ClipboardStatusRelay, ProgressBecomesFiveLinesWithTotalsInTheHeader) {
    const std::string command = "transferId=2600001\ndoneBytes=300\ntotalBytes=1000\ncurrentIndex=2\n"
                                "itemCount=3\ncurrentDoneBytes=100\ncurrentTotalBytes=400\n"
                                "currentPath=" +
                                EscapeCommandValue("dir\\new\nname.txt") + "\n";
    const auto relay = BuildTransferStatusRelay(kCommandFileProgress, command);
    ASSERT_TRUE(relay);
    EXPECT_EQ(relay->transferId, 2600001u);
    EXPECT_EQ(relay->flags, kProgress);
    EXPECT_EQ(relay->a, 1000u);
    EXPECT_EQ(relay->b, 300u);
    EXPECT_EQ(relay->payload,
              "currentPath=dir\\\\new\\nname.txt\ncurrentDoneBytes=100\ncurrentTotalBytes=400\n"
              "currentIndex=2\nitemCount=3\n");

    // The peer reads back the very path, backslash and line end included.
    const TransferStatusDecision seen = DecideTransferStatus(relay->flags, relay->payload, true);
    EXPECT_EQ(seen.action, TransferStatusAction::Progress);
    EXPECT_EQ(seen.text, "dir\\new\nname.txt");
    EXPECT_EQ(seen.currentDoneBytes, 100u);
    EXPECT_EQ(seen.currentTotalBytes, 400u);
    EXPECT_EQ(seen.currentIndex, 2u);
    EXPECT_EQ(seen.itemCount, 3u);
}

TEST(ClipboardStatusRelay, MissingProgressNumbersTravelAsZero) {
    const auto relay = BuildTransferStatusRelay(kCommandFileProgress, "transferId=7\n");
    ASSERT_TRUE(relay);
    EXPECT_EQ(relay->payload,
              "currentPath=\ncurrentDoneBytes=0\ncurrentTotalBytes=0\ncurrentIndex=0\nitemCount=0\n");
    EXPECT_EQ(relay->a, 0u);
    EXPECT_EQ(relay->b, 0u);
}

// Each relayed report, read back on the peer: the text survives whatever it holds, and a message that holds
// a line end cannot smuggle a key of its own.
TEST(ClipboardStatusRelay, ResultsAndCancelRoundTripToThePeer) {
    struct Case {
        const char* name;
        uint32_t type;
        std::string value; // the message or reason before escaping
        TransferStatusFlags flags;
        TransferStatusAction action;
        std::string shown;
    } cases[] = {
        {"done with a folder", kCommandFileDone, "downloadDir=C:\\Users\\new\\Desktop",
         TransferStatusFlags::Done, TransferStatusAction::Complete,
         "Remote downloaded to: C:\\Users\\new\\Desktop"},
        {"done without a folder", kCommandFileDone, "http file transfer done", TransferStatusFlags::Done,
         TransferStatusAction::Complete, "http file transfer done"},
        {"done message that tries a second key", kCommandFileDone, "ok\ndownloadDir=C:\\evil",
         TransferStatusFlags::Done, TransferStatusAction::Complete, "ok\ndownloadDir=C:\\evil"},
        {"error with a path", kCommandFileError, "download file failed: a\\b.txt | refused",
         TransferStatusFlags::Error, TransferStatusAction::Fail, "download file failed: a\\b.txt | refused"},
        {"error without text", kCommandFileError, "", TransferStatusFlags::Error, TransferStatusAction::Fail,
         "HTTP file transfer failed"},
        {"cancel with a reason", kCommandFileCancel, "user canceled\r\n", TransferStatusFlags::Cancel,
         TransferStatusAction::Cancel, "user canceled\r\n"},
        {"cancel without a reason", kCommandFileCancel, "", TransferStatusFlags::Cancel,
         TransferStatusAction::Cancel, "远端取消传输"},
    };
    for (const Case& c : cases) {
        const std::string key = c.type == kCommandFileCancel ? "reason" : "message";
        const std::string command =
            "transferId=42\nerrorCode=0\n" + key + "=" + EscapeCommandValue(c.value) + "\n";
        const auto relay = BuildTransferStatusRelay(c.type, command);
        ASSERT_TRUE(relay) << c.name;
        EXPECT_EQ(relay->transferId, 42u) << c.name;
        EXPECT_EQ(relay->flags, static_cast<uint32_t>(c.flags)) << c.name;
        EXPECT_EQ(relay->payload.find('\n'), std::string::npos) << c.name;
        const TransferStatusDecision seen = DecideTransferStatus(relay->flags, relay->payload, true);
        EXPECT_EQ(seen.action, c.action) << c.name;
        EXPECT_EQ(seen.text, c.shown) << c.name;
    }
}

TEST(ClipboardStatusRelay, NothingIsRelayedWithoutATransferIdOrForOtherTypes) {
    EXPECT_FALSE(BuildTransferStatusRelay(kCommandFileDone, "message=done\n"));
    EXPECT_FALSE(BuildTransferStatusRelay(kCommandFileError, "transferId=0\nmessage=x\n"));
    EXPECT_FALSE(BuildTransferStatusRelay(kCommandFileHttpBegin, "transferId=5\n"));
    // A key inside a value is not a key.
    EXPECT_FALSE(BuildTransferStatusRelay(kCommandFileDone, "message=x transferId=5\n"));
}

} // namespace
