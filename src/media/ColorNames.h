#pragma once

#include <cstdint>

#include "media/VideoColor.h" // VideoColorModeName, VideoTransferName: the frame header's colour words

// Names for the colour log lines. Unknown values are "UNKNOWN" (colour spaces, modes, transfers) or
// "OTHER" (formats); never null.

// DXGI_COLOR_SPACE_TYPE values without their DXGI_COLOR_SPACE_ prefix; the PQ spaces end in "_HDR10", the
// HLG ones in "_HLG".
const char* ColorSpaceName(uint32_t colorSpace);
// The DXGI formats the capture meets.
const char* DxgiFormatName(uint32_t format);
