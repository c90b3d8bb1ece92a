#include <gtest/gtest.h>

#include <random>
#include <string>

#include "transfer/PercentCoding.h"

namespace {

struct CodingCase {
    const char* name;
    std::string plain;
    std::string coded;
};

class PercentEncodeTest : public ::testing::TestWithParam<CodingCase> {};

TEST_P(PercentEncodeTest, Encodes) {
    EXPECT_EQ(PercentEncode(GetParam().plain), GetParam().coded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PercentEncodeTest,
    ::testing::Values(CodingCase{"unreservedKept", "Az09-._~/", "Az09-._~/"},
                      CodingCase{"windowsPath", "C:\\a b\\c.txt", "C%3A%5Ca%20b%5Cc.txt"},
                      CodingCase{"queryCharacters", "a&b=c?d#e+f%", "a%26b%3Dc%3Fd%23e%2Bf%25"},
                      CodingCase{"utf8UpperHex", "\xE4\xB8\xAD", "%E4%B8%AD"},
                      CodingCase{"controlAndNul", std::string("\x01\0\x7F", 3), "%01%00%7F"},
                      CodingCase{"empty", "", ""}),
    [](const ::testing::TestParamInfo<CodingCase>& info) { return std::string(info.param.name); });

class PercentDecodeTest : public ::testing::TestWithParam<CodingCase> {};

TEST_P(PercentDecodeTest, Decodes) {
    EXPECT_EQ(PercentDecode(GetParam().coded), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PercentDecodeTest,
    ::testing::Values(CodingCase{"upperHex", "C:\\a b", "C%3A%5Ca%20b"},
                      CodingCase{"lowerHex", "\xE4\xB8\xAD", "%e4%b8%ad"},
                      CodingCase{"plusIsSpace", "a b", "a+b"}, CodingCase{"codedPlusStays", "a+b", "a%2Bb"},
                      CodingCase{"percentAtEnd", "50%", "50%"}, CodingCase{"percentOneCharLeft", "%4", "%4"},
                      CodingCase{"percentNonHex", "%zz1", "%zz1"}, CodingCase{"percentHalfHex", "%4g", "%4g"},
                      CodingCase{"nul", std::string("a\0b", 3), "a%00b"}),
    [](const ::testing::TestParamInfo<CodingCase>& info) { return std::string(info.param.name); });

TEST(PercentCodingTest, RandomBytesRoundTrip) {
    std::mt19937 random(20260827);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 64);
    for (int run = 0; run < 2000; ++run) {
        std::string plain(static_cast<size_t>(length(random)), '\0');
        for (char& c : plain)
            c = static_cast<char>(byte(random));
        const std::string coded = PercentEncode(plain);
        ASSERT_EQ(PercentDecode(coded), plain) << "run " << run;
        // Coded text never holds a byte that ends a query value or a request line.
        ASSERT_EQ(coded.find_first_of("&= ?#+\r\n"), std::string::npos) << coded;
    }
}

} // namespace
