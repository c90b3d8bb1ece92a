#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "service/SecureCaptureRules.h"

namespace {

struct OutputCase {
    const char* name;
    std::vector<SecureOutputInfo> outputs;
    std::optional<size_t> chosen;
};

class SecureCaptureOutputChoice : public ::testing::TestWithParam<OutputCase> {};

TEST_P(SecureCaptureOutputChoice, PrefersThePrimaryElseTheLastAttached) {
    EXPECT_EQ(ChooseSecureCaptureOutput(GetParam().outputs), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecureCaptureOutputChoice,
    ::testing::Values(OutputCase{"None", {}, std::nullopt},
                      OutputCase{"NoneAttached", {{false, 0, 0}, {false, 1920, 0}}, std::nullopt},
                      OutputCase{"PrimaryAfterOthers", {{true, -1920, 0}, {true, 0, 0}, {true, 1920, 0}}, 1},
                      OutputCase{"FirstOfTwoAtOrigin", {{true, 0, 0}, {true, 0, 0}}, 0},
                      OutputCase{
                          "DetachedAtOriginIgnored", {{false, 0, 0}, {true, 1920, 0}, {true, 0, 1080}}, 2},
                      OutputCase{"OriginNeedsBothCoordinates", {{true, 0, 1080}, {true, 1920, 0}}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SecureCaptureRules, OnlyBgraFormatsAreRead) {
    EXPECT_TRUE(IsSecureCaptureFormat(87));
    EXPECT_TRUE(IsSecureCaptureFormat(88));
    for (uint32_t format : {0u, 28u, 24u, 10u, 89u, 91u})
        EXPECT_FALSE(IsSecureCaptureFormat(format)) << format;
}

TEST(SecureCaptureRules, BlitFailurePrefersTheLastErrorThenTheFirstThenGenFailure) {
    EXPECT_EQ(uint32_t(SecureBlitFailure(6, 5)), 0x80070005u);
    EXPECT_EQ(uint32_t(SecureBlitFailure(6, 0)), 0x80070006u);
    EXPECT_EQ(uint32_t(SecureBlitFailure(0, 0)), 0x8007001Fu);
}

TEST(SecureCaptureRules, HresultFromWin32KeepsZeroAndHresults) {
    EXPECT_EQ(SecureHresultFromWin32(0), 0);
    EXPECT_EQ(uint32_t(SecureHresultFromWin32(1450)), 0x800705AAu);
    EXPECT_EQ(uint32_t(SecureHresultFromWin32(0x887A0026u)), 0x887A0026u);
}

} // namespace
