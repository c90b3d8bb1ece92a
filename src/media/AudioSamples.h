#pragma once

#include <cstdint>

// Sample arithmetic shared by the sender's and the player's conversions.

// A value in [-1, 1] (clamped; NaN gives 0) as a signed integer sample of `bits` bits (16, 24 or 32):
// value x (2^(bits-1) - 1) + 0.5 when non-negative, value x 2^(bits-1) - 0.5 when negative, truncated
// toward zero.
int32_t ScaleToIntegerSample(double value, uint32_t bits);

// A received 16-bit sample as a value: s / 32767 when non-negative, s x 1/32768 when negative, so both ends
// of the range map to exactly 1 and -1.
float Pcm16ToValue(int16_t sample);
