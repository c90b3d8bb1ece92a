#include "ui/win/TrayCommandRun.h"

#include <shellapi.h>

#include <string>

#include "core/ConfigService.h"
#include "core/Log.h"
#include "core/RuntimeState.h"
#include "core/StateManager.h"
#include "core/win/Handles.h"
#include "core/win/TextConvert.h"
#include "core/win/Win32LogPlatform.h"
#include "input/win/HidDevice.h"
#include "input/win/HidPresence.h"
#include "link/AutoConnect.h"
#include "link/ControlHandlerState.h"
#include "link/KvmSessionHid.h"
#include "link/KvmSessionManager.h"
#include "link/SessionControllerServices.h"
#include "link/VideoSync.h"
#include "media/win/AudioLoopbackSender.h"
#include "media/win/AudioUdpPlayer.h"
#include "ui/TrayCableCommands.h"
#include "ui/TrayCommands.h"
#include "ui/win/MainWindow.h"
#include "ui/win/MainWindowParts.h"
#include "ui/win/MainWindowState.h"
#include "ui/win/TrayExit.h"
#include "ui/win/TrayStartWithWindows.h"
#include "ui/win/TrayWorkers.h"

namespace {

const char* ConflictMode(bool rename) {
    return rename ? "rename" : "overwrite";
}

int I(bool value) {
    return value ? 1 : 0;
}

// The language or every setting changed: the title, the runtime-state refresh and the painted windows.
void RefreshTexts(HWND main) {
    UpdateMainWindowTitle(main);
    ::PostMessageW(main, WM_APP_RUNTIME_STATE, 0, 0);
    for (HWND window : {ControlViewWindow(), StateViewWindow(), MainUi().progressWindow})
        if (window != nullptr)
            ::InvalidateRect(window, nullptr, FALSE);
}

void SetUiLanguage(HWND main, bool english) {
    ConfigService& config = ConfigService::Instance();
    config.SetUiLanguageEnglish(english);
    Log::Write("[CONFIG][SERVICE] uiLanguageEnglish=%d reason=%s", I(english), "tray language");
    config.Save();
    Log::Write("Tray language switched to %s", english ? "English" : "Chinese");
    RefreshTexts(main);
}

void ApplyConflictPolicy(IMainWindowParts& parts, bool rename) {
    parts.SetTransferConflictRename(rename);
    Log::Write("[HTTP][CLIENT] conflict mode=%s", ConflictMode(rename));
    Log::Write("[TRANSFER][POLICY] conflict=%s", ConflictMode(rename));
}

void SetFileConflictRename(IMainWindowParts& parts, bool rename) {
    ApplyConflictPolicy(parts, rename);
    ConfigService& config = ConfigService::Instance();
    config.SetFileConflictRename(rename);
    Log::Write("[CONFIG][SERVICE] fileConflictRename=%d reason=%s", I(rename), "tray file conflict");
    config.Save();
    Log::Write("Tray file-transfer conflict mode=%s", ConflictMode(rename));
}

void SetVirtualScreenMode(IMainWindowParts& parts, int32_t mode) {
    parts.SetVirtualScreenMode(mode);
    const uint32_t stored = StoredVirtualScreenMode(parts.VirtualScreenMode());
    ConfigService& config = ConfigService::Instance();
    config.SetVirtualScreenMode(stored);
    Log::Write("[CONFIG][SERVICE] virtualScreenMode=%d reason=%s", static_cast<int>(stored),
               "tray virtual screen");
    config.Save();
    Log::Write("Tray virtual screen mode=%d saved", static_cast<int>(stored));
}

void SetVideoQuality(bool ultra) {
    ConfigService& config = ConfigService::Instance();
    const bool changed = ultra != (config.GetSnapshot().videoQualityMode != 0);
    bool saved = false;
    if (changed) {
        config.SetVideoQualityMode(ultra);
        Log::Write("[CONFIG][SERVICE] videoQualityMode=%s reason=%s", ultra ? "ULTRA" : "H264",
                   "tray quality selection");
        saved = config.Save();
    }
    const bool client = RuntimeIsClientRunning();
    Log::Write("[QUALITY][TRAY] quality selected=%s changed=%d saved=%d client=%d host=%d",
               ultra ? "ULTRA" : "H264", I(changed), I(saved), I(client), I(RuntimeIsHostRunning()));
    if (client)
        Discovery::ApplyLocalQualitySelection(ultra);
}

void ToggleAudioEnable() {
    ConfigService& config = ConfigService::Instance();
    const bool enable = config.GetSnapshot().audioEnable == 0;
    config.SetAudioEnable(enable);
    Log::Write("[CONFIG][SERVICE] audioEnable=%d reason=%s", I(enable), "tray toggle audio");
    config.Save();
    const bool host = RuntimeIsHostRunning(), client = RuntimeIsClientRunning();
    const int32_t role = RuntimeGetRole();
    Log::Write("Tray audio toggled enable=%d host=%d client=%d role=%d", I(enable), I(host), I(client), role);
    std::string peer = KvmSessionManager::Instance().ActivePeerIp();
    switch (DecideAudioToggleRoute(client, host, role, !peer.empty())) {
    case AudioToggleRoute::NotifyPeer:
        StartTrayAudioRequestUpdate(std::move(peer), enable);
        return;
    case AudioToggleRoute::SkipNoPeer:
        Log::Write("[AUDIO][CLIENT][REQUEST_CHANGED] enable=%d action=skip-no-peer", I(enable));
        return;
    case AudioToggleRoute::KeepSession:
        Log::Write("[AUDIO][TRAY][CONTROLLED_NO_RESTART] localAudio=%d controllerReqAudio=%d "
                   "action=keep-current-session",
                   I(enable), I(Discovery::ControllerRequestedAudio()));
        return;
    case AudioToggleRoute::StopLocalAudio:
        AudioLoopbackSender::Instance().Stop();
        AudioUdpPlayer::Instance().Stop();
        return;
    }
}

void SetAudio(bool enable) {
    if (AudioChoiceChanges(enable, ConfigService::Instance().GetSnapshot().audioEnable != 0))
        ToggleAudioEnable();
}

void SetStartup(bool enable) {
    const bool ok = SetStartWithWindows(enable);
    Log::Write("Tray startup set enable=%d ok=%d", I(enable), I(ok));
}

void SendCtrlAltDel(int cachedHid) {
    Log::Write("Tray send Ctrl+Alt+Del requested role=%d host=%d client=%d inputConnected=%d cachedHid=%d",
               RuntimeGetRole(), I(RuntimeIsHostRunning()), I(RuntimeIsClientRunning()),
               I(StateManager::Instance().IsTcpInputConnected()), cachedHid);
    if (cachedHid != 1) {
        Log::Write("Tray send Ctrl+Alt+Del ignored: SearchHid=%d", cachedHid);
        return;
    }
    // The hook belongs to this thread; the cable's part runs on the worker.
    InstallKeyboardGrabHook();
    StartTrayCableCommand([] {
        TraySendCtrlAltDel(GlobalHidContext());
        ForceHidFallback(StateManager::Instance(), InstalledSessionControllerServices());
    });
}

void RestoreDefaultSettings(HWND main, IMainWindowParts& parts, int cachedHid) {
    if (cachedHid != 1) {
        Log::Write("Tray restore default settings ignored: cachedHid=%d", cachedHid);
        return;
    }
    ConfigService& config = ConfigService::Instance();
    const bool cfgOk = config.ResetDefaults();
    const ConfigSnapshot c = config.GetSnapshot();
    ApplyConflictPolicy(parts, c.fileConflictRename != 0);
    parts.SetVirtualScreenMode(static_cast<int32_t>(c.virtualScreenMode));
    AutoConnect::Instance().SetIntent(c.autoConnectEnable != 0, "tray restore defaults");
    std::string peer =
        RuntimeIsClientRunning() ? KvmSessionManager::Instance().ActivePeerIp() : std::string();
    const bool startupOk = SetStartWithWindows(false);
    RefreshTexts(main);
    StartTrayCableCommand([peer = std::move(peer), cfgOk, startupOk, c] {
        if (!peer.empty())
            InstalledSessionControllerServices().SendControlRequest(peer);
        const int keyboardDefault = TrayKeyboardDefault(GlobalHidContext());
        Log::Write(
            "Tray restore default settings cfgOk=%d startupOk=%d keyboardDefaultRc=%d audio=%d english=%d "
            "conflict=%d autoConnect=%d virtualScreenMode=%d longTransferDelayMs=%d",
            I(cfgOk), I(startupOk), keyboardDefault, static_cast<int>(c.audioEnable),
            static_cast<int>(c.uiLanguageEnglish), static_cast<int>(c.fileConflictRename),
            static_cast<int>(c.autoConnectEnable), static_cast<int>(c.virtualScreenMode),
            static_cast<int>(c.longTransferAutoShowDelayMs));
    });
}

void OpenLogFolder() {
    Log::Flush();
    const std::wstring path = Win32LogFilePath();
    if (path.empty()) {
        Log::Write("[TRAY][LOG] open directory failed reason=empty-path");
        return;
    }
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid())
            Log::Write("[TRAY][LOG] ensure file failed gle=%lu",
                       static_cast<unsigned long>(::GetLastError()));
    }
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator == 0) {
        Log::Write("[TRAY][LOG] open directory failed reason=empty-parent path=%s",
                   WideToUtf8(path.c_str()).c_str());
        return;
    }
    const std::wstring directory = path.substr(0, separator);
    const auto code = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", directory.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    Log::Write("[TRAY][LOG] open directory requested ok=%d code=%lld directory=%s", I(code > 32),
               static_cast<long long>(code), WideToUtf8(directory.c_str()).c_str());
}

} // namespace

void RunTrayCommand(HWND main, uint32_t commandId, IMainWindowParts& parts) {
    const TrayCommand command = TrayCommandFor(commandId);
    const bool on = command.value != 0;
    const int cachedHid = HidPresence::Cached();
    switch (command.action) {
    case TrayAction::None:
        return;
    case TrayAction::Disconnect:
        StartTrayDisconnect(KvmSessionManager::Instance().ActivePeerIp());
        return;
    case TrayAction::Reconnect:
        StartTrayReconnect(KvmSessionManager::Instance().ActivePeerIp());
        return;
    case TrayAction::Exit:
        TrayExitProgram(main);
        return;
    case TrayAction::SetLanguage:
        SetUiLanguage(main, on);
        return;
    case TrayAction::SetConflictRename:
        SetFileConflictRename(parts, on);
        return;
    case TrayAction::SetStartWithWindows:
        SetStartup(on);
        return;
    case TrayAction::SetAudio:
        SetAudio(on);
        return;
    case TrayAction::SetDiskSide:
        StartTrayCableCommand(
            [on, cachedHid] { TraySetUsbDiskSide(GlobalHidContext(), CableSides(), on, cachedHid); });
        return;
    case TrayAction::SetOtherDeviceSide:
        StartTrayCableCommand(
            [on, cachedHid] { TraySetUsbOtherDeviceSide(GlobalHidContext(), CableSides(), on, cachedHid); });
        return;
    case TrayAction::SendCtrlAltDel:
        SendCtrlAltDel(cachedHid);
        return;
    case TrayAction::DeviceReset:
        StartTrayCableCommand([cachedHid] { TrayDeviceReset(GlobalHidContext(), cachedHid); });
        return;
    case TrayAction::RestoreDefaults:
        RestoreDefaultSettings(main, parts, cachedHid);
        return;
    case TrayAction::SetVirtualScreenMode:
        SetVirtualScreenMode(parts, command.value);
        return;
    case TrayAction::OpenLogFolder:
        OpenLogFolder();
        return;
    case TrayAction::SetVideoQuality:
        SetVideoQuality(on);
        return;
    }
}
