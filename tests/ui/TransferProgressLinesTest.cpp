#include <gtest/gtest.h>

#include "ui/LongTransferWatch.h"
#include "ui/TransferProgressLines.h"

namespace {

TEST(TransferProgressLinesTest, MovingTransferShowsItsFiguresAndNoMessage) {
    FileTransferSnapshot s;
    s.phase = FileTransferPhase::Receiving;
    s.doneBytes = 512 * 1024;
    s.totalBytes = 2 * 1024 * 1024;
    s.currentDoneBytes = 300;
    s.currentTotalBytes = 1200;
    s.itemIndex = 2;
    s.itemCount = 5;
    s.speed = 2.5 * 1024 * 1024;
    s.name = u"folder\\sub/report.pdf";
    s.message = u"Cancel requested";
    TransferProgressLines l = FormatTransferProgressLines(s, true);
    EXPECT_EQ(l.title, u"Downloading files");
    EXPECT_FALSE(l.alert);
    EXPECT_EQ(l.total, u"Total: 25%    Files: 2/5");
    EXPECT_EQ(l.size, u"Size: 512 KB / 2.00 MB    2.50 MB/s");
    EXPECT_EQ(l.current, u"Current: report.pdf");
    EXPECT_EQ(l.currentFile, u"Current file: 25%    300 B / 1 KB");
    EXPECT_EQ(l.message, u"");
    EXPECT_EQ(TransferBarPosition(s), 25);
    EXPECT_EQ(TransferButtonText(s.phase, true), u"Cancel");
    EXPECT_EQ(TransferButtonText(s.phase, false), u"取消");
}

TEST(TransferProgressLinesTest, FailedTransferIsAnAlertWithItsMessageAndAClosebutton) {
    FileTransferSnapshot s;
    s.phase = FileTransferPhase::Error;
    s.message = u"Transfer failed: remote file list format is invalid.";
    s.name = std::u16string(50, u'n') + u".txt";
    TransferProgressLines l = FormatTransferProgressLines(s, false);
    EXPECT_EQ(l.title, u"文件传输失败");
    EXPECT_TRUE(l.alert);
    EXPECT_EQ(l.message, s.message);
    EXPECT_EQ(l.current, u"当前：..." + std::u16string(37, u'n') + u".txt") << "the end of a long name stays";
    EXPECT_EQ(l.total, u"总进度：0%    文件：0/0");
    EXPECT_EQ(TransferBarPosition(s), 0) << "no size: an empty bar";
    EXPECT_EQ(TransferButtonText(s.phase, false), u"关闭");
}

TEST(LongTransferWatchTest, PostsOncePerTransferAfterTheClampedDelay) {
    LongTransferWatch watch;
    TransferUiSnapshot moving{1, 42, 100};
    LongTransferWatchStep step = StepLongTransferWatch(watch, true, moving, 1000, 10);
    EXPECT_TRUE(step.startedTracking);
    EXPECT_FALSE(step.post);
    step = StepLongTransferWatch(watch, true, moving, 1999, 10);
    EXPECT_FALSE(step.post) << "the delay is at least 1000 ms";
    step = StepLongTransferWatch(watch, true, moving, 2000, 10);
    EXPECT_TRUE(step.post);
    EXPECT_EQ(step.ageMs, 1000u);
    EXPECT_FALSE(StepLongTransferWatch(watch, true, moving, 9000, 10).post) << "once per id";

    TransferUiSnapshot next{2, 43, 100};
    EXPECT_TRUE(StepLongTransferWatch(watch, true, next, 9500, 10).startedTracking);
    EXPECT_TRUE(StepLongTransferWatch(watch, true, next, 10500, 10).post);
}

TEST(LongTransferWatchTest, DropsTheTrackingOffTheControllerOrWhenNothingMoves) {
    LongTransferWatch watch;
    TransferUiSnapshot moving{1, 42, 100};
    StepLongTransferWatch(watch, true, moving, 1000, 60000);
    EXPECT_FALSE(StepLongTransferWatch(watch, false, moving, 200000, 60000).post);
    EXPECT_FALSE(watch.tracking);
    EXPECT_TRUE(StepLongTransferWatch(watch, true, moving, 200000, 60000).startedTracking);
    EXPECT_FALSE(StepLongTransferWatch(watch, true, moving, 259999, 60000).post) << "clamped to 60 s";
    EXPECT_TRUE(StepLongTransferWatch(watch, true, moving, 260000, 600000).post);
    EXPECT_FALSE(StepLongTransferWatch(watch, true, TransferUiSnapshot{3, 42, 100}, 270000, 1000).post);
    EXPECT_FALSE(watch.tracking) << "a finished transfer is not followed";
}

} // namespace
