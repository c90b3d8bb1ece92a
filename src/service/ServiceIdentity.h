#pragma once

#include <cstdint>

// Who the Wardlet service is to the Service Control Manager.
inline constexpr char16_t kWardletServiceName[] = u"MarloWardlet";
inline constexpr char16_t kWardletDisplayName[] = u"Marlo Wardlet";
inline constexpr char16_t kWardletDescription[] =
    u"Validates LocalSystem Desktop Duplication capture on Winlogon/lock desktop.";
inline constexpr char16_t kWardletAccount[] = u"LocalSystem";
// Restart after a failure: 2 s the first time, 5 s afterwards; the count resets after a day.
inline constexpr uint32_t kWardletFirstRestartMs = 2000;
inline constexpr uint32_t kWardletLaterRestartMs = 5000;
inline constexpr uint32_t kWardletFailureResetSeconds = 86400;
