#include "input/KeyboardSyncPlan.h"

#include "input/InputPacket.h"

namespace {

KeyboardSyncStep Modifier(const char* label, bool KeyboardState::*field, bool want, const KeyboardState& held,
                          std::vector<SyncKeyOp> keys) {
    KeyboardSyncStep step;
    step.label = label;
    step.modifier = field;
    step.want = want;
    step.before = held.*field;
    if (want != step.before)
        step.keys = std::move(keys);
    return step;
}

KeyboardSyncStep Toggle(const char* label, uint16_t vk, bool want) {
    KeyboardSyncStep step;
    step.kind = KeyboardSyncStep::Kind::Toggle;
    step.label = label;
    step.want = want;
    step.toggleVk = vk;
    return step;
}

// Left, right, then the generic key: whichever of them the system counts as down ends up up.
std::vector<SyncKeyOp> ReleaseAll(uint16_t left, uint16_t right, uint16_t generic) {
    return {{left, false}, {right, false}, {generic, false}};
}

} // namespace

KeyboardState KeyboardStateFromSyncFlags(int32_t flags) {
    KeyboardState s;
    s.ctrl = (flags & KeySyncFlags::kCtrl) != 0;
    s.alt = (flags & KeySyncFlags::kAlt) != 0;
    s.shift = (flags & KeySyncFlags::kShift) != 0;
    s.win = (flags & KeySyncFlags::kWin) != 0;
    s.numLock = (flags & KeySyncFlags::kNumLock) != 0;
    s.capsLock = (flags & KeySyncFlags::kCapsLock) != 0;
    return s;
}

std::vector<KeyboardSyncStep> PlanKeyboardSync(const KeyboardState& want, const KeyboardState& held) {
    std::vector<KeyboardSyncStep> plan;
    // Releases. Win has no generic key: the left one is sent up again after the right one.
    if (!want.win)
        plan.push_back(Modifier("WIN", &KeyboardState::win, false, held, ReleaseAll(91, 92, 91)));
    if (!want.alt)
        plan.push_back(Modifier("ALT", &KeyboardState::alt, false, held, ReleaseAll(164, 165, 18)));
    if (!want.ctrl)
        plan.push_back(Modifier("CTRL", &KeyboardState::ctrl, false, held, ReleaseAll(162, 163, 17)));

    // Shift and the toggles, never a toggle while an unwanted Shift is down.
    const KeyboardSyncStep num = Toggle("NUMLOCK", 144, want.numLock);
    const KeyboardSyncStep caps = Toggle("CAPSLOCK", 20, want.capsLock);
    if (want.shift) {
        plan.push_back(num);
        plan.push_back(caps);
        plan.push_back(Modifier("SHIFT", &KeyboardState::shift, true, held, {{16, true}}));
    } else {
        plan.push_back(Modifier("SHIFT", &KeyboardState::shift, false, held, ReleaseAll(160, 161, 16)));
        plan.push_back(num);
        plan.push_back(caps);
    }

    // Presses.
    if (want.ctrl)
        plan.push_back(Modifier("CTRL", &KeyboardState::ctrl, true, held, {{17, true}}));
    if (want.alt)
        plan.push_back(Modifier("ALT", &KeyboardState::alt, true, held, {{18, true}}));
    if (want.win)
        plan.push_back(Modifier("WIN", &KeyboardState::win, true, held, {{91, true}}));
    return plan;
}
