#pragma once

#include <string_view>

// The USB identity of the bridge cable's network function, as it appears inside hardware ids, compatible
// ids and instance ids ("USB\VID_067B&PID_27A5&REV_0100", "{...}\VID_067B&PID_27A5\...").
inline constexpr std::string_view kBridgeId = "VID_067B&PID_27A5";

// True when the text, upper-cased and with every "{" and "}" removed, contains the bridge id. The text may
// be a registry multi-string (strings separated by NUL, as SPDRP_HARDWAREID returns them): every string is
// looked at, and a match never spans two strings.
bool MatchesBridgeId(std::u16string_view text);
