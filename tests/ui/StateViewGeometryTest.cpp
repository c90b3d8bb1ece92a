#include <gtest/gtest.h>

#include "ui/StateViewGeometry.h"

namespace {

struct Case {
    const char* name;
    int32_t w, h;
    StateViewRect expected;
};

class StateViewGeometryTest : public ::testing::TestWithParam<Case> {};

TEST_P(StateViewGeometryTest, SitsTopRight) {
    EXPECT_EQ(LayoutStateViewRect(GetParam().w, GetParam().h), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, StateViewGeometryTest,
                         ::testing::Values(Case{"W16TakesTheWholeWidth", 16, 600, {0, 8, 16, 456}},
                                           Case{"W17LeavesTheMargins", 17, 600, {8, 8, 1, 456}},
                                           Case{"W356LeavesTheMargins", 356, 600, {8, 8, 340, 456}},
                                           Case{"W357GetsTheSmallestPanel", 357, 600, {9, 8, 340, 456}},
                                           Case{"W1380IsAThird", 1380, 600, {912, 8, 460, 456}},
                                           Case{"W1381IsCapped", 1381, 600, {913, 8, 460, 456}},
                                           Case{"W1500IsCapped", 1500, 600, {1032, 8, 460, 456}},
                                           Case{"W1200IsAThird", 1200, 800, {792, 8, 400, 456}},
                                           Case{"LowWindowShrinksTheHeight", 1200, 300, {792, 8, 400, 284}},
                                           Case{"H16TakesTheWholeHeight", 1200, 16, {792, 8, 400, 16}}),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

} // namespace
