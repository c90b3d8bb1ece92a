// Control request, desktop state and control stop as the handler acts on them; the duplicate-request rule as
// a table; the readers of the stored request.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SessionControllerTestSupport.h"

namespace {

using Calls = std::vector<std::string>;

// This PC is "TSLY-MID"; the peer is "TSLY-ZED" at 10.0.0.2.
std::string Request(const std::string& fields, const std::string& id = "TSLY-ZED") {
    return "TSLY_CONTROL_REQUEST;id=" + id + ";name=Desk;ver=20260827.3;" + fields + "end=1;";
}

std::string DesktopState(int locked) {
    return "TSLY_DESKTOP_STATE;id=TSLY-ZED;name=Desk;ver=20260827.3;locked=" + std::to_string(locked) +
           ";end=1;";
}

class ControlHandlerTest : public SessionControllerFixture {
protected:
    RuntimeSnapshot Snap() { return RuntimeMakeSnapshot(); }
};

// --- The duplicate rule.

struct DuplicateCase {
    const char* name;
    StoredControlRequest before;
    DuplicateRequestFields fields;
    StoredControlRequest after;
    bool visibility, audio, quality;
};

constexpr const char* kSender = "10.0.0.2";
constexpr uint32_t kNearWrap = 0xFFFFFFF0u;

// Wire order: width, height, fps, bitrate, viewHidden, viewSeq, audio, quality, qualitySeq.
const DuplicateCase kDuplicateCases[] = {
    {"another controller's request is stored: nothing changes",
     {"10.0.0.3", {0, 0, 30, 0, 0, 5, 0, 0, 2}},
     {true, 9, true, true, 9, true},
     {"10.0.0.3", {0, 0, 30, 0, 0, 5, 0, 0, 2}},
     false,
     false,
     false},
    {"no owner yet: the sender becomes it",
     {"", {}},
     {true, 3, {}, {}, 0, false},
     {kSender, {0, 0, 0, 0, 1, 3, 0, 0, 0}},
     true,
     false,
     false},
    {"newer view_seq",
     {kSender, {0, 0, 0, 0, 0, 5}},
     {true, 6},
     {kSender, {0, 0, 0, 0, 1, 6}},
     true,
     false,
     false},
    {"equal view_seq",
     {kSender, {0, 0, 0, 0, 0, 5}},
     {true, 5},
     {kSender, {0, 0, 0, 0, 1, 5}},
     true,
     false,
     false},
    {"older view_seq",
     {kSender, {0, 0, 0, 0, 0, 5}},
     {true, 4},
     {kSender, {0, 0, 0, 0, 0, 5}},
     false,
     false,
     false},
    {"view_seq newer across the wrap",
     {kSender, {0, 0, 0, 0, 0, kNearWrap}},
     {true, 5},
     {kSender, {0, 0, 0, 0, 1, 5}},
     true,
     false,
     false},
    {"view_seq older across the wrap",
     {kSender, {0, 0, 0, 0, 0, 5}},
     {true, kNearWrap},
     {kSender, {0, 0, 0, 0, 0, 5}},
     false,
     false,
     false},
    {"view_seq 0 sets the flag and keeps the sequence",
     {kSender, {0, 0, 0, 0, 1, 5}},
     {false, 0},
     {kSender, {0, 0, 0, 0, 0, 5}},
     true,
     false,
     false},
    {"no stored view_seq takes any",
     {kSender, {0, 0, 0, 0, 0, 0}},
     {true, 2},
     {kSender, {0, 0, 0, 0, 1, 2}},
     true,
     false,
     false},
    {"audio changed",
     {kSender, {0, 0, 0, 0, 0, 5, 0}},
     {false, 5, true},
     {kSender, {0, 0, 0, 0, 0, 5, 1}},
     true,
     true,
     false},
    {"audio the same",
     {kSender, {0, 0, 0, 0, 0, 5, 1}},
     {false, 5, true},
     {kSender, {0, 0, 0, 0, 0, 5, 1}},
     true,
     false,
     false},
    {"audio absent",
     {kSender, {0, 0, 0, 0, 0, 5, 1}},
     {false, 5, {}},
     {kSender, {0, 0, 0, 0, 0, 5, 1}},
     true,
     false,
     false},
    {"quality with the first sequence",
     {kSender, {0, 0, 0, 0, 0, 5, 0, 0, 0}},
     {false, 5, {}, true, 4, true},
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 4}},
     true,
     false,
     true},
    {"quality with an older sequence",
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 5}},
     {false, 5, {}, false, 4, true},
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 5}},
     true,
     false,
     false},
    {"quality without a sequence while one is stored",
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 5}},
     {false, 5, {}, false, 0, true},
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 5}},
     true,
     false,
     false},
    {"quality newer across the wrap",
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, kNearWrap}},
     {false, 5, {}, false, 3, true},
     {kSender, {0, 0, 0, 0, 0, 5, 0, 0, 3}},
     true,
     false,
     true},
    {"same mode, newer sequence: stored, no change",
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 5}},
     {false, 5, {}, true, 6, true},
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 6}},
     true,
     false,
     false},
    {"no sequence stored or sent: the mode is taken",
     {kSender, {0, 0, 0, 0, 0, 5, 0, 0, 0}},
     {false, 5, {}, true, 0, true},
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 0}},
     true,
     false,
     true},
    {"req_quality absent",
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 5}},
     {false, 5, {}, {}, 9, true},
     {kSender, {0, 0, 0, 0, 0, 5, 0, 1, 5}},
     true,
     false,
     false},
};

class DuplicateRule : public ::testing::TestWithParam<DuplicateCase> {};

TEST_P(DuplicateRule, Table) {
    const DuplicateCase& c = GetParam();
    StoredControlRequest stored = c.before;
    DuplicateRequestUpdate update = ApplyDuplicateRequest(stored, kSender, c.fields);
    EXPECT_EQ(stored.ownerIp, c.after.ownerIp);
    EXPECT_EQ(stored.params, c.after.params);
    EXPECT_EQ(update.otherOwner, c.before.ownerIp != "" && c.before.ownerIp != kSender);
    EXPECT_EQ(update.visibility, c.visibility);
    EXPECT_EQ(update.audio, c.audio);
    EXPECT_EQ(update.quality, c.quality);
    if (update.audio) {
        EXPECT_EQ(update.oldAudio, c.before.params.audio);
        EXPECT_EQ(update.newAudio, c.after.params.audio);
    }
    if (update.quality) {
        EXPECT_EQ(update.oldQuality, c.before.params.quality);
        EXPECT_EQ(update.newQuality, c.after.params.quality);
    }
}

INSTANTIATE_TEST_SUITE_P(ControlHandler, DuplicateRule, ::testing::ValuesIn(kDuplicateCases),
                         [](const ::testing::TestParamInfo<DuplicateCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

TEST(ControlHandlerRead, DuplicateFieldsKeepPresenceAndNeedTheCapabilityForUltra) {
    DuplicateRequestFields f =
        ReadDuplicateRequestFields("X;view_hidden=1;view_seq=7;req_quality=1;quality_seq=3;");
    EXPECT_TRUE(f.viewHidden);
    EXPECT_EQ(f.viewSeq, 7u);
    EXPECT_FALSE(f.audio.has_value());
    ASSERT_TRUE(f.ultra.has_value());
    EXPECT_FALSE(*f.ultra); // no capability
    EXPECT_EQ(f.qualitySeq, 3u);

    f = ReadDuplicateRequestFields("X;view_hidden=true;req_audio=0;req_quality=1;cap_uq=1;");
    EXPECT_FALSE(f.viewHidden);
    ASSERT_TRUE(f.audio.has_value());
    EXPECT_FALSE(*f.audio);
    EXPECT_TRUE(f.ultra.value_or(false));
}

// --- A new request.

TEST_F(ControlHandlerTest, ANewRequestIsHeldToTheSendersRulesStoredAndMakesThisPcControlled) {
    handler.HandleControlMessage(kPeerIp,
                                 Request("req_w=99999;req_h=1081;req_fps=1000;req_bitrate=1000000000;"
                                         "view_hidden=1;view_seq=7;req_audio=0;req_quality=1;"
                                         "quality_seq=3;cap_uq=1;"));

    EXPECT_EQ(state.requests.RequestOwnedBy(kPeerIp),
              (ControlRequestParams{8192, 1080, 30, 25000000, 1, 7, 0, 1, 3}));
    EXPECT_EQ(services.Calls(), (Calls{"stopClient", "stopHost", std::string("startHost ") + kPeerIp}));
    EXPECT_EQ(manager.ActivePeerName(), "Desk");
    RuntimeSnapshot s = Snap();
    EXPECT_EQ(s.statusMessage, "Switching to controlled"); // set by the switch after the handler's texts
    EXPECT_EQ(s.peerVersion, "20260827.3");
    EXPECT_TRUE(HasLine("[CONTROL][REQUEST_CLAMPED] peer=10.0.0.2"));
    EXPECT_TRUE(HasLine("Controller video request stored ip=10.0.0.2 req=8192x1080 fps=30 bitrate=25000000 "
                        "viewHidden=1 viewSeq=7 audio=0 quality=ULTRA qualitySeq=3"));
    EXPECT_TRUE(HasLine("Discovery received TCP control request from 10.0.0.2 id=TSLY-ZED name=Desk "
                        "ver=20260827.3 req=8192x1080 fps=30 bitrate=25000000 viewHidden=1 viewSeq=7 audio=0 "
                        "quality=ULTRA qualitySeq=3 -> switch to controlled"));
}

TEST_F(ControlHandlerTest, AnAbsentAudioWishFollowsTheLocalSetting) {
    for (bool local : {false, true}) {
        SCOPED_TRACE(local);
        manager.StopAllSessions("reset");
        ConfigService::Instance().SetAudioEnable(local);
        handler.HandleControlMessage(kPeerIp, Request("req_fps=30;"));
        EXPECT_EQ(state.requests.RequestOwnedBy(kPeerIp).audio, local ? 1u : 0u);
    }
}

TEST_F(ControlHandlerTest, AnEnabledAutoConnectIsSuppressedBeforeTheSwitch) {
    services.autoIntent = true;
    handler.HandleControlMessage(kPeerIp, Request(""));
    Calls calls = services.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "suppress 10000 incoming control request wins");

    manager.StopAllSessions("reset");
    services.autoIntent = false;
    services.ClearCalls();
    handler.HandleControlMessage(kPeerIp, Request(""));
    EXPECT_FALSE(services.Called("suppress"));
}

TEST_F(ControlHandlerTest, ARequestWithoutANameNamesThePeerByItsAddress) {
    handler.HandleControlMessage(kPeerIp, "TSLY_CONTROL_REQUEST;id=TSLY-ZED;req_fps=30;");
    EXPECT_EQ(manager.ActivePeerName(), kPeerIp);
    EXPECT_EQ(Snap().peerVersion, "");
}

TEST_F(ControlHandlerTest, ARequestWithoutAForeignIdIsIgnored) {
    for (const char* id : {"", "TSLY-MID"}) {
        SCOPED_TRACE(id);
        handler.HandleControlMessage(kPeerIp, Request("req_fps=30;", id));
        EXPECT_TRUE(services.Calls().empty());
        EXPECT_EQ(state.requests.RequestOwnedBy(kPeerIp), ControlRequestParams{});
    }
}

TEST_F(ControlHandlerTest, PeerTextsAreCutBeforeTheyAreStored) {
    std::string longName(300, 'n');
    handler.HandleControlMessage(kPeerIp, "TSLY_CONTROL_REQUEST;id=TSLY-ZED;name=" + longName +
                                              ";ver=" + std::string(400, '9') + ";");
    EXPECT_EQ(manager.ActivePeerName(), std::string(255, 'n'));
    EXPECT_EQ(Snap().peerVersion, std::string(255, '9'));
}

// A repeated request of the active peer refreshes the running session: audio is applied to it, a quality
// change rebuilds only the video, and the session is not restarted.
TEST_F(ControlHandlerTest, ARepeatedRequestRefreshesTheRunningSessionWithoutARestart) {
    handler.HandleControlMessage(kPeerIp, Request("view_hidden=0;view_seq=5;req_audio=1;req_quality=0;"
                                                  "quality_seq=2;cap_uq=1;"));
    services.ClearCalls();
    TestLog().Clear();

    handler.HandleControlMessage(kPeerIp, Request("req_bitrate=2000000;view_hidden=1;view_seq=4;req_audio=0;"
                                                  "req_quality=1;quality_seq=3;cap_uq=1;"));

    EXPECT_EQ(services.Calls(), Calls{"hostVideoRestart"});
    EXPECT_EQ(state.requests.RequestOwnedBy(kPeerIp), (ControlRequestParams{0, 0, 0, 0, 0, 5, 0, 1, 3}));
    EXPECT_TRUE(
        HasLine("[AUDIO][HOST][REQUEST_CHANGED] peer=10.0.0.2 old=1 new=0 action=apply-running-session"));
    EXPECT_TRUE(HasLine("[QUALITY][HOST][REQUEST_CHANGED] peer=10.0.0.2 old=H264 new=ULTRA "
                        "action=rebuild-video-only"));
    EXPECT_TRUE(HasLine("Host video restart requested: controller quality selection changed"));

    services.ClearCalls();
    handler.HandleControlMessage(kPeerIp,
                                 Request("view_seq=6;req_audio=0;req_quality=1;quality_seq=3;cap_uq=1;"));
    EXPECT_TRUE(services.Calls().empty()); // nothing changed that needs a rebuild
}

// --- Desktop state.

TEST_F(ControlHandlerTest, ALockedReportForcesHidOnceAndAnUnlockReleasesIt) {
    BecomeControllerOf(kPeerIp);

    handler.HandleControlMessage(kPeerIp, DesktopState(1));
    handler.HandleControlMessage(kPeerIp, DesktopState(1));

    EXPECT_EQ(services.Calls(), (Calls{"hidStart", "hidProbe force-hid"}));
    EXPECT_EQ(runtime.stateManager.GetInputRoute(), int32_t(InputRoute::Hid));
    EXPECT_EQ(Snap().statusMessage, "Remote LoginWindow/locked; hardware input via HID");
    EXPECT_EQ(CountLines("[INPUT][MODE] network -> hid reason=remote_desktop_state_locked ip=10.0.0.2"), 1u);
    EXPECT_EQ(CountLines("[HIDASYNC][FORCE] fallback=1 cachedHid=0"), 1u);

    services.ClearCalls();
    handler.HandleControlMessage(kPeerIp, DesktopState(0));
    handler.HandleControlMessage(kPeerIp, DesktopState(0));

    EXPECT_EQ(services.Calls(), Calls{"hidCancel fallback-disabled"});
    EXPECT_EQ(runtime.stateManager.GetInputRoute(), int32_t(InputRoute::Tcp));
    EXPECT_EQ(Snap().statusMessage, "Remote desktop active; waiting for video/capture recovery");
    EXPECT_EQ(CountLines("[INPUT][MODE] hid -> network reason=remote_unlocked_in_place ip=10.0.0.2"), 1u);
    EXPECT_TRUE(HasLine("Discovery desktop state unlock detected from 10.0.0.2; preserve active session"));
    EXPECT_FALSE(services.Called("stop")); // the session goes on
}

TEST_F(ControlHandlerTest, DesktopStateTextsFollowTheUiLanguage) {
    ConfigService::Instance().SetUiLanguageEnglish(false);
    BecomeControllerOf(kPeerIp);
    handler.HandleControlMessage(kPeerIp, DesktopState(1));
    EXPECT_EQ(Snap().statusMessage, "远端已进入登录界面/锁定状态，键鼠切换为硬件HID");
    handler.HandleControlMessage(kPeerIp, DesktopState(0));
    EXPECT_EQ(Snap().statusMessage, "远端已进入桌面，正在等待视频/采集恢复");
}

TEST_F(ControlHandlerTest, DesktopStateCountsOnlyFromTheActivePeerWhileControlling) {
    BecomeControlledBy(kPeerIp); // not the controller
    handler.HandleControlMessage(kPeerIp, DesktopState(1));
    EXPECT_EQ(state.desktop.Value(), DesktopLockCache::kUnknown);

    BecomeControllerOf(kPeerIp);
    handler.HandleControlMessage(kOtherIp, DesktopState(1));
    handler.HandleControlMessage(kPeerIp, "TSLY_DESKTOP_STATE;id=TSLY-MID;locked=1;end=1;");
    EXPECT_EQ(state.desktop.Value(), DesktopLockCache::kUnknown);
    EXPECT_FALSE(runtime.stateManager.IsHidForced());
}

// --- Control stop.

TEST_F(ControlHandlerTest, AStopActsOnlyForTheActivePeerWithTheCablePresent) {
    struct Case {
        const char* name;
        const char* id;
        const char* sender;
        bool cable;
        Calls calls;
    } cases[] = {
        {"own id", "TSLY-MID", kPeerIp, true, {}},
        {"no id", "", kPeerIp, true, {}},
        {"not the active peer", "TSLY-ZED", kOtherIp, true, {}},
        {"cable missing", "TSLY-ZED", kPeerIp, false, {"refreshCable peer-control-stop-check"}},
        {"stopped by the peer",
         "TSLY-ZED",
         kPeerIp,
         true,
         {"refreshCable peer-control-stop-check", "intent 0 peer tcp control stop", "stopClient",
          "stopHost"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BecomeControlledBy(kPeerIp);
        services.cablePresent = c.cable;

        handler.HandleControlMessage(c.sender, std::string("TSLY_CONTROL_STOP;id=") + c.id + ";name=Desk;");

        EXPECT_EQ(services.Calls(), c.calls);
        EXPECT_EQ(RuntimeIsHostRunning(), c.calls.size() < 4);
        EXPECT_EQ(
            HasLine("Discovery received control stop while local authorized device is missing; preserve "
                    "auto-connect intent"),
            !c.cable);
    }
    EXPECT_TRUE(
        HasLine("Discovery received TCP control stop from 10.0.0.2 id=TSLY-ZED name=Desk; auto intent "
                "disabled"));
    EXPECT_FALSE(services.Called("sendStop")); // a stop the peer asked for is not echoed
}

// --- The stored request's readers.

TEST_F(ControlHandlerTest, TheHostSeesTheStoredRequestOnlyWhileItsOwnerIsTheActivePeer) {
    const ControlRequestParams params{1280, 720, 30, 8000000, 1, 4, 1, 0, 0};
    ControlHandlerState::Instance().requests.Store(kPeerIp, params);
    KvmSessionManager& processManager = KvmSessionManager::Instance();

    processManager.SetActivePeer(kOtherIp, "Other");
    EXPECT_EQ(Discovery::GetControllerVideoRequest(), ControlRequestParams{});
    EXPECT_FALSE(Discovery::IsControllerViewHidden());
    EXPECT_FALSE(Discovery::ControllerRequestedAudio());

    processManager.SetActivePeer(kPeerIp, "Desk");
    EXPECT_EQ(Discovery::GetControllerVideoRequest(), params);
    EXPECT_TRUE(Discovery::IsControllerViewHidden());
    EXPECT_TRUE(Discovery::ControllerRequestedAudio());

    Discovery::ResetVideoRequestCache();
    EXPECT_EQ(Discovery::GetControllerVideoRequest(), ControlRequestParams{});
    processManager.ClearActivePeer();
}

} // namespace
