#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "input/HotkeyPoll.h"
#include "support/TestLog.h"
#include "ui/StateViewToggleGate.h"

namespace {

class HotkeyPollTest : public ::testing::Test {
protected:
    HotkeyPollTest() {
        Log::Open();
        TestLog().Clear();
    }

    // One 50 ms poll with the main window in front.
    void Poll(bool f11, bool zero, bool foreground = true) {
        HotkeyPollFacts facts;
        facts.mainWindowForeground = foreground;
        facts.ctrlAltF11 = f11;
        facts.ctrlAltZero = zero;
        RunHotkeyPoll(latches, facts, actions);
        now += 50;
    }

    HookPollLatches latches;
    uint32_t now = 1000;
    std::vector<std::string> fullscreens;
    std::vector<std::string> stateViewToggles;
    StateViewToggleGate gate; // the main window's StateView debounce
    HotkeyPollActions actions{[this](const char* source) { fullscreens.push_back(source); },
                              [this](const char* source) {
                                  if (gate.Admit(now))
                                      stateViewToggles.push_back(source);
                              }};
};

TEST_F(HotkeyPollTest, HoldingCtrlAltZeroForASecondTogglesOnce) {
    for (int i = 0; i < 20; ++i)
        Poll(false, true);
    EXPECT_EQ(stateViewToggles, (std::vector<std::string>{"poll Ctrl+Alt+0"}));
    EXPECT_EQ(CountLogMessages("[HOTKEY][POLL] Ctrl+Alt+0 detected"), 1u);
    EXPECT_TRUE(fullscreens.empty());
}

TEST_F(HotkeyPollTest, SecondPressWithin250MsIsDebouncedAndALaterOneToggles) {
    Poll(false, true);  // t=1000: toggles
    Poll(false, false); // released
    Poll(false, true);  // t=1100: a new edge, dropped by the debounce
    Poll(false, false);
    for (int i = 0; i < 4; ++i)
        Poll(false, false);
    Poll(false, true); // t=1400: toggles again
    EXPECT_EQ(stateViewToggles.size(), 2u);
    EXPECT_EQ(CountLogMessages("[HOTKEY][POLL] Ctrl+Alt+0 detected"), 3u);
}

TEST_F(HotkeyPollTest, CtrlAltF11TogglesFullscreenOncePerPress) {
    Poll(true, false);
    Poll(true, false);
    Poll(false, false);
    Poll(true, false);
    EXPECT_EQ(fullscreens, (std::vector<std::string>{"poll Ctrl+Alt+F11", "poll Ctrl+Alt+F11"}));
    EXPECT_EQ(CountLogMessages("[HOTKEY][POLL] Ctrl+Alt+F11 detected"), 2u);
}

TEST_F(HotkeyPollTest, WithoutLocalFocusTheChordCountsAsNotPressed) {
    Poll(true, true, false);
    EXPECT_TRUE(fullscreens.empty());
    EXPECT_TRUE(stateViewToggles.empty());
    EXPECT_FALSE(latches.ctrlAltF11);
    // Bringing the window forward with the chord still held is a new press.
    Poll(true, false, true);
    EXPECT_EQ(fullscreens.size(), 1u);
}

TEST_F(HotkeyPollTest, CursorOverRemoteViewInsideTheScopeCountsAsLocalFocus) {
    HotkeyPollFacts facts;
    facts.ctrlAltF11 = true;
    facts.cursorOverRemoteView = true;
    RunHotkeyPoll(latches, facts, actions);
    EXPECT_TRUE(fullscreens.empty()) << "over RemoteView but outside the scope";
    facts.scopeActive = true;
    RunHotkeyPoll(latches, facts, actions);
    EXPECT_EQ(fullscreens.size(), 1u);
}

} // namespace
