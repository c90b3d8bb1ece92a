#include <windows.h>

#include <string>

#include "core/Log.h"
#include "core/ThreadHelpers.h"
#include "media/win/Renderer.h"
#include "ui/ResizeExternalWatchdogRules.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowResize.h"

namespace {

unsigned long Ul(uint64_t v) {
    return static_cast<unsigned long>(v);
}

const char* StopText(ResizeExternalWatchdogRules::Stop stop) {
    switch (stop) {
    case ResizeExternalWatchdogRules::Stop::SequenceChanged:
        return "seq-changed";
    case ResizeExternalWatchdogRules::Stop::MaxLifetime:
        return "max-lifetime";
    case ResizeExternalWatchdogRules::Stop::WindowGone:
        return "window-gone";
    default:
        return "";
    }
}

void LogStop(uint32_t sequence, ResizeExternalWatchdogRules::Stop stop, const ResizeStateMachine& shared) {
    if (stop == ResizeExternalWatchdogRules::Stop::SequenceChanged)
        Log::Write("[RESIZE-SM][SYS-WATCHDOG] stop seq=%lu reason=seq-changed current=%lu", Ul(sequence),
                   Ul(shared.WatchdogSequence()));
    else if (stop == ResizeExternalWatchdogRules::Stop::StateLeftActive)
        Log::Write("[RESIZE-SM][SYS-WATCHDOG] stop seq=%lu reason=state=%d", Ul(sequence),
                   static_cast<int>(shared.SharedState()));
    else
        Log::Write("[RESIZE-SM][SYS-WATCHDOG] stop seq=%lu reason=%s", Ul(sequence), StopText(stop));
}

// The modal loop holds the thread in its own message pump: cancel it from outside, and make the window's
// own watchdog run as soon as the pump lets it.
void ModalRescue(HWND window, uint32_t sequence, uint64_t upMs) {
    Renderer::SetSizeMoveActive(false);
    DWORD_PTR smResult = 0;
    const bool sent =
        ::SendMessageTimeoutW(window, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 80, &smResult) != 0;
    const bool postCancel = ::PostMessageW(window, WM_CANCELMODE, 0, 0) != FALSE;
    const bool postExit = ::PostMessageW(window, WM_EXITSIZEMOVE, 0, 0) != FALSE;
    const bool postTimer = ::PostMessageW(window, WM_TIMER, kTimerResizeWatchdog, 0) != FALSE;
    Log::Write(
        "[RESIZE-SM][SYS-WATCHDOG] modal rescue seq=%lu upMs=%lu sendCancel=%d smResult=%llu postCancel=%d "
        "postExit=%d postTimer=%d",
        Ul(sequence), Ul(upMs), sent ? 1 : 0, static_cast<unsigned long long>(smResult), postCancel ? 1 : 0,
        postExit ? 1 : 0, postTimer ? 1 : 0);
}

void EscapeRescue(HWND window, uint32_t sequence, uint64_t upMs, uint64_t lastPostAgoMs) {
    HWND foreground = ::GetForegroundWindow();
    DWORD process = 0;
    if (foreground != nullptr)
        ::GetWindowThreadProcessId(foreground, &process);
    const bool sameProcess = foreground != nullptr && process == ::GetCurrentProcessId();
    Log::Write("[RESIZE-SM][SYS-WATCHDOG] ESC rescue seq=%lu upMs=%lu fg=0x%p sameProcess=%d lastPostAgo=%lu",
               Ul(sequence), Ul(upMs), static_cast<void*>(foreground), sameProcess ? 1 : 0,
               Ul(lastPostAgoMs));
    // Escape goes to whatever has the keyboard: never type it into another program.
    if (!sameProcess && foreground != window) {
        Log::Write("[RESIZE-SM][SYS-WATCHDOG] ESC rescue skipped: foreground is not Tessaly");
        return;
    }
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    const UINT sent = ::SendInput(2, keys, sizeof(INPUT));
    Log::Write("[RESIZE-SM][SYS-WATCHDOG] SendInput ESC sent=%u", sent);
}

void Watch(HWND window, uint32_t sequence) {
    ResizeStateMachine& shared = MainResizeShared();
    Log::Write("[RESIZE-SM][SYS-WATCHDOG] start seq=%lu hwnd=0x%p", Ul(sequence), static_cast<void*>(window));
    ResizeExternalWatchdogRules rules(sequence, ::GetTickCount64());
    for (;;) {
        ::Sleep(ResizeExternalWatchdogRules::kPollMs);
        ResizeExternalWatchdogRules::Facts facts;
        facts.now = ::GetTickCount64();
        facts.watchdogSequence = shared.WatchdogSequence();
        facts.sharedState = shared.SharedState();
        facts.windowExists = ::IsWindow(window) != FALSE;
        facts.leftButtonDown = (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
        facts.escSent = shared.EscSent().load();
        const ResizeExternalWatchdogRules::Step step = rules.Decide(facts);
        if (step.stop != ResizeExternalWatchdogRules::Stop::None) {
            LogStop(sequence, step.stop, shared);
            return;
        }
        if (step.upObserved)
            Log::Write("[RESIZE-SM][SYS-WATCHDOG] lbutton-up observed seq=%lu", Ul(sequence));
        if (step.logStillActive)
            Log::Write("[RESIZE-SM][SYS-WATCHDOG] ui still ACTIVE after lbutton-up seq=%lu upMs=%lu "
                       "rendererActive=%d state=%d",
                       Ul(sequence), Ul(step.upMs), Renderer::IsSizeMoveActive() ? 1 : 0,
                       static_cast<int>(facts.sharedState));
        if (step.modalRescue)
            ModalRescue(window, sequence, step.upMs);
        if (step.escapeRescue && !shared.EscSent().exchange(true))
            EscapeRescue(window, sequence, step.upMs, step.lastRescueAgoMs);
    }
}

} // namespace

void StartResizeExternalWatchdog(HWND window, uint32_t sequence) {
    std::string error;
    if (!StartDetachedWorker(
            "ResizeExternalWatchdog", [window, sequence] { Watch(window, sequence); }, &error))
        Log::Write("[RESIZE-SM][SYS-WATCHDOG] start failed seq=%lu error=%s", Ul(sequence), error.c_str());
}
