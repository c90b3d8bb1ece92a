#pragma once

#include <cstdint>

// The largest picture side any video path accepts, from the peer or from a local capture. Sizes arrive in
// frame headers and tile containers written by the other PC; bounding them before they size a buffer keeps
// a hostile or corrupt stream from asking for gigabytes.
inline constexpr int32_t kMaxVideoDimension = 16384;
