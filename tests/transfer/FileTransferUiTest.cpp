#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Log.h"
#include "support/TestLog.h"
#include "transfer/FileTransferUi.h"

namespace {

// Records what the model publishes, with a tick the test moves and a controller flag it sets.
class RecordingHost final : public IFileTransferUiHost {
public:
    uint32_t now = 10000;
    bool controller = true;
    bool english = true;
    std::vector<std::string> statusLines;
    std::vector<uint64_t> events;
    struct Notice {
        std::u16string title, body;
        uint32_t flags, timeoutMs;
    };
    std::vector<Notice> notices;
    // Runs inside each published event, as a subscriber on the publishing thread would.
    std::function<void()> onEvent;

    uint32_t NowMs() override { return now; }
    bool IsController() override { return controller; }
    bool IsUiEnglish() override { return english; }
    void ShowStatusLine(const std::string& line) override { statusLines.push_back(line); }
    void PublishTransferEvent(uint64_t id) override {
        events.push_back(id);
        if (onEvent)
            onEvent();
    }
    void Notify(std::u16string_view title, std::u16string_view body, uint32_t flags,
                uint32_t timeoutMs) override {
        notices.push_back({std::u16string(title), std::u16string(body), flags, timeoutMs});
    }
};

class FileTransferUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Open();
        TestLog().Clear();
    }
    void TearDown() override { Log::Close(); }

    FileTransferSnapshot Snap() {
        FileTransferSnapshot s;
        ui.Snapshot(s);
        return s;
    }

    RecordingHost host;
    FileTransferUi ui{host};
};

TEST_F(FileTransferUiTest, StartShowsTheTransferAndAStartForTheSameIdOnlyFillsGaps) {
    ui.Start(FileTransferPhase::Sending, 7, u"", 0);
    ui.UpdateProgress(7, u"a.bin", 100, 1000, 100, 1000);
    ui.Start(FileTransferPhase::Sending, 7, u"b.bin", 5000);

    FileTransferSnapshot s = Snap();
    EXPECT_EQ(s.phase, FileTransferPhase::Sending);
    EXPECT_EQ(s.totalBytes, 5000u);
    EXPECT_EQ(s.doneBytes, 100u) << "a duplicate start keeps the progress";
    EXPECT_EQ(s.name, u"a.bin") << "a stored name is kept";
    EXPECT_EQ(CountLogMessages("[TRANSFER][START] id=7 phase=Sending total=0"), 1u);
    EXPECT_EQ(CountLogMessages("FileTransferUi start ignored duplicate id=7 phase=Sending total=5000"), 1u);
}

TEST_F(FileTransferUiTest, FirstProgressOfAnUnknownTransferStartsItAsReceiving) {
    ui.UpdateProgress(9, u"x.txt", 10, 100, 10, 100);
    FileTransferSnapshot s = Snap();
    EXPECT_EQ(s.phase, FileTransferPhase::Receiving);
    EXPECT_EQ(s.transferId, 9u);
    EXPECT_EQ(s.doneBytes, 10u);
    ASSERT_EQ(host.events, std::vector<uint64_t>{9});
    ASSERT_EQ(host.statusLines.size(), 1u);
    EXPECT_EQ(host.statusLines[0], "File Receiving 10% 0.0 MB/s 0/0 KB x.txt");
}

TEST_F(FileTransferUiTest, ReportsForAnotherIdAreIgnoredWhileATransferMoves) {
    ui.Start(FileTransferPhase::Receiving, 1, u"mine", 100);
    host.now += 1000;
    ui.UpdateProgress(2, u"other", 5, 10, 5, 10);
    ui.UpdateProgress(2, u"other", 6, 10, 6, 10);
    ui.SetItemProgress(2, 1, 1);
    ui.Complete(2, u"");
    ui.Fail(2, u"boom");
    ui.Fail(0, u"boom");
    ui.Cancel(2, u"");

    FileTransferSnapshot s = Snap();
    EXPECT_EQ(s.phase, FileTransferPhase::Receiving);
    EXPECT_EQ(s.transferId, 1u);
    EXPECT_EQ(s.name, u"mine");
    EXPECT_EQ(s.doneBytes, 0u);
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(host.events, std::vector<uint64_t>{1}) << "only the start published";
    EXPECT_EQ(CountLogMessages("FileTransferUi report ignored op=progress id=2 activeId=1"), 1u)
        << "logged once per ignored id";
    EXPECT_EQ(CountLogMessages("FileTransferUi report ignored op=fail id=0 activeId=1"), 1u);

    ui.Start(FileTransferPhase::Receiving, 3, u"next", 100);
    ui.UpdateProgress(2, u"other", 7, 10, 7, 10);
    EXPECT_EQ(CountLogMessages("FileTransferUi report ignored op=progress id=2 activeId=3"), 1u)
        << "a new transfer logs its first ignored report again";
}

TEST_F(FileTransferUiTest, AFinishedTransferIsReplacedByTheNextOnesProgress) {
    ui.Start(FileTransferPhase::Receiving, 1, u"old", 100);
    ui.Fail(1, u"boom");
    ui.UpdateProgress(2, u"new", 5, 10, 5, 10);
    FileTransferSnapshot s = Snap();
    EXPECT_EQ(s.phase, FileTransferPhase::Receiving);
    EXPECT_EQ(s.transferId, 2u);
    EXPECT_TRUE(s.message.empty());
}

TEST_F(FileTransferUiTest, ProgressIsPublishedAtMostEvery120MsAndOnTheLastByte) {
    ui.Start(FileTransferPhase::Sending, 3, u"f", 1000);
    host.events.clear();
    for (uint32_t step : {50u, 50u, 50u}) { // 50, 100, 150 ms after the start
        host.now += step;
        ui.UpdateProgress(3, u"f", host.now % 1000, 1000, 0, 0);
    }
    EXPECT_EQ(host.events.size(), 1u) << "only the report at 150 ms";
    host.now += 10;
    ui.UpdateProgress(3, u"f", 1000, 1000, 0, 0);
    EXPECT_EQ(host.events.size(), 2u) << "the last byte is always shown";
}

TEST_F(FileTransferUiTest, SpeedIsMeasuredOverWindowsOfAtLeast500Ms) {
    ui.Start(FileTransferPhase::Sending, 4, u"f", 10'000'000);
    host.now += 400;
    ui.UpdateProgress(4, u"f", 400'000, 10'000'000, 0, 0);
    EXPECT_EQ(Snap().speed, 0) << "the window is still open";
    host.now += 100;
    ui.UpdateProgress(4, u"f", 1'000'000, 10'000'000, 0, 0);
    EXPECT_DOUBLE_EQ(Snap().speed, 2'000'000.0);
    host.now += 1000;
    ui.UpdateProgress(4, u"f", 500'000, 10'000'000, 0, 0);
    EXPECT_EQ(Snap().speed, 0) << "a count that went back gives no negative speed";
}

TEST_F(FileTransferUiTest, ItemProgressKeepsTheCountAndLimitsTheIndex) {
    ui.SetItemProgress(5, 1, 2);
    EXPECT_EQ(Snap().phase, FileTransferPhase::Idle) << "ignored while idle";
    ui.Start(FileTransferPhase::Sending, 5, u"f", 10);
    ui.SetItemProgress(5, 1, 3);
    ui.SetItemProgress(5, 9, 0);
    FileTransferSnapshot s = Snap();
    EXPECT_EQ(s.itemCount, 3u);
    EXPECT_EQ(s.itemIndex, 3u);
}

TEST_F(FileTransferUiTest, CompleteNotifiesTheControllerOnceAndClearsAtOnce) {
    ui.Start(FileTransferPhase::Receiving, 6, u"f", 100);
    ui.UpdateProgress(6, u"f", 40, 100, 40, 100);
    host.events.clear();
    host.statusLines.clear();
    ui.Complete(6, u"Files downloaded to:  C:\\Users\\a\\Desktop\t");

    EXPECT_EQ(Snap().phase, FileTransferPhase::Idle);
    EXPECT_EQ(host.events, (std::vector<uint64_t>{6, 0}));
    ASSERT_EQ(host.statusLines.size(), 1u);
    EXPECT_EQ(host.statusLines[0], "File Complete Files downloaded to: C:\\Users\\a\\Desktop");
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0].title, u"Download complete");
    EXPECT_EQ(host.notices[0].body, u"Files downloaded to: C:\\Users\\a\\Desktop");
    EXPECT_EQ(host.notices[0].flags, 1u);
    EXPECT_EQ(host.notices[0].timeoutMs, 8000u);
    EXPECT_EQ(
        CountLogMessages("[TRANSFER][UI][CLEAR] completed transfer cleared id=6 reason=complete-terminal"),
        1u);

    host.now += 29'999;
    ui.Complete(6, u"");
    EXPECT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(CountLogMessages("FileTransferUi complete notify duplicate transfer suppressed id=6 age=29999"),
              1u);
    host.now += 1;
    ui.Complete(6, u"");
    EXPECT_EQ(host.notices.size(), 2u) << "30 s later it is news again";
}

TEST_F(FileTransferUiTest, OnlyTheControllerSeesStatusLinesAndNotices) {
    host.controller = false;
    ui.Start(FileTransferPhase::Sending, 8, u"f", 100);
    ui.Complete(8, u"");
    ui.Start(FileTransferPhase::Sending, 9, u"f", 100);
    ui.Fail(9, u"");
    EXPECT_TRUE(host.statusLines.empty());
    EXPECT_TRUE(host.notices.empty());
    EXPECT_FALSE(host.events.empty()) << "the window still hears of every change";
    EXPECT_EQ(CountLogMessages("FileTransferUi complete notification suppressed id=8 showSide=0 text=Files "
                               "downloaded."),
              1u);
    EXPECT_EQ(CountLogMessages("FileTransferUi error notification suppressed on non-controller side"), 1u);
}

TEST_F(FileTransferUiTest, FailAndCancelShowTheMappedReason) {
    ui.Start(FileTransferPhase::Receiving, 10, u"f", 100);
    ui.Fail(10, u"download file failed http://10.0.0.2:5002/file?id=1 | write failed gle=5");
    FileTransferSnapshot s = Snap();
    EXPECT_EQ(s.phase, FileTransferPhase::Error);
    EXPECT_EQ(s.message,
              u"Transfer failed: unable to create or write the target file. Please check path permissions.");
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0].title, u"传输失败");
    EXPECT_EQ(host.notices[0].flags, 2u);
    EXPECT_EQ(host.notices[0].timeoutMs, 12000u);

    ui.Start(FileTransferPhase::Receiving, 11, u"f", 100);
    host.english = false;
    ui.Cancel(11, u"");
    s = Snap();
    EXPECT_EQ(s.phase, FileTransferPhase::Canceled);
    EXPECT_EQ(s.message, u"文件传输已取消。");

    ui.Start(FileTransferPhase::Receiving, 12, u"f", 100);
    ui.Fail(12, u"");
    EXPECT_EQ(Snap().message, u"error");
}

TEST_F(FileTransferUiTest, AFinishedTransferStaysFiveSecondsAfterItsLastChange) {
    ui.Start(FileTransferPhase::Sending, 13, u"f", 100);
    ui.Fail(13, u"something odd");
    host.events.clear();
    host.now += 5000;
    EXPECT_EQ(ui.Tick(), "File Error something odd");
    host.now += 1;
    EXPECT_EQ(ui.Tick(), "");
    EXPECT_EQ(Snap().phase, FileTransferPhase::Idle);
    EXPECT_EQ(host.events, std::vector<uint64_t>{0});

    ui.Start(FileTransferPhase::Sending, 14, u"f", 100);
    host.now += 60'000;
    EXPECT_NE(ui.Tick(), "") << "a moving transfer never expires";
}

TEST_F(FileTransferUiTest, TheCancelButtonRequestsACancelOnlyWhileTheTransferMoves) {
    ui.Start(FileTransferPhase::Sending, 15, u"f", 100);
    EXPECT_FALSE(ui.IsCancelRequested(15));
    EXPECT_TRUE(ui.PressCancelButton());
    FileTransferSnapshot s = Snap();
    EXPECT_TRUE(s.cancelRequested);
    EXPECT_EQ(s.message, u"Cancel requested");
    EXPECT_TRUE(ui.IsCancelRequested(15));
    EXPECT_FALSE(ui.IsCancelRequested(16));
    EXPECT_TRUE(ui.ShouldStop(15));

    ui.Cancel(15, u"");
    EXPECT_FALSE(ui.IsCancelRequested(15)) << "the request is over once the transfer is canceled";
    EXPECT_TRUE(ui.ShouldStop(15));
    EXPECT_FALSE(ui.PressCancelButton()) << "Close";
    EXPECT_EQ(Snap().phase, FileTransferPhase::Idle);
    EXPECT_FALSE(ui.ShouldStop(15));
}

TEST_F(FileTransferUiTest, ShouldStopFollowsFailuresOfTheShownTransferOnly) {
    ui.Start(FileTransferPhase::Receiving, 17, u"f", 100);
    EXPECT_FALSE(ui.ShouldStop(17));
    ui.Fail(17, u"recv failed");
    EXPECT_TRUE(ui.ShouldStop(17));
    EXPECT_FALSE(ui.ShouldStop(18));
}

TEST_F(FileTransferUiTest, PublishingHappensWithTheModelUnlocked) {
    // A subscriber that reads the model from inside the event would deadlock if the mutex were held.
    int seen = 0;
    host.onEvent = [&] {
        FileTransferSnapshot s;
        ui.Snapshot(s);
        (void)ui.FormatStatusLine();
        ++seen;
    };
    ui.Start(FileTransferPhase::Sending, 19, u"f", 100);
    ui.UpdateProgress(19, u"f", 100, 100, 100, 100);
    ui.PressCancelButton();
    ui.Complete(19, u"");
    ui.Clear();
    EXPECT_EQ(seen, 6);
}

TEST_F(FileTransferUiTest, NamesAndMessagesAreKeptTo260Units) {
    std::u16string longName(300, u'n');
    longName[259] = 0xD83D; // a pair that the cut would split
    longName[260] = 0xDE00;
    ui.Start(FileTransferPhase::Sending, 20, longName, 1);
    EXPECT_EQ(Snap().name, longName.substr(0, 259));
}

} // namespace
