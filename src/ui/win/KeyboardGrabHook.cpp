#include <windows.h>

#include "core/Log.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"

namespace {

LRESULT CALLBACK PassThroughKeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

void InstallKeyboardGrabHook() {
    MainWindowUi& ui = MainUi();
    if (ui.keyboardHook)
        return;
    HOOKPROC proc = MainWindowParts().KeyboardHookProc();
    HHOOK hook = ::SetWindowsHookExW(WH_KEYBOARD_LL, proc != nullptr ? proc : PassThroughKeyboardProc,
                                     ::GetModuleHandleW(nullptr), 0);
    if (hook == nullptr) {
        Log::Write("Keyboard grab hook install failed gle=%lu", static_cast<unsigned long>(::GetLastError()));
        return;
    }
    ui.keyboardHook.Reset(hook);
    Log::Write("Keyboard hook installed: remote grab enabled, local shortcuts are focus-scoped only");
}

void UninstallKeyboardGrabHook() {
    MainWindowUi& ui = MainUi();
    if (!ui.keyboardHook)
        return;
    ui.keyboardHook.Reset();
    Log::Write("Keyboard grab hook uninstalled");
}
