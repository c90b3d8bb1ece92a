#include "ui/win/TrayMenu.h"

#include <optional>
#include <vector>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/ScopeExit.h"
#include "input/win/HidPresence.h"
#include "link/AutoConnect.h"
#include "ui/TrayCableCommands.h"
#include "ui/TrayMenuGate.h"
#include "ui/TrayMenuModel.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/TrayCommandRun.h"
#include "ui/win/TrayMenuGdi.h"
#include "ui/win/TrayNativeMenu.h"
#include "ui/win/TrayPopup.h"
#include "ui/win/TrayStartWithWindows.h"

namespace {

// Per-monitor awareness (v2) for the menu's own windows while it is up, where the system offers
// per-thread awareness; the thread's previous context comes back when the scope ends.
class ThreadDpiScope {
public:
    ThreadDpiScope() {
        if (Set() != nullptr)
            m_previous = Set()(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    }
    ThreadDpiScope(const ThreadDpiScope&) = delete;
    ThreadDpiScope& operator=(const ThreadDpiScope&) = delete;
    ~ThreadDpiScope() {
        if (m_previous != nullptr)
            Set()(m_previous);
    }
    bool Switched() const { return m_previous != nullptr; }

private:
    using SetContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    static SetContextFn Set() {
        static const auto fn = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
        return fn;
    }
    DPI_AWARENESS_CONTEXT m_previous = nullptr;
};

TrayMenuInputs ReadInputs() {
    const ConfigSnapshot c = ConfigService::Instance().GetSnapshot();
    TrayMenuInputs in;
    in.sessionRuns = RuntimeIsClientRunning() || RuntimeIsHostRunning();
    in.startWithWindows = GetStartWithWindows(false);
    in.hidCable = HidPresence::Cached() == 1;
    in.autoConnectIntent = AutoConnect::Instance().IsIntentEnabled();
    in.virtualScreenMode = static_cast<int32_t>(c.virtualScreenMode);
    in.ultraQuality = c.videoQualityMode != 0;
    in.conflictRename = c.fileConflictRename != 0;
    in.english = c.uiLanguageEnglish != 0;
    in.audioEnabled = c.audioEnable != 0;
    in.diskRemote = CableSides().diskRemote.load();
    in.otherDeviceRemote = CableSides().otherDeviceRemote.load();
    return in;
}

uint32_t RunMenu(HWND main, const std::vector<TrayMenuItem>& items, HMENU native, POINT at, uint32_t dpi) {
    if (std::optional<uint32_t> chosen = RunTrayPopup(main, items, at, dpi))
        return *chosen;
    Log::Write("[TRAY][MENU][CUSTOM] failed; fallback native gle=%lu",
               static_cast<unsigned long>(::GetLastError()));
    return TrackNativeTrayMenu(main, native, at);
}

} // namespace

void TrayShowMenu(HWND main, POINT at, const char* source, IMainWindowParts& parts) {
    TrayUiFlags& flags = TrayFlags();
    flags.menuRequestPending = false;
    if (flags.menuOpen) {
        Log::Write("[TRAY][MENU] show ignored: already open source=%s", source);
        return;
    }
    flags.menuOpen = true;
    // Declared before the DPI scope, so the context is restored first and the flag cleared last, on every
    // way out.
    ScopeExit clearOpen([&flags] { flags.menuOpen = false; });
    Log::Write("[TRAY][MENU][VIDEO] continuous Render/Present enabled");

    const uint32_t dpi = TrayWindowDpi(main);
    ThreadDpiScope dpiScope;
    Log::Write("[TRAY][DPI] menu dpi=%u scale=%.3f threadDpiCtx=%d", dpi, dpi / 96.0,
               dpiScope.Switched() ? 1 : 0);

    const std::vector<TrayMenuItem> items = BuildTrayMenu(ReadInputs());
    UniqueMenu native = BuildNativeTrayMenu(items);
    if (native.Get() == nullptr)
        return;
    SetNativeTrayMenuItems(&items, dpi);
    ScopeExit forgetItems([] { SetNativeTrayMenuItems(nullptr, 96); });

    const BOOL foreground = ::SetForegroundWindow(main);
    Log::Write("[TRAY][MENU] show source=%s pos=%ld,%ld visible=%d iconic=%d fgOk=%d fgWnd=%p", source,
               static_cast<long>(at.x), static_cast<long>(at.y), ::IsWindowVisible(main) ? 1 : 0,
               ::IsIconic(main) ? 1 : 0, foreground ? 1 : 0, static_cast<void*>(::GetForegroundWindow()));
    const uint32_t command = RunMenu(main, items, native.Get(), at, dpi);

    ::PostMessageW(main, WM_NULL, 0, 0);
    Log::Write("[TRAY][MENU] closed cmd=%u gle=%lu", command, static_cast<unsigned long>(::GetLastError()));
    native.Reset();
    RunTrayCommand(main, command, parts);
}
