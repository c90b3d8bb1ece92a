#pragma once

#include <cstdint>
#include <string>

#include "core/PortSet.h"

// The user settings of the process. "Bool" fields are 32-bit and hold 0 or 1 after validation.
struct RuntimeConfig {
    std::string peerAddress;                     // last peer, written by the session controller
    uint16_t videoPort = 6000;                   // TCP
    uint16_t inputPort = 5000;                   // TCP
    uint32_t fps = 30;                           // 1..240
    uint32_t bitrate = 25000000;                 // H.264 bit/s
    int32_t maxVideoWidth = 0;                   // 0 = the desktop's own width, else 320..8192, even
    int32_t maxVideoHeight = 0;                  // 0 = the desktop's own height, else 240..8192, even
    uint32_t lowBandwidthEnable = 0;             // idle-frame throttling of the host's video
    int32_t idleFps = 2;                         // 0..fps while the picture is idle
    uint32_t idleKeepaliveMs = 1000;             // keep-alive frame interval while idle with idleFps 0
    uint32_t audioEnable = 1;                    // stored as AudioEnable
    uint32_t uiLanguageEnglish = 0;              // stored; else derived from the system language at load
    uint16_t audioPort = 7001;                   // UDP
    uint32_t remoteInputEnable = 1;              // keys may go to the peer
    uint32_t clipboardEnable = 1;                // clipboard sharing
    uint32_t fileConflictRename = 0;             // 1 rename, 0 overwrite an existing target file
    uint16_t clipboardPort = 5002;               // TCP
    uint32_t renderScaleMode = 2;                // 0..3, RemoteView renderer scaling
    uint32_t remoteTextMode = 0;                 // kept at 0: Windows text smoothing is never changed
    uint32_t longTransferAutoShowDelayMs = 5000; // 1000..60000
    uint32_t autoConnectEnable = 0;              // connect when the cable is plugged in
    uint32_t virtualScreenMode = 0; // edge toward the peer: 0 off, 1 left, 2 right, 3 top, 4 bottom
    uint32_t videoQualityMode = 0;  // 0 "H264", 1 "ULTRA" (JPEG tiles)
};

// What readers of several fields take in one copy.
struct ConfigSnapshot {
    uint32_t fps = 0;
    uint32_t bitrate = 0;
    int32_t maxVideoWidth = 0;
    int32_t maxVideoHeight = 0;
    uint32_t lowBandwidthEnable = 0;
    int32_t idleFps = 0;
    uint32_t idleKeepaliveMs = 0;
    uint32_t audioEnable = 0;
    uint32_t uiLanguageEnglish = 0;
    uint32_t remoteInputEnable = 0;
    uint32_t clipboardEnable = 0;
    uint32_t fileConflictRename = 0;
    uint32_t remoteTextMode = 0;
    uint32_t longTransferAutoShowDelayMs = 0;
    uint32_t autoConnectEnable = 0;
    uint32_t virtualScreenMode = 0;
    uint32_t videoQualityMode = 0;
    uint16_t videoPort = 0;
    uint16_t inputPort = 0;
    uint16_t audioPort = 0;
    uint16_t clipboardPort = 0;
};

ConfigSnapshot SnapshotOf(const RuntimeConfig& config);
// The channel ports of the settings with the fixed discovery and control ports; the HTTP port is 0 until
// the file server publishes its own.
PortSet PortSetOf(const RuntimeConfig& config);

// Clamps every field into its legal range, logging each fallback with the field's name.
void ValidateRuntimeConfig(RuntimeConfig& config);
