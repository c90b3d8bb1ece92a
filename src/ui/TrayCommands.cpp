#include "ui/TrayCommands.h"

#include "ui/TrayMenuModel.h"

TrayCommand TrayCommandFor(uint32_t id) {
    if (id >= kTrayCmdVirtualScreenOff && id <= kTrayCmdVirtualScreenDown)
        return {TrayAction::SetVirtualScreenMode, static_cast<int32_t>(id - kTrayCmdVirtualScreenOff)};
    switch (id) {
    case kTrayCmdAutoConnectOff:
        return {TrayAction::Disconnect, 0};
    case kTrayCmdAutoConnectOn:
        return {TrayAction::Reconnect, 0};
    case kTrayCmdExit:
        return {TrayAction::Exit, 0};
    case kTrayCmdChinese:
    case kTrayCmdEnglish:
        return {TrayAction::SetLanguage, id == kTrayCmdEnglish};
    case kTrayCmdConflictOverwrite:
    case kTrayCmdConflictRename:
        return {TrayAction::SetConflictRename, id == kTrayCmdConflictRename};
    case kTrayCmdStartupOn:
    case kTrayCmdStartupOff:
        return {TrayAction::SetStartWithWindows, id == kTrayCmdStartupOn};
    case kTrayCmdAudioOn:
    case kTrayCmdAudioOff:
        return {TrayAction::SetAudio, id == kTrayCmdAudioOn};
    case kTrayCmdDiskLocal:
    case kTrayCmdDiskRemote:
        return {TrayAction::SetDiskSide, id == kTrayCmdDiskRemote};
    case kTrayCmdOtherLocal:
    case kTrayCmdOtherRemote:
        return {TrayAction::SetOtherDeviceSide, id == kTrayCmdOtherRemote};
    case kTrayCmdCtrlAltDel:
        return {TrayAction::SendCtrlAltDel, 0};
    case kTrayCmdDeviceReset:
        return {TrayAction::DeviceReset, 0};
    case kTrayCmdRestoreDefaults:
        return {TrayAction::RestoreDefaults, 0};
    case kTrayCmdOpenLog:
        return {TrayAction::OpenLogFolder, 0};
    case kTrayCmdQualityDefault:
    case kTrayCmdQualityUltra:
        return {TrayAction::SetVideoQuality, id == kTrayCmdQualityUltra};
    default:
        return {};
    }
}

bool IsCableAction(TrayAction action) {
    switch (action) {
    case TrayAction::SetDiskSide:
    case TrayAction::SetOtherDeviceSide:
    case TrayAction::SendCtrlAltDel:
    case TrayAction::DeviceReset:
    case TrayAction::RestoreDefaults:
        return true;
    default:
        return false;
    }
}

AudioToggleRoute DecideAudioToggleRoute(bool clientRunning, bool hostRunning, int32_t role, bool peerKnown) {
    if (clientRunning || role == 1)
        return peerKnown ? AudioToggleRoute::NotifyPeer : AudioToggleRoute::SkipNoPeer;
    if (hostRunning || role == 2)
        return AudioToggleRoute::KeepSession;
    return AudioToggleRoute::StopLocalAudio;
}

uint32_t StoredVirtualScreenMode(int32_t mode) {
    return mode >= 0 && mode <= 4 ? static_cast<uint32_t>(mode) : 0;
}
