#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transfer/ManifestJson.h"

namespace {

ManifestEntry Entry(uint32_t id, std::u16string absolute, std::string relative, uint64_t size, bool isDir) {
    ManifestEntry entry;
    entry.id = id;
    entry.absolutePath = std::move(absolute);
    entry.relativePath = std::move(relative);
    entry.size = size;
    entry.isDir = isDir;
    return entry;
}

TEST(ManifestJsonTest, OneFileGolden) {
    const std::vector<ManifestEntry> entries = {Entry(1, u"C:\\Data\\a b.txt", "a b.txt", 12, false)};
    EXPECT_EQ(
        WriteManifestJson(entries, 2600001),
        R"({"version":2,"mode":"path","items":[{"path":"a b.txt","fullPath":"C:\\Data\\a b.txt","size":12,)"
        R"("dir":0,"url":"/file?id=2600001&path=C%3A%5CData%5Ca%20b.txt"}]})");
}

TEST(ManifestJsonTest, DirectoryTreeGolden) {
    const std::vector<ManifestEntry> entries = {
        Entry(1, u"D:\\Docs", "Docs", 0, true),
        Entry(2, u"D:\\Docs\\x.bin", "Docs/x.bin", 5, false),
        Entry(3, u"D:\\Docs\\Empty", "Docs/Empty", 0, true),
    };
    EXPECT_EQ(
        WriteManifestJson(entries, 7),
        R"({"version":2,"mode":"path","items":[)"
        R"({"path":"Docs","fullPath":"D:\\Docs","size":0,"dir":1},)"
        R"({"path":"Docs/x.bin","fullPath":"D:\\Docs\\x.bin","size":5,"dir":0,"url":"/file?id=7&path=D%3A%5CDocs%5Cx.bin"},)"
        R"({"path":"Docs/Empty","fullPath":"D:\\Docs\\Empty","size":0,"dir":1}]})");
}

TEST(ManifestJsonTest, EmptyDirectoryOfferHasNoUrl) {
    const std::string json = WriteManifestJson({Entry(1, u"E:\\Empty", "Empty", 0, true)}, 3);
    EXPECT_EQ(
        json,
        R"({"version":2,"mode":"path","items":[{"path":"Empty","fullPath":"E:\\Empty","size":0,"dir":1}]})");
    EXPECT_EQ(json.find("url"), std::string::npos);
}

TEST(ManifestJsonTest, AwkwardNamesAreQuoted) {
    // Braces, quotes, backslashes and control bytes in a name may not end the item or the string early.
    const std::vector<ManifestEntry> entries = {
        Entry(1, u"C:\\{a}\"q\"\\t\x01.txt", "{a}\"q\"\\t\x01\x1f\n.txt", 1, false)};
    const std::string json = WriteManifestJson(entries, 1);
    EXPECT_NE(json.find(R"("path":"{a}\"q\"\\t\u0001\u001f\n.txt")"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("fullPath":"C:\\{a}\"q\"\\t\u0001.txt")"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("url":"/file?id=1&path=C%3A%5C%7Ba%7D%22q%22%5Ct%01.txt")"), std::string::npos)
        << json;
}

TEST(ManifestJsonTest, NonAsciiIsWrittenAsUtf8) {
    const std::string json =
        WriteManifestJson({Entry(1, u"C:\\\u4E2D\u6587.txt", "\xE4\xB8\xAD\xE6\x96\x87.txt", 2, false)}, 1);
    EXPECT_NE(json.find("\"path\":\"\xE4\xB8\xAD\xE6\x96\x87.txt\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"fullPath\":\"C:\\\\\xE4\xB8\xAD\xE6\x96\x87.txt\""), std::string::npos) << json;
    EXPECT_NE(json.find("path=C%3A%5C%E4%B8%AD%E6%96%87.txt"), std::string::npos) << json;
}

struct EscapeCase {
    const char* name;
    std::string in;
    std::string out;
};

class JsonEscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonEscapeTest, Escapes) {
    EXPECT_EQ(JsonEscape(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonEscapeTest,
    ::testing::Values(EscapeCase{"named", "\b\t\n\f\r\"\\", R"(\b\t\n\f\r\"\\)"},
                      EscapeCase{"otherControlLowerHex", std::string("\x00\x0b\x1f", 3),
                                 R"(\u0000\u000b\u001f)"},
                      EscapeCase{"slashAndDelKept", "/\x7f", "/\x7f"},
                      EscapeCase{"utf8Kept", "\xC3\xA9\xF0\x9F\x98\x80", "\xC3\xA9\xF0\x9F\x98\x80"}),
    [](const ::testing::TestParamInfo<EscapeCase>& info) { return std::string(info.param.name); });

TEST(ManifestJsonTest, Addresses) {
    EXPECT_EQ(ManifestAddress("10.0.0.2", 50123, 2600001), "http://10.0.0.2:50123/manifest?id=2600001");
    EXPECT_EQ(ManifestFileUrl(2600002, "C:\\a&b=c.txt"), "/file?id=2600002&path=C%3A%5Ca%26b%3Dc.txt");
}

} // namespace
