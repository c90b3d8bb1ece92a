#include "input/win/MouseMonitor.h"

#include <windows.h>

#include <atomic>

#include "core/RuntimeState.h"
#include "input/MonitorThread.h"

namespace {

constexpr uint32_t kPollMs = 20;

struct MouseState {
    MonitorThread thread{"MouseMonitorDll"};
    std::atomic<int32_t> x{0};
    std::atomic<int32_t> y{0};
    std::atomic<bool> left{false};
    std::atomic<bool> right{false};
    std::atomic<bool> middle{false};
};

// Never destroyed: the exports may be called, and the thread may poll, while the process exits.
MouseState& State() {
    static MouseState* state = new MouseState;
    return *state;
}

bool Down(int virtualKey) {
    return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

struct Buttons {
    bool left = false, right = false, middle = false;
    bool operator==(const Buttons&) const = default;
};

Buttons ReadButtons() {
    return Buttons{Down(VK_LBUTTON), Down(VK_RBUTTON), Down(VK_MBUTTON)};
}

void StoreButtons(const Buttons& buttons) {
    MouseState& s = State();
    s.left.store(buttons.left);
    s.right.store(buttons.right);
    s.middle.store(buttons.middle);
}

// Writes the monitor's values into the runtime state; notices only a real change there.
void PublishToRuntime() {
    const MouseMonitor::Reading r = MouseMonitor::Current();
    if (RuntimeSetMouseState(r.x, r.y, r.left, r.right, r.middle))
        RuntimeNotifyChanged();
}

void Poll(const StopSignal& stop) {
    MouseState& s = State();
    bool havePosition = false;
    POINT last{};
    bool haveButtons = false;
    Buttons lastButtons;
    do {
        POINT position{};
        if (::GetCursorPos(&position) && (!havePosition || position.x != last.x || position.y != last.y)) {
            havePosition = true;
            last = position;
            s.x.store(position.x);
            s.y.store(position.y);
            PublishToRuntime();
        }
        const Buttons buttons = ReadButtons();
        if (!haveButtons || buttons != lastButtons) {
            haveButtons = true;
            lastButtons = buttons;
            StoreButtons(buttons);
            PublishToRuntime();
        }
    } while (!stop.WaitFor(kPollMs));
}

} // namespace

namespace MouseMonitor {

bool Start() {
    MouseState& s = State();
    if (s.thread.Running())
        return true;
    // Readers see real values at once, not the zeros before the first poll.
    POINT position{};
    if (::GetCursorPos(&position)) {
        s.x.store(position.x);
        s.y.store(position.y);
    }
    StoreButtons(ReadButtons());
    return s.thread.Start(&Poll);
}

void Stop() {
    State().thread.Stop();
}

Reading Current() {
    const MouseState& s = State();
    return Reading{s.x.load(), s.y.load(), s.left.load(), s.right.load(), s.middle.load()};
}

const MonitorThread& Thread() {
    return State().thread;
}

} // namespace MouseMonitor
