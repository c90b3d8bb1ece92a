#include <gtest/gtest.h>

#include <string>

#include "core/RuntimeState.h"
#include "core/StateManagerTypes.h"
#include "input/InputRouteRules.h"

namespace {

constexpr int32_t kConnected = static_cast<int32_t>(ChannelState::Connected);

TEST(IsTcpReady, NeedsEveryConditionAndNoHidForce) {
    const TcpReadyFacts ready{false, true, true, kConnected};
    EXPECT_TRUE(IsTcpReady(ready));
    TcpReadyFacts f = ready;
    f.hidForced = true;
    EXPECT_FALSE(IsTcpReady(f));
    f = ready;
    f.remoteControlActive = false;
    EXPECT_FALSE(IsTcpReady(f));
    f = ready;
    f.inputConnected = false;
    EXPECT_FALSE(IsTcpReady(f));
    f = ready;
    f.inputChannelState = static_cast<int32_t>(ChannelState::Reconnecting);
    EXPECT_FALSE(IsTcpReady(f));
}

RuntimeSnapshot Controlling() {
    RuntimeSnapshot s;
    s.appRunning = true;
    s.clientRunning = true;
    s.role = static_cast<int32_t>(RuntimeRole::Controller);
    s.programState = static_cast<int32_t>(ProgramState::Controlling);
    return s;
}

TEST(IsRemoteControlActive, OnlyTheControllerOfALiveSession) {
    EXPECT_TRUE(IsRemoteControlActive(Controlling(), true));
    EXPECT_FALSE(IsRemoteControlActive(Controlling(), false));
    for (ProgramState state : {ProgramState::Idle, ProgramState::PeerLost, ProgramState::Stopping}) {
        RuntimeSnapshot s = Controlling();
        s.programState = static_cast<int32_t>(state);
        EXPECT_FALSE(IsRemoteControlActive(s, true)) << static_cast<int>(state);
    }
    RuntimeSnapshot s = Controlling();
    s.programState = static_cast<int32_t>(ProgramState::Connecting);
    EXPECT_TRUE(IsRemoteControlActive(s, true));
    s = Controlling();
    s.role = static_cast<int32_t>(RuntimeRole::Controlled);
    EXPECT_FALSE(IsRemoteControlActive(s, true));
    s = Controlling();
    s.clientRunning = false;
    EXPECT_FALSE(IsRemoteControlActive(s, true));
    s = Controlling();
    s.appRunning = false;
    EXPECT_FALSE(IsRemoteControlActive(s, true));
}

struct RouteCase {
    const char* name;
    bool tcpReady, hidForced;
    int32_t previous, hidCached, hidAvailable;
    bool hid, changed, cancel, probe;
    const char* reason;
};

class ChooseInputRouteTest : public ::testing::TestWithParam<RouteCase> {};

TEST_P(ChooseInputRouteTest, Decides) {
    const RouteCase& c = GetParam();
    const RouteChoice r = ChooseInputRoute(c.tcpReady, c.hidForced, c.previous, c.hidCached, c.hidAvailable);
    EXPECT_EQ(r.hid, c.hid);
    EXPECT_EQ(r.route, c.hid ? kAutoRouteHid : kAutoRouteTcp);
    EXPECT_EQ(r.changed, c.changed);
    EXPECT_EQ(r.cancelHidQueue, c.cancel);
    EXPECT_EQ(r.startProbe, c.probe);
    EXPECT_EQ(r.startWorker, c.hid);
    EXPECT_STREQ(r.reason, c.reason);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChooseInputRouteTest,
    ::testing::Values(
        RouteCase{"FirstTcpEvent", true, false, -1, -1, -1, false, true, true, false, "tcp-input-ready"},
        RouteCase{"TcpAfterHidCancelsTheQueue", true, false, 2, 1, 1, false, true, true, false,
                  "tcp-input-ready"},
        RouteCase{"TcpStaysTcp", true, false, 1, -1, -1, false, false, false, false, "tcp-input-ready"},
        RouteCase{"NotReadyGoesHidAndProbes", false, false, 1, -1, -1, true, true, false, true,
                  "tcp-input-not-ready-prewin"},
        RouteCase{"HidStaysHid", false, false, 2, -1, -1, true, false, false, true,
                  "tcp-input-not-ready-prewin"},
        RouteCase{"CachedPresenceSkipsTheProbe", false, false, 2, 1, -1, true, false, false, false,
                  "tcp-input-not-ready-prewin"},
        RouteCase{"OpenWorkerSkipsTheProbe", false, false, 2, -1, 1, true, false, false, false,
                  "tcp-input-not-ready-prewin"},
        RouteCase{"ForcedHid", false, true, -1, -1, -1, true, true, false, true, "forced-hid"}),
    [](const ::testing::TestParamInfo<RouteCase>& info) { return std::string(info.param.name); });

} // namespace
