#include "input/win/KeyboardHook.h"

#include "core/ConfigService.h"
#include "core/RuntimeState.h"
#include "core/StallScope.h"
#include "core/StateManager.h"
#include "input/InputPeers.h"
#include "input/KeyMirrorDeadlines.h"
#include "input/KeyboardHookRules.h"
#include "input/RemoteInputRoute.h"
#include "input/RemoteInputScope.h"
#include "input/win/AsyncKeyState.h"

namespace {

// Touched by the hook procedure and the main window's calls, both on the UI thread.
KeyboardHookState g_state;

HWND MainWindow() {
    return reinterpret_cast<HWND>(RuntimeGetMainWindow());
}

class Win32KeyboardHookSystem final : public IKeyboardHookSystem {
public:
    bool IsCursorOverRemoteView() override { return KeyboardHook::IsCursorOverRemoteView(); }
    bool IsRemoteInputScopeActive() override { return KeyboardHook::IsRemoteInputScopeActive(); }
    bool IsMainWindowForeground() override { return KeyboardHook::IsOwnWindowForeground(MainWindow()); }
    bool IsHidForced() override { return StateManager::Instance().IsHidForced(); }
    bool IsCtrlDownAsync() override { return IsAsyncCtrlDown(); }
    bool IsAltDownAsync() override { return IsAsyncAltDown(); }
    uint64_t NowTicks() override { return ::GetTickCount64(); }
    void PostToMainWindow(uint32_t message) override {
        if (HWND main = MainWindow())
            ::PostMessageW(main, message, 0, 0);
    }
    uint64_t RaiseMirrorDeadline(uint32_t vk, uint64_t until) override {
        if (vk == HookKeys::kVkNumLock) {
            KeyMirrorDeadlines::RaiseNumLock(until);
            return KeyMirrorDeadlines::NumLockUntil();
        }
        KeyMirrorDeadlines::RaiseCapsLock(until);
        return KeyMirrorDeadlines::CapsLockUntil();
    }
};

Win32KeyboardHookSystem& System() {
    static Win32KeyboardHookSystem system;
    return system;
}

KeyboardHookContext Context() {
    return {System(), RemoteInputRoute(), InputPeers()};
}

bool IsKeyMessage(WPARAM message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

} // namespace

namespace KeyboardHook {

LRESULT CALLBACK LowLevelKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    StallScope scope("KeyboardHook", "LowLevelKeyboardProc", 20);
    if (code != HC_ACTION || lParam == 0 || !IsKeyMessage(wParam))
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const HookKeyEvent event{static_cast<uint32_t>(wParam), info->vkCode, info->scanCode, info->flags};
    if (HandleHookKeyEvent(event, g_state, Context()) == HookVerdict::Swallow)
        return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool IsRemoteInputScopeActive() {
    IRemoteInputRoute& route = RemoteInputRoute();
    RemoteInputScopeFacts facts;
    facts.virtualScreenHoldsCursor = route.IsVirtualScreenInputScope();
    facts.tcpReady = route.IsTcpReady();
    facts.remoteInputEnable = ConfigService::Instance().GetSnapshot().remoteInputEnable != 0;
    facts.hidForced = StateManager::Instance().IsHidForced();
    facts.keyboardActive = RuntimeIsKeyboardActive();
    facts.cursorOverRemoteView = IsCursorOverRemoteView();
    facts.clientRunning = RuntimeIsClientRunning();
    facts.appRunning = RuntimeIsAppRunning();
    facts.role = RuntimeGetRole();
    facts.programState = RuntimeGetProgramState();
    facts.mainWindowForeground = IsOwnWindowForeground(MainWindow());
    return ::IsRemoteInputScopeActive(facts);
}

bool IsCursorOverRemoteView() {
    HWND view = reinterpret_cast<HWND>(RuntimeGetRemoteViewWindow());
    if (view == nullptr || !::IsWindow(view) || !::IsWindowVisible(view))
        return false;
    POINT cursor{};
    RECT rect{};
    return ::GetCursorPos(&cursor) && ::GetWindowRect(view, &rect) && ::PtInRect(&rect, cursor);
}

bool IsOwnWindowForeground(HWND window) {
    HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr)
        return false;
    if (window != nullptr && (foreground == window || ::IsChild(window, foreground)))
        return true;
    DWORD process = 0;
    ::GetWindowThreadProcessId(foreground, &process);
    return process == ::GetCurrentProcessId();
}

bool HookIsCtrlAltF11(DWORD vk, DWORD hookFlags) {
    return HookIsCtrlAltChord(vk, VK_F11, hookFlags, g_state.modifiers, System());
}

bool HookIsCtrlAltZero(DWORD vk, DWORD hookFlags) {
    return HookIsCtrlAltChord(vk, '0', hookFlags, g_state.modifiers, System());
}

bool IsCtrlAltF11Pressed(DWORD vk) {
    return vk == VK_F11 && IsAsyncCtrlDown() && IsAsyncAltDown();
}

bool IsCtrlAltZeroPressed(DWORD vk) {
    return vk == '0' && IsAsyncCtrlDown() && IsAsyncAltDown();
}

void ClearHookKeyState(const char* reason) {
    ::ClearHookKeyState(g_state, reason, Context());
}

void PollHotkeys(HWND main, const HotkeyPollActions& actions) {
    HotkeyPollFacts facts;
    facts.mainWindowForeground = IsOwnWindowForeground(main);
    facts.ctrlAltF11 = IsAsyncKeyDown(VK_F11) && IsCtrlAltF11Pressed(VK_F11);
    facts.ctrlAltZero = IsAsyncKeyDown('0') && IsCtrlAltZeroPressed('0');
    facts.scopeActive = IsRemoteInputScopeActive();
    facts.cursorOverRemoteView = IsCursorOverRemoteView();
    RunHotkeyPoll(g_state.latches, facts, actions);
}

} // namespace KeyboardHook
