#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Which display output the duplicator captures: the one that shows the primary monitor. Every attached
// output is scored against the primary monitor's rectangle and tried in order of score.

// A desktop rectangle in virtual-screen coordinates; right and bottom are exclusive.
struct CaptureRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const CaptureRect&) const = default;
};

// Bonus for an output whose rectangle holds the point (0,0), the primary monitor's origin.
inline constexpr int64_t kCaptureOriginBonus = 1'000'000'000'000;
// Bonus for an output whose rectangle is exactly the primary monitor's: it wins over a larger overlap.
inline constexpr int64_t kCaptureExactBonus = 2'000'000'000'000;

// The area of the output's overlap with the reference, plus the two bonuses.
int64_t ScoreCaptureOutput(const CaptureRect& output, const CaptureRect& reference);

// Indices of scores, highest score first; equal scores keep their enumeration order.
std::vector<size_t> RankCaptureOutputs(const std::vector<int64_t>& scores);
