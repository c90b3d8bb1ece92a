#include <gtest/gtest.h>

#include "core/RuntimeState.h"
#include "input/RemoteInputScope.h"

namespace {

// A live TCP session with the cursor over RemoteView and the main window in front: the scope holds.
RemoteInputScopeFacts LiveTcp() {
    RemoteInputScopeFacts f;
    f.tcpReady = true;
    f.remoteInputEnable = true;
    f.keyboardActive = true;
    f.cursorOverRemoteView = true;
    f.clientRunning = true;
    f.appRunning = true;
    f.role = static_cast<int32_t>(RuntimeRole::Controller);
    f.programState = static_cast<int32_t>(ProgramState::Controlling);
    f.mainWindowForeground = true;
    return f;
}

// The same with HID forced and no input channel.
RemoteInputScopeFacts LiveForcedHid() {
    RemoteInputScopeFacts f = LiveTcp();
    f.hidForced = true;
    f.tcpReady = false;
    return f;
}

struct ScopeCase {
    const char* name;
    RemoteInputScopeFacts facts;
    bool active;
};

template <typename Change> RemoteInputScopeFacts With(RemoteInputScopeFacts f, Change change) {
    change(f);
    return f;
}

class RemoteInputScopeTest : public ::testing::TestWithParam<ScopeCase> {};

TEST_P(RemoteInputScopeTest, Decides) {
    EXPECT_EQ(IsRemoteInputScopeActive(GetParam().facts), GetParam().active);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RemoteInputScopeTest,
    ::testing::Values(
        ScopeCase{"LiveTcpSession", LiveTcp(), true},
        ScopeCase{"TcpNotReady", With(LiveTcp(), [](auto& f) { f.tcpReady = false; }), false},
        ScopeCase{"CursorOutsideRemoteView", With(LiveTcp(), [](auto& f) { f.cursorOverRemoteView = false; }),
                  false},
        ScopeCase{"AnotherProgramInFront", With(LiveTcp(), [](auto& f) { f.mainWindowForeground = false; }),
                  false},
        ScopeCase{"SettingOff", With(LiveTcp(), [](auto& f) { f.remoteInputEnable = false; }), false},
        ScopeCase{"KeyboardFlagClear", With(LiveTcp(), [](auto& f) { f.keyboardActive = false; }), false},
        ScopeCase{"VirtualScreenWithTcpWinsOverEverything",
                  With(RemoteInputScopeFacts{},
                       [](auto& f) {
                           f.virtualScreenHoldsCursor = true;
                           f.tcpReady = true;
                       }),
                  true},
        ScopeCase{"VirtualScreenWithoutTcp",
                  With(LiveTcp(),
                       [](auto& f) {
                           f.virtualScreenHoldsCursor = true;
                           f.tcpReady = false;
                           f.cursorOverRemoteView = false;
                       }),
                  false},
        ScopeCase{"ForcedHidNeedsNoChannel", LiveForcedHid(), true},
        ScopeCase{"ForcedHidIgnoresTheSettingAndTheKeyboardFlag",
                  With(LiveForcedHid(),
                       [](auto& f) {
                           f.remoteInputEnable = false;
                           f.keyboardActive = false;
                       }),
                  true},
        ScopeCase{"ForcedHidStillNeedsTheCursorOverRemoteView",
                  With(LiveForcedHid(), [](auto& f) { f.cursorOverRemoteView = false; }), false},
        ScopeCase{"ForcedHidWhileStopping",
                  With(LiveForcedHid(),
                       [](auto& f) { f.programState = static_cast<int32_t>(ProgramState::Stopping); }),
                  false},
        ScopeCase{
            "ForcedHidOnTheControlledSide",
            With(LiveForcedHid(), [](auto& f) { f.role = static_cast<int32_t>(RuntimeRole::Controlled); }),
            false},
        ScopeCase{"ForcedHidWithoutClientSession",
                  With(LiveForcedHid(), [](auto& f) { f.clientRunning = false; }), false},
        ScopeCase{"ForcedHidAppNotRunning", With(LiveForcedHid(), [](auto& f) { f.appRunning = false; }),
                  false},
        ScopeCase{"ForcedHidAnotherProgramInFront",
                  With(LiveForcedHid(), [](auto& f) { f.mainWindowForeground = false; }), false}),
    [](const ::testing::TestParamInfo<ScopeCase>& info) { return std::string(info.param.name); });

} // namespace
