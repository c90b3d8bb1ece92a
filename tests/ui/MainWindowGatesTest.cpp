// The main window's small decisions over time: tray-menu request coalescing, the repaint hold while the
// menu is up, the StateView debounce, the controller test and the controlled host's once-per-entry hide.
#include <gtest/gtest.h>

#include "core/RuntimeState.h"
#include "ui/RuntimeRefreshGate.h"
#include "ui/SessionRoles.h"
#include "ui/StateViewToggleGate.h"
#include "ui/TrayMenuGate.h"

namespace {

TEST(TrayMenuGate, NotifyEventsSortIntoRestoreMenuAndIgnored) {
    struct Case {
        uint32_t event;
        TrayNotifyAction action;
    } cases[] = {
        {0x202, TrayNotifyAction::Restore},    {0x203, TrayNotifyAction::Restore},
        {0x400, TrayNotifyAction::Restore},    {0x205, TrayNotifyAction::RequestMenu},
        {0x7B, TrayNotifyAction::RequestMenu}, {0x401, TrayNotifyAction::RequestMenu},
        {0x200, TrayNotifyAction::Ignore},     {0x201, TrayNotifyAction::Ignore},
        {0x204, TrayNotifyAction::Ignore},     {0x402, TrayNotifyAction::Ignore},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyTrayNotify(c.event), c.action) << std::hex << c.event;
}

TEST(TrayMenuGate, RequestsCoalesceWithin300MsAndWaitForAnOpenMenu) {
    struct Case {
        const char* name;
        bool pending;
        uint32_t lastTick;
        bool open;
        uint32_t now;
        TrayMenuRequest expected;
    } cases[] = {
        {"first request", false, 0, false, 5, TrayMenuRequest::Post},
        {"pending 299 ms ago", true, 1000, false, 1299, TrayMenuRequest::Coalesced},
        {"pending 300 ms ago", true, 1000, false, 1300, TrayMenuRequest::Post},
        {"not pending though recent", false, 1000, false, 1010, TrayMenuRequest::Post},
        {"menu open wins", true, 1000, true, 1010, TrayMenuRequest::IgnoredMenuOpen},
        {"menu open without request", false, 0, true, 99999, TrayMenuRequest::IgnoredMenuOpen},
        {"tick wrapped", true, 0xFFFFFF00u, false, 0x10, TrayMenuRequest::Coalesced},
    };
    for (const Case& c : cases) {
        TrayUiFlags flags;
        flags.menuRequestPending = c.pending;
        flags.menuRequestTick = c.lastTick;
        flags.menuOpen = c.open;
        EXPECT_EQ(DecideTrayMenuRequest(flags, c.now), c.expected) << c.name;
    }
}

TEST(RuntimeRefreshGate, HeldWhileMenuBusyAndReplayedOnceAfter) {
    RuntimeRefreshGate gate;
    EXPECT_TRUE(gate.Admit(false));
    EXPECT_EQ(gate.OnRetryTimer(false), RuntimeRefreshGate::Retry::Stop) << "nothing was held back";

    EXPECT_FALSE(gate.Admit(true));
    EXPECT_FALSE(gate.Admit(true)) << "a second message while busy is the same held refresh";
    EXPECT_EQ(gate.OnRetryTimer(true), RuntimeRefreshGate::Retry::KeepWaiting);
    EXPECT_EQ(gate.OnRetryTimer(false), RuntimeRefreshGate::Retry::StopAndRepost);
    EXPECT_EQ(gate.OnRetryTimer(false), RuntimeRefreshGate::Retry::Stop) << "replayed only once";
}

TEST(StateViewToggleGate, SecondToggleWithin250MsIsDropped) {
    StateViewToggleGate gate;
    EXPECT_TRUE(gate.Admit(10)) << "the first toggle goes ahead even right after boot";
    EXPECT_FALSE(gate.Admit(259));
    EXPECT_TRUE(gate.Admit(260));
    EXPECT_FALSE(gate.Admit(400)) << "measured from the last accepted toggle";
    EXPECT_TRUE(gate.Admit(0xFFFFFFF0u));
    EXPECT_FALSE(gate.Admit(0x20)) << "across the tick wrap";
}

TEST(SessionRoles, ControllerTest) {
    struct Case {
        int32_t role;
        bool client, host;
        bool controller;
    } cases[] = {
        {1, false, false, true}, {1, false, true, true}, {2, true, false, false},  {0, true, false, true},
        {3, true, false, true},  {0, true, true, false}, {0, false, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsThisPcController(c.role, c.client, c.host), c.controller)
            << "role=" << c.role << " client=" << c.client << " host=" << c.host;
}

TEST(SessionRoles, ControlledHostStateNeedsEveryCondition) {
    RuntimeSnapshot s;
    s.appRunning = true;
    s.role = 2;
    s.programState = 6;
    s.hostRunning = true;
    EXPECT_TRUE(IsControlledHostState(s));
    RuntimeSnapshot t = s;
    t.clientRunning = true;
    EXPECT_FALSE(IsControlledHostState(t)) << "a running client session";
    t = s;
    t.programState = 2;
    EXPECT_FALSE(IsControlledHostState(t)) << "host running but not yet controlled";
    t = s;
    t.appRunning = false;
    EXPECT_FALSE(IsControlledHostState(t)) << "stopping";
    t = s;
    t.hostRunning = false;
    EXPECT_FALSE(IsControlledHostState(t));
}

TEST(SessionRoles, ControlViewHidesOnlyWhileControlling) {
    EXPECT_FALSE(ControlViewShouldShow(static_cast<int32_t>(ProgramState::Controlling)));
    EXPECT_TRUE(ControlViewShouldShow(static_cast<int32_t>(ProgramState::Idle)));
    EXPECT_TRUE(ControlViewShouldShow(static_cast<int32_t>(ProgramState::Connecting)));
}

TEST(AutoHideLatch, HidesOncePerEntryIntoTheControlledState) {
    AutoHideLatch latch;
    EXPECT_TRUE(latch.Update(true));
    EXPECT_FALSE(latch.Update(true)) << "a restore in between keeps the window shown";
    EXPECT_FALSE(latch.Update(true));
    EXPECT_FALSE(latch.Update(false));
    EXPECT_TRUE(latch.Update(true)) << "re-entry hides again";
}

} // namespace
