#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The texts of the notification-area icon and its balloon, cut to the fixed fields of the notify-icon data
// (their capacities include the terminating zero) without splitting a surrogate pair.

inline constexpr size_t kTrayTipCapacity = 128;
inline constexpr size_t kTrayBalloonTitleCapacity = 64;
inline constexpr size_t kTrayBalloonTextCapacity = 256;
inline constexpr uint32_t kTrayBalloonMinTimeoutMs = 1000;

// The longest start of text that fits a field of `capacity` units with its terminating zero.
std::u16string_view FitTrayField(std::u16string_view text, size_t capacity);

// The icon's tip: the product word, two spaces and the version.
std::u16string TrayTipText();
// Every balloon's title: the product word.
std::u16string TrayBalloonTitle();

inline uint32_t TrayBalloonTimeoutMs(uint32_t requestedMs) {
    return requestedMs < kTrayBalloonMinTimeoutMs ? kTrayBalloonMinTimeoutMs : requestedMs;
}
