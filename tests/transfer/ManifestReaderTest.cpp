#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TransferTestLog.h"
#include "support/JsonQuoted.h"
#include "transfer/ManifestReader.h"

namespace {

std::string FileItem(const std::string& path, const std::string& full, uint64_t size,
                     const std::string& url) {
    return "{\"path\":" + JsonQuoted(path) + ",\"fullPath\":" + JsonQuoted(full) +
           ",\"size\":" + std::to_string(size) + ",\"dir\":0,\"url\":" + JsonQuoted(url) + "}";
}

std::string Manifest(const std::vector<std::string>& items) {
    std::string json = "{\"version\":2,\"mode\":\"path\",\"items\":[";
    for (size_t i = 0; i < items.size(); ++i)
        json += (i ? "," : "") + items[i];
    return json + "]}";
}

using ManifestReaderTest = TransferLogTest;

TEST_F(ManifestReaderTest, NamesWithBracesQuotesBackslashesAndNonAsciiSurvive) {
    const std::vector<std::string> names = {
        "a}b{c.txt",          "q\"uote\".txt",
        "back\\slash\\x.txt", "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9t\xC3\xA9.txt",
        "tab\there",          "\"items\":[{\"path\":\"x\"}]"};
    std::vector<std::string> items;
    for (size_t i = 0; i < names.size(); ++i)
        items.push_back(
            FileItem(names[i], "C:\\src\\" + names[i], 10 + i, "/file?id=1&path=" + std::to_string(i)));
    items.push_back("{\"path\":\"emptyDir\",\"fullPath\":\"C:\\\\src\\\\emptyDir\",\"size\":0,\"dir\":1}");

    std::vector<ManifestItem> parsed;
    size_t skipped = 99;
    ASSERT_TRUE(ParseManifest(Manifest(items), parsed, skipped));
    EXPECT_EQ(skipped, 0u);
    ASSERT_EQ(parsed.size(), names.size() + 1);
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(parsed[i].path, names[i]);
        EXPECT_EQ(parsed[i].fullPath, "C:\\src\\" + names[i]);
        EXPECT_EQ(parsed[i].size, 10 + i);
        EXPECT_FALSE(parsed[i].dir);
        EXPECT_EQ(parsed[i].url, "/file?id=1&path=" + std::to_string(i));
    }
    EXPECT_TRUE(parsed.back().dir) << "a directory without a url is kept";
    EXPECT_EQ(parsed.back().path, "emptyDir");
    EXPECT_EQ(Lines().back(), "[HTTP][CLIENT] manifest parsed items=7");
}

TEST_F(ManifestReaderTest, IdIsReadWhenPresent) {
    std::vector<ManifestItem> parsed{ManifestItem{}};
    size_t skipped = 0;
    ASSERT_TRUE(ParseManifest(Manifest({"{\"id\":7,\"path\":\"a\",\"dir\":1}"}), parsed, skipped));
    ASSERT_EQ(parsed.size(), 1u) << "the vector is emptied first";
    EXPECT_EQ(parsed[0].id, 7u);
}

struct SkipCase {
    const char* name;
    std::vector<std::string> items;
    size_t kept;
    size_t skipped;
};

class ManifestSkipTest : public TransferLogTest, public ::testing::WithParamInterface<SkipCase> {};

// Any unusable item fails the whole manifest, so the transfer never reports a dropped file as done.
TEST_P(ManifestSkipTest, UnusableItemsFailTheManifest) {
    const SkipCase& c = GetParam();
    std::vector<ManifestItem> parsed;
    size_t skipped = 0;
    EXPECT_FALSE(ParseManifest(Manifest(c.items), parsed, skipped));
    EXPECT_EQ(parsed.size(), c.kept);
    EXPECT_EQ(skipped, c.skipped);
    EXPECT_EQ(CountLogMessages("[HTTP][CLIENT][WARN] skip bad manifest item obj="), c.skipped);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ManifestSkipTest,
    ::testing::Values(SkipCase{"NoPath", {"{\"size\":1,\"dir\":0,\"url\":\"/file?path=a\"}"}, 0, 1},
                      SkipCase{"FileWithoutUrl", {"{\"path\":\"a.txt\",\"size\":1,\"dir\":0}"}, 0, 1},
                      SkipCase{"SpaceBeforePathValue", {"{\"path\": \"a.txt\",\"dir\":1}"}, 0, 1},
                      SkipCase{"OneBadAmongGood",
                               {FileItem("a.txt", "C:\\a.txt", 1, "/file?path=a"),
                                "{\"path\":\"b.txt\",\"dir\":0}",
                                FileItem("c.txt", "C:\\c.txt", 1, "/file?path=c")},
                               2,
                               1},
                      SkipCase{"EmptyArray", {}, 0, 0}),
    [](const ::testing::TestParamInfo<SkipCase>& info) { return std::string(info.param.name); });

TEST_F(ManifestReaderTest, CutOffItemCountsAsSkipped) {
    std::string json = Manifest({FileItem("a.txt", "C:\\a.txt", 1, "/file?path=a")});
    std::string cut = json.substr(0, json.size() - 2) + ",{\"path\":\"b";
    std::vector<ManifestItem> parsed;
    size_t skipped = 0;
    EXPECT_FALSE(ParseManifest(cut, parsed, skipped));
    EXPECT_EQ(parsed.size(), 1u);
    EXPECT_EQ(skipped, 1u);
}

TEST_F(ManifestReaderTest, ArrayEndStopsTheScan) {
    std::string json = Manifest({"{\"path\":\"a\",\"dir\":1}"});
    json.insert(json.size() - 1, ",\"extra\":{\"path\":\"b\",\"dir\":1}");
    std::vector<ManifestItem> parsed;
    size_t skipped = 0;
    ASSERT_TRUE(ParseManifest(json, parsed, skipped));
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].path, "a");
}

struct MissingCase {
    const char* name;
    const char* json;
    const char* line;
};

class ManifestMissingItemsTest : public TransferLogTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(ManifestMissingItemsTest, Fails) {
    std::vector<ManifestItem> parsed;
    size_t skipped = 5;
    EXPECT_FALSE(ParseManifest(GetParam().json, parsed, skipped));
    EXPECT_TRUE(parsed.empty());
    EXPECT_EQ(skipped, 0u);
    EXPECT_EQ(Lines(), std::vector<std::string>{GetParam().line});
}

INSTANTIATE_TEST_SUITE_P(
    Table, ManifestMissingItemsTest,
    ::testing::Values(
        MissingCase{"Empty", "", "[HTTP][CLIENT][ERR] manifest missing items jsonBytes=0 head="},
        MissingCase{
            "NoItemsKey", "{\"version\":2,\"files\":[]}",
            "[HTTP][CLIENT][ERR] manifest missing items jsonBytes=24 head={\"version\":2,\"files\":[]}"},
        MissingCase{"ItemsNotAnArray", "{\"items\":{}}",
                    "[HTTP][CLIENT][ERR] manifest missing items jsonBytes=12 head={\"items\":{}}"},
        MissingCase{"ItemsOnlyInsideAString", "{\"mode\":\"\\\"items\\\":[{}]\"}",
                    "[HTTP][CLIENT][ERR] manifest missing items jsonBytes=25 "
                    "head={\"mode\":\"\\\"items\\\":[{}]\"}"}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return std::string(info.param.name); });

} // namespace
