#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dragdrop/RemoteDragOfferText.h"
#include "dragdrop/RemoteDragReceiver.h"
#include "support/LoggedTest.h"

namespace {

class FakeReceiverPorts final : public IRemoteDragReceiverPorts {
public:
    uint32_t TickMs() override { return now; }
    int32_t Role() override { return role; }
    bool LeftButtonDown() override { return leftDown; }
    void SetRuntimeRemoteDrag(bool active, uint32_t count, uint64_t, bool, uint64_t id,
                              const std::string&) override {
        runtimeActive = active;
        runtimeCount = count;
        runtimeId = id;
    }
    RemoteDragDownloadStart BeginDownload(const std::string& payload, const std::string& target) override {
        begins.push_back(target + "|" + payload);
        return answer;
    }
    bool UiEnglish() override { return english; }
    void NotifyUser(const std::string& status, std::u16string_view title, std::u16string_view body) override {
        notices.push_back(status);
        titles.emplace_back(title);
        bodies.emplace_back(body);
    }
    bool ExchangeDragVisual(bool on) override {
        const bool before = visual;
        visual = on;
        return before;
    }

    uint32_t now = 50000;
    int32_t role = 1;
    bool leftDown = true;
    bool english = true;
    bool visual = false;
    bool runtimeActive = false;
    uint32_t runtimeCount = 0;
    uint64_t runtimeId = 0;
    RemoteDragDownloadStart answer = RemoteDragDownloadStart::Started;
    std::vector<std::string> begins;
    std::vector<std::string> notices;
    std::vector<std::u16string> titles, bodies;
};

std::string OfferText(uint64_t id, const std::string& payload = "mode=http_manifest\ntransferId=3") {
    RemoteDragOfferText::Fields offer;
    offer.id = id;
    offer.count = 2;
    offer.bytes = 4096;
    offer.detail = "C:\\docs\\a.txt +1";
    offer.httpPayload = payload;
    return RemoteDragOfferText::Build(offer);
}

class RemoteDragReceiverTest : public LoggedTest {
protected:
    // An offer held as the channel's receive would leave it.
    void HoldWithPayload(uint64_t dragId) {
        slot.Hold(dragId, 1, 10);
        slot.Locked([](RemoteDragSlot::State& state, RemoteDragSlot::MouseUpCache&) {
            state.httpPayload = "payload";
        });
    }

    RemoteDragSlot slot;
    FakeReceiverPorts ports;
    RemoteDragReceiver receiver{slot, ports};
};

TEST_F(RemoteDragReceiverTest, AnOfferIsHeldUnarmedAndShown) {
    receiver.OnReceive(OfferText(5));
    const RemoteDragSlot::State state = slot.Read();
    EXPECT_TRUE(state.held);
    EXPECT_FALSE(state.armed);
    EXPECT_EQ(state.dragId, 5u);
    EXPECT_EQ(state.count, 2u);
    EXPECT_EQ(state.detail, "C:\\docs\\a.txt +1");
    EXPECT_TRUE(ports.runtimeActive);
    EXPECT_TRUE(ports.visual);
    EXPECT_EQ(CountLogMessages("[RDRAG][RECV] id=5 count=2 bytes=4096 folder=0 httpPayload=31 "
                               "detail=C:\\docs\\a.txt +1 lateDrop=0 age=0"),
              1u);
    EXPECT_TRUE(ports.begins.empty());
}

TEST_F(RemoteDragReceiverTest, AnInvalidTextIsLoggedAndChangesNothing) {
    receiver.OnReceive("1\n0\n10\n0");
    EXPECT_FALSE(slot.Read().held);
    EXPECT_FALSE(ports.runtimeActive);
    EXPECT_EQ(CountLogMessages("[RDRAG][RECV][ERR] invalid payload size=8"), 1u);
}

TEST_F(RemoteDragReceiverTest, TriggerDownloadsIntoTheTargetAndConsumesTheOffer) {
    receiver.OnReceive(OfferText(5));
    EXPECT_TRUE(receiver.TriggerDownload("C:\\Users\\me\\Desktop"));
    ASSERT_EQ(ports.begins.size(), 1u);
    EXPECT_EQ(ports.begins[0], "C:\\Users\\me\\Desktop|mode=http_manifest\ntransferId=3");
    EXPECT_EQ(CountLogMessages("[RDRAG][DROP][AUTO_ARM] pending drag was not armed before mouse-up dragId=5"),
              1u);
    EXPECT_EQ(CountLogMessages("[TRANSFER][ACCEPT] http target=C:\\Users\\me\\Desktop ok=1 payload=31"), 1u);
    const RemoteDragSlot::State state = slot.Read();
    EXPECT_FALSE(state.held);
    EXPECT_TRUE(state.httpPayload.empty());
    EXPECT_EQ(state.consumedDragId, 5u);
    EXPECT_EQ(state.consumedTick, 50000u);
    EXPECT_FALSE(ports.runtimeActive);
    EXPECT_FALSE(ports.visual);
}

TEST_F(RemoteDragReceiverTest, TheSameOfferWithin800MsOfItsConsumptionIsIgnored) {
    receiver.OnReceive(OfferText(5));
    ASSERT_TRUE(receiver.TriggerDownload(""));
    ports.now += 799;
    receiver.OnReceive(OfferText(5));
    EXPECT_FALSE(slot.Read().held);
    EXPECT_EQ(CountLogMessages("[RDRAG][RECV][IGN] duplicate consumed offer id=5 age=799"), 1u);

    ports.now += 1; // 800 ms: no longer a duplicate
    receiver.OnReceive(OfferText(5));
    EXPECT_TRUE(slot.Read().held);
    receiver.OnReceive(OfferText(6)); // a new drag replaces the held one
    EXPECT_EQ(slot.Read().dragId, 6u);
}

TEST_F(RemoteDragReceiverTest, ASecondTriggerWithoutAnOfferStartsNothing) {
    receiver.OnReceive(OfferText(5));
    ASSERT_TRUE(receiver.TriggerDownload(""));
    EXPECT_FALSE(receiver.TriggerDownload(""));
    EXPECT_EQ(ports.begins.size(), 1u);
    EXPECT_EQ(CountLogMessages("[RDRAG][DROP][ERR] no pending HTTP begin payload"), 1u);
}

TEST_F(RemoteDragReceiverTest, ATriggerOfAConsumedIdHeldAgainWithin800MsIsIgnored) {
    HoldWithPayload(9);
    slot.MarkConsumed(9, ports.now - 100);
    EXPECT_FALSE(receiver.TriggerDownload(""));
    EXPECT_TRUE(ports.begins.empty());
    EXPECT_EQ(CountLogMessages("[RDRAG][DROP][IGN] duplicate trigger for consumed dragId=9"), 1u);
}

TEST_F(RemoteDragReceiverTest, ABusyReceiverIsAFailureAndKeepsTheOfferForALaterRelease) {
    receiver.OnReceive(OfferText(5));
    ports.answer = RemoteDragDownloadStart::Busy;
    EXPECT_FALSE(receiver.TriggerDownload("D:\\in"));
    RemoteDragSlot::State state = slot.Read();
    EXPECT_TRUE(state.held);
    EXPECT_EQ(state.httpPayload, "mode=http_manifest\ntransferId=3");
    EXPECT_EQ(state.consumedDragId, 0u) << "nothing was downloaded, so nothing was consumed";
    EXPECT_EQ(CountLogMessages("[RDRAG][DROP] trigger download dragId=5 target=D:\\in ok=0"), 1u);
    EXPECT_EQ(CountLogMessages("[RDRAG][DROP][FAIL] receiver busy; offer kept dragId=5"), 1u);

    ports.answer = RemoteDragDownloadStart::Started;
    ports.now += 100;
    EXPECT_TRUE(receiver.TriggerDownload("D:\\in")) << "not taken for a duplicate of a consumed drag";
    EXPECT_EQ(ports.begins.size(), 2u);
    EXPECT_EQ(slot.Read().consumedDragId, 5u);
}

TEST_F(RemoteDragReceiverTest, AFailedStartConsumesTheUselessOffer) {
    receiver.OnReceive(OfferText(5));
    ports.answer = RemoteDragDownloadStart::Failed;
    EXPECT_FALSE(receiver.TriggerDownload(""));
    EXPECT_FALSE(slot.Read().held);
    EXPECT_EQ(slot.Read().consumedDragId, 5u);
}

TEST_F(RemoteDragReceiverTest, OnlyTheControllerDownloadsOrCancels) {
    ports.role = 2;
    HoldWithPayload(5);
    EXPECT_FALSE(receiver.TriggerDownload(""));
    receiver.CancelForLocalDrop("local-files-dropped-into-remoteview");
    EXPECT_TRUE(slot.Read().held);
    EXPECT_TRUE(ports.begins.empty());
    EXPECT_TRUE(ports.notices.empty());
}

struct LateCase {
    const char* name;
    bool leftDown;
    uint32_t upAge;
    bool treatAsRemote, recentLocalDrop, dragOutCandidate;
    bool downloads;
};

class RemoteDragLateDrop : public RemoteDragReceiverTest, public ::testing::WithParamInterface<LateCase> {};

TEST_P(RemoteDragLateDrop, DownloadsOnlyAfterAFreshReleaseOutsideRemoteView) {
    const LateCase& c = GetParam();
    ports.leftDown = c.leftDown;
    RemoteDragSlot::MouseUpCache up;
    up.tick = ports.now - c.upAge;
    up.target = "C:\\Users\\me\\Music";
    up.treatAsRemote = c.treatAsRemote;
    up.recentLocalDrop = c.recentLocalDrop;
    up.dragOutCandidate = c.dragOutCandidate;
    slot.WriteMouseUpCache(up);

    receiver.OnReceive(OfferText(8));
    if (c.downloads) {
        ASSERT_EQ(ports.begins.size(), 1u);
        EXPECT_EQ(ports.begins[0].substr(0, ports.begins[0].find('|')), "C:\\Users\\me\\Music");
        EXPECT_EQ(
            CountLogMessages("[RDRAG][LATE_DROP] accept late offer id=8 target=C:\\Users\\me\\Music age=" +
                             std::to_string(c.upAge)),
            1u);
        EXPECT_EQ(CountLogMessages("AUTO_ARM"), 0u) << "a late drop arms the offer itself";
        EXPECT_EQ(slot.Read().consumedDragId, 8u);
    } else {
        EXPECT_TRUE(ports.begins.empty());
        EXPECT_TRUE(slot.Read().held);
        EXPECT_FALSE(slot.Read().armed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RemoteDragLateDrop,
    ::testing::Values(LateCase{"ReleasedOutside", false, 350, false, false, true, true},
                      LateCase{"ReleaseTooOld", false, 351, false, false, true, false},
                      LateCase{"ButtonStillDown", true, 10, false, false, true, false},
                      LateCase{"ReleasedOverRemoteView", false, 10, true, false, true, false},
                      LateCase{"AfterALocalDrop", false, 10, false, true, true, false},
                      LateCase{"NotADragOut", false, 10, false, false, false, false}),
    [](const ::testing::TestParamInfo<LateCase>& info) { return std::string(info.param.name); });

TEST_F(RemoteDragReceiverTest, OneReleaseDropsOnlyOneLateOffer) {
    ports.leftDown = false;
    RemoteDragSlot::MouseUpCache up;
    up.tick = ports.now - 20;
    up.dragOutCandidate = true;
    slot.WriteMouseUpCache(up);
    receiver.OnReceive(OfferText(8));
    receiver.OnReceive(OfferText(9));
    EXPECT_EQ(ports.begins.size(), 1u);
    EXPECT_TRUE(slot.Read().held);
    EXPECT_EQ(CountLogMessages("target=<default>"), 1u);
}

TEST_F(RemoteDragReceiverTest, ALocalDropCancelTellsTheUserInTheirLanguage) {
    for (bool english : {true, false}) {
        ports.english = english;
        ports.notices.clear();
        receiver.OnReceive(OfferText(5));
        receiver.CancelForLocalDrop("recent-local-drop-into-remoteview");
        EXPECT_FALSE(slot.Read().held);
        EXPECT_FALSE(ports.runtimeActive);
        EXPECT_FALSE(ports.visual);
        ASSERT_EQ(ports.notices.size(), 1u);
        if (english) {
            EXPECT_EQ(ports.notices[0], "Drag: canceled by local drop");
            EXPECT_EQ(ports.titles.back(), u"Remote drag canceled");
            EXPECT_EQ(ports.bodies.back(), u"Canceled: local file drop interrupted remote drag-out.");
        } else {
            EXPECT_EQ(ports.notices[0], "拖动：本地拖入，已取消远程拖出");
            EXPECT_EQ(ports.titles.back(), u"远程拖出已取消");
            EXPECT_EQ(ports.bodies.back(), u"已取消：本地文件拖入远程窗口，打断了远程拖出。");
        }
    }
    EXPECT_EQ(CountLogMessages("[RDRAG][CANCEL_LOCAL] dragId=5 reason=recent-local-drop-into-remoteview"),
              2u);
    EXPECT_EQ(CountLogMessages("[RDRAG][UI_NOTIFY] reason=recent-local-drop-into-remoteview"), 2u);
    EXPECT_EQ(CountLogMessages("[RDRAG][STATE_UPDATE] Drag: canceled by local drop"), 1u);
}

TEST_F(RemoteDragReceiverTest, OtherCancelsAndCancelsWithoutAnOfferAreSilent) {
    receiver.OnReceive(OfferText(5));
    receiver.CancelForLocalDrop("mouse-up-inside-remoteview-normal-remote-drag");
    EXPECT_FALSE(slot.Read().held);
    EXPECT_FALSE(ports.visual);
    receiver.CancelForLocalDrop("local-files-dropped-into-remoteview");
    EXPECT_TRUE(ports.notices.empty());
    EXPECT_EQ(CountLogMessages("[RDRAG][CANCEL_LOCAL]"), 1u);
}

} // namespace
