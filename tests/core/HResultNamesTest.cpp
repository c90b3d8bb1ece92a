#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "core/HResultNames.h"

namespace {

int32_t Hr(uint32_t code) {
    return static_cast<int32_t>(code);
}

// The codes themselves are checked against the SDK headers by the Windows tests. Here: what a slip in the
// table shows natively. A name must agree with its code's severity and facility, no code or name may be
// listed twice (a later duplicate would never be found), and every entry must be found by its code.
TEST(HResultNamesTest, EveryEntryAgreesWithItsCodeAndIsFoundByIt) {
    struct Family {
        std::string_view prefix;
        uint32_t mask, bits;
    };
    const Family families[] = {
        {"S_", 0x80000000u, 0x00000000u},          // success
        {"E_", 0x80000000u, 0x80000000u},          // failure
        {"DXGI_ERROR_", 0xFFFF0000u, 0x887A0000u}, // failure, facility DXGI
        {"MF_E_", 0xFFFF0000u, 0xC00D0000u},       // failure, facility Media Foundation
    };
    std::set<uint32_t> codes;
    std::set<std::string_view> names;
    ASSERT_FALSE(HResultNameTable().empty());
    for (const HResultNamedCode& entry : HResultNameTable()) {
        const std::string_view name = entry.name;
        const Family* family = nullptr;
        for (const Family& f : families)
            if (name.substr(0, f.prefix.size()) == f.prefix)
                family = &f;
        ASSERT_NE(family, nullptr) << name << ": no known prefix";
        EXPECT_EQ(entry.code & family->mask, family->bits) << name << std::hex << " 0x" << entry.code;
        EXPECT_TRUE(codes.insert(entry.code).second) << name << ": code listed twice";
        EXPECT_TRUE(names.insert(name).second) << name << ": name listed twice";
        EXPECT_EQ(HResultName(Hr(entry.code)), name);
    }
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
