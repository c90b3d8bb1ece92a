// What the clipboard channel decides for received messages.
#include <gtest/gtest.h>

#include <string>

#include "transfer/ClipboardMessage.h"
#include "transfer/ClipboardReceiveRules.h"

namespace {

TEST(ClipboardReceiveRules, ReceivedContentIsRemoteOnlyOnTheController) {
    EXPECT_EQ(ReceivedTextKind(1), ClipboardKind::RemoteText);
    EXPECT_EQ(ReceivedImageKind(1), ClipboardKind::RemoteImage);
    for (int32_t role : {0, 2, 3}) {
        EXPECT_EQ(ReceivedTextKind(role), ClipboardKind::LocalText) << role;
        EXPECT_EQ(ReceivedImageKind(role), ClipboardKind::LocalImage) << role;
    }
}

TEST(ClipboardReceiveRules, TextBlockAlwaysHasRoomForATerminatorOnAWholeCharacter) {
    EXPECT_EQ(ReceivedTextBlockBytes(0), 2u);
    EXPECT_EQ(ReceivedTextBlockBytes(6), 8u); // "ab\0" as sent: one more NUL after it
    EXPECT_EQ(ReceivedTextBlockBytes(5), 8u); // odd: the half character is padded, then the NUL
    EXPECT_EQ(ReceivedTextBlockBytes(16777216), 16777218u);
}

TEST(ClipboardReceiveRules, RemoteOfferCacheOrClear) {
    const std::string token(kClipboardOfferClearToken);
    std::string offByOne = token;
    offByOne.back() = '2';
    struct Case {
        const char* name;
        uint64_t id;
        std::string payload;
        RemoteOfferAction expected;
    } cases[] = {
        {"clear token", 0, token, RemoteOfferAction::ClearByToken},
        {"clear token even with an id", 9, token, RemoteOfferAction::ClearByToken},
        {"token with one byte changed is an offer", 9, offByOne, RemoteOfferAction::Cache},
        {"token with one byte changed and id 0", 0, offByOne, RemoteOfferAction::ClearInvalid},
        {"token with its terminator is an offer", 9, token + '\0', RemoteOfferAction::Cache},
        {"offer", 2600001, "mode=http_manifest\ntransferId=2600001", RemoteOfferAction::Cache},
        {"offer with id 0", 0, "mode=http_manifest", RemoteOfferAction::ClearInvalid},
        {"empty payload", 5, "", RemoteOfferAction::ClearInvalid},
        {"64 KiB is accepted", 5, std::string(65536, 'x'), RemoteOfferAction::Cache},
        {"one byte over 64 KiB", 5, std::string(65537, 'x'), RemoteOfferAction::DropOversized},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideRemoteOffer(c.id, c.payload), c.expected) << c.name;
}

TEST(ClipboardReceiveRules, HttpBeginIsPublishedOnlyWithinTheLimit) {
    EXPECT_EQ(DecideHttpBegin(""), HttpBeginAction::IgnoreEmpty);
    EXPECT_EQ(DecideHttpBegin("mode=http_manifest"), HttpBeginAction::Publish);
    EXPECT_EQ(DecideHttpBegin(std::string(65536, 'x')), HttpBeginAction::Publish);
    EXPECT_EQ(DecideHttpBegin(std::string(65537, 'x')), HttpBeginAction::DropOversized);
}

TEST(ClipboardReceiveRules, TransferStatusByFlags) {
    struct Case {
        const char* name;
        uint32_t flags;
        std::string payload;
        bool english;
        TransferStatusAction action;
        std::string text;
    } cases[] = {
        {"progress of a bare name", 1, "photo.jpg", true, TransferStatusAction::Progress, "photo.jpg"},
        {"progress without a name", 1, "currentIndex=1\n", true, TransferStatusAction::Progress,
         "HTTP file transfer"},
        {"progress empty", 1, "", true, TransferStatusAction::Progress, "HTTP file transfer"},
        {"done empty, English", 2, "", true, TransferStatusAction::Complete, "文件传输完成。"},
        {"done empty, Chinese", 2, "", false, TransferStatusAction::Complete, "文件传输完成。"},
        {"done to a folder, Chinese", 2, "downloadDir=D:\\\\in", false, TransferStatusAction::Complete,
         "远端已下载到：D:\\in"},
        {"unknown flags count as done", 0, "fine", true, TransferStatusAction::Complete, "fine"},
        {"flags 5 count as done", 5, "", true, TransferStatusAction::Complete, "文件传输完成。"},
        {"error", 3, "disk full", true, TransferStatusAction::Fail, "disk full"},
        {"cancel", 4, "", false, TransferStatusAction::Cancel, "远端取消传输"},
    };
    for (const Case& c : cases) {
        const TransferStatusDecision d = DecideTransferStatus(c.flags, c.payload, c.english);
        EXPECT_EQ(d.action, c.action) << c.name;
        EXPECT_EQ(d.text, c.text) << c.name;
    }
}

TEST(ClipboardReceiveRules, ProgressNumbersAreBoundedToTheirWidth) {
    const TransferStatusDecision d =
        DecideTransferStatus(1, "currentIndex=99999999999\nitemCount=4294967295\ncurrentDoneBytes=x\n", true);
    EXPECT_EQ(d.currentIndex, 0xFFFFFFFFu);
    EXPECT_EQ(d.itemCount, 0xFFFFFFFFu);
    EXPECT_EQ(d.currentDoneBytes, 0u);
}

TEST(ClipboardReceiveRules, ALostConnectionFailsOnlyAMovingTransfer) {
    struct Case {
        bool published;
        FileTransferPhase phase;
        bool fails;
    } cases[] = {
        {true, FileTransferPhase::Sending, true},   {true, FileTransferPhase::Receiving, true},
        {true, FileTransferPhase::Idle, false},     {true, FileTransferPhase::Complete, false},
        {true, FileTransferPhase::Error, false},    {true, FileTransferPhase::Canceled, false},
        {false, FileTransferPhase::Sending, false}, {false, FileTransferPhase::Receiving, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShouldFailTransferOnLoss(c.published, c.phase), c.fails)
            << c.published << " " << static_cast<int>(c.phase);
}

TEST(ClipboardReceiveRules, CancelRunsAfterAMessageOfTheCanceledTransfer) {
    const uint32_t text = static_cast<uint32_t>(ClipboardMessageType::CB_TRANSFER_STATUS);
    const uint32_t cancel = static_cast<uint32_t>(ClipboardMessageType::CB_CANCEL);
    EXPECT_TRUE(ShouldCancelAfterMessage(text, 7, true));
    EXPECT_FALSE(ShouldCancelAfterMessage(text, 7, false));
    EXPECT_FALSE(ShouldCancelAfterMessage(text, 0, true));
    EXPECT_FALSE(ShouldCancelAfterMessage(cancel, 7, true));
}

} // namespace
