#include <gtest/gtest.h>

#include "core/RuntimeState.h"
#include "ui/ControlViewClick.h"

namespace {

struct ClickCase {
    const char* name;
    ProgramState state;
    bool cable;
    size_t peers;
    ControlViewClick expected;
};

class ControlViewClickTest : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ControlViewClickTest, Decides) {
    const ClickCase& c = GetParam();
    EXPECT_EQ(DecideControlViewClick(static_cast<int32_t>(c.state), c.cable, c.peers), c.expected);
}

// Any session under way is ended by the click, also without a cable; an idle PC needs both the cable and
// a discovered peer before it asks for control.
INSTANTIATE_TEST_SUITE_P(
    Table, ControlViewClickTest,
    ::testing::Values(
        ClickCase{"IdleWithPeer", ProgramState::Idle, true, 1, ControlViewClick::Connect},
        ClickCase{"IdleNoPeer", ProgramState::Idle, true, 0, ControlViewClick::NoDevice},
        ClickCase{"IdleNoCable", ProgramState::Idle, false, 2, ControlViewClick::CableMissing},
        ClickCase{"PeerLostReconnects", ProgramState::PeerLost, true, 1, ControlViewClick::Connect},
        ClickCase{"ErrorReconnects", ProgramState::Error, true, 1, ControlViewClick::Connect},
        ClickCase{"HostRunningIsIdle", ProgramState::HostRunning, true, 1, ControlViewClick::Connect},
        ClickCase{"Connecting", ProgramState::Connecting, true, 1, ControlViewClick::Disconnect},
        ClickCase{"Controlling", ProgramState::Controlling, false, 0, ControlViewClick::Disconnect},
        ClickCase{"Controlled", ProgramState::Controlled, true, 1, ControlViewClick::Disconnect},
        ClickCase{"Stopping", ProgramState::Stopping, true, 1, ControlViewClick::Disconnect},
        ClickCase{"HostStarting", ProgramState::HostStarting, true, 1, ControlViewClick::Disconnect},
        ClickCase{"ClientStarting", ProgramState::ClientStarting, true, 1, ControlViewClick::Disconnect},
        ClickCase{"Switching", ProgramState::Switching, true, 1, ControlViewClick::Disconnect}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return info.param.name; });

} // namespace
