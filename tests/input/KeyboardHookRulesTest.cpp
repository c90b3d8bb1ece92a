#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/Log.h"
#include "input/InputPeers.h"
#include "input/KeyboardHookRules.h"
#include "support/TestLog.h"
#include "win/RecordingInputRoute.h"

namespace {

constexpr uint32_t kDown = 0x100, kUp = 0x101, kSysDown = 0x104, kSysUp = 0x105;
constexpr uint32_t kAltFlag = 0x20;
constexpr uint32_t kLeftCtrl = 162, kRightCtrl = 163, kLeftAlt = 164, kLeftShift = 160, kLeftWin = 91;

class FakeHookSystem final : public IKeyboardHookSystem {
public:
    bool IsCursorOverRemoteView() override { return overView; }
    bool IsRemoteInputScopeActive() override { return scope; }
    bool IsMainWindowForeground() override { return mainForeground; }
    bool IsHidForced() override { return hidForced; }
    bool IsCtrlDownAsync() override { return ctrlAsync; }
    bool IsAltDownAsync() override { return altAsync; }
    uint64_t NowTicks() override { return now; }
    void PostToMainWindow(uint32_t message) override { posts.push_back(message); }
    uint64_t RaiseMirrorDeadline(uint32_t vk, uint64_t until) override {
        uint64_t& deadline = mirror[vk];
        deadline = std::max(deadline, until);
        return deadline;
    }

    bool overView = false, scope = false, mainForeground = false, hidForced = false;
    bool ctrlAsync = false, altAsync = false;
    uint64_t now = 50000;
    std::vector<uint32_t> posts;
    std::map<uint32_t, uint64_t> mirror;
};

class FakePeers final : public IInputPeers {
public:
    bool HasRemoteFileOffer() override { return offer; }
    bool IsLocalClipboardEmpty() override { return clipboardEmpty; }
    bool QueueRemoteFilesPaste() override {
        ++pastes;
        return pasteOk;
    }

    bool offer = false, clipboardEmpty = false, pasteOk = true;
    int pastes = 0;
};

enum class Where {
    Inside, // cursor over RemoteView of the live session, main window foreground: the grab holds
    Outside // cursor elsewhere, another program in front
};

struct Step {
    Where where;
    uint32_t message;
    uint32_t vk;
    uint32_t flags;
    HookVerdict verdict;
    bool ctrlAsync = false; // GetAsyncKeyState shows Ctrl held
};

struct HookCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> sent; // what reached the input route, in order
    std::vector<uint32_t> posts;   // messages posted to the main window
    bool offer = false;
    bool clipboardEmpty = false;
    int pastes = 0;
};

class KeyboardHookFixture {
protected:
    KeyboardHookFixture() {
        Log::Open();
        TestLog().Clear();
        route.tcpReady = true; // the session stays live wherever the cursor goes
    }

    void Place(Where where) {
        const bool inside = where == Where::Inside;
        system.overView = inside;
        system.scope = inside;
        system.mainForeground = inside;
    }

    HookVerdict Key(uint32_t message, uint32_t vk, uint32_t flags = 0, uint32_t scan = 0) {
        return HandleHookKeyEvent({message, vk, scan, flags}, state, context);
    }

    FakeHookSystem system;
    RecordingInputRoute route;
    FakePeers peers;
    KeyboardHookState state;
    KeyboardHookContext context{system, route, peers};
};

class KeyboardHookTable : public KeyboardHookFixture, public ::testing::TestWithParam<HookCase> {};

TEST_P(KeyboardHookTable, Decides) {
    const HookCase& c = GetParam();
    peers.offer = c.offer;
    peers.clipboardEmpty = c.clipboardEmpty;
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        Place(step.where);
        system.ctrlAsync = step.ctrlAsync;
        EXPECT_EQ(Key(step.message, step.vk, step.flags), step.verdict) << "step " << i;
    }
    EXPECT_EQ(route.Calls(), c.sent);
    EXPECT_EQ(system.posts, c.posts);
    EXPECT_EQ(peers.pastes, c.pastes);
}

constexpr HookVerdict kPass = HookVerdict::Pass;
constexpr HookVerdict kSwallow = HookVerdict::Swallow;
constexpr Where kIn = Where::Inside;
constexpr Where kOut = Where::Outside;

INSTANTIATE_TEST_SUITE_P(
    Rows, KeyboardHookTable,
    ::testing::Values(HookCase{"WinKeyInsideGoesToThePeerOnly",
                               {{kIn, kDown, kLeftWin, 1, kSwallow}, {kIn, kUp, kLeftWin, 1, kSwallow}},
                               {"hook 91 down", "hook 91 up"}},
                      HookCase{"WinKeyOutsideActsLocally",
                               {{kOut, kDown, kLeftWin, 1, kPass}, {kOut, kUp, kLeftWin, 1, kPass}},
                               {}},
                      HookCase{"PressedInsideReleasedOutsideSendsTheUpAndSwallowsIt",
                               {{kIn, kDown, kLeftWin, 1, kSwallow}, {kOut, kUp, kLeftWin, 1, kSwallow}},
                               {"hook 91 down", "hook 91 up"}},
                      HookCase{"PressedOutsideReleasedInsidePassesTheUp",
                               {{kOut, kDown, 'A', 0, kPass}, {kIn, kUp, 'A', 0, kPass}},
                               {}},
                      // The outside-scope clear (a modifier is held) must not lose C before its up was sent.
                      HookCase{"KeyReleasedOutsideWithCtrlHeldReleasesBothOnThePeer",
                               {{kIn, kDown, kLeftCtrl, 0, kSwallow},
                                {kIn, kDown, 'C', 0, kSwallow},
                                {kOut, kUp, 'C', 0, kSwallow},
                                {kOut, kUp, kLeftCtrl, 0, kPass}},
                               {"hook 162 down", "hook 67 down", "hook 162 up", "hook 67 up"}},
                      HookCase{"RepeatOfAGrabbedKeyOutsideStaysAwayFromTheLocalSystem",
                               {{kIn, kDown, 'W', 0, kSwallow},
                                {kOut, kDown, 'W', 0, kSwallow},
                                {kOut, kUp, 'W', 0, kSwallow}},
                               {"hook 87 down", "hook 87 up"}},
                      HookCase{"CtrlAltF11InsideTogglesFullscreenAndIsNotSent",
                               {{kIn, kDown, kLeftCtrl, 0, kSwallow},
                                {kIn, kSysDown, kLeftAlt, kAltFlag, kSwallow},
                                {kIn, kSysDown, 0x7A, kAltFlag, kSwallow},
                                {kIn, kSysUp, 0x7A, kAltFlag, kPass},
                                {kIn, kUp, kLeftAlt, 0, kSwallow},
                                {kIn, kUp, kLeftCtrl, 0, kSwallow}},
                               {"hook 162 down", "hook 164 down", "hook 164 up", "hook 162 up"},
                               {0x8412}},
                      HookCase{"CtrlAltZeroInsideTogglesStateView",
                               {{kIn, kDown, kLeftCtrl, 0, kSwallow},
                                {kIn, kSysDown, kLeftAlt, kAltFlag, kSwallow},
                                {kIn, kSysDown, '0', kAltFlag, kSwallow}},
                               {"hook 162 down", "hook 164 down"},
                               {0x8413}},
                      HookCase{"CtrlAltF11OutsideIsLeftToOtherPrograms",
                               {{kOut, kDown, kLeftCtrl, 0, kPass},
                                {kOut, kSysDown, kLeftAlt, kAltFlag, kPass},
                                {kOut, kSysDown, 0x7A, kAltFlag, kPass}},
                               {}},
                      HookCase{"NumLockInsideToggledOnBothSides",
                               {{kIn, kDown, 144, 1, kPass}, {kIn, kUp, 144, 1, kPass}},
                               {"hook 144 down", "hook 144 up"}},
                      HookCase{"CtrlVOutsideWithOfferAndEmptyClipboardPastesTheFiles",
                               {{kOut, kDown, 'V', 0, kSwallow, true}},
                               {},
                               {},
                               true,
                               true,
                               1},
                      HookCase{"CtrlVOutsideWithLocalClipboardContentPastesLocally",
                               {{kOut, kDown, 'V', 0, kPass, true}},
                               {},
                               {},
                               true,
                               false,
                               0},
                      HookCase{"CtrlVOutsideWithoutOfferPastesLocally",
                               {{kOut, kDown, 'V', 0, kPass, true}},
                               {},
                               {},
                               false,
                               true,
                               0},
                      HookCase{"CtrlVInsideWithOfferGoesToThePeer",
                               {{kIn, kDown, 'V', 0, kSwallow, true}},
                               {"hook 86 down"},
                               {},
                               true,
                               true,
                               0}),
    [](const ::testing::TestParamInfo<HookCase>& info) { return std::string(info.param.name); });

class KeyboardHookTest : public KeyboardHookFixture, public ::testing::Test {};

TEST_F(KeyboardHookTest, NumLockInsideArmsTheMirrorOnDownAndUpAndLogsIt) {
    Place(Where::Inside);
    ASSERT_EQ(Key(kDown, 144, 1, 0x45), HookVerdict::Pass);
    EXPECT_EQ(system.mirror[144], 50300u);
    system.now = 50100;
    ASSERT_EQ(Key(kUp, 144, 0x81, 0x45), HookVerdict::Pass);
    EXPECT_EQ(system.mirror[144], 50400u);
    EXPECT_EQ(system.mirror.count(20), 0u);
    const std::vector<std::string> log = TestLog().Messages();
    auto has = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
    EXPECT_TRUE(has("[KEY][NUMLOCK][LOCAL_LED_PASS] down=1 remoteForwarded=1 localWmSuppressed=1 virtual=0"));
    EXPECT_TRUE(has("[KEY][NUMLOCK][WM_SUPPRESS_ARM] durationMs=300 until=50300"));
    EXPECT_TRUE(has("[KEY][NUMLOCK][WM_SUPPRESS_ARM] durationMs=300 until=50400"));
    EXPECT_TRUE(has("[KEY][NUMLOCK][HOOK] wParam=0x0100 down=1 up=0 scan=69 flags=0x1 grab=1 hidForced=0"));
}

TEST_F(KeyboardHookTest, CapsLockPressedInsideReleasedOutsideStillReachesThePeerAndPassesLocally) {
    Place(Where::Inside);
    ASSERT_EQ(Key(kDown, 20), HookVerdict::Pass);
    Place(Where::Outside);
    ASSERT_EQ(Key(kUp, 20), HookVerdict::Pass) << "the local system saw the down, so it gets the up";
    EXPECT_EQ(route.Calls(), (std::vector<std::string>{"hook 20 down", "hook 20 up"}));
    EXPECT_EQ(CountLogMessages("[KEY][CAPSLOCK][LOCAL_STATE_PASS] down=1"), 1u);
    EXPECT_EQ(CountLogMessages("[KEY][CAPSLOCK][WM_SUPPRESS_ARM]"), 2u);
}

TEST_F(KeyboardHookTest, WithoutTcpTheKeyIsQueuedForTheCableAsItsWindowMessage) {
    Place(Where::Inside);
    route.tcpReady = false;
    route.hidRoute = true;
    system.hidForced = true;
    EXPECT_EQ(Key(kSysDown, 'X', kAltFlag), HookVerdict::Swallow);
    EXPECT_EQ(Key(kUp, 'X'), HookVerdict::Swallow);
    EXPECT_EQ(route.Calls(), (std::vector<std::string>{"hidkey 0x0104 88", "hidkey 0x0101 88"}));
    EXPECT_EQ(CountLogMessages("[HID][HOOK][KEY] route=forced vk=88 down=1"), 1u);
    EXPECT_EQ(CountLogMessages("[HID][HOOK][KEY] route=forced vk=88 down=0"), 1u);
}

TEST_F(KeyboardHookTest, WithoutAnyRouteTheKeyIsStillTaken) {
    Place(Where::Inside);
    route.tcpReady = false;
    route.hidRoute = false;
    EXPECT_EQ(Key(kDown, 'X'), HookVerdict::Swallow);
    EXPECT_EQ(Key(kUp, 'X'), HookVerdict::Swallow);
    EXPECT_TRUE(route.Calls().empty());
}

TEST_F(KeyboardHookTest, LeavingWithAModifierHeldReleasesEveryHeldKeyOnThePeerWithItsOwnScanCode) {
    Place(Where::Inside);
    Key(kDown, kRightCtrl, 0x01, 0x1D);
    Key(kDown, 'A', 0, 0x1E);
    Place(Where::Outside);
    EXPECT_EQ(Key(kDown, kLeftShift, 0, 0x2A), HookVerdict::Pass);
    EXPECT_EQ(route.Calls(),
              (std::vector<std::string>{"hook 163 down", "hook 65 down", "hook 65 up", "hook 163 up"}));
    ASSERT_EQ(route.hookScans.size(), 4u);
    EXPECT_EQ(route.hookScans[3], 0x1Du);
    EXPECT_EQ(route.hookFlags[3], 0x81u) << "right Ctrl is released as the extended key";
    EXPECT_EQ(route.hookScans[2], 0x1Eu);
    EXPECT_FALSE(state.modifiers.Any()) << "the outside-scope clear forgets Shift too";
    // Both keys are forgotten: their ups now belong to the local system.
    EXPECT_EQ(Key(kUp, 'A'), HookVerdict::Pass);
    EXPECT_EQ(Key(kUp, kRightCtrl, 0x81), HookVerdict::Pass);
    EXPECT_EQ(route.Calls().size(), 4u);
}

TEST_F(KeyboardHookTest, ClearFromTheMainWindowReleasesHeldKeysAndReportsWhetherAModifierWasSet) {
    Place(Where::Inside);
    Key(kDown, 'W');
    EXPECT_FALSE(ClearHookKeyState(state, "MainWindowDeactivate", context)) << "no modifier: no clear line";
    EXPECT_EQ(route.Calls(), (std::vector<std::string>{"hook 87 down", "hook 87 up"}));

    Key(kDown, kLeftWin);
    state.latches.ctrlAltZero = true;
    EXPECT_TRUE(ClearHookKeyState(state, "MainWindowDeactivate", context));
    EXPECT_FALSE(state.modifiers.Any());
    EXPECT_FALSE(state.latches.ctrlAltZero);
    EXPECT_EQ(Key(kUp, kLeftWin), HookVerdict::Pass) << "a cleared key is no longer the hook's";
    EXPECT_EQ(route.Calls().back(), "hook 91 up");
    EXPECT_EQ(route.Calls().size(), 4u);
}

TEST_F(KeyboardHookTest, HotkeyByAsyncStateAloneWhileTheMainWindowIsInFront) {
    Place(Where::Outside);
    system.mainForeground = true;
    system.ctrlAsync = true;
    system.altAsync = true;
    EXPECT_EQ(Key(kSysDown, '0', kAltFlag), HookVerdict::Swallow);
    EXPECT_EQ(system.posts, (std::vector<uint32_t>{0x8413}));
    EXPECT_EQ(CountLogMessages("[HOTKEY][HOOK] Ctrl+Alt+0 detected scope=local ctrl=1 alt=1"), 1u);
    EXPECT_EQ(CountLogMessages("[HOTKEY][HOOK][TRACE] vk=48 down=1 up=0 ctrl=1 alt=1 scope=0 grab=0"), 1u);
}

TEST_F(KeyboardHookTest, CtrlVLogsWhichWayItWent) {
    peers.offer = true;
    system.ctrlAsync = true;
    Place(Where::Inside);
    Key(kDown, 'V');
    EXPECT_EQ(
        CountLogMessages(
            "[CLIPFILE][HOOK] Ctrl+V over remote input scope: skip local paste, forward to peer virtual=0"),
        1u);
    Place(Where::Outside);
    peers.clipboardEmpty = true;
    peers.pasteOk = false;
    EXPECT_EQ(Key(kDown, 'V'), HookVerdict::Swallow) << "swallowed whatever the paste's result";
    EXPECT_EQ(
        CountLogMessages("[CLIPFILE][HOOK] local Ctrl+V consumed/async queued for remote file paste ok=0"),
        1u);
    peers.clipboardEmpty = false;
    Key(kDown, 'V');
    EXPECT_EQ(CountLogMessages("[CLIPFILE][HOOK] local Ctrl+V not consumed: local clipboard not empty"), 1u);
}

TEST_F(KeyboardHookTest, OtherMessagesPassUntouched) {
    Place(Where::Inside);
    EXPECT_EQ(Key(0x0200, 'A'), HookVerdict::Pass);
    EXPECT_TRUE(route.Calls().empty());
}

} // namespace
