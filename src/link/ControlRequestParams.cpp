#include "link/ControlRequestParams.h"

#include <algorithm>

#include "core/Log.h"
#include "link/ControlMessageRead.h"
#include "core/Utf.h"

namespace Discovery {

namespace {

// Peer addresses in log lines: dotted text, longer input is cut.
constexpr size_t kLoggedAddressMaxBytes = 64;

// The screen size, held to a positive limit; without a usable value the fallback; lowered to even.
uint32_t RequestedSize(int32_t screen, int32_t limit, uint32_t fallback) {
    int64_t size = screen;
    if (size < 1 || (limit > 0 && size > limit))
        size = limit;
    if (size < 1)
        size = fallback;
    return static_cast<uint32_t>(size) & ~1u;
}

uint32_t ClampNonZero(uint32_t value, uint32_t low, uint32_t high) {
    return value == 0 ? 0 : std::clamp(value, low, high);
}

// A peer gets no more than this PC would ask for itself; 0 stays "not asked". Sizes arrive even and the
// limit is even, so they stay even.
ControlRequestParams HeldToSenderRules(ControlRequestParams request) {
    request.width = std::min(request.width, kRequestSizeMax);
    request.height = std::min(request.height, kRequestSizeMax);
    request.fps = ClampNonZero(request.fps, kRequestFpsMin, kRequestFpsMax);
    request.bitrate = ClampNonZero(request.bitrate, kRequestBitrateMin, kRequestBitrateMax);
    return request;
}

} // namespace

ControlRequestParams BuildControlRequestParams(const ControlRequestSources& sources,
                                               std::string_view peerIp) {
    const ConfigSnapshot& config = sources.config;
    ControlRequestParams request;
    if (config.maxVideoWidth > 0 || config.maxVideoHeight > 0) {
        request.width = RequestedSize(sources.screenWidth, config.maxVideoWidth, 1920);
        request.height = RequestedSize(sources.screenHeight, config.maxVideoHeight, 1080);
    }
    request.fps = std::clamp(config.fps < 1 ? 30u : config.fps, kRequestFpsMin, kRequestFpsMax);
    request.bitrate = std::clamp(config.bitrate < 1 ? kRequestBitrateMax : config.bitrate, kRequestBitrateMin,
                                 kRequestBitrateMax);
    request.viewHidden = sources.viewHidden ? 1 : 0;
    request.viewSeq = sources.viewSeq;
    request.audio = config.audioEnable != 0 ? 1 : 0;
    bool ultraWanted = config.videoQualityMode != 0;
    request.quality = ultraWanted && sources.peerUltraCapable ? 1 : 0;
    request.qualitySeq = sources.qualitySeq;
    if (ultraWanted && !sources.peerUltraCapable) {
        std::string_view peer = CutUtf8(peerIp, kLoggedAddressMaxBytes);
        Log::Write("[QUALITY][NEGOTIATE] peer=%.*s capability=absent requested=ultra result=H264_FALLBACK",
                   static_cast<int>(peer.size()), peer.data());
    }
    return request;
}

ControlRequestParams ReadControlRequestParams(std::string_view message, std::string_view senderIp,
                                              bool localAudioEnabled) {
    bool capability = PeerHasUltraCapability(message);
    ControlRequestParams asked;
    asked.width = ReadMessageEvenNumber(message, "req_w");
    asked.height = ReadMessageEvenNumber(message, "req_h");
    asked.fps = ReadMessageNumber(message, "req_fps");
    asked.bitrate = ReadMessageNumber(message, "req_bitrate");
    asked.viewHidden = ReadMessageFlag(message, "view_hidden") ? 1 : 0;
    asked.viewSeq = ReadMessageNumber(message, "view_seq");
    std::optional<std::string_view> audio = FindMessageValue(message, "req_audio");
    asked.audio = (audio ? *audio == "1" : localAudioEnabled) ? 1 : 0;
    asked.quality = capability && ReadMessageFlag(message, "req_quality") ? 1 : 0;
    asked.qualitySeq = capability ? ReadMessageNumber(message, "quality_seq") : 0;

    ControlRequestParams held = HeldToSenderRules(asked);
    if (held != asked) {
        std::string_view peer = CutUtf8(senderIp, kLoggedAddressMaxBytes);
        Log::Write("[CONTROL][REQUEST_CLAMPED] peer=%.*s req=%ux%u fps=%u bitrate=%u -> req=%ux%u fps=%u "
                   "bitrate=%u",
                   static_cast<int>(peer.size()), peer.data(), asked.width, asked.height, asked.fps,
                   asked.bitrate, held.width, held.height, held.fps, held.bitrate);
    }
    return held;
}

} // namespace Discovery
