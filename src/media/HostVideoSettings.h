#pragma once

#include <cstdint>
#include <string_view>

#include "core/RuntimeConfig.h"

// What the controller asked of this PC's video, as the control handling stored it. 0 in a size, fps or
// bit rate means "not asked": the host then uses its own settings.
struct HostVideoRequest {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t fps = 0;
    uint32_t bitrate = 0;
    bool viewHidden = false;
    bool audio = false;
    bool ultra = false; // the JPEG-tile codec in place of H.264
};

// The request's values after the settings filled what it left out; fixed for the whole session thread.
struct HostEffectiveVideo {
    int32_t maxWidth = 0; // 0: the desktop's own size
    int32_t maxHeight = 0;
    int32_t fps = 30;
    int32_t bitrate = 25000000;
    bool audio = false;
};

inline constexpr int32_t kHostDefaultFps = 30;
inline constexpr int32_t kHostMaxFps = 60;
inline constexpr int32_t kHostMaxRequestedFps = 30;
inline constexpr int32_t kHostDefaultBitrate = 25000000;

// Sizes: the request's when above 0, else the settings'; made even (a 1 becomes 0, unlimited). Fps: the
// request's, else the settings', 30 when not positive, at most 60, and at most 30 when the request named one.
// Bit rate: the request's, else the settings', 25,000,000 when below 1.
HostEffectiveVideo EffectiveHostVideo(const HostVideoRequest& request, const ConfigSnapshot& config);

// Frame intervals of one pipeline build.
struct HostLowBandwidth {
    bool enable = false;
    uint32_t activeFrameMs = 16;
    uint32_t idleFrameMs = 500;
    uint32_t hiddenHeartbeatMs = 1000;
};
HostLowBandwidth ComputeHostLowBandwidth(int32_t fps, const ConfigSnapshot& config);

// The GDI fallback's frame interval: 1000 / fps, at least 1; 33 when fps is 0.
uint32_t GdiFrameIntervalMs(int32_t fps);

// The video connection goes only into the cable's 10.0.0.0/8: the dotted address begins with "10.".
bool IsCableVideoAddress(std::string_view ip);
