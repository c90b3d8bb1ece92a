#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/Utf.h"
#include "transfer/AutoRename.h"

namespace {

struct RenameCase {
    const char* name;
    std::u16string path;
    std::set<std::u16string> taken;
    std::u16string result;
};

class AutoRenameTargetTest : public ::testing::TestWithParam<RenameCase> {};

TEST_P(AutoRenameTargetTest, FirstFreeName) {
    const RenameCase& c = GetParam();
    int clockReads = 0;
    std::u16string result = AutoRenameTarget(
        c.path, [&](std::u16string_view p) { return c.taken.count(std::u16string(p)) > 0; },
        [&] {
            ++clockReads;
            return LocalTimeStamp{2026, 8, 27, 9, 5, 7, 42};
        });
    EXPECT_EQ(Utf16ToUtf8(result), Utf16ToUtf8(c.result));
    EXPECT_EQ(clockReads, 0) << "the clock is only read when every numbered name is taken";
}

INSTANTIATE_TEST_SUITE_P(
    Table, AutoRenameTargetTest,
    ::testing::Values(
        RenameCase{"FreeStaysAsItIs", u"D:\\in\\r.txt", {}, u"D:\\in\\r.txt"},
        RenameCase{
            "SecondNumber", u"D:\\in\\r.txt", {u"D:\\in\\r.txt", u"D:\\in\\r (1).txt"}, u"D:\\in\\r (2).txt"},
        RenameCase{"LeadingDotNameHasNoExtension",
                   u"D:\\in\\.profile",
                   {u"D:\\in\\.profile"},
                   u"D:\\in\\.profile (1)"},
        RenameCase{"LastDotOnly",
                   u"D:\\in\\archive.tar.gz",
                   {u"D:\\in\\archive.tar.gz"},
                   u"D:\\in\\archive.tar (1).gz"},
        RenameCase{"NoExtension", u"D:\\in\\Makefile", {u"D:\\in\\Makefile"}, u"D:\\in\\Makefile (1)"},
        RenameCase{
            "DotInFolderNotName", u"D:\\in.v2\\readme", {u"D:\\in.v2\\readme"}, u"D:\\in.v2\\readme (1)"},
        RenameCase{"SlashSeparator", u"D:/in/r.txt", {u"D:/in/r.txt"}, u"D:/in/r (1).txt"},
        RenameCase{"NoFolder", u"r.txt", {u"r.txt"}, u"r (1).txt"}),
    [](const ::testing::TestParamInfo<RenameCase>& info) { return std::string(info.param.name); });

TEST(AutoRenameTargetClockTest, AllNumberedNamesTakenGivesTimestamp) {
    int asked = 0;
    std::u16string result = AutoRenameTarget(
        u"D:\\in\\r.txt",
        [&](std::u16string_view) {
            ++asked;
            return true;
        },
        [] { return LocalTimeStamp{2026, 8, 27, 9, 5, 7, 42}; });
    EXPECT_EQ(Utf16ToUtf8(result), "D:\\in\\r_20260827_090507_042.txt");
    EXPECT_EQ(asked, 1 + 9999) << "the path itself and every numbered name";
}

} // namespace
