#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The reader's half of the secure-desktop frame mapping (layout in WardletShared.h): Tessaly's
// SecureDesktopFrameReader over the mapped view, and the tests over a buffer of their own.

// A published frame older than this is not delivered, so a dead worker never freezes a stale logon screen
// on the controller.
inline constexpr uint64_t kSecureFrameMaxAgeMs = 3000;
// Copies torn by two publishes in a row are retried this often in all.
inline constexpr int kSecureFrameReadAttempts = 3;

// Copies the newest published frame out of a read-only view and scales it to the target size (BGRA,
// packed, targetWidth * targetHeight * 4 bytes into out). view: the mapped bytes; nothing beyond its size
// is read. nowTick: the reader's GetTickCount64. lastSequence (optional): a frame with this sequence is
// nothing new; it receives the sequence of the frame delivered. raw: the caller's scratch for the copy of
// the buffer, kept between reads. False, without touching out, when there is no valid, fresh, new frame or
// every attempt was torn.
bool ReadSecureFrame(std::span<const uint8_t> view, uint64_t nowTick, int32_t targetWidth,
                     int32_t targetHeight, uint64_t* lastSequence, std::vector<uint8_t>& raw,
                     std::vector<uint8_t>& out);

// Nearest-neighbour scaling of a BGRA picture: output row y takes source row y * height / targetHeight,
// column x takes source column x * width / targetWidth. The source holds height rows of stride bytes, each
// at least width * 4. Targets below 1 give an empty output.
void ScaleNearestBgra(const uint8_t* source, uint32_t width, uint32_t height, uint32_t stride,
                      int32_t targetWidth, int32_t targetHeight, std::vector<uint8_t>& out);
