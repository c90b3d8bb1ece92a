#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "link/PeerRecord.h"
#include "core/Utf.h"

// Bounds for peer fields that the control handling stores, shows or logs.
inline constexpr size_t kControlAddressMaxBytes = 64;

inline std::string BoundedPeerText(std::string_view text) {
    return std::string(CutUtf8(text, Discovery::kPeerTextMaxBytes));
}

inline std::string BoundedPeerAddress(std::string_view ip) {
    return std::string(CutUtf8(ip, kControlAddressMaxBytes));
}
