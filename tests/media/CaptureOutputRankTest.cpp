#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/CaptureOutputRank.h"

namespace {

const CaptureRect kPrimary{0, 0, 1920, 1080};

struct ScoreCase {
    const char* name;
    CaptureRect output;
    int64_t expected;
};

class ScoreCaptureOutputTest : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(ScoreCaptureOutputTest, Table) {
    EXPECT_EQ(ScoreCaptureOutput(GetParam().output, kPrimary), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScoreCaptureOutputTest,
    ::testing::Values(ScoreCase{"EqualsPrimary",
                                {0, 0, 1920, 1080},
                                1920LL * 1080 + kCaptureOriginBonus + kCaptureExactBonus},
                      ScoreCase{"LargerOverPrimary", {0, 0, 3840, 2160}, 1920LL * 1080 + kCaptureOriginBonus},
                      ScoreCase{"RightNeighbour", {1920, 0, 3840, 1080}, 0},
                      ScoreCase{"LeftNeighbourOverlapsNothing", {-1280, 0, 0, 1024}, 0},
                      ScoreCase{"PartlyOver", {960, 540, 2880, 1620}, 960LL * 540},
                      // The origin bonus needs left < 1 <= right and top < 1 <= bottom.
                      ScoreCase{"OriginOnRightEdgeOnly", {-1280, -10, 1, 10}, 1LL * 10 + kCaptureOriginBonus},
                      ScoreCase{"StartsAtOne", {1, 1, 100, 100}, 99LL * 99},
                      ScoreCase{"LeftOfOrigin", {-100, -100, 0, 0}, 0},
                      ScoreCase{"HugeAreaFitsIn64Bits",
                                {-2000000000, -2000000000, 2000000000, 2000000000},
                                1920LL * 1080 + kCaptureOriginBonus}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RankCaptureOutputsTest, ExactPrimaryWinsOverALargerOverlap) {
    // A big monitor that holds the primary rectangle and more, enumerated first, and the primary itself.
    const CaptureRect big{0, 0, 3840, 2160};
    const CaptureRect reference{0, 0, 1920, 1080};
    const CaptureRect primary{0, 0, 1920, 1080};
    const std::vector<int64_t> scores{ScoreCaptureOutput(big, reference),
                                      ScoreCaptureOutput(primary, reference)};
    EXPECT_EQ(RankCaptureOutputs(scores), (std::vector<size_t>{1, 0}));
}

TEST(RankCaptureOutputsTest, HighestFirstAndEqualScoresKeepEnumerationOrder) {
    EXPECT_EQ(RankCaptureOutputs({5, 9, 5, 0, 9, 5}), (std::vector<size_t>{1, 4, 0, 2, 5, 3}));
    EXPECT_TRUE(RankCaptureOutputs({}).empty());
}

} // namespace
