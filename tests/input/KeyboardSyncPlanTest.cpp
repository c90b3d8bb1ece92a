#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/KeyboardSyncPlan.h"

namespace {

// The plan as text: "WIN: 91 up, 92 up, 91 up", "NUMLOCK -> 1", "CTRL already".
std::vector<std::string> Describe(const std::vector<KeyboardSyncStep>& plan) {
    std::vector<std::string> out;
    for (const KeyboardSyncStep& step : plan) {
        std::string line = step.label;
        if (step.kind == KeyboardSyncStep::Kind::Toggle) {
            line += " -> " + std::to_string(step.want ? 1 : 0);
        } else if (step.keys.empty()) {
            line += " already";
        } else {
            line += ":";
            for (size_t i = 0; i < step.keys.size(); ++i)
                line += (i ? ", " : " ") + std::to_string(step.keys[i].vk) +
                        (step.keys[i].down ? " down" : " up");
        }
        out.push_back(line);
    }
    return out;
}

KeyboardState Held(bool ctrl, bool alt, bool shift, bool win) {
    KeyboardState s;
    s.ctrl = ctrl;
    s.alt = alt;
    s.shift = shift;
    s.win = win;
    return s;
}

TEST(KeyboardSyncPlan, NothingWantedReleasesEveryHeldModifierAndTurnsTheLocksOff) {
    KeyboardState want = KeyboardStateFromSyncFlags(0x00);
    EXPECT_EQ(want, KeyboardState{});
    EXPECT_EQ(Describe(PlanKeyboardSync(want, Held(true, true, true, true))),
              (std::vector<std::string>{"WIN: 91 up, 92 up, 91 up", "ALT: 164 up, 165 up, 18 up",
                                        "CTRL: 162 up, 163 up, 17 up", "SHIFT: 160 up, 161 up, 16 up",
                                        "NUMLOCK -> 0", "CAPSLOCK -> 0"}));
}

TEST(KeyboardSyncPlan, EverythingWantedTogglesBeforeShiftAndPressesLast) {
    KeyboardState want = KeyboardStateFromSyncFlags(0x3F);
    EXPECT_TRUE(want.ctrl && want.alt && want.shift && want.win && want.numLock && want.capsLock);
    EXPECT_EQ(Describe(PlanKeyboardSync(want, Held(false, false, false, false))),
              (std::vector<std::string>{"NUMLOCK -> 1", "CAPSLOCK -> 1", "SHIFT: 16 down", "CTRL: 17 down",
                                        "ALT: 18 down", "WIN: 91 down"}));
}

TEST(KeyboardSyncPlan, UnwantedShiftIsReleasedBeforeAnyToggle) {
    KeyboardState want = KeyboardStateFromSyncFlags(0x10 | 0x01); // CapsLock on, Ctrl
    EXPECT_EQ(Describe(PlanKeyboardSync(want, Held(false, false, true, false))),
              (std::vector<std::string>{"WIN already", "ALT already", "SHIFT: 160 up, 161 up, 16 up",
                                        "NUMLOCK -> 0", "CAPSLOCK -> 1", "CTRL: 17 down"}));
}

TEST(KeyboardSyncPlan, HeldAsWantedSendsNoKeys) {
    KeyboardState want = KeyboardStateFromSyncFlags(0x04 | 0x02); // Shift, Alt
    std::vector<KeyboardSyncStep> plan = PlanKeyboardSync(want, Held(false, true, true, false));
    EXPECT_EQ(Describe(plan), (std::vector<std::string>{"WIN already", "CTRL already", "NUMLOCK -> 0",
                                                        "CAPSLOCK -> 0", "SHIFT already", "ALT already"}));
    EXPECT_TRUE(plan[4].before && plan[4].want) << "a held, wanted Shift is reported as held";
    EXPECT_EQ(plan[4].modifier, &KeyboardState::shift);
}

} // namespace
