#pragma once

#include <cstdint>

// The whole video path is SDR: full-range BT.709 NV12 from capture to renderer. These words travel in every
// video frame header so that the other side can log what it was sent.

// Colour mode word of the frame header.
enum class VideoColorMode : uint32_t {
    SdrBt709Nv12 = 0,
    Hdr10Bt2020P010 = 1,
    HlgBt2020P010 = 2,
};

// Transfer-function word of the frame header.
enum class VideoTransfer : uint32_t {
    Bt709 = 0,
    St2084Pq = 1,
    Hlg = 2,
};

// Log names of the two words; any other value is "UNKNOWN".
const char* VideoColorModeName(uint32_t mode);
const char* VideoTransferName(uint32_t transfer);

// HDR flags of the frame header: always kVideoHdrFlagsBase; the HDR-desktop bit is added while the HDR
// switch is on.
inline constexpr uint32_t kVideoHdrFlagsBase = 0x100;
inline constexpr uint32_t kVideoHdrFlagHdrDesktop = 0x2;

// True when an opt-in switch's environment value turns it on: its first character is 1, T, t, Y or y
// ("yes" counts, "on" does not). A null value is an unset variable.
bool IsEnvSwitchOn(const char* value);

// Log name of a DXGI colour-space number (DXGI_COLOR_SPACE_TYPE without its prefix, HDR10, WCG and HLG
// spaces marked as such); 10, 11 and anything above 24 are "UNKNOWN".
const char* VideoColorSpaceName(uint32_t colorSpace);
