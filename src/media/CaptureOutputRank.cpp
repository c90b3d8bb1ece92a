#include "media/CaptureOutputRank.h"

#include <algorithm>
#include <numeric>

int64_t ScoreCaptureOutput(const CaptureRect& output, const CaptureRect& reference) {
    // 64-bit from the start: the area of a large desktop does not fit in 32 bits.
    const int64_t left = std::max<int64_t>(output.left, reference.left);
    const int64_t top = std::max<int64_t>(output.top, reference.top);
    const int64_t right = std::min<int64_t>(output.right, reference.right);
    const int64_t bottom = std::min<int64_t>(output.bottom, reference.bottom);
    int64_t score = right > left && bottom > top ? (right - left) * (bottom - top) : 0;
    if (output.left < 1 && output.right >= 1 && output.top < 1 && output.bottom >= 1)
        score += kCaptureOriginBonus;
    if (output == reference)
        score += kCaptureExactBonus;
    return score;
}

std::vector<size_t> RankCaptureOutputs(const std::vector<int64_t>& scores) {
    std::vector<size_t> order(scores.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&scores](size_t a, size_t b) { return scores[a] > scores[b]; });
    return order;
}
