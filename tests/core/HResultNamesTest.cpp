#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/HResultNames.h"

namespace {

int32_t Hr(uint32_t code) {
    return static_cast<int32_t>(code);
}

// Codes as the Windows SDK headers define them.
TEST(HResultNamesTest, KnownCodes) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0x00000000u, "S_OK"},
        {0x00000001u, "S_FALSE"},
        {0x80004003u, "E_POINTER"},
        {0x80004005u, "E_FAIL"},
        {0x80070005u, "E_ACCESSDENIED"},
        {0x8007000Eu, "E_OUTOFMEMORY"},
        {0x80070057u, "E_INVALIDARG"},
        {0x887A0001u, "DXGI_ERROR_INVALID_CALL"},
        {0x887A0002u, "DXGI_ERROR_NOT_FOUND"},
        {0x887A0004u, "DXGI_ERROR_UNSUPPORTED"},
        {0x887A0005u, "DXGI_ERROR_DEVICE_REMOVED"},
        {0x887A0006u, "DXGI_ERROR_DEVICE_HUNG"},
        {0x887A0007u, "DXGI_ERROR_DEVICE_RESET"},
        {0x887A000Au, "DXGI_ERROR_WAS_STILL_DRAWING"},
        {0x887A0020u, "DXGI_ERROR_DRIVER_INTERNAL_ERROR"},
        {0x887A0026u, "DXGI_ERROR_ACCESS_LOST"},
        {0xC00D36B4u, "MF_E_INVALIDMEDIATYPE"},
        {0xC00D36BDu, "MF_E_INVALIDTYPE"},
        {0xC00D5212u, "MF_E_TOPO_CODEC_NOT_FOUND"},
        {0xC00D6D60u, "MF_E_TRANSFORM_TYPE_NOT_SET"},
        {0xC00D6D61u, "MF_E_TRANSFORM_STREAM_CHANGE"},
        {0xC00D6D72u, "MF_E_TRANSFORM_NEED_MORE_INPUT"},
    };
    for (const auto& [code, name] : cases)
        EXPECT_STREQ(HResultName(Hr(code)), name) << std::hex << code;
}

TEST(HResultNamesTest, OtherCodesHaveNoName) {
    // E_NOTIMPL, DXGI_ERROR_MORE_DATA, MF_E_NO_MORE_TYPES and arbitrary values.
    for (uint32_t code : {0x80004001u, 0x887A0003u, 0xC00D36B9u, 0x00000002u, 0xFFFFFFFFu, 0x00000005u})
        EXPECT_STREQ(HResultName(Hr(code)), "") << std::hex << code;
}

TEST(HResultNamesTest, FormatText) {
    char buffer[128];
    FormatHResultText(buffer, sizeof buffer, Hr(0x80004005u), "Unspecified error");
    EXPECT_STREQ(buffer, "0x80004005 E_FAIL Unspecified error");
    FormatHResultText(buffer, sizeof buffer, Hr(0x887A0005u), nullptr);
    EXPECT_STREQ(buffer, "0x887A0005 DXGI_ERROR_DEVICE_REMOVED");
    FormatHResultText(buffer, sizeof buffer, Hr(0x887A0005u), "");
    EXPECT_STREQ(buffer, "0x887A0005 DXGI_ERROR_DEVICE_REMOVED");
    FormatHResultText(buffer, sizeof buffer, Hr(0x1234ABCDu), "Custom");
    EXPECT_STREQ(buffer, "0x1234ABCD  Custom");

    char small[8];
    FormatHResultText(small, sizeof small, Hr(0x80004005u), "Unspecified error");
    EXPECT_STREQ(small, "0x80004");
}

} // namespace
