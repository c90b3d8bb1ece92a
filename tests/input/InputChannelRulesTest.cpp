#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/StateTestSupport.h"
#include "input/InputChannelRules.h"
#include "input/InputLinkState.h"

namespace {

using Result = InputRecordReader::Result;

TEST(HostHandshake, OnlyAWholeAcceptableHelloOpensTheConnection) {
    EXPECT_TRUE(IsHostHandshakeHello(Result::Packet, MakeHelloPacket(1)));
    EXPECT_TRUE(IsHostHandshakeHello(Result::Packet, MakeInputPacket(InputPacketType::Hello, 0, 0, 1, 0)));
    EXPECT_FALSE(IsHostHandshakeHello(Result::Packet, MakeInputPacket(InputPacketType::Hello, 5, 0, 1, 0)));
    EXPECT_FALSE(IsHostHandshakeHello(Result::BadMagic, MakeHelloPacket(1)));
    EXPECT_FALSE(IsHostHandshakeHello(Result::NeedMore, MakeHelloPacket(1))) << "a short read";
}

struct RecordCase {
    const char* name;
    Result result;
    InputPacket packet;
    uint64_t acceptGen;
    uint64_t newest;
    HostRecordAction action;
};

class HostRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(HostRecordTest, Decides) {
    const RecordCase& c = GetParam();
    EXPECT_EQ(DecideHostRecord(c.result, c.packet, c.acceptGen, c.newest), c.action);
}

const InputPacket kKey = MakeInputPacket(InputPacketType::Key, 30, 0, 65, 1);

INSTANTIATE_TEST_SUITE_P(
    Table, HostRecordTest,
    ::testing::Values(
        RecordCase{"KeyIsInjected", Result::Packet, kKey, 3, 3, HostRecordAction::Inject},
        RecordCase{"UnknownTypeIsInjected", Result::Packet,
                   MakeInputPacket(static_cast<InputPacketType>(77), 0, 0, 0, 0), 3, 3,
                   HostRecordAction::Inject},
        RecordCase{"HelloInSessionIsAnswered", Result::Packet, MakeHelloPacket(4), 3, 3,
                   HostRecordAction::AnswerHello},
        RecordCase{"BadMagicCloses", Result::BadMagic, kKey, 3, 3, HostRecordAction::CloseBadMagic},
        RecordCase{"NewerConnectionMakesItStale", Result::Packet, kKey, 3, 4, HostRecordAction::CloseStale}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });

TEST(InputRouteRule, TcpOnlyFromNoneOrHidAndNotWhileLocked) {
    EXPECT_TRUE(ShouldRouteToTcp(false, static_cast<int32_t>(InputRoute::None)));
    EXPECT_TRUE(ShouldRouteToTcp(false, static_cast<int32_t>(InputRoute::Hid)));
    EXPECT_FALSE(ShouldRouteToTcp(false, static_cast<int32_t>(InputRoute::Tcp)));
    EXPECT_FALSE(ShouldRouteToTcp(false, 9));
    EXPECT_FALSE(ShouldRouteToTcp(true, static_cast<int32_t>(InputRoute::None)));
}

TEST(ClientStartRule, OnlyTheSameRunningClientWithoutForceIsKept) {
    const ClientRunFacts running{true, true, "10.0.0.2", 5000};
    EXPECT_TRUE(IsDuplicateClientStart(running, "10.0.0.2", 5000, false));
    EXPECT_FALSE(IsDuplicateClientStart(running, "10.0.0.2", 5000, true));
    EXPECT_FALSE(IsDuplicateClientStart(running, "10.0.0.3", 5000, false));
    EXPECT_FALSE(IsDuplicateClientStart(running, "10.0.0.2", 5001, false));
    EXPECT_FALSE(IsDuplicateClientStart({true, false, "10.0.0.2", 5000}, "10.0.0.2", 5000, false))
        << "host mode";
    EXPECT_FALSE(IsDuplicateClientStart({false, true, "10.0.0.2", 5000}, "10.0.0.2", 5000, false))
        << "stopped";
}

TEST(InputPacketLogRule, MovesEveryFiveHundredthOtherTypesAlways) {
    const InputPacket move = MakeInputPacket(InputPacketType::MouseMove, 1, 1, 0, 0);
    EXPECT_FALSE(ShouldLogInputPacket(move, 1));
    EXPECT_FALSE(ShouldLogInputPacket(move, 499));
    EXPECT_TRUE(ShouldLogInputPacket(move, 500));
    EXPECT_TRUE(ShouldLogInputPacket(move, 1000));
    EXPECT_TRUE(ShouldLogInputPacket(kKey, 0));
}

TEST(InputDiagLines, KeyAndButtonFormats) {
    const InputPacket key = MakeInputPacket(InputPacketType::Key, 0x1E0048, 0, 38,
                                            KeyPacketFlags::kDown | KeyPacketFlags::kExtended);
    EXPECT_EQ(FormatKeyDiagLine("TCP_RECV_HOST", key),
              "[KEY][DIAG][TCP_RECV_HOST] vk=38 scan=72 down=1 extended=1 pktFlags=0x3");
    const InputPacket up = MakeInputPacket(InputPacketType::Key, 0x2A, 0, 16, 0);
    EXPECT_EQ(FormatKeyDiagLine("TCP_SEND_ASYNC", up),
              "[KEY][DIAG][TCP_SEND_ASYNC] vk=16 scan=42 down=0 extended=0 pktFlags=0x0");
    const InputPacket right = MakeInputPacket(InputPacketType::MouseButton, 0, 0, 1, 1);
    EXPECT_EQ(FormatMouseButtonDiagLine("TCP_SEND_DIRECT", right),
              "[MOUSE][BTN][TCP_SEND_DIRECT] button=R(1) down=1 x=0 y=0 data2=1");
    const InputPacket odd = MakeInputPacket(InputPacketType::MouseButton, 3, 4, 7, 0);
    EXPECT_EQ(FormatMouseButtonDiagLine("TCP_RECV_HOST", odd),
              "[MOUSE][BTN][TCP_RECV_HOST] button=?(7) down=0 x=3 y=4 data2=0");
}

// --- Reports to the state manager.

class InputLinkReportTest : public ::testing::Test {
protected:
    RuntimeTestBinding t;
    StateManagerInputLinkState link{t.stateManager};
};

TEST_F(InputLinkReportTest, HandshakeConnectsRoutesAndMarksTheChannelConnected) {
    t.stateManager.SetInputRoute(InputRoute::Hid, "test");
    ReportInputHandshake(link, "InputClientHandshake");
    EXPECT_TRUE(t.stateManager.IsTcpInputConnected());
    EXPECT_EQ(t.stateManager.GetInputRoute(), static_cast<int32_t>(InputRoute::Tcp));
    EXPECT_EQ(t.stateManager.GetChannelState(kChannelInput), static_cast<int32_t>(ChannelState::Connected));
}

TEST_F(InputLinkReportTest, HandshakeWhileLockedLeavesTheRouteAlone) {
    t.stateManager.SetRemoteLocked(true, "test");
    t.stateManager.SetInputRoute(InputRoute::Hid, "test");
    ReportInputHandshake(link, "InputHostHandshake");
    EXPECT_TRUE(t.stateManager.IsTcpInputConnected());
    EXPECT_EQ(t.stateManager.GetInputRoute(), static_cast<int32_t>(InputRoute::Hid));
    EXPECT_EQ(t.stateManager.GetChannelState(kChannelInput), static_cast<int32_t>(ChannelState::Connected));
}

TEST_F(InputLinkReportTest, LinkDownClearsTheFlagAndSetsTheGivenState) {
    ReportInputHandshake(link, "InputClientHandshake");
    ReportInputLinkDown(link, "InputClientSendFailed", ChannelState::Reconnecting,
                        "input TCP send failed; reconnecting");
    EXPECT_FALSE(t.stateManager.IsTcpInputConnected());
    EXPECT_EQ(t.stateManager.GetChannelState(kChannelInput),
              static_cast<int32_t>(ChannelState::Reconnecting));
    EXPECT_GE(t.stateLog.Count("reason=input TCP send failed; reconnecting"), 1u);
}

} // namespace
