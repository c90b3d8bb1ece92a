#include "media/HostVideoSettings.h"

#include <algorithm>

namespace {

int32_t EvenOrUnlimited(int32_t value) {
    return value >= 1 ? (value & ~1) : 0;
}

int32_t Requested(uint32_t requested, int64_t configured) {
    const int64_t value = requested > 0 ? static_cast<int64_t>(requested) : configured;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

HostEffectiveVideo EffectiveHostVideo(const HostVideoRequest& request, const ConfigSnapshot& config) {
    HostEffectiveVideo video;
    video.maxWidth = EvenOrUnlimited(Requested(request.width, config.maxVideoWidth));
    video.maxHeight = EvenOrUnlimited(Requested(request.height, config.maxVideoHeight));

    int32_t fps = Requested(request.fps, config.fps);
    if (fps <= 0)
        fps = kHostDefaultFps;
    fps = std::min(fps, kHostMaxFps);
    if (request.fps > 0)
        fps = std::min(fps, kHostMaxRequestedFps);
    video.fps = fps;

    const int32_t bitrate = Requested(request.bitrate, config.bitrate);
    video.bitrate = bitrate < 1 ? kHostDefaultBitrate : bitrate;
    video.audio = request.audio;
    return video;
}

HostLowBandwidth ComputeHostLowBandwidth(int32_t fps, const ConfigSnapshot& config) {
    HostLowBandwidth low;
    low.enable = config.lowBandwidthEnable != 0;
    low.activeFrameMs = fps > 0 ? std::max<uint32_t>(1, 1000u / static_cast<uint32_t>(fps)) : 16;
    if (config.idleFps > 0)
        low.idleFrameMs = std::max<uint32_t>(1, 1000u / static_cast<uint32_t>(config.idleFps));
    else
        low.idleFrameMs = std::max<uint32_t>(250, config.idleKeepaliveMs);
    low.hiddenHeartbeatMs = 1000;
    return low;
}

uint32_t GdiFrameIntervalMs(int32_t fps) {
    if (fps <= 0)
        return 33;
    return std::max<uint32_t>(1, 1000u / static_cast<uint32_t>(fps));
}

bool IsCableVideoAddress(std::string_view ip) {
    return ip.size() > 3 && ip.substr(0, 3) == "10.";
}
