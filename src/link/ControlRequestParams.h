#pragma once

#include <cstdint>
#include <string_view>

#include "core/RuntimeConfig.h"

// What a controller asks of the controlled side with TSLY_CONTROL_REQUEST, in wire order. On the controlled
// side 0 in width, height, fps or bitrate means "not asked": the host session then uses its own settings.
struct ControlRequestParams {
    uint32_t width = 0;      // req_w, even
    uint32_t height = 0;     // req_h, even
    uint32_t fps = 0;        // req_fps
    uint32_t bitrate = 0;    // req_bitrate, bit/s
    uint32_t viewHidden = 0; // view_hidden: the controller's remote view is hidden (0/1)
    uint32_t viewSeq = 0;    // view_seq
    uint32_t audio = 0;      // req_audio: remote sound wanted (0/1)
    uint32_t quality = 0;    // req_quality: 1 ULTRA, 0 H264
    uint32_t qualitySeq = 0; // quality_seq

    bool operator==(const ControlRequestParams&) const = default;
};

// Everything the controller's request depends on, gathered by the caller: the settings, the primary
// screen (SM_CXSCREEN / SM_CYSCREEN, see link/win/LocalIdentityWin.h), the local view and quality
// sequences, and whether the peer's discovery record offers ULTRA.
struct ControlRequestSources {
    ConfigSnapshot config; // fps, bitrate, maxVideoWidth, maxVideoHeight, audioEnable, videoQualityMode
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    bool viewHidden = false;
    uint32_t viewSeq = 0;
    uint32_t qualitySeq = 0;
    bool peerUltraCapable = false;
};

namespace Discovery {

// The range a sender puts fps and bit rate in, and the largest size; a receiver holds a peer to the same.
inline constexpr uint32_t kRequestFpsMin = 10;
inline constexpr uint32_t kRequestFpsMax = 30;
inline constexpr uint32_t kRequestBitrateMin = 2000000;
inline constexpr uint32_t kRequestBitrateMax = 25000000;
inline constexpr uint32_t kRequestSizeMax = 8192;

// The request this PC sends to peerIp. When ULTRA is chosen but the peer lacks it, logs
// "[QUALITY][NEGOTIATE] peer=%s capability=absent requested=ultra result=H264_FALLBACK" and asks for H264.
ControlRequestParams BuildControlRequestParams(const ControlRequestSources& sources, std::string_view peerIp);

// The request carried by a received TSLY_CONTROL_REQUEST message (the new-request reading of the control
// handler): req_audio falls back to localAudioEnabled when absent; req_quality is ULTRA only for "1" with
// the capability; quality_seq counts only with the capability. The receiver then holds the peer to the
// sender's rules: a non-zero fps into 10..30, a non-zero bit rate into 2,000,000..25,000,000, sizes even
// and at most 8192; a change is logged as "[CONTROL][REQUEST_CLAMPED] peer=%s ...".
ControlRequestParams ReadControlRequestParams(std::string_view message, std::string_view senderIp,
                                              bool localAudioEnabled);

} // namespace Discovery
