// The main window's resize over a recording fake of the window system: scripted sequences of the state
// machine, the custom border drag and the internal watchdog.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/ResizeStateMachine.h"

namespace {

std::string RectText(const WindowRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// Records every effect; the window's own reactions (WM_SIZE deferring the layout, WM_CAPTURECHANGED on a
// released capture) are replayed into the machine as the main window would.
class FakePorts final : public IResizePorts {
public:
    uint64_t Now() override { return now; }
    bool LeftButtonDown() override { return leftDown; }
    void SetTimer(uint32_t id, uint32_t ms) override {
        timers[id] = ms;
        Note("set " + std::to_string(id) + " " + std::to_string(ms));
    }
    void KillTimer(uint32_t id) override { timers.erase(id); }
    void FreezeRenderer(bool on) override { frozen = on; }
    bool RendererFrozen() override { return frozen; }
    bool UiGuardOn() override { return guardOn; }
    void SetUiGuard(bool on, uint64_t deadline) override {
        guardOn = on;
        guardDeadline = deadline;
    }
    uint32_t TakeGuardSkips() override { return 0; }
    void StartExternalWatchdog(uint32_t sequence) override { watchdogs.push_back(sequence); }
    void LayoutChildren() override { Note("layout"); }
    WindowRect WindowRectangle() override { return window; }
    void ClientSize(int32_t& w, int32_t& h) override {
        w = window.right - window.left;
        h = window.bottom - window.top;
    }
    void MoveWindow(const WindowRect& r) override {
        window = r;
        Note("move " + RectText(r));
        if (machine != nullptr && !machine->LayoutAllowed())
            machine->DeferLayout("WM_SIZE/resize-state");
        else
            Note("layout");
    }
    ScreenPoint CursorPos() override { return cursor; }
    void CaptureMouse() override { captured = true; }
    bool ReleaseCaptureIfHeld() override {
        if (!captured)
            return false;
        captured = false;
        if (machine != nullptr)
            machine->OnCaptureChanged();
        return true;
    }
    void LogDpi(const char* label) override { Note(std::string("dpi ") + label); }

    void Note(const std::string& e) { events.push_back(e); }
    size_t Count(const std::string& e) const {
        size_t n = 0;
        for (const std::string& x : events)
            n += x == e ? 1 : 0;
        return n;
    }

    ResizeStateMachine* machine = nullptr;
    uint64_t now = 10000;
    bool leftDown = false;
    bool frozen = false;
    bool guardOn = false;
    uint64_t guardDeadline = 0;
    bool captured = false;
    WindowRect window{100, 100, 900, 600};
    ScreenPoint cursor{102, 300};
    std::map<uint32_t, uint32_t> timers;
    std::vector<uint32_t> watchdogs;
    std::vector<std::string> events;
};

using State = ResizeStateMachine::State;

class ResizeStateMachineTest : public ::testing::Test {
protected:
    ResizeStateMachineTest() { ports.machine = &machine; }

    // A left-border drag pressed at (102, 300).
    void StartLeftDrag() {
        ports.leftDown = true;
        ASSERT_TRUE(machine.StartCustom(kHitLeft, false, false));
    }
    void MoveTo(int32_t x, int32_t y) {
        ports.now += 16;
        ports.cursor = {x, y};
        machine.StepCustom("WM_MOUSEMOVE");
    }
    // The final-layout timer firing.
    void FinalLayoutTimer() {
        ports.now += kResizeFinalLayoutDelayMs;
        machine.ApplyFinalLayout("timer");
    }
    bool TimerOn(uint32_t id) const { return ports.timers.count(id) != 0; }

    FakePorts ports;
    ResizeStateMachine machine{ports};
};

TEST_F(ResizeStateMachineTest, ADragFreezesFollowsTheCursorAndLaysOutOnceAfterTheRelease) {
    StartLeftDrag();
    EXPECT_EQ(machine.CurrentState(), State::Active);
    EXPECT_TRUE(ports.frozen);
    EXPECT_TRUE(ports.captured);
    EXPECT_TRUE(ports.guardOn);
    EXPECT_EQ(ports.guardDeadline, 10000u + 60000u);
    EXPECT_EQ(ports.watchdogs, std::vector<uint32_t>{1});
    EXPECT_EQ(machine.WatchdogSequence(), 1u);
    EXPECT_EQ(machine.SharedState(), 1u);
    EXPECT_EQ(ports.timers[kResizePollTimer], 16u);
    EXPECT_EQ(ports.timers[kResizeWatchdogTimer], 120u);

    MoveTo(52, 310);
    MoveTo(52, 310); // the same rectangle is not set twice
    MoveTo(2, 300);
    ports.leftDown = false;
    ports.now += 16;
    machine.StepCustom("timer-poll"); // the button went up between two moves
    EXPECT_EQ(ports.Count("move 50,100,900,600"), 1u);
    EXPECT_EQ(ports.Count("move 0,100,900,600"), 1u);
    EXPECT_EQ(ports.Count("layout"), 0u) << "no layout while the size is still changing";
    EXPECT_FALSE(machine.CustomActive());
    EXPECT_FALSE(ports.captured);
    EXPECT_FALSE(ports.guardOn);
    EXPECT_EQ(ports.guardDeadline, ports.now + 120);
    EXPECT_FALSE(TimerOn(kResizePollTimer));
    EXPECT_EQ(machine.CurrentState(), State::Exiting);
    EXPECT_EQ(machine.SharedState(), 2u);
    EXPECT_FALSE(ports.frozen);
    EXPECT_EQ(ports.timers[kResizeFinalLayoutTimer], 220u);

    FinalLayoutTimer();
    EXPECT_EQ(ports.Count("layout"), 1u);
    EXPECT_EQ(machine.CurrentState(), State::Idle);
    EXPECT_EQ(machine.WatchdogSequence(), 2u) << "a changed sequence stops the external watchdog";
    EXPECT_FALSE(TimerOn(kResizeWatchdogTimer));
    EXPECT_FALSE(TimerOn(kResizeFinalLayoutTimer));
}

TEST_F(ResizeStateMachineTest, EscapeKeepsTheLastAppliedRectangle) {
    StartLeftDrag();
    MoveTo(40, 300);
    ports.cursor = {-200, 300}; // moved, but no step ran yet
    EXPECT_TRUE(machine.CancelCustom());
    EXPECT_EQ(ports.window.left, 38);
    EXPECT_EQ(ports.Count("move -202,100,900,600"), 0u);
    EXPECT_FALSE(machine.CustomActive());
    EXPECT_FALSE(ports.captured);
    EXPECT_EQ(machine.CurrentState(), State::Exiting);
    EXPECT_FALSE(machine.CancelCustom()) << "nothing left to cancel";
}

TEST_F(ResizeStateMachineTest, TheDragStartsFromWhereTheWindowIsNow) {
    StartLeftDrag();
    ports.leftDown = false;
    machine.StepCustom("WM_MOUSEMOVE");
    FinalLayoutTimer();
    ports.window = {300, 200, 1300, 800}; // moved and sized by other means since
    ports.cursor = {302, 500};
    StartLeftDrag();
    MoveTo(292, 500);
    EXPECT_EQ(ports.window.left, 290);
    EXPECT_EQ(ports.window.right, 1300);
    EXPECT_EQ(ports.watchdogs, (std::vector<uint32_t>{1, 2}));
}

TEST_F(ResizeStateMachineTest, StartRefusesAnythingButABorderOfAPlainWindow) {
    EXPECT_FALSE(machine.StartCustom(kHitNone, false, false));
    EXPECT_FALSE(machine.StartCustom(1, false, false)); // HTCLIENT
    EXPECT_FALSE(machine.StartCustom(kHitLeft, true, false));
    EXPECT_FALSE(machine.StartCustom(kHitLeft, false, true));
    EXPECT_EQ(machine.CurrentState(), State::Idle);
    EXPECT_FALSE(ports.captured);
    EXPECT_TRUE(machine.StartCustom(kHitBottomRight, false, false));
    EXPECT_FALSE(machine.StartCustom(kHitLeft, false, false)) << "one drag at a time";
    EXPECT_EQ(machine.CustomHit(), kHitBottomRight);
}

TEST_F(ResizeStateMachineTest, TheFinalLayoutWaitsWhileTheResizeIsActive) {
    machine.Enter("WM_SIZING");
    machine.ApplyFinalLayout("timer");
    EXPECT_EQ(ports.Count("layout"), 0u);
    EXPECT_TRUE(machine.DeferredLayout());
    EXPECT_EQ(ports.timers[kResizeFinalLayoutTimer], 220u);
    machine.Exit("WM_EXITSIZEMOVE", false);
    FinalLayoutTimer();
    EXPECT_EQ(ports.Count("layout"), 1u);
    EXPECT_EQ(machine.CurrentState(), State::Idle);
}

TEST_F(ResizeStateMachineTest, ExitFromIdleOnlySchedulesTheLayout) {
    ports.frozen = true; // a plain move froze the renderer
    machine.Exit("WM_EXITSIZEMOVE", false);
    EXPECT_EQ(machine.CurrentState(), State::Idle);
    EXPECT_FALSE(ports.frozen);
    EXPECT_EQ(ports.timers[kResizeFinalLayoutTimer], 220u);
    FinalLayoutTimer();
    EXPECT_EQ(ports.Count("layout"), 1u);
}

TEST_F(ResizeStateMachineTest, EnterWhileActiveRefreezesWithoutANewSequence) {
    ports.leftDown = true;
    machine.Enter("WM_SIZING");
    ports.frozen = false; // the renderer's own watchdog let go
    machine.Enter("WM_SIZING");
    EXPECT_TRUE(ports.frozen);
    EXPECT_EQ(machine.Sequence(), 1u);
    EXPECT_EQ(ports.watchdogs.size(), 1u);
}

struct WatchdogCase {
    const char* name;
    bool custom;
    bool leftDown;
    uint64_t idleMs;
    State after;
    bool customAfter;
};

class ResizeInternalWatchdogTest : public ResizeStateMachineTest,
                                   public ::testing::WithParamInterface<WatchdogCase> {};

TEST_P(ResizeInternalWatchdogTest, EndsAnActiveResizeOnlyPastItsIdleBounds) {
    const WatchdogCase& c = GetParam();
    if (c.custom) {
        StartLeftDrag();
    } else {
        ports.leftDown = true;
        machine.Enter("WM_SIZING");
    }
    ports.leftDown = c.leftDown;
    ports.now += c.idleMs;
    machine.OnWatchdogTimer();
    EXPECT_EQ(machine.CurrentState(), c.after);
    EXPECT_EQ(machine.CustomActive(), c.customAfter);
    EXPECT_EQ(ports.captured, c.customAfter) << "an ended drag lets the mouse go";
    EXPECT_EQ(ports.guardOn, c.customAfter) << "an ended drag lifts the present guard";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResizeInternalWatchdogTest,
    ::testing::Values(WatchdogCase{"ButtonUpIdle899", false, false, 899, State::Active, false},
                      WatchdogCase{"ButtonUpIdle900", false, false, 900, State::Exiting, false},
                      WatchdogCase{"DragButtonUpIdle899", true, false, 899, State::Active, true},
                      WatchdogCase{"DragButtonUpIdle900", true, false, 900, State::Exiting, false},
                      WatchdogCase{"ButtonDownIdle2999", false, true, 2999, State::Active, false},
                      WatchdogCase{"ButtonDownIdle3000", false, true, 3000, State::Exiting, false},
                      WatchdogCase{"DragButtonDownIdle2999", true, true, 2999, State::Active, true},
                      WatchdogCase{"DragButtonDownIdle3000EndsTheDrag", true, true, 3000, State::Exiting,
                                   false}),
    [](const ::testing::TestParamInfo<WatchdogCase>& info) { return std::string(info.param.name); });

TEST_F(ResizeStateMachineTest, AStaleDragEndedByTheWatchdogNoLongerMovesTheWindow) {
    StartLeftDrag();
    ports.now += 3000;
    machine.OnWatchdogTimer();
    FinalLayoutTimer();
    ASSERT_EQ(machine.CurrentState(), State::Idle);
    const size_t layouts = ports.Count("layout");
    for (int x : {50, 20, 0}) {
        MoveTo(x, 300);
        machine.StepCustom("timer-poll");
    }
    EXPECT_EQ(ports.Count("layout"), layouts) << "no layout on every later step";
    EXPECT_FALSE(TimerOn(kResizePollTimer));
}

TEST_F(ResizeStateMachineTest, TheWatchdogAppliesTheOwedLayoutOfAnExitingResizeAfter900Ms) {
    // The final-layout timer never comes (its message lost in a modal loop).
    machine.Enter("WM_SIZING");
    machine.Exit("WM_EXITSIZEMOVE", false);
    ports.events.clear();
    ports.now += 899;
    machine.OnWatchdogTimer();
    EXPECT_EQ(machine.CurrentState(), State::Exiting);
    ports.now += 1;
    machine.OnWatchdogTimer();
    EXPECT_EQ(machine.CurrentState(), State::Idle);
    EXPECT_EQ(ports.Count("layout"), 1u);
    EXPECT_FALSE(TimerOn(kResizeWatchdogTimer));
}

TEST_F(ResizeStateMachineTest, KeyboardSizingIsLeftToItsOwnEnd) {
    ports.leftDown = false; // sizing from the system menu with the arrow keys
    machine.OnEnterSizeMove();
    machine.OnSizing();
    EXPECT_EQ(machine.CurrentState(), State::Active);
    EXPECT_TRUE(ports.watchdogs.empty()) << "the external watchdog would cancel the user's sizing";
    ports.now += 5000; // a long pause between two key presses
    machine.OnWatchdogTimer();
    EXPECT_EQ(machine.CurrentState(), State::Active);
    machine.OnSizing();
    EXPECT_EQ(machine.Sequence(), 1u);
    machine.OnExitSizeMove();
    EXPECT_EQ(machine.CurrentState(), State::Exiting);
    FinalLayoutTimer();
    EXPECT_EQ(machine.CurrentState(), State::Idle);

    // The next sizing by mouse is watched again.
    ports.leftDown = true;
    machine.OnSizing();
    EXPECT_EQ(ports.watchdogs, std::vector<uint32_t>{2});
    ports.leftDown = false;
    ports.now += 900;
    machine.OnWatchdogTimer();
    EXPECT_EQ(machine.CurrentState(), State::Exiting);
}

TEST_F(ResizeStateMachineTest, CaptureLossKeepsAHeldResizeAndEndsAReleasedOne) {
    ports.leftDown = true;
    machine.Enter("WM_SIZING");
    machine.OnCaptureChanged();
    EXPECT_EQ(machine.CurrentState(), State::Active);
    EXPECT_TRUE(machine.DeferredLayout());
    ports.leftDown = false;
    machine.OnCaptureChanged();
    EXPECT_EQ(machine.CurrentState(), State::Exiting);
}

TEST_F(ResizeStateMachineTest, CancelModeEndsAResizeButLetsAnIdleWindowDefault) {
    ports.guardOn = true;
    EXPECT_TRUE(machine.OnCancelMode());
    EXPECT_FALSE(ports.guardOn);
    EXPECT_EQ(ports.guardDeadline, ports.now + 120);

    machine.Enter("WM_SIZING");
    EXPECT_FALSE(machine.OnCancelMode());
    EXPECT_EQ(machine.CurrentState(), State::Exiting);

    FinalLayoutTimer();
    StartLeftDrag();
    MoveTo(60, 300);
    EXPECT_FALSE(machine.OnCancelMode());
    EXPECT_FALSE(machine.CustomActive());
    EXPECT_EQ(machine.CurrentState(), State::Exiting);
}

TEST_F(ResizeStateMachineTest, ADpiChangeDuringAResizeIsSetWhenItEnds) {
    const WindowRect suggested{50, 60, 1250, 960};
    StartLeftDrag();
    MoveTo(52, 300);
    machine.OnDpiChanged(suggested);
    EXPECT_EQ(ports.Count("move 50,60,1250,960"), 0u) << "not under the renderer's feet";
    EXPECT_EQ(ports.Count("dpi WM_DPICHANGED/deferred"), 1u);
    ports.leftDown = false;
    machine.StepCustom("timer-poll");
    ports.events.clear();
    FinalLayoutTimer();
    EXPECT_EQ(ports.events,
              (std::vector<std::string>{"move 50,60,1250,960", "layout", "dpi WM_DPICHANGED/applied"}));
    EXPECT_FALSE(machine.HasPendingDpiRect());
    EXPECT_EQ(machine.CurrentState(), State::Idle);
}

TEST_F(ResizeStateMachineTest, ADpiChangeDuringAMoveIsSetWhenTheMoveEnds) {
    machine.OnEnterSizeMove(); // a move: the renderer frozen, the state still IDLE
    machine.OnMoving();
    machine.OnDpiChanged({10, 20, 1010, 720});
    EXPECT_EQ(ports.Count("move 10,20,1010,720"), 0u);
    machine.OnExitSizeMove();
    FinalLayoutTimer();
    EXPECT_EQ(ports.Count("move 10,20,1010,720"), 1u);
    EXPECT_EQ(ports.window.right, 1010);
}

TEST_F(ResizeStateMachineTest, ADpiChangeWhileIdleIsSetAtOnce) {
    machine.OnDpiChanged({10, 20, 1010, 720});
    EXPECT_EQ(ports.events,
              (std::vector<std::string>{"move 10,20,1010,720", "layout", "layout", "dpi WM_DPICHANGED"}));
}

TEST_F(ResizeStateMachineTest, EndAllLeavesNothingRunningForTheNextWindow) {
    StartLeftDrag();
    MoveTo(60, 300);
    machine.OnDpiChanged({0, 0, 800, 600});
    machine.EndAll("WM_DESTROY");
    EXPECT_EQ(machine.CurrentState(), State::Idle);
    EXPECT_FALSE(machine.CustomActive());
    EXPECT_FALSE(machine.HasPendingDpiRect());
    EXPECT_FALSE(ports.frozen);
    EXPECT_FALSE(ports.captured);
    EXPECT_TRUE(machine.LayoutAllowed());
    EXPECT_NE(machine.WatchdogSequence(), machine.Sequence());
}

} // namespace
