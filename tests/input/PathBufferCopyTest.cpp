#include <gtest/gtest.h>

#include <string>

#include "input/PathBufferCopy.h"

namespace {

TEST(PathBufferCopy, RefusesNullBufferAndZeroCapacity) {
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_FALSE(CopyPathToBuffer(u"C:\\a", nullptr, 10));
    EXPECT_FALSE(CopyPathToBuffer(u"C:\\a", buffer, 0));
    EXPECT_EQ(buffer[0], u'x') << "a refused copy writes nothing";
}

struct CopyCase {
    const char* name;
    std::u16string path;
    uint32_t capacity;
    std::u16string expected;
    bool result;
};

class PathBufferCopyTable : public ::testing::TestWithParam<CopyCase> {};

TEST_P(PathBufferCopyTable, CopiesCutAndTerminated) {
    const CopyCase& c = GetParam();
    std::u16string buffer(c.capacity + 2, u'#'); // guard characters past the capacity
    EXPECT_EQ(CopyPathToBuffer(c.path, buffer.data(), c.capacity), c.result);
    EXPECT_EQ(std::u16string(buffer.c_str()), c.expected);
    EXPECT_EQ(buffer[c.capacity], u'#') << "nothing written past the capacity";
    EXPECT_EQ(buffer[c.capacity + 1], u'#');
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathBufferCopyTable,
    ::testing::Values(CopyCase{"Fits", u"C:\\Users\\a", 32, u"C:\\Users\\a", true},
                      CopyCase{"ExactFitLeavesRoomForTerminator", u"C:\\abc", 7, u"C:\\abc", true},
                      CopyCase{"LongerIsCut", u"C:\\abcdef", 5, u"C:\\a", true},
                      CopyCase{"CapacityOneGivesEmptyText", u"C:\\abc", 1, u"", true},
                      CopyCase{"EmptyPathTerminatesAndSaysNone", u"", 8, u"", false},
                      CopyCase{"CutNeverSplitsASurrogatePair", u"C:\\\U0001F600x", 5, u"C:\\", true},
                      CopyCase{"WholePairFits", u"C:\\\U0001F600x", 6, u"C:\\\U0001F600", true}),
    [](const ::testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

} // namespace
