#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// NV12 frames as the encoder takes them: a full-resolution Y plane, then one interleaved U,V plane at half
// resolution in both directions. Colour is BT.709 full range (0..255) throughout the video path.

// Bytes of a packed NV12 frame (width * height * 3 / 2); 0 for a size the video path refuses (below 1,
// odd, or above the video size cap).
size_t Nv12FrameBytes(int32_t width, int32_t height);

// BGRA (bytes B, G, R, A; rows packed at width * 4) to packed NV12, BT.709 full range in integer
// arithmetic. False, with out untouched, for a null input or a size Nv12FrameBytes refuses.
bool ConvertBGRAtoNV12(const uint8_t* bgra, int32_t width, int32_t height, std::vector<uint8_t>& out);

// The row steps of an NV12 picture width bytes wide: a pitch of 0 or less stands for the width. False
// when a pitch is shorter than a row.
bool Nv12RowSteps(size_t width, int32_t yPitch, int32_t uvPitch, size_t& yStep, size_t& uvStep);

// Packs an NV12 frame with row pitches into out (resized to Nv12FrameBytes): height Y rows of width bytes
// taken every yPitch bytes, then height / 2 U,V rows of width bytes taken every uvPitch bytes from
// yPitch * height on. A pitch of 0 or less stands for the width; a pitch below the width is refused, as is
// a null source or a size Nv12FrameBytes refuses. The caller vouches that the source holds both planes.
bool PackNV12(const uint8_t* source, int32_t width, int32_t height, int32_t yPitch, int32_t uvPitch,
              std::vector<uint8_t>& out);
