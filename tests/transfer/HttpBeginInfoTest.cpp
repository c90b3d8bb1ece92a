#include <gtest/gtest.h>

#include <string>

#include "transfer/HttpBeginInfo.h"

namespace {

const std::string kValid = "mode=http_manifest\n"
                           "transferId=2600001\n"
                           "direction=1\n"
                           "totalBytes=12345\n"
                           "itemCount=3\n"
                           "httpPort=50123\n"
                           "displayName=two\\nlines \\\\ slash\n"
                           "targetPath=\n"
                           "manifestUrl=http://10.0.0.2:50123/manifest?id=2600001\n"
                           "conflict=overwrite";

TEST(ParseBeginPayloadTest, ReadsEveryFieldAndUndoesTheEscapes) {
    HttpBeginInfo info;
    ASSERT_TRUE(ParseBeginPayload(kValid, info));
    EXPECT_EQ(info.transferId, 2600001u);
    EXPECT_EQ(info.totalBytes, 12345u);
    EXPECT_EQ(info.itemCount, 3u);
    EXPECT_EQ(info.httpPort, 50123u);
    EXPECT_EQ(info.displayName, "two\nlines \\ slash");
    EXPECT_EQ(info.targetPath, "");
    EXPECT_EQ(info.manifestUrl, "http://10.0.0.2:50123/manifest?id=2600001");
    EXPECT_FALSE(info.conflictRename);
}

struct ParseCase {
    const char* name;
    std::string payload;
    bool valid;
    std::string targetPath;
    bool rename;
};

class ParseBeginPayloadTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseBeginPayloadTable, Outcome) {
    const ParseCase& c = GetParam();
    HttpBeginInfo info;
    EXPECT_EQ(ParseBeginPayload(c.payload, info), c.valid);
    EXPECT_EQ(info.targetPath, c.targetPath);
    EXPECT_EQ(info.conflictRename, c.rename);
}

const std::string kMinimal = "mode=http_manifest\ntransferId=7\nmanifestUrl=http://h/manifest\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ParseBeginPayloadTable,
    ::testing::Values(
        ParseCase{"Minimal", kMinimal, true, "", false},
        ParseCase{"ModeWithTrailingSpace", "mode=http_manifest \ntransferId=7\nmanifestUrl=u\n", false, "",
                  false},
        ParseCase{"ModeMissing", "transferId=7\nmanifestUrl=u\n", false, "", false},
        ParseCase{"TransferIdZero", "mode=http_manifest\ntransferId=0\nmanifestUrl=u\n", false, "", false},
        ParseCase{"TransferIdNotANumber", "mode=http_manifest\ntransferId=x7\nmanifestUrl=u\n", false, "",
                  false},
        ParseCase{"ManifestUrlEmpty", "mode=http_manifest\ntransferId=7\nmanifestUrl=\n", false, "", false},
        ParseCase{"CarriageReturnLineEnds", "mode=http_manifest\r\ntransferId=7\r\nmanifestUrl=u\r\n", true,
                  "", false},
        // A value can never pose as a key: only a line start counts.
        ParseCase{"KeyInsideADisplayNameLine",
                  kMinimal + "displayName=x targetPath=C:\\\\evil conflict=rename\n", true, "", false},
        ParseCase{"EscapedNewlineBeforeAKey", kMinimal + "displayName=x\\ntargetPath=C:\\\\evil\n", true, "",
                  false},
        ParseCase{"TargetPathLine", kMinimal + "targetPath=D:\\\\in\n", true, "D:\\in", false},
        ParseCase{"ConflictRename", kMinimal + "conflict=rename", true, "", true},
        ParseCase{"ConflictOne", kMinimal + "conflict=1", true, "", true},
        ParseCase{"ConflictTrue", kMinimal + "conflict=true", true, "", true},
        ParseCase{"ConflictOverwrite", kMinimal + "conflict=overwrite", true, "", false},
        ParseCase{"ConflictCapitalised", kMinimal + "conflict=Rename", true, "", false},
        ParseCase{"ConflictWithSpace", kMinimal + "conflict=rename ", true, "", false},
        ParseCase{"FirstLineWins", kMinimal + "conflict=rename\nconflict=overwrite", true, "", true}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

struct SetCase {
    const char* name;
    std::string payload, key, value, expected;
};

class SetPayloadValueTable : public ::testing::TestWithParam<SetCase> {};

TEST_P(SetPayloadValueTable, Edits) {
    const SetCase& c = GetParam();
    EXPECT_EQ(SetPayloadValue(c.payload, c.key, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SetPayloadValueTable,
    ::testing::Values(SetCase{"ReplacesInPlace", "a=1\nk=old\nb=2", "k", "new", "a=1\nk=new\nb=2"},
                      SetCase{"ReplacesEveryMatch", "k=1\nk=2\n", "k", "v", "k=v\nk=v\n"},
                      SetCase{"KeepsTheTrailingLineEnd", "k=old\n", "k", "", "k=\n"},
                      SetCase{"AppendsAfterALastLineWithoutEnd", "a=1", "k", "v", "a=1\nk=v\n"},
                      SetCase{"AppendsAfterALineEnd", "a=1\n", "k", "v", "a=1\nk=v\n"},
                      SetCase{"AppendsToEmpty", "", "k", "v", "k=v\n"},
                      SetCase{"LongerKeyIsAnotherKey", "kk=1\n", "k", "v", "kk=1\nk=v\n"},
                      SetCase{"ValueHoldingTheKeyIsNotALine", "a=x k=1", "k", "v", "a=x k=1\nk=v\n"},
                      SetCase{"KeyWithoutEqualsIsNotALine", "k\n", "k", "v", "k\nk=v\n"}),
    [](const ::testing::TestParamInfo<SetCase>& info) { return std::string(info.param.name); });

TEST(LocalBeginPayloadTest, TheDropFolderAndThisPcsConflictRuleReplaceTheSenders) {
    const std::string sender = kMinimal + "targetPath=C:\\\\Windows\nconflict=overwrite";
    HttpBeginInfo info;
    ASSERT_TRUE(ParseBeginPayload(LocalBeginPayload(sender, "D:\\drop\nhere", true), info));
    EXPECT_EQ(info.targetPath, "D:\\drop\nhere") << "escaped on the way in, unescaped on the way out";
    EXPECT_TRUE(info.conflictRename);

    ASSERT_TRUE(ParseBeginPayload(LocalBeginPayload(sender, "", false), info));
    EXPECT_EQ(info.targetPath, "") << "no drop folder: the default folder, never the sender's";
    EXPECT_FALSE(info.conflictRename);
}

} // namespace
