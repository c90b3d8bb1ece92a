#include <gtest/gtest.h>

#include "core/LineEnds.h"

namespace {

TEST(LineEnds, TrimsOnlyTrailingLineEnds) {
    EXPECT_EQ(TrimTrailingLineEnds("Access is denied.\r\n"), "Access is denied.");
    EXPECT_EQ(TrimTrailingLineEnds("two\r\nlines\n\r\r\n"), "two\r\nlines");
    EXPECT_EQ(TrimTrailingLineEnds("ends with space \r\n"), "ends with space ");
    EXPECT_EQ(TrimTrailingLineEnds("\r\n"), "");
    EXPECT_EQ(TrimTrailingLineEnds(""), "");
}

} // namespace
