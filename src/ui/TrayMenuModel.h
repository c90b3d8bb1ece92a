#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The tray menu's entries and their command ids. The ids are fixed: the native menu returns them and the
// log prints them.
enum TrayCommandId : uint32_t {
    kTrayCmdAutoConnectOff = 40002,
    kTrayCmdAutoConnectOn = 40003,
    kTrayCmdExit = 40005,
    kTrayCmdChinese = 40007,
    kTrayCmdEnglish = 40008,
    kTrayCmdConflictOverwrite = 40011,
    kTrayCmdConflictRename = 40012,
    kTrayCmdStartupOn = 40013,
    kTrayCmdStartupOff = 40014,
    kTrayCmdAudioOn = 40015,
    kTrayCmdAudioOff = 40016,
    kTrayCmdDiskLocal = 40017,
    kTrayCmdDiskRemote = 40018,
    kTrayCmdOtherLocal = 40019,
    kTrayCmdOtherRemote = 40020,
    kTrayCmdCtrlAltDel = 40021,
    kTrayCmdDeviceReset = 40022,
    kTrayCmdRestoreDefaults = 40023,
    kTrayCmdVirtualScreenOff = 40024, // 40024..40028: modes 0..4
    kTrayCmdVirtualScreenDown = 40028,
    kTrayCmdOpenLog = 40029,
    kTrayCmdQualityDefault = 40032,
    kTrayCmdQualityUltra = 40033,
};

// One entry. A submenu header has children and command 0; a separator has neither text nor command.
struct TrayMenuItem {
    std::u16string text;
    uint32_t commandId = 0;
    bool separator = false;
    bool checked = false;
    bool enabled = true;
    std::vector<TrayMenuItem> children;

    bool HasSubmenu() const { return !children.empty(); }
};

// What the menu shows, read once when it opens.
struct TrayMenuInputs {
    bool sessionRuns = false;       // a client or host session
    bool startWithWindows = true;   // the cached preference
    bool hidCable = false;          // the cached HID presence is 1
    bool autoConnectIntent = false; // auto-connect intent enabled
    int32_t virtualScreenMode = 0;  // 0 off, 1..4 the edge
    bool ultraQuality = false;      // VideoQualityMode != 0
    bool conflictRename = false;    // the rename policy
    bool english = false;           // UiLanguageEnglish
    bool audioEnabled = true;       // AudioEnable
    bool diskRemote = false;        // the cable's USB disk is on the remote side
    bool otherDeviceRemote = false; // the cable's other USB port is on the remote side
};

// The entries top to bottom, in English or Chinese. Entries that need the cable are greyed without it.
std::vector<TrayMenuItem> BuildTrayMenu(const TrayMenuInputs& inputs);
