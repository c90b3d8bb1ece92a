#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "transfer/JsonValue.h"

namespace {

struct StringCase {
    const char* name;
    const char* object;
    std::string value;
};

class JsonGetStringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(JsonGetStringTest, Value) {
    EXPECT_EQ(JsonGetString(GetParam().object, "path"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonGetStringTest,
    ::testing::Values(StringCase{"Plain", R"({"path":"a/b.txt","size":1})", "a/b.txt"},
                      StringCase{"Absent", R"({"name":"a"})", ""},
                      StringCase{"SpaceBeforeQuote", R"({"path": "a"})", ""},
                      StringCase{"NumberValue", R"({"path":12})", ""},
                      StringCase{"SimpleEscapes", R"({"path":"q\"s\\b\/\b\f\n\r\t"})", "q\"s\\b/\b\f\n\r\t"},
                      StringCase{"UnknownEscapeDropsBackslash", R"({"path":"a\qb"})", "aqb"},
                      StringCase{"LatinSmallEAcute", R"({"path":"a\u00e9b"})",
                                 "a\xC3\xA9"
                                 "b"},
                      StringCase{"UpperCaseHex", R"({"path":"\u00C9"})", "\xC3\x89"},
                      StringCase{"SurrogatePair", R"({"path":"\uD83D\uDE00"})", "\xF0\x9F\x98\x80"},
                      StringCase{"LoneHighSurrogate", R"({"path":"\uD83Dx"})", "\xED\xA0\xBDx"},
                      StringCase{"HighSurrogateThenNonLow", R"({"path":"\uD83D\u0041"})",
                                 "\xED\xA0\xBD"
                                 "A"},
                      StringCase{"ShortUnicodeEscape", R"({"path":"a\u12"})", "a12"},
                      StringCase{"NonHexUnicodeEscape", R"({"path":"\uzzzzy"})", "zzzzy"},
                      StringCase{"Utf8PassesThrough", "{\"path\":\"\xE4\xB8\xAD\xE6\x96\x87\"}",
                                 "\xE4\xB8\xAD\xE6\x96\x87"},
                      StringCase{"Unterminated", R"({"path":"abc)", "abc"},
                      StringCase{"FinalBackslash", "{\"path\":\"abc\\", "abc\\"},
                      StringCase{"KeyInsideAnotherValueIsNotAKey",
                                 R"({"fullPath":"x\",\"path\":\"evil","path":"good"})", "good"},
                      StringCase{"KeyQuotedOnlyInValue", R"({"fullPath":"\"path\":\"evil"})", ""},
                      StringCase{"LongerKeyIsNotTheKey", R"({"fullPath":"C:\\a","path":"a"})", "a"},
                      StringCase{"ValueEqualToKeyName", R"({"url":"path","path":"real"})", "real"}),
    [](const ::testing::TestParamInfo<StringCase>& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    const char* object;
    uint64_t value;
};

class JsonGetNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(JsonGetNumberTest, Value) {
    EXPECT_EQ(JsonGetNumber(GetParam().object, "size"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonGetNumberTest,
    ::testing::Values(
        NumberCase{"Plain", R"({"size":1234,"dir":0})", 1234}, NumberCase{"Absent", R"({"dir":1})", 0},
        NumberCase{"LeadingSpace", R"({"size": 5})", 5}, NumberCase{"PlusSign", R"({"size":+5})", 5},
        NumberCase{"Negative", R"({"size":-5})", 0}, NumberCase{"True", R"({"size":true})", 0},
        NumberCase{"Text", R"({"size":"5"})", 0},
        NumberCase{"Max", R"({"size":18446744073709551615})", std::numeric_limits<uint64_t>::max()},
        NumberCase{"Saturates", R"({"size":99999999999999999999999})", std::numeric_limits<uint64_t>::max()},
        NumberCase{"KeyInsideString", R"({"path":"\"size\":9","size":3})", 3}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

} // namespace
