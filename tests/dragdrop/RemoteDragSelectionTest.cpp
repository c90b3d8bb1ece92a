#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "dragdrop/RemoteDragSelection.h"
#include "support/LoggedTest.h"

namespace {

// Packet types as the input side would pass them; the watch reads only the kind.
constexpr uint32_t kMoveType = 2, kButtonType = 3, kKeyType = 5;

struct Fill {
    DragScreenPoint point;
    uint64_t gestureId;
    uint64_t generation;
};

class FakeSelectionPorts final : public IRemoteDragSelectionPorts {
public:
    uint32_t TickMs() override { return now; }
    bool MonitorRunning() override { return monitorRunning; }
    int32_t Role() override { return role; }
    DragScreenPoint CursorPos() override { return cursor; }
    bool TextEditAt(DragScreenPoint) override { return textEdit; }
    void StartSelectionFill(DragScreenPoint point, uint64_t gestureId, uint64_t generation) override {
        fills.push_back({point, gestureId, generation});
    }
    void ResetRuntimeDrag() override { ++runtimeResets; }
    bool RuntimeShowsRemoteDrag() override { return runtimeShows; }
    void PublishSelection(std::vector<std::u16string> paths, uint64_t gestureId) override {
        published.push_back({std::move(paths), gestureId});
    }
    bool ExchangeDragVisual(bool on) override { return visual.exchange(on); }

    struct Published {
        std::vector<std::u16string> paths;
        uint64_t gestureId;
    };
    // Atomic where the test's second thread (Clear on the UI thread) reaches them too.
    std::atomic<uint32_t> now{100000};
    bool monitorRunning = true;
    int32_t role = 2;
    DragScreenPoint cursor{500, 400};
    bool textEdit = false;
    bool runtimeShows = true;
    std::atomic<bool> visual{false};
    std::atomic<int> runtimeResets{0};
    std::vector<Fill> fills;
    std::vector<Published> published;
};

// Scripted injected input: each step moves the fake clock on, then hands the watch one packet.
class RemoteDragSelectionTest : public LoggedTest {
protected:
    void Packet(InjectedPacketKind kind, uint32_t type, int32_t data1, int32_t data2, uint32_t after = 10) {
        ports.now += after;
        selection.OnTakeoverInput(kind, type, data1, data2);
        selection.OnInputPacket(kind, type, data1, data2);
    }
    void Press(int32_t x, int32_t y, uint32_t after = 10) {
        ports.cursor = {x, y};
        Packet(InjectedPacketKind::MouseButton, kButtonType, 0, 1, after);
    }
    void Release(uint32_t after = 10) { Packet(InjectedPacketKind::MouseButton, kButtonType, 0, 0, after); }
    void MoveTo(int32_t x, int32_t y, uint32_t after = 10) {
        ports.cursor = {x, y};
        Packet(InjectedPacketKind::MouseMove, kMoveType, 0, 0, after);
    }
    void Esc(bool down, uint32_t after = 10) {
        Packet(InjectedPacketKind::Key, kKeyType, 27, down ? 1 : 0, after);
    }
    // The fill of the latest press finds files.
    void FillLatest(std::vector<std::u16string> paths = {u"C:\\docs\\a.txt", u"C:\\docs\\sub"}) {
        ASSERT_FALSE(ports.fills.empty());
        const Fill& fill = ports.fills.back();
        selection.StoreStartSelection(fill.gestureId, fill.generation, fill.point, std::move(paths), 0);
    }
    // Press, files found, two moves of 12 pixels or more: published.
    void PublishGesture() {
        Press(500, 400);
        FillLatest();
        MoveTo(520, 400);
        MoveTo(530, 400);
    }

    FakeSelectionPorts ports;
    RemoteDragSelection selection{ports};
};

TEST_F(RemoteDragSelectionTest, TwoConsecutiveSamplesAtTwelvePixelsPublishTheStartSelection) {
    Press(500, 400);
    ASSERT_EQ(ports.fills.size(), 1u);
    EXPECT_EQ(ports.fills[0].point.x, 500);
    EXPECT_EQ(ports.fills[0].gestureId, 1u);
    FillLatest();
    MoveTo(520, 400); // 20 px, one sample
    EXPECT_TRUE(ports.published.empty());
    MoveTo(512, 400); // exactly 12 px: the second sample
    ASSERT_EQ(ports.published.size(), 1u);
    EXPECT_EQ(ports.published[0].paths, (std::vector<std::u16string>{u"C:\\docs\\a.txt", u"C:\\docs\\sub"}));
    EXPECT_EQ(ports.published[0].gestureId, 1u);
    EXPECT_TRUE(selection.IsPending());
    EXPECT_TRUE(selection.IsTakeover());
    EXPECT_TRUE(selection.IsPendingGesture(1));
    EXPECT_TRUE(ports.visual);
    MoveTo(600, 400);
    EXPECT_EQ(ports.published.size(), 1u) << "one offer per gesture";
}

TEST_F(RemoteDragSelectionTest, AMoveBackWithinTwelvePixelsStartsTheCountAgain) {
    Press(500, 400);
    FillLatest();
    MoveTo(520, 400);
    MoveTo(511, 400); // 11 px: back to 0
    MoveTo(520, 400); // first sample again
    EXPECT_TRUE(ports.published.empty());
    MoveTo(525, 400);
    EXPECT_EQ(ports.published.size(), 1u);
}

TEST_F(RemoteDragSelectionTest, APressInATextEditorNeverPublishesOrReadsTheShell) {
    ports.textEdit = true;
    Press(500, 400);
    for (int x = 520; x < 700; x += 20)
        MoveTo(x, 400, 200);
    EXPECT_TRUE(ports.fills.empty());
    EXPECT_TRUE(ports.published.empty());
    EXPECT_FALSE(selection.IsPending());
}

TEST_F(RemoteDragSelectionTest, AReleaseBeforeThePublishReturnsToIdleAndDropsTheFill) {
    Press(500, 400);
    const Fill fill = ports.fills.back();
    Release();
    selection.StoreStartSelection(fill.gestureId, fill.generation, fill.point, {u"C:\\late.txt"}, 0);
    Press(500, 400, 500);
    MoveTo(520, 400);
    MoveTo(530, 400);
    EXPECT_TRUE(ports.published.empty()) << "neither the late fill nor the unfilled new press is offered";
}

TEST_F(RemoteDragSelectionTest, AFillStillRunningSkipsThePublishAndLaterMovesRetryAtMostEvery120Ms) {
    Press(500, 400);
    MoveTo(520, 400);
    MoveTo(530, 400); // confirmed, but no selection yet
    EXPECT_TRUE(ports.published.empty());
    EXPECT_FALSE(selection.IsPending());
    FillLatest();
    MoveTo(540, 400, 119); // 119 ms after the skipped attempt
    EXPECT_TRUE(ports.published.empty());
    MoveTo(550, 400, 1); // 120 ms
    EXPECT_EQ(ports.published.size(), 1u);
}

TEST_F(RemoteDragSelectionTest, APublishWithin160MsOfThePreviousOneIsSuppressedEvenForANewGesture) {
    PublishGesture(); // published at t0
    ASSERT_EQ(ports.published.size(), 1u);
    Esc(true, 5);
    EXPECT_FALSE(selection.IsPending());
    Press(100, 100, 5);
    FillLatest();
    MoveTo(130, 100, 5);
    MoveTo(140, 100, 115); // t0 + 130: past the 120 ms attempt cooldown, inside the 160 ms one
    EXPECT_EQ(ports.published.size(), 1u);
    MoveTo(150, 100, 30); // t0 + 160
    ASSERT_EQ(ports.published.size(), 2u);
    EXPECT_EQ(ports.published[1].gestureId, 2u);
}

TEST_F(RemoteDragSelectionTest, TheControllersEscDownEndsThePendingOfferAndEscUpDoesNot) {
    PublishGesture();
    Esc(false);
    EXPECT_TRUE(selection.IsPending());
    Esc(true);
    EXPECT_FALSE(selection.IsPending());
    EXPECT_FALSE(selection.IsTakeover());
    EXPECT_FALSE(ports.visual);
    EXPECT_GE(ports.runtimeResets.load(), 2);
}

TEST_F(RemoteDragSelectionTest, AfterTheSourceReleaseTheOfferWaitsUntilThe1200MsGrace) {
    PublishGesture();
    Release();
    EXPECT_TRUE(selection.IsPending());
    EXPECT_FALSE(selection.IsTakeover());
    EXPECT_FALSE(ports.visual);
    EXPECT_EQ(CountLogMessages("[RDRAG][TAKEOVER][ALLOW_SOURCE_UP_NO_BLOCK] id=1"), 1u);
    MoveTo(700, 400, 1199);
    EXPECT_TRUE(selection.IsPending()) << "PENDING_KEEP before the grace";
    MoveTo(710, 400, 1);
    EXPECT_FALSE(selection.IsPending());
    EXPECT_EQ(ports.published.size(), 1u) << "the packet after the clear starts nothing";
}

TEST_F(RemoteDragSelectionTest, APressWhileTheSourceIsHeldIsIgnoredAndOneAfterTheReleaseStartsAGesture) {
    PublishGesture();
    Press(600, 400);
    EXPECT_TRUE(selection.IsPending());
    EXPECT_EQ(ports.fills.size(), 1u);
    Release();
    Press(50, 60, 100);
    EXPECT_FALSE(selection.IsPending());
    ASSERT_EQ(ports.fills.size(), 2u);
    EXPECT_EQ(ports.fills[1].point.x, 50);
    EXPECT_EQ(ports.fills[1].gestureId, 2u);
}

TEST_F(RemoteDragSelectionTest, TheTakeoverNeverBlocksLogsAtMostEvery500MsAndEndsOnEsc) {
    PublishGesture();
    EXPECT_FALSE(selection.OnTakeoverInput(InjectedPacketKind::MouseWheel, 4, 120, 0));
    EXPECT_EQ(CountLogMessages("[RDRAG][TAKEOVER][NO_BLOCK] packet=4 button=120 down=0 id=1 pending=1 age=0"),
              1u);
    EXPECT_FALSE(selection.OnTakeoverInput(InjectedPacketKind::MouseMove, kMoveType, 0, 0));
    EXPECT_EQ(CountLogMessages("[RDRAG][TAKEOVER][NO_BLOCK]"), 1u);
    ports.now += 501;
    EXPECT_FALSE(selection.OnTakeoverInput(InjectedPacketKind::MouseButton, kButtonType, 1, 1));
    EXPECT_EQ(CountLogMessages("[RDRAG][TAKEOVER][NO_BLOCK]"), 2u);

    EXPECT_FALSE(selection.OnTakeoverInput(InjectedPacketKind::Key, kKeyType, 65, 1));
    EXPECT_TRUE(selection.IsTakeover()) << "other keys do nothing";
    EXPECT_FALSE(selection.OnTakeoverInput(InjectedPacketKind::Key, kKeyType, 27, 1));
    EXPECT_FALSE(selection.IsTakeover());
    EXPECT_FALSE(selection.IsPending());
}

TEST_F(RemoteDragSelectionTest, TheDragServiceStopClearsFromTheUiThread) {
    PublishGesture();
    selection.Clear("SERVICE_STOP_CLEAR", "local-drag-monitor-stop");
    EXPECT_FALSE(selection.IsPending());
    EXPECT_FALSE(selection.IsTakeover());
    EXPECT_FALSE(selection.IsPendingGesture(1)) << "the publishing worker will not send it";
    EXPECT_FALSE(ports.visual);
    const int resets = ports.runtimeResets.load();
    ports.visual = true; // the controller's SYSTEM_KEY may have switched it on since
    selection.Clear("SERVICE_STOP_CLEAR", "local-drag-monitor-stop");
    EXPECT_TRUE(ports.visual) << "a clear with nothing pending does nothing";
    EXPECT_EQ(ports.runtimeResets.load(), resets);
}

TEST_F(RemoteDragSelectionTest, NothingHappensOffTheControlledSideOrWithoutTheMonitor) {
    for (int variant = 0; variant < 2; ++variant) {
        ports.role = variant == 0 ? 1 : 2;
        ports.monitorRunning = variant == 0;
        Press(500, 400);
        MoveTo(520, 400);
        MoveTo(530, 400);
        Release();
    }
    EXPECT_TRUE(ports.fills.empty());
    EXPECT_TRUE(ports.published.empty());
    EXPECT_EQ(selection.GestureId(), 0u);
}

TEST_F(RemoteDragSelectionTest, AClearOnAnotherThreadWhileTheInputThreadPublishesLeavesAConsistentState) {
    std::thread ui([this] {
        for (int i = 0; i < 200; ++i)
            selection.Clear("SERVICE_STOP_CLEAR", "local-drag-monitor-stop");
    });
    for (int i = 0; i < 50; ++i) {
        PublishGesture();
        Esc(true, 200);
    }
    ui.join();
    selection.Clear("SERVICE_STOP_CLEAR", "local-drag-monitor-stop");
    EXPECT_FALSE(selection.IsPending());
    EXPECT_FALSE(selection.IsTakeover());
    EXPECT_FALSE(ports.published.empty());
}

TEST_F(RemoteDragSelectionTest, TheClipboardFallbackTakesAStartSelectionAtMost3000MsOld) {
    std::vector<std::u16string> paths;
    EXPECT_FALSE(selection.TakeStartCacheForClipboard(paths));
    EXPECT_EQ(CountLogMessages("[CLIPFILE][START_CACHE] miss valid=0 pending=0 count=0"), 1u);
    Press(500, 400);
    EXPECT_FALSE(selection.TakeStartCacheForClipboard(paths));
    EXPECT_EQ(CountLogMessages("[CLIPFILE][START_CACHE] miss valid=0 pending=1 count=0"), 1u);

    FillLatest({u"C:\\copied.txt"});
    ports.now += 3000;
    ASSERT_TRUE(selection.TakeStartCacheForClipboard(paths));
    EXPECT_EQ(paths, std::vector<std::u16string>{u"C:\\copied.txt"});
    EXPECT_EQ(
        CountLogMessages("[CLIPFILE][START_CACHE] hit id=1 age=3000 rank=0 count=1 first=C:\\copied.txt"),
        1u);
    ports.now += 1;
    paths.clear();
    EXPECT_FALSE(selection.TakeStartCacheForClipboard(paths));
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(CountLogMessages("[CLIPFILE][START_CACHE] stale age=3001 max=3000 count=1"), 1u);
}

TEST(RemoteDragOfferDetail, NamesTheFirstPathAndCountsTheOthers) {
    EXPECT_EQ(RemoteDragOfferDetail("C:\\a.txt", 1), "C:\\a.txt");
    EXPECT_EQ(RemoteDragOfferDetail("C:\\a.txt", 3), "C:\\a.txt +2");
    EXPECT_EQ(RemoteDragOfferDetail("", 2), " +1");
}

} // namespace
