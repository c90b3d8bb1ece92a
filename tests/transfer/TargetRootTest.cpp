#include <gtest/gtest.h>

#include <map>
#include <string>

#include "transfer/ByteSizeText.h"
#include "transfer/ProgressThrottle.h"
#include "transfer/TargetRoot.h"

namespace {

using Kind = TargetRootFacts::PathKind;

struct RootCase {
    const char* name;
    std::string payload;
    std::u16string cursor;
    Kind cursorKind;
    std::optional<std::u16string> profile;
    std::u16string root;
    const char* source;
};

class ResolveTargetRootTable : public ::testing::TestWithParam<RootCase> {};

TEST_P(ResolveTargetRootTable, Chooses) {
    const RootCase& c = GetParam();
    TargetRootFacts facts;
    facts.cursorPath = [&] { return c.cursor; };
    facts.environment = [&](const char* name) {
        EXPECT_STREQ(name, "USERPROFILE");
        return c.profile;
    };
    facts.pathKind = [&](const std::u16string& path) {
        EXPECT_EQ(path, c.cursor);
        return c.cursorKind;
    };
    facts.currentDirectory = [] { return std::u16string(u"C:\\work"); };
    const TargetRootChoice choice = ResolveTargetRoot(c.payload, facts);
    EXPECT_EQ(choice.root, c.root);
    EXPECT_STREQ(choice.source, c.source);
}

const std::u16string kLongProfile = u"C:\\" + std::u16string(257, u'p'); // 260 characters

INSTANTIATE_TEST_SUITE_P(
    Table, ResolveTargetRootTable,
    ::testing::Values(
        RootCase{"PayloadFolder", "D:\\in \xE4\xB8\xAD", u"C:\\cur", Kind::Folder, u"C:\\Users\\u",
                 u"D:\\in \u4E2D", "payload"},
        RootCase{"CursorFolder", "", u"C:\\Users\\u\\Music", Kind::Folder, u"C:\\Users\\u",
                 u"C:\\Users\\u\\Music", "cursor/default"},
        RootCase{"CursorOverAFileOnTheDesktop", "", u"C:\\Users\\u\\Desktop\\a.txt", Kind::File,
                 u"C:\\Users\\u", u"C:\\Users\\u\\Desktop", "cursor/default"},
        RootCase{"CursorOverAFileInADriveRoot", "", u"C:\\a.txt", Kind::File, u"C:\\Users\\u", u"C:\\",
                 "cursor/default"},
        RootCase{"CursorOverAFileWithoutFolder", "", u"a.txt", Kind::File, u"C:\\Users\\u",
                 u"C:\\Users\\u\\Desktop", "cursor/default"},
        RootCase{"NoCursorPath", "", u"", Kind::Missing, u"C:\\Users\\u", u"C:\\Users\\u\\Desktop",
                 "cursor/default"},
        RootCase{"ProfileWithSeparator", "", u"", Kind::Missing, u"C:\\Users\\u\\", u"C:\\Users\\u\\Desktop",
                 "cursor/default"},
        RootCase{"ProfileOf259", "", u"", Kind::Missing, kLongProfile.substr(0, 259),
                 kLongProfile.substr(0, 259) + u"\\Desktop", "cursor/default"},
        RootCase{"ProfileOf260", "", u"", Kind::Missing, kLongProfile, u"C:\\work", "cursor/default"},
        RootCase{"NoProfile", "", u"", Kind::Missing, std::nullopt, u"C:\\work", "cursor/default"}),
    [](const ::testing::TestParamInfo<RootCase>& info) { return std::string(info.param.name); });

TEST(ParentFolderTest, Table) {
    const std::map<std::u16string, std::u16string> cases = {
        {u"C:\\a\\b.txt", u"C:\\a"},
        {u"C:\\b.txt", u"C:\\"},
        {u"C:/a/b", u"C:/a"},
        {u"\\b", u"\\"},
        {u"\\\\srv\\share\\f", u"\\\\srv\\share"},
        {u"b.txt", u""},
    };
    for (const auto& [path, parent] : cases)
        EXPECT_EQ(ParentFolder(path), parent);
}

TEST(FormatByteSizeTest, Table) {
    const std::map<uint64_t, std::string> cases = {
        {0, "0 bytes"},
        {1023, "1023 bytes"},
        {1024, "1.00 KB"},
        {1536, "1.50 KB"},
        {1048575, "1024.00 KB"},
        {1048576, "1.00 MB"},
        {1073741823, "1024.00 MB"},
        {1073741824, "1.00 GB"},
        {UINT64_MAX, "17179869184.00 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FormatByteSize(bytes), text) << bytes;
}

TEST(ProgressThrottleTest, OneReportPer250MsButEveryItemsFirstAndLast) {
    ProgressThrottle throttle;
    EXPECT_TRUE(throttle.ShouldPublish(1000, 0, 100)) << "first of an item";
    EXPECT_FALSE(throttle.ShouldPublish(1100, 10, 100));
    EXPECT_FALSE(throttle.ShouldPublish(1249, 20, 100));
    EXPECT_TRUE(throttle.ShouldPublish(1250, 30, 100));
    EXPECT_TRUE(throttle.ShouldPublish(1260, 100, 100)) << "the item is complete";
    EXPECT_FALSE(throttle.ShouldPublish(1270, 5, 0)) << "an unknown total is never complete";
    throttle.Reset();
    EXPECT_TRUE(throttle.ShouldPublish(1271, 0, 100)) << "a new item";
}

TEST(ProgressThrottleTest, SurvivesTheTickCountWrapping) {
    ProgressThrottle throttle;
    EXPECT_TRUE(throttle.ShouldPublish(0xFFFFFFC0u, 0, 100));
    EXPECT_FALSE(throttle.ShouldPublish(0x00000010u, 1, 100)) << "80 ms later";
    EXPECT_TRUE(throttle.ShouldPublish(0x00000100u, 2, 100)) << "320 ms later";
}

} // namespace
